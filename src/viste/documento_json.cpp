#include "viste/documento_json.h"

#include <string>
#include <type_traits>

#include "formato/punti_tracciato.h"
#include "model/campi.h"
#include "model/cp1252.h"
#include "model/oggetti.h"
#include "model/regole.h"

namespace compattatore {
namespace {

using json = nlohmann::ordered_json;

json opzionale(const std::optional<int32_t>& v) { return v ? json(*v) : json(nullptr); }

std::string orario(int32_t secondi) { return secondi == 0 ? "-" : ora(secondi); }

// Every field of an entry, by its name; the text in UTF-8.
json voce_json(const Voce& v) {
  json j = json::object();
  per_ogni_campo(v, [&j](const RigaCampo<Voce>& c, const auto& campo) {
    if constexpr (std::is_same_v<std::decay_t<decltype(campo)>, std::string>) {
      j[c.nome] = cp1252::a_utf8(campo);
    } else {
      j[c.nome] = campo;
    }
  });
  return j;
}

// Every field of a stretch, by its name; the kind of object also by its name.
json tratto_json(int32_t s, const Tratto& t) {
  json j = {{"tratto", s}};
  per_ogni_campo(t, [&](const RigaCampo<Tratto>& c, auto campo) {
    j[c.nome] = campo;
    if (&c == &riga_campo(CampoTratto::oggetto)) j["nome_oggetto"] = sigla_oggetto(t.oggetto);
  });
  return j;
}

json tratte_json(const std::vector<Tratta>& tratte) {
  json a = json::array();
  for (const Tratta& t : tratte) {
    a.push_back({{"da", inizio_tratto(t.primo)},
                 {"primo_tratto", t.primo},
                 {"ultimo_tratto", t.ultimo},
                 {"valore", t.valore}});
  }
  return a;
}

json coordinate_json(const Tracciato& t, int asse) {
  json a = json::array();
  for (size_t i = 0; i < punti_tracciato::numero(t); ++i) {
    const Coordinata c = punti_tracciato::coordinata(t, asse, i);
    if (const auto* n = std::get_if<int16_t>(&c)) {
      a.push_back(*n);
    } else if (const auto* d = std::get_if<double>(&c)) {
      a.push_back(*d);
    } else {
      a.push_back(nullptr);
    }
  }
  return a;
}

json file_json(const ScenarioCompilato& s) {
  json file = json::object();
  for (TipoCompilato tipo : kTipiCompilati) {
    file[nome_tipo(tipo)] = s.file[tipo] ? json(s.file[tipo]->string()) : json(nullptr);
  }
  return file;
}

json codici_json(const std::optional<ControlloCodici>& cc) {
  if (!cc) return nullptr;
  json valori = json::array();
  for (const ValoreControllo& v : cc->valori) {
    valori.push_back({{"nome", v.nome},
                      {"dove", v.dove},
                      {"memorizzato", opzionale(v.memorizzato)},
                      {"atteso", v.atteso},
                      {"valido", v.valido()}});
  }
  return {{"chiave", cc->chiave}, {"valori", valori}, {"validi", cc->validi()}};
}

json percorso_json(const Descrizione& r) {
  json sezioni = json::array();
  for (const SezioneKm& z : r.sezioni) {
    sezioni.push_back({{"voce", z.voce},
                       {"inizio", z.inizio},
                       {"progressiva", z.progressiva},
                       {"verso", z.verso},
                       {"km_inizio", progressiva(r, z.inizio).value_or(0)}});
  }
  return {{"lunghezza", r.lunghezza},
          {"ultimo_tratto", r.ultimo_tratto},
          {"sezioni", sezioni},
          {"sfondi", {{"uno", r.sfondi[0]}, {"due", r.sfondi[1]}, {"tre", r.sfondi[2]}}},
          {"ripetizione_segnali",
           {{"inizio", r.ripetizione_inizio},
            {"fine", r.ripetizione_fine},
            {"codici", r.codici_ripetizione}}}};
}

json figure_json(const Descrizione& r) {
  return {{"massa_frenata", r.massa_frenata},
          {"vetture", r.vetture},
          {"sabbia", r.sabbia},
          {"orologio", {r.orologio[0], r.orologio[1], r.orologio[2]}}};
}

json stazioni_json(const Descrizione& r) {
  json stazioni = json::array();
  for (const Stazione& st : r.stazioni) {
    stazioni.push_back({{"voce", st.voce},
                        {"nome", st.nome},
                        {"tipo", st.tipo},
                        {"posizione", st.posizione},
                        {"arrivo", st.orario},
                        {"arrivo_ora", orario(st.orario)},
                        {"sosta", st.sosta},
                        {"zona", {st.inizio_zona, st.fine_zona}},
                        {"tratto_fermata", opzionale(st.tratto_fermata)}});
  }
  return stazioni;
}

json cartelli_json(const Descrizione& r) {
  json cartelli = json::array();
  for (const Cartello& c : r.cartelli) {
    cartelli.push_back({{"tratto", c.tratto}, {"voce", c.voce}, {"testo", c.testo}});
  }
  return cartelli;
}

json segnali_json(const Descrizione& r) {
  json segnali = json::array();
  for (const SegnaleLetto& g : r.segnali) {
    segnali.push_back({{"tratto", g.tratto},
                       {"posizione", posizione_oggetto(g.tratto)},
                       {"s", {g.aspetti[0], g.aspetti[1], g.aspetti[2]}},
                       {"d", {g.d[0], g.d[1], g.d[2]}},
                       {"rapp", g.rapp},
                       {"sx", g.sx},
                       {"dx", g.dx},
                       {"tempo", g.tempo}});
  }
  return segnali;
}

json rallentamenti_json(const Descrizione& r) {
  json rallentamenti = json::array();
  for (const RallentamentoLetto& ra : r.rallentamenti) {
    rallentamenti.push_back({{"tratto_avviso", opzionale(ra.avviso)},
                             {"tratto_inizio", opzionale(ra.inizio)},
                             {"tratto_fine", opzionale(ra.fine)},
                             {"velocita", ra.velocita},
                             {"d_v", ra.d_v},
                             {"f_tt", ra.f_tt},
                             {"preavvisi", ra.segnalato}});
  }
  return rallentamenti;
}

json punti_codice_json(const Descrizione& r) {
  json codici = json::array();
  for (const PuntoCodice& c : r.punti_codice) {
    codici.push_back(
        {{"tratto", c.tratto},
         {"tipo", sigla_oggetto(c.taglio ? oggetto::taglio_codice : oggetto::cambio_codice)},
         {"codice", c.codice}});
  }
  return codici;
}

json montagne_json(const Descrizione& r) {
  json montagne = json::array();
  for (const Montagna& mo : r.montagne) {
    montagne.push_back({{"primo_tratto", mo.primo},
                        {"ultimo_tratto", mo.ultimo},
                        {"inizio", inizio_tratto(mo.primo)},
                        {"fine", inizio_tratto(mo.ultimo + 1)},
                        {"tipo", mo.tipo},
                        {"segni", mo.segni.size()}});
  }
  return montagne;
}

json indicatori_json(const Descrizione& r) {
  json indicatori = json::array();
  for (const IndicatoreVelocita& iv : r.indicatori) {
    indicatori.push_back({{"tratto", iv.tratto},
                          {"valori", {iv.valori[0], iv.valori[1], iv.valori[2]}},
                          {"strisce", iv.strisce}});
  }
  return indicatori;
}

json elenco_json(const Elenco& e) {
  json elenco = json::array();
  for (const Voce& v : e) elenco.push_back(voce_json(v));
  return elenco;
}

json tracciato_json(const Tracciato& t) {
  if (punti_tracciato::numero(t) == 0) return nullptr;
  return {{"punti", punti_tracciato::numero(t)},
          {"x", coordinate_json(t, 0)},
          {"y", coordinate_json(t, 1)}};
}

}  // namespace

json documento_json(const Scheda& s, int32_t primo, int32_t ultimo) {
  const ScenarioCompilato& sc = s.scenario;
  const Modello& m = sc.modello;
  const Descrizione& r = s.descrizione;
  json j;
  j["file"] = file_json(sc);
  j["nome"] = sc.con_elenco ? json(s.identita.nome) : json(nullptr);
  j["treno"] = sc.con_elenco ? json(s.identita.treno) : json(nullptr);
  j["codici_controllo"] = codici_json(s.codici);
  if (sc.con_elenco) {
    j["percorso"] = percorso_json(r);
    j["treno_figure"] = figure_json(r);
    j["stazioni"] = stazioni_json(r);
    j["cartelli"] = cartelli_json(r);
  }
  j["segnali"] = segnali_json(r);
  j["rallentamenti"] = rallentamenti_json(r);
  j["punti_codice"] = punti_codice_json(r);
  j["montagne"] = montagne_json(r);
  j["indicatori_velocita"] = indicatori_json(r);
  j["profili"] = {{"velocita", tratte_json(r.velocita)},
                  {"aderenza", tratte_json(r.aderenze)},
                  {"pendenza", tratte_json(r.pendenze)}};
  json avvisi = json::array();
  for (const Rilievo& a : s.identita.avvisi) avvisi.push_back(a.testo());
  j["avvisi"] = avvisi;
  j["elenco"] = sc.con_elenco ? elenco_json(m.elenco) : json(nullptr);
  json tratti = json::array();
  for (int32_t t = primo; t <= ultimo; ++t) {
    tratti.push_back(tratto_json(t, m.tratti[static_cast<size_t>(t)]));
  }
  j["tratti"] = tratti;
  j["tracciato"] = tracciato_json(m.tracciato);
  return j;
}

}  // namespace compattatore
