#include "viste/documento_json.h"

#include <charconv>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "formato/lettori.h"
#include "formato/punti_tracciato.h"
#include "io/file_sicuro.h"
#include "model/campi.h"
#include "model/cp1252.h"
#include "model/oggetti.h"
#include "model/regole.h"
#include "model/ruoli_voci.h"
#include "viste/oggetto_scritto.h"
#include "viste/posizioni.h"

namespace compattatore {
namespace {

using json = nlohmann::ordered_json;

// A JSON value written piece by piece, laid out as dump(1) lays out the whole: each member and
// element on its own line, one space deeper than its container; an empty container as "{}" or
// "[]". Small values are built whole and dumped in place.
class Flusso {
 public:
  explicit Flusso(std::ostream& out) : out_(out) {}

  void apri(char c) {
    out_ << c;
    aperti_.push_back({c, true});
  }
  void apri(std::string_view chiave, char c) {
    membro(chiave);
    apri(c);
  }
  void apri_elemento(char c) {
    nuova_voce();
    apri(c);
  }
  void chiudi() {
    const Aperto a = aperti_.back();
    aperti_.pop_back();
    if (!a.vuoto) out_ << '\n' << std::string(aperti_.size(), ' ');
    out_ << (a.tipo == '{' ? '}' : ']');
  }
  void scrivi(std::string_view chiave, const json& v) {
    membro(chiave);
    valore(v);
  }
  void elemento(const json& v) {
    nuova_voce();
    valore(v);
  }
  void elemento_intero(int64_t n) {
    nuova_voce();
    char b[24];
    out_.write(b, std::to_chars(b, b + sizeof b, n).ptr - b);
  }

 private:
  struct Aperto {
    char tipo;
    bool vuoto;
  };

  void nuova_voce() {
    Aperto& a = aperti_.back();
    if (!a.vuoto) out_ << ',';
    a.vuoto = false;
    out_ << '\n' << std::string(aperti_.size(), ' ');
  }
  void membro(std::string_view chiave) {
    nuova_voce();
    out_ << json(chiave).dump() << ": ";
  }
  // `v` dumped, each of its lines moved in to the depth it is written at.
  void valore(const json& v) {
    const std::string t = v.dump(1, ' ', false, json::error_handler_t::replace);
    const std::string rientro = "\n" + std::string(aperti_.size(), ' ');
    size_t da = 0;
    for (size_t a = t.find('\n'); a != std::string::npos; da = a + 1, a = t.find('\n', da)) {
      out_.write(t.data() + da, static_cast<std::streamsize>(a - da));
      out_ << rientro;
    }
    out_.write(t.data() + da, static_cast<std::streamsize>(t.size() - da));
  }

  std::ostream& out_;
  std::vector<Aperto> aperti_;
};

json opzionale(const std::optional<int32_t>& v) { return v ? json(*v) : json(nullptr); }

// The position where the object of kind `o` on stretch `s` was written, or null.
json posizione_opzionale(const std::optional<int32_t>& s, uint8_t o) {
  return s ? json(posizione_dell_oggetto(o, *s)) : json(nullptr);
}

std::string orario(int32_t secondi) { return secondi == 0 ? "-" : ora(secondi); }

// Every field of an entry, by its name, as stored; the text in UTF-8. An entry with a role
// (`gruppo`: a station's, a board's, a header's) names in `ruoli` what each of its fields holds
// there, by the role's name.
json voce_json(const Voce& v, std::optional<GruppoVoci> gruppo) {
  json j = json::object();
  json ruoli = json::object();
  per_ogni_campo(v, [&](const RigaCampo<Voce>& c, const auto& campo) {
    // The rows are those of every field, the text among them, in the order of CampoVoce.
    const auto quale = static_cast<CampoVoce>(&c - &riga_campo(CampoVoce{}));
    if constexpr (std::is_same_v<std::decay_t<decltype(campo)>, std::string>) {
      j[c.nome] = cp1252::a_utf8(campo);
    } else {
      j[c.nome] = campo;
    }
    if (const RigaRuolo* r = gruppo ? ruolo_del_campo(*gruppo, quale) : nullptr) {
      ruoli[c.nome] = r->nome;
    }
  });
  j["gruppo"] = gruppo ? json(nome_gruppo(*gruppo)) : json(nullptr);
  j["ruoli"] = ruoli;
  return j;
}

// A field whose value the stretch shows differently from its stored number: a field with a scale,
// or a profile's field (nothing on the tail's last stretches).
bool mostrato_altrimenti(const RigaCampo<Tratto>& c) {
  return c.scala.fattore != 1 || c.scala.spostamento != 0 || campo_di_profilo(c);
}

// The object of a stretch as its line wrote it.
json sorgente_json(const OggettoScritto& o) {
  json valori = json::object();
  for (const ValoreDellOggetto& v : o.valori) valori[v.riga->nome] = v.valore;
  json j = {{"chiave", o.chiave ? json(forma_chiave(*o.chiave)) : json(nullptr)},
            {"parte", o.parte},
            {"posizione", o.posizione},
            {"valori", valori}};
  if (o.voce) {
    j["voce"] = *o.voce;
    j["testo"] = o.testo;
  }
  j["descrizione"] = testo_oggetto(o);
  return j;
}

// A stretch: its number, start and part; every field by its name, in the author's unit (a
// profile's field null on the tail's last stretches) and the kind of object also by its name;
// the stored numbers of the fields shown otherwise; the object as its line wrote it.
json tratto_json(const Scheda& s, int32_t n) {
  const std::vector<Tratto>& tratti = s.scenario.modello.tratti;
  const Tratto& t = tratti[static_cast<size_t>(n)];
  const ParteDelPercorso parte = s.parti.parte(n);
  json j = {{"tratto", n}, {"da", inizio_tratto(n)}, {"parte", nome_parte(parte)}};
  json memorizzati = json::object();
  per_ogni_campo(t, [&](const RigaCampo<Tratto>& c, auto campo) {
    if (parte == ParteDelPercorso::senza_profilo && campo_di_profilo(c)) {
      j[c.nome] = nullptr;
    } else {
      j[c.nome] = c.in_unita(campo);
    }
    if (mostrato_altrimenti(c)) memorizzati[c.nome] = campo;
    if (&c == &riga_campo(CampoTratto::oggetto)) j["nome_oggetto"] = sigla_oggetto(t.oggetto);
  });
  j["memorizzati"] = memorizzati;
  if (const auto o = oggetto_scritto(s.descrizione, tratti, n)) j["sorgente"] = sorgente_json(*o);
  return j;
}

// A profile's runs, cut where the tail begins: the value in the author's unit (null where no line
// writes it) and the stored number.
json tratte_json(const std::vector<Tratta>& tratte, CampoTratto campo, const PartiPercorso& p) {
  const Scala& scala = riga_campo(campo).scala;
  json a = json::array();
  for (const TrattaInParte& t : in_parti(tratte, p)) {
    a.push_back(
        {{"da", inizio_tratto(t.primo)},
         {"primo_tratto", t.primo},
         {"ultimo_tratto", t.ultimo},
         {"parte", nome_parte(t.parte)},
         {"valore", t.parte == ParteDelPercorso::senza_profilo ? json(nullptr) : json(t.valore)},
         {"memorizzato", scala.grezzo(t.valore).value_or(0)}});
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

json percorso_json(const Descrizione& r, const PartiPercorso& p) {
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
          {"coda",
           {{"metri", kCodaPercorso},
            {"primo_tratto", p.primo_coda},
            {"da", inizio_tratto<int64_t>(p.primo_coda)},
            {"primo_tratto_senza_profilo", p.primo_senza_profilo}}},
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
    cartelli.push_back({{"tratto", c.tratto},
                        {"posizione", posizione_dell_oggetto(oggetto::cartello, c.tratto)},
                        {"voce", c.voce},
                        {"testo", c.testo}});
  }
  return cartelli;
}

json segnali_json(const Descrizione& r) {
  json segnali = json::array();
  for (const SegnaleLetto& g : r.segnali) {
    segnali.push_back({{"tratto", g.tratto},
                       {"posizione", posizione_dell_oggetto(oggetto::segnale, g.tratto)},
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
    rallentamenti.push_back(
        {{"tratto_avviso", opzionale(ra.avviso)},
         {"tratto_inizio", opzionale(ra.inizio)},
         {"tratto_fine", opzionale(ra.fine)},
         {"posizione_avviso", posizione_opzionale(ra.avviso, oggetto::avviso_rallentamento)},
         {"posizione_inizio", posizione_opzionale(ra.inizio, oggetto::inizio_rallentamento)},
         {"posizione_fine", posizione_opzionale(ra.fine, oggetto::fine_rallentamento)},
         {"lunghezza",
          ra.inizio && ra.fine ? json((*ra.fine - *ra.inizio) * kMetriTratto) : json(nullptr)},
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
    const uint8_t o = c.taglio ? oggetto::taglio_codice : oggetto::cambio_codice;
    codici.push_back({{"tratto", c.tratto},
                      {"posizione", posizione_dell_oggetto(o, c.tratto)},
                      {"tipo", sigla_oggetto(o)},
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

// A speed board: its packed numbers as stored, and the speeds (km/h) and stripes of its two sides
// by the names of the keyword's values.
json indicatori_json(const Descrizione& r) {
  json indicatori = json::array();
  for (const IndicatoreVelocita& iv : r.indicatori) {
    json lati = json::object();
    const ValoreChiave nomi[2][4] = {
        {ValoreChiave::indicatori_vmax_vas, ValoreChiave::indicatori_vmax_vbs,
         ValoreChiave::indicatori_vmax_vcs, ValoreChiave::indicatori_vmax_strisces},
        {ValoreChiave::indicatori_vmax_vad, ValoreChiave::indicatori_vmax_vbd,
         ValoreChiave::indicatori_vmax_vcd, ValoreChiave::indicatori_vmax_strisced}};
    for (int lato = 0; lato < 2; ++lato) {
      for (int k = 0; k < 3; ++k)
        lati[riga(nomi[lato][k]).nome] = lato ? iv.seconda(k) : iv.prima(k);
      lati[riga(nomi[lato][3]).nome] = lato ? iv.strisce_destra() : iv.strisce_sinistra();
    }
    indicatori.push_back(
        {{"tratto", iv.tratto},
         {"posizione", posizione_dell_oggetto(oggetto::indicatore_velocita, iv.tratto)},
         {"valori", {iv.valori[0], iv.valori[1], iv.valori[2]}},
         {"strisce", iv.strisce},
         {"lati", lati}});
  }
  return indicatori;
}

// The entries in their roles: 81 to 86 by their number, 1 to 80 as the station or the board the
// table holds there (an entry neither holds has none).
json elenco_json(const Elenco& e, const Descrizione& r) {
  std::vector<std::optional<GruppoVoci>> gruppi(e.size());
  for (size_t i = 0; i < e.size(); ++i) {
    const std::optional<GruppoVoci> g = gruppo_della_voce(i);
    if (g && *g != GruppoVoci::stazione && *g != GruppoVoci::cartello) gruppi[i] = g;
  }
  for (const Stazione& st : r.stazioni) {
    if (st.voce >= 0 && static_cast<size_t>(st.voce) < e.size())
      gruppi[static_cast<size_t>(st.voce)] = GruppoVoci::stazione;
  }
  for (const Cartello& c : r.cartelli) {
    if (c.voce >= 0 && static_cast<size_t>(c.voce) < e.size())
      gruppi[static_cast<size_t>(c.voce)] = GruppoVoci::cartello;
  }
  json elenco = json::array();
  for (size_t i = 0; i < e.size(); ++i) elenco.push_back(voce_json(e[i], gruppi[i]));
  return elenco;
}

// One coordinate of the plan: an integer, a number with a decimal point, or null.
void coordinata(Flusso& f, const Coordinata& c) {
  if (const auto* n = std::get_if<int16_t>(&c)) {
    f.elemento_intero(*n);
  } else if (const auto* d = std::get_if<double>(&c)) {
    f.elemento(*d);
  } else {
    f.elemento(nullptr);
  }
}

// The plan's points, axis by axis, from the plan held or, when it was only counted, walked
// again from its file in pieces.
void tracciato_json(Flusso& f, const ScenarioCompilato& sc) {
  const Tracciato& t = sc.modello.tracciato;
  const size_t punti = sc.punti();
  f.apri("tracciato", '{');
  f.scrivi("punti", punti);
  if (!t.vuoto()) {
    for (int asse = 0; asse < 2; ++asse) {
      f.apri(asse == 0 ? "x" : "y", '[');
      for (size_t i = 0; i < punti; ++i) coordinata(f, punti_tracciato::coordinata(t, asse, i));
      f.chiudi();
    }
  } else {
    LetturaFile lettura(*sc.file.tracciato);
    f.apri("x", '[');
    const size_t valori = scorri_tracciato(
        [&lettura](char* dove, size_t quanti) { return lettura.leggi(dove, quanti); },
        sc.file.tracciato->string(),
        [&](size_t primo, std::span<const Coordinata> v) {
          for (size_t k = 0; k < v.size(); ++k) {
            if (primo + k == punti) {
              f.chiudi();
              f.apri("y", '[');
            }
            coordinata(f, v[k]);
          }
        });
    if (valori != 2 * punti) {
      throw ErroreLettura(sc.file.tracciato->string(), 0, "il file è cambiato durante la lettura");
    }
    f.chiudi();
  }
  f.chiudi();
}

}  // namespace

void scrivi_documento_json(std::ostream& out, const Scheda& s, int32_t primo, int32_t ultimo) {
  const ScenarioCompilato& sc = s.scenario;
  const Modello& m = sc.modello;
  const Descrizione& r = s.descrizione;
  Flusso f(out);
  f.apri('{');
  f.scrivi("file", file_json(sc));
  f.scrivi("nome", sc.con_elenco ? json(s.identita.nome) : json(nullptr));
  f.scrivi("treno", sc.con_elenco ? json(s.identita.treno) : json(nullptr));
  f.scrivi("codici_controllo", codici_json(s.codici));
  if (sc.con_elenco) {
    f.scrivi("percorso", percorso_json(r, s.parti));
    f.scrivi("treno_figure", figure_json(r));
    f.scrivi("stazioni", stazioni_json(r));
    f.scrivi("cartelli", cartelli_json(r));
  }
  f.scrivi("segnali", segnali_json(r));
  f.scrivi("rallentamenti", rallentamenti_json(r));
  f.scrivi("punti_codice", punti_codice_json(r));
  f.scrivi("montagne", montagne_json(r));
  f.scrivi("indicatori_velocita", indicatori_json(r));
  f.scrivi("profili", {{"velocita", tratte_json(r.velocita, CampoTratto::velocita, s.parti)},
                       {"aderenza", tratte_json(r.aderenze, CampoTratto::aderenza, s.parti)},
                       {"pendenza", tratte_json(r.pendenze, CampoTratto::pendenza, s.parti)}});
  json avvisi = json::array();
  for (const Rilievo& a : s.identita.avvisi) avvisi.push_back(a.testo());
  f.scrivi("avvisi", avvisi);
  f.scrivi("elenco", sc.con_elenco ? elenco_json(m.elenco, r) : json(nullptr));
  f.apri("tratti", '[');
  for (int32_t t = primo; t <= ultimo; ++t) f.elemento(tratto_json(s, t));
  f.chiudi();
  if (sc.punti() == 0) {
    f.scrivi("tracciato", nullptr);
  } else {
    tracciato_json(f, sc);
  }
  f.chiudi();
  out << "\n";
}

}  // namespace compattatore
