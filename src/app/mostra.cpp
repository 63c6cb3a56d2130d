// `compattatore mostra FILE...`: what a compiled scenario holds, as text or as one JSON document.
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "app/comandi.h"
#include "app/lettura.h"
#include "formato/punti_tracciato.h"
#include "io/sistema.h"
#include "model/cp1252.h"
#include "model/regole.h"
#include "viste/descrizione.h"

namespace compattatore {
namespace {

using json = nlohmann::ordered_json;

std::string metri(int64_t m) { return std::to_string(m) + " m"; }

// "km 39+050" of the position, or blanks without kilometric sections.
std::string km_di(const Descrizione& r, int64_t posizione) {
  const auto p = progressiva(r, posizione);
  return p ? km(*p) : "-";
}

std::string orario(int32_t secondi) { return secondi == 0 ? "-" : ora(secondi); }

// The stretches `primo` to `ultimo`, every field, one per line.
void stampa_tratti(std::ostream& out, const std::vector<Tratto>& tt, int32_t primo,
                   int32_t ultimo) {
  out << "tratto posizione oggetto                    valore_1 valore_2 valore_3 valore_4 "
         "tempo_segnale preavviso montagna velocita pendenza aderenza\n";
  for (int32_t s = primo; s <= ultimo; ++s) {
    const Tratto& t = tt[static_cast<size_t>(s)];
    out << formatta("%6d %9d %3u %-22s %8d %8d %8d %8d %13u %9u %8u %8u %8u %8u\n", s,
                    posizione_oggetto(s), unsigned{t.oggetto}, sigla_oggetto(t.oggetto), t.valore_1,
                    t.valore_2, t.valore_3, t.valore_4, unsigned{t.tempo_segnale},
                    unsigned{t.preavviso}, unsigned{t.montagna}, unsigned{t.velocita},
                    unsigned{t.pendenza}, unsigned{t.aderenza});
  }
}

// Files that are there, with their sizes; what is inconsistent between them.
struct Identita {
  std::string nome;
  std::string treno;
  std::vector<std::string> avvisi;
};

Identita identita(const ScenarioCompilato& s, const Descrizione& r) {
  Identita id;
  if (s.con_elenco) {
    id.nome = testo_leggibile(s.modello.elenco[voce::intestazione].testo);
    id.treno = testo_leggibile(s.modello.elenco[voce::treno].testo);
    const std::string atteso = id.nome + "_" + id.treno + ".sim";
    if (s.file.elenco->filename().string() != atteso) {
      id.avvisi.push_back("il file dell'elenco si chiama " + s.file.elenco->filename().string() +
                          ", ma nome e treno che contiene danno " + atteso);
    }
    const int64_t metri_totali = int64_t{r.lunghezza} + kCodaPercorso;
    if (!s.modello.tratti.empty() && r.lunghezza >= 0 && r.lunghezza <= 1000000 &&
        cinquantesimi(static_cast<double>(metri_totali)) != s.modello.ultimo_tratto()) {
      id.avvisi.push_back("la lunghezza " + metri(r.lunghezza) + " vuole i tratti 0-" +
                          std::to_string(cinquantesimi(static_cast<double>(metri_totali))) +
                          ", il file dei tratti ne ha 0-" +
                          std::to_string(s.modello.ultimo_tratto()));
    }
    const size_t punti = punti_tracciato::numero(s.modello.tracciato);
    if (punti > 0 && static_cast<int64_t>(punti) != metri_totali + 1) {
      id.avvisi.push_back("la lunghezza " + metri(r.lunghezza) + " vuole " +
                          std::to_string(metri_totali + 1) +
                          " punti del tracciato, il file ne ha " + std::to_string(punti));
    }
  }
  for (const auto& a : r.avvisi) id.avvisi.push_back(a);
  return id;
}

void stampa_testo(std::ostream& out, const ScenarioCompilato& s, const Descrizione& r,
                  const Identita& id, const std::optional<ControlloCodici>& cc) {
  const Modello& m = s.modello;
  out << "Scenario " << (id.nome.empty() ? "?" : id.nome) << ", treno "
      << (id.treno.empty() ? "?" : id.treno) << "\n";
  for (TipoCompilato tipo : kTipiCompilati) {
    const auto& file = s.file[tipo];
    std::string cosa;
    if (!file) {
      cosa = "non trovato";
    } else if (tipo == TipoCompilato::tracciato) {
      cosa = std::to_string(punti_tracciato::numero(m.tracciato)) + " punti";
    } else if (tipo == TipoCompilato::elenco) {
      cosa = "87 voci";
    } else {
      cosa = "tratti 0-" + std::to_string(m.ultimo_tratto());
    }
    const auto byte = file ? dimensione_file(*file) : std::nullopt;
    out << formatta("  %-10s ", nome_tipo(tipo)) << (file ? file->string() : "-")
        << (byte ? " (" + std::to_string(*byte) + " byte)" : "") << ": " << cosa << "\n";
  }

  if (cc) {
    out << "\nCodici di controllo (ricalcolati da treno e nome: \"" << cc->chiave << "\")\n";
    for (const auto& v : cc->valori) {
      out << formatta("  %-15s %-18s ", v.nome, v.dove)
          << (v.memorizzato ? formatta("%6d", *v.memorizzato) : std::string("     -"))
          << formatta("  atteso %6d  ", v.atteso)
          << (v.valido()      ? "valido"
              : v.memorizzato ? "NON VALIDO"
                              : "file mancante")
          << "\n";
    }
    out << (cc->validi() ? "  il simulatore accetta questi file\n"
                         : "  il simulatore rifiuta questi file\n");
  }

  if (s.con_elenco) {
    out << "\nPercorso\n  lunghezza " << metri(r.lunghezza) << ", metri_totali "
        << (int64_t{r.lunghezza} + kCodaPercorso);
    if (r.ultimo_tratto >= 0) out << ", tratti 0-" << r.ultimo_tratto << " (50 m ciascuno)";
    out << "\n  progressive chilometriche:";
    if (r.sezioni.empty()) out << " nessuna";
    out << "\n";
    for (const SezioneKm& z : r.sezioni) {
      out << formatta("    da %9d m  %-12s ", z.inizio, km_di(r, z.inizio).c_str())
          << (z.verso == 1 ? "decrescente" : "crescente  ")
          << formatta("  (voce %d: progressiva %d, verso %d)\n", z.voce, z.progressiva, z.verso);
    }
    out << "  sfondi: uno " << r.sfondi[0] << ", due " << r.sfondi[1] << ", tre " << r.sfondi[2]
        << "\n  ripetizione segnali: da " << metri(r.ripetizione_inizio) << " a "
        << metri(r.ripetizione_fine) << ", " << r.codici_ripetizione << " codici\n";
    out << "\nTreno\n  massa frenata " << r.massa_frenata << "%, " << r.vetture
        << " vetture, sabbia " << r.sabbia
        << formatta(", orologio %d:%02d:%02d\n", r.orologio[0], r.orologio[1], r.orologio[2]);

    out << "\nOrario (" << r.stazioni.size() << " stazioni)\n"
        << "  voce posizione progressiva  tipo    arrivo sosta zona              fermata"
           "  nome\n";
    for (const Stazione& st : r.stazioni) {
      out << formatta("  %4d %9d %-12s %4u %9s %4us %7d..%-8d", st.voce, st.posizione,
                      km_di(r, st.posizione).c_str(), unsigned{st.tipo}, orario(st.orario).c_str(),
                      unsigned{st.sosta}, st.inizio_zona, st.fine_zona)
          << (st.tratto_fermata ? formatta("%7d", *st.tratto_fermata) : std::string("      -"))
          << "  " << st.nome << "\n";
    }
  }
  if (m.tratti.empty()) return;

  out << "\nSegnali (" << r.segnali.size() << ")\n"
      << "  tratto posizione progressiva  s1/d1 s2/d2 s3/d3 rapp sx dx tempo\n";
  for (const SegnaleLetto& g : r.segnali) {
    const int32_t p = posizione_oggetto(g.tratto);
    out << formatta("  %6d %9d %-12s  %2d/%d  %2d/%d  %2d/%d %4d %2d %2d %5u\n", g.tratto, p,
                    km_di(r, p).c_str(), g.aspetti[0], g.d[0], g.aspetti[1], g.d[1], g.aspetti[2],
                    g.d[2], g.rapp, g.sx, g.dx, unsigned{g.tempo});
  }

  out << "\nRallentamenti (" << r.rallentamenti.size() << ")\n"
      << "     avviso     inizio       fine  velocità lunghezza  d_v f_tt preavvisi\n";
  const auto punto = [](const std::optional<int32_t>& s) {
    return s ? formatta("%9d", posizione_oggetto(*s)) : std::string("        -");
  };
  for (const RallentamentoLetto& ra : r.rallentamenti) {
    const std::string lunghezza = ra.inizio && ra.fine
                                      ? formatta("%7d m", (*ra.fine - *ra.inizio) * 50)
                                      : std::string("        -");
    out << "  " << punto(ra.avviso) << "  " << punto(ra.inizio) << "  " << punto(ra.fine)
        << formatta("  %3d km/h ", ra.velocita) << lunghezza
        << formatta(" %4d %4d %s\n", ra.d_v, ra.f_tt, ra.segnalato ? "sì" : "no");
  }

  out << "\nPunti di codice (" << r.punti_codice.size() << ")\n";
  for (const PuntoCodice& c : r.punti_codice) {
    out << formatta("  tratto %6d %9d m  ", c.tratto, posizione_oggetto(c.tratto))
        << (c.taglio ? std::string("taglio del codice") : formatta("codice %d", c.codice)) << "\n";
  }

  out << "\nMontagne (" << r.montagne.size() << ")\n";
  for (const Montagna& mo : r.montagne) {
    out << formatta("  da %9d a %9d m  tipo %u  tratti %d-%d, %d segni\n", inizio_tratto(mo.primo),
                    inizio_tratto(mo.ultimo + 1), unsigned{mo.tipo}, mo.primo, mo.ultimo, mo.segni);
  }

  out << "\nCartelli (" << r.cartelli.size() << ")\n";
  for (const Cartello& c : r.cartelli) {
    out << formatta("  tratto %6d %9d m  voce %2d  ", c.tratto, posizione_oggetto(c.tratto), c.voce)
        << c.testo << "\n";
  }

  out << "\nIndicatori di velocità (" << r.indicatori.size() << ")\n";
  for (const IndicatoreVelocita& iv : r.indicatori) {
    out << formatta("  tratto %6d %9d m ", iv.tratto, posizione_oggetto(iv.tratto));
    const char* rango = "ABC";
    for (int k = 0; k < 3; ++k) {
      out << formatta("  %c %3d/%-3d", rango[k], iv.valori[k] / 100 * 5, iv.valori[k] % 100 * 5);
    }
    out << formatta("  strisce %d/%d\n", iv.strisce / 10, iv.strisce % 10);
  }

  const auto profilo = [&out](const char* titolo, const std::vector<Tratta>& tratte,
                              const char* unita) {
    out << "\n" << titolo << " (" << tratte.size() << " tratte)\n";
    for (const Tratta& t : tratte) {
      out << formatta("  da %9d m  %4d %s  (tratti %d-%d)\n", inizio_tratto(t.primo), t.valore,
                      unita, t.primo, t.ultimo);
    }
  };
  profilo("Velocità massima", r.velocita, "km/h");
  profilo("Aderenza", r.aderenze, "");
  profilo("Pendenza", r.pendenze, "per mille");
}

void stampa_avvisi(std::ostream& out, const Identita& id) {
  if (id.avvisi.empty()) return;
  out << "\nAvvisi (" << id.avvisi.size() << ")\n";
  for (const auto& a : id.avvisi) out << "  " << a << "\n";
}

json voce_json(const Voce& v) {
  return {{"tipo_voce", v.tipo_voce}, {"campo_1", v.campo_1},   {"campo_2", v.campo_2},
          {"campo_3", v.campo_3},     {"opzione", v.opzione},   {"testo", cp1252::a_utf8(v.testo)},
          {"intero_1", v.intero_1},   {"intero_2", v.intero_2}, {"intero_3", v.intero_3},
          {"intero_4", v.intero_4},   {"intero_5", v.intero_5}, {"flag_1", v.flag_1},
          {"flag_2", v.flag_2},       {"flag_3", v.flag_3},     {"flag_4", v.flag_4},
          {"orario", v.orario}};
}

json tratto_json(int32_t s, const Tratto& t) {
  return {{"tratto", s},
          {"oggetto", t.oggetto},
          {"nome_oggetto", sigla_oggetto(t.oggetto)},
          {"valore_1", t.valore_1},
          {"valore_2", t.valore_2},
          {"valore_3", t.valore_3},
          {"valore_4", t.valore_4},
          {"tempo_segnale", t.tempo_segnale},
          {"preavviso", t.preavviso},
          {"montagna", t.montagna},
          {"velocita", t.velocita},
          {"pendenza", t.pendenza},
          {"aderenza", t.aderenza}};
}

json opzionale(const std::optional<int32_t>& v) { return v ? json(*v) : json(nullptr); }

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

json documento(const ScenarioCompilato& s, const Descrizione& r, const Identita& id,
               const std::optional<ControlloCodici>& cc, int32_t primo, int32_t ultimo) {
  const Modello& m = s.modello;
  json j;
  json file = json::object();
  for (TipoCompilato tipo : kTipiCompilati) {
    file[nome_tipo(tipo)] = s.file[tipo] ? json(s.file[tipo]->string()) : json(nullptr);
  }
  j["file"] = file;
  j["nome"] = s.con_elenco ? json(id.nome) : json(nullptr);
  j["treno"] = s.con_elenco ? json(id.treno) : json(nullptr);
  if (cc) {
    json valori = json::array();
    for (const auto& v : cc->valori) {
      valori.push_back({{"nome", v.nome},
                        {"dove", v.dove},
                        {"memorizzato", opzionale(v.memorizzato)},
                        {"atteso", v.atteso},
                        {"valido", v.valido()}});
    }
    j["codici_controllo"] = {{"chiave", cc->chiave}, {"valori", valori}, {"validi", cc->validi()}};
  } else {
    j["codici_controllo"] = nullptr;
  }
  if (s.con_elenco) {
    json sezioni = json::array();
    for (const SezioneKm& z : r.sezioni) {
      sezioni.push_back({{"voce", z.voce},
                         {"inizio", z.inizio},
                         {"progressiva", z.progressiva},
                         {"verso", z.verso},
                         {"km_inizio", progressiva(r, z.inizio).value_or(0)}});
    }
    j["percorso"] = {{"lunghezza", r.lunghezza},
                     {"ultimo_tratto", r.ultimo_tratto},
                     {"sezioni", sezioni},
                     {"sfondi", {{"uno", r.sfondi[0]}, {"due", r.sfondi[1]}, {"tre", r.sfondi[2]}}},
                     {"ripetizione_segnali",
                      {{"inizio", r.ripetizione_inizio},
                       {"fine", r.ripetizione_fine},
                       {"codici", r.codici_ripetizione}}}};
    j["treno_figure"] = {{"massa_frenata", r.massa_frenata},
                         {"vetture", r.vetture},
                         {"sabbia", r.sabbia},
                         {"orologio", {r.orologio[0], r.orologio[1], r.orologio[2]}}};
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
    j["stazioni"] = stazioni;
    json cartelli = json::array();
    for (const Cartello& c : r.cartelli) {
      cartelli.push_back({{"tratto", c.tratto}, {"voce", c.voce}, {"testo", c.testo}});
    }
    j["cartelli"] = cartelli;
  }
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
  j["segnali"] = segnali;
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
  j["rallentamenti"] = rallentamenti;
  json codici = json::array();
  for (const PuntoCodice& c : r.punti_codice) {
    codici.push_back({{"tratto", c.tratto},
                      {"tipo", c.taglio ? "taglio_codice" : "cambio_codice"},
                      {"codice", c.codice}});
  }
  j["punti_codice"] = codici;
  json montagne = json::array();
  for (const Montagna& mo : r.montagne) {
    montagne.push_back({{"primo_tratto", mo.primo},
                        {"ultimo_tratto", mo.ultimo},
                        {"inizio", inizio_tratto(mo.primo)},
                        {"fine", inizio_tratto(mo.ultimo + 1)},
                        {"tipo", mo.tipo},
                        {"segni", mo.segni}});
  }
  j["montagne"] = montagne;
  json indicatori = json::array();
  for (const IndicatoreVelocita& iv : r.indicatori) {
    indicatori.push_back({{"tratto", iv.tratto},
                          {"valori", {iv.valori[0], iv.valori[1], iv.valori[2]}},
                          {"strisce", iv.strisce}});
  }
  j["indicatori_velocita"] = indicatori;
  j["profili"] = {{"velocita", tratte_json(r.velocita)},
                  {"aderenza", tratte_json(r.aderenze)},
                  {"pendenza", tratte_json(r.pendenze)}};
  j["avvisi"] = id.avvisi;
  if (s.con_elenco) {
    json elenco = json::array();
    for (const Voce& v : m.elenco) elenco.push_back(voce_json(v));
    j["elenco"] = elenco;
  } else {
    j["elenco"] = nullptr;
  }
  json tratti = json::array();
  for (int32_t t = primo; t <= ultimo; ++t) {
    tratti.push_back(tratto_json(t, m.tratti[static_cast<size_t>(t)]));
  }
  j["tratti"] = tratti;
  if (punti_tracciato::numero(m.tracciato) > 0) {
    j["tracciato"] = {{"punti", punti_tracciato::numero(m.tracciato)},
                      {"x", coordinate_json(m.tracciato, 0)},
                      {"y", coordinate_json(m.tracciato, 1)}};
  } else {
    j["tracciato"] = nullptr;
  }
  return j;
}

// "A-B" or "A": the stretches to show.
std::optional<std::pair<int32_t, int32_t>> intervallo(const std::string& testo) {
  const size_t meno = testo.find('-');
  const auto numero = [](const std::string& t) -> std::optional<int32_t> {
    if (t.empty() || t.size() > 9 || t.find_first_not_of("0123456789") != std::string::npos) {
      return std::nullopt;
    }
    return static_cast<int32_t>(std::stoi(t));
  };
  const auto a = numero(testo.substr(0, meno));
  const auto b = meno == std::string::npos ? a : numero(testo.substr(meno + 1));
  if (!a || !b || *a > *b) return std::nullopt;
  return std::pair{*a, *b};
}

}  // namespace

int comando_mostra(const OpzioniLette& o, std::ostream& out, std::ostream& err) {
  std::optional<std::pair<int32_t, int32_t>> scelti;
  if (const auto t = o.valore("tratti")) {
    scelti = intervallo(*t);
    if (!scelti) {
      return errore_uso(err, "mostra",
                        "--tratti vuole un tratto o un intervallo come 120-130, non '" + *t + "'");
    }
  }
  const auto s = leggi_scenario(o.operandi, "mostra", err);
  if (!s) return kUscitaFallita;
  const Modello& m = s->modello;
  if (scelti) {
    if (m.tratti.empty()) {
      return errore_uso(err, "mostra",
                        "--tratti vuole il file dei tratti, che non è stato trovato");
    }
    if (scelti->second > m.ultimo_tratto()) {
      return errore_uso(err, "mostra",
                        "il tratto " + std::to_string(scelti->second) +
                            " non esiste: i tratti vanno da 0 a " +
                            std::to_string(m.ultimo_tratto()));
    }
  }
  const Descrizione r = descrivi(m, s->con_elenco);
  const Identita id = identita(*s, r);
  const auto cc = controlla_codici(*s);
  if (o.presente("json")) {
    const auto [primo, ultimo] = scelti.value_or(std::pair{0, m.ultimo_tratto()});
    out << documento(*s, r, id, cc, primo, ultimo)
               .dump(1, ' ', false, json::error_handler_t::replace)
        << "\n";
    return kUscitaOk;
  }
  if (scelti) {
    stampa_tratti(out, m.tratti, scelti->first, scelti->second);
    return kUscitaOk;
  }
  stampa_testo(out, *s, r, id, cc);
  stampa_avvisi(out, id);
  return kUscitaOk;
}

}  // namespace compattatore
