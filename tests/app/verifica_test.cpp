// The commands an author uses to check and start a scenario, run as the author runs them:
// `verifica`, `--formato json`, `--avvisi-come-errori`, `--codifica`, `esempio`.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/supporto.h"

namespace {
namespace fs = std::filesystem;
using nlohmann::json;
using prova::CartellaTemporanea;
using prova::esegui_programma;

const std::string kStazione = "stazione, 2000, 24, 300, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, A";

// A folder holding P_linea.txt and P_7-.txt.
void sorgenti(const CartellaTemporanea& d, const std::vector<std::string>& linea,
              const std::vector<std::string>& treno) {
  prova::scrivi(d / "P_linea.txt", prova::sorgente_linea(linea, 10000));
  prova::scrivi(d / "P_7-.txt", prova::sorgente_treno(treno));
}

TEST(Verifica, NonScriveNullaEDaLoStatoDiCompila) {
  CartellaTemporanea d;
  sorgenti(d, {"indicatori_vmax, 500, 65,70,80,0,,,,0", "cartello_indicatore, 500, (A)"},
           {kStazione});
  const auto prima = prova::elenco_file(d.percorso());
  const auto v = esegui_programma({"verifica", "P_linea.txt", "P_7-.txt"}, d.percorso());
  EXPECT_EQ(prova::elenco_file(d.percorso()), prima);
  const auto c = esegui_programma({"compila", "P_linea.txt", "P_7-.txt"}, d.percorso());
  EXPECT_EQ(v.stato, 2);
  EXPECT_EQ(c.stato, 2);
  // The same diagnostics; only the last line of the report differs.
  EXPECT_EQ(v.err.substr(0, v.err.find("compattatore:")),
            c.err.substr(0, c.err.find("compattatore:")));
  EXPECT_NE(v.err.find("verifica finita con codice_errore 6, posizione_errore 500 m (nessun file "
                       "scritto)"),
            std::string::npos)
      << v.err;
  EXPECT_EQ(v.out.rfind("riepilogo: percorso 10000 m, 341 tratti, 0 stazioni,", 0), 0u) << v.out;

  // A good scenario: status 0, nothing on standard error, still nothing written.
  CartellaTemporanea buona;
  sorgenti(buona, {}, {kStazione});
  const auto b = esegui_programma({"verifica", "P_linea.txt", "P_7-.txt"}, buona.percorso());
  EXPECT_EQ(b.stato, 0) << b.err;
  EXPECT_EQ(b.err, "");
  EXPECT_EQ(prova::elenco_file(buona.percorso()),
            (std::vector<std::string>{"P_7-.txt", "P_linea.txt"}));
}

TEST(Verifica, AvvisiComeErrori) {
  CartellaTemporanea d;
  sorgenti(d, {"pendneza, 2000, 12"}, {kStazione});
  const auto senza = esegui_programma({"verifica", "P_linea.txt", "P_7-.txt"}, d.percorso());
  EXPECT_EQ(senza.stato, 0);
  EXPECT_NE(senza.err.find("compattatore: 1 avviso\n"), std::string::npos) << senza.err;
  const auto con = esegui_programma(
      {"compila", "P_linea.txt", "P_7-.txt", "--avvisi-come-errori", "--dir", "."}, d.percorso());
  EXPECT_EQ(con.stato, 2);
  EXPECT_NE(con.err.find("gli avvisi contano come errori"), std::string::npos) << con.err;
  EXPECT_TRUE(fs::exists(d / "P_7.dat"));  // written all the same
}

TEST(Verifica, DocumentoJsonConOgniCampo) {
  CartellaTemporanea d;
  sorgenti(d, {"indicatori_vmax, 500, 65,70,80,0,,,,0", "cartello_indicatore, 500, (A)"},
           {kStazione});
  const auto r =
      esegui_programma({"verifica", "P_linea.txt", "P_7-.txt", "--formato", "json"}, d.percorso());
  EXPECT_EQ(r.stato, 2);
  EXPECT_EQ(r.err, "");
  const json j = json::parse(r.out);
  EXPECT_EQ(j["comando"], "verifica");
  EXPECT_EQ(j["stato"], 2);
  EXPECT_EQ(j["codice_errore"], 6);
  EXPECT_EQ(j["posizione_errore"], 500);
  EXPECT_EQ(j["errori"], 1);
  EXPECT_EQ(j["avvisi"], 1);
  EXPECT_TRUE(j["file_scritti"].empty());
  EXPECT_EQ(j["riepilogo"]["lunghezza"], 10000);
  ASSERT_EQ(j["diagnostiche"].size(), 2u);
  const json& e = j["diagnostiche"][0];
  for (const char* campo : {"file", "riga", "colonna", "lunghezza", "gravita", "codice",
                            "messaggio", "rimedio", "posizione", "tratto", "testo_riga", "note"}) {
    EXPECT_TRUE(e.contains(campo)) << campo;
  }
  EXPECT_EQ(e["file"], "P_linea.txt");
  EXPECT_EQ(e["riga"], 5);
  EXPECT_EQ(e["colonna"], 22);
  EXPECT_EQ(e["lunghezza"], 3);
  EXPECT_EQ(e["gravita"], "errore");
  EXPECT_EQ(e["codice"], 6);
  EXPECT_EQ(e["posizione"], 500);
  EXPECT_EQ(e["testo_riga"], "cartello_indicatore, 500, (A)");
  EXPECT_EQ(e["note"][0]["riga"], 4);
  const json& a = j["diagnostiche"][1];
  EXPECT_EQ(a["gravita"], "avviso");
  EXPECT_EQ(a["codice"], "treno-non-letto");
  EXPECT_EQ(a["riga"], nullptr);
  EXPECT_FALSE(a["rimedio"].get<std::string>().empty());

  // compila names the files it wrote.
  const auto c =
      esegui_programma({"compila", "P_linea.txt", "P_7-.txt", "--formato=json"}, d.percorso());
  EXPECT_EQ(json::parse(c.out)["file_scritti"].size(), 3u);
}

// A diagnostic about one value carries it: as written, as stored, its field's range and unit.
TEST(Verifica, DocumentoJsonConIlValore) {
  CartellaTemporanea d;
  sorgenti(d, {}, {"aderenza,  0,  300", kStazione, "segnale, 99999, 2, 4, 1, 0, 0, 0, 0,0,0, 0"});
  const auto r =
      esegui_programma({"verifica", "P_linea.txt", "P_7-.txt", "--formato", "json"}, d.percorso());
  const json j = json::parse(r.out);
  ASSERT_EQ(j["diagnostiche"].size(), 2u) << r.out;
  EXPECT_EQ(j["diagnostiche"][0]["valore"],
            json::parse(R"({"campo": "'aderenza', a", "scritto": "300", "memorizzato": 44,
                            "minimo": 0, "massimo": 255, "unita": ""})"));
  // A refused position: not stored; its range reaches the route length + 6900 m.
  EXPECT_EQ(j["diagnostiche"][1]["codice"], 15);
  EXPECT_EQ(j["diagnostiche"][1]["valore"],
            json::parse(R"({"campo": "'segnale', P", "scritto": "99999", "memorizzato": null,
                            "minimo": 0, "massimo": 16900, "unita": "m"})"));
}

TEST(Verifica, CodificheDeiSorgenti) {
  // One scenario whose station is called "Città", written three ways.
  const std::string riga = "stazione, 2000, 24, 300, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, Citt";
  const std::string cp1252 = prova::sorgente_treno({riga + "\xE0"});
  const std::string utf8 = prova::sorgente_treno({riga + "\xC3\xA0"});
  const struct {
    const char* caso;
    std::string treno;
    std::vector<std::string> opzioni;
    const char* nota;  // the note printed, or "" for none
    std::string nome;  // the name in the compiled table
  } casi[] = {
      {"Windows-1252", cp1252, {}, "", "Citt\xE0"},
      {"UTF-8", utf8, {}, "il file è UTF-8", "Citt\xE0"},
      {"UTF-8 con BOM", "\xEF\xBB\xBF" + utf8, {}, "segno UTF-8 (BOM)", "Citt\xE0"},
      {"UTF-8 chiesto", utf8, {"--codifica", "utf-8"}, "", "Citt\xE0"},
      {"Windows-1252 chiesto", utf8, {"--codifica", "cp1252"}, "", "Citt\xC3\xA0"},
  };
  std::string primo;
  for (const auto& c : casi) {
    CartellaTemporanea d;
    prova::scrivi(d / "P_linea.txt", prova::sorgente_linea({}, 10000));
    prova::scrivi(d / "P_7-.txt", c.treno);
    std::vector<std::string> argomenti = {"compila", "P_linea.txt", "P_7-.txt"};
    argomenti.insert(argomenti.end(), c.opzioni.begin(), c.opzioni.end());
    const auto r = esegui_programma(argomenti, d.percorso());
    EXPECT_EQ(r.stato, 0) << c.caso << "\n" << r.err;
    if (*c.nota) {
      EXPECT_NE(r.err.find("P_7-.txt: nota: "), std::string::npos) << c.caso << "\n" << r.err;
      EXPECT_NE(r.err.find(c.nota), std::string::npos) << c.caso << "\n" << r.err;
    } else {
      EXPECT_EQ(r.err, "") << c.caso;
    }
    const std::string sim = prova::leggi(d / "P_7.sim");
    const std::string testo = std::string(1, static_cast<char>(c.nome.size())) + '\0' + c.nome;
    EXPECT_NE(sim.find(testo), std::string::npos) << c.caso;
    if (primo.empty()) primo = sim;
    if (c.nome == "Citt\xE0") {
      EXPECT_EQ(sim, primo) << c.caso;  // the same bytes as the Windows-1252 source
    }
  }

  // Bytes that are not UTF-8 where UTF-8 is asked for: code 29 at their place.
  CartellaTemporanea d;
  prova::scrivi(d / "P_linea.txt", prova::sorgente_linea({}, 10000));
  prova::scrivi(d / "P_7-.txt", cp1252);
  const auto r = esegui_programma({"verifica", "P_linea.txt", "P_7-.txt", "--codifica", "utf-8"},
                                  d.percorso());
  EXPECT_EQ(r.stato, 2);
  EXPECT_NE(r.err.find("P_7-.txt:2:64: errore 29: il file sorgente non è UTF-8 valido"),
            std::string::npos)
      << r.err;
  const auto sbagliata = esegui_programma(
      {"verifica", "P_linea.txt", "P_7-.txt", "--codifica", "latin1"}, d.percorso());
  EXPECT_EQ(sbagliata.stato, 1);
  EXPECT_NE(sbagliata.err.find("codifica sconosciuta 'latin1'"), std::string::npos);
}

TEST(Verifica, EcoSicuro) {
  // A source line that would set the terminal's title and clear its screen, and a file name with
  // an escape: shown as ^[ and ^G, never sent raw.
  CartellaTemporanea d;
#if defined(_WIN32)
  // Windows takes no control character in a file name: there only the lines carry them.
  const std::string nome = "P_linea.txt";
  const std::string nome_mostrato = nome;
#else
  const std::string nome = "P\x1b[2J_linea.txt";
  const std::string nome_mostrato = "P^[[2J_linea.txt";
#endif
  prova::scrivi(d / nome, prova::sorgente_linea({"\x1b]0;titolo\x07, 1, 2", "\x1b[2J"}, 10000));
  prova::scrivi(d / "P_7-.txt", prova::sorgente_treno({kStazione}));
  const auto r = esegui_programma({"verifica", nome, "P_7-.txt", "--nome", "P"}, d.percorso());
  for (const char c : r.err + r.out) {
    const auto b = static_cast<unsigned char>(c);
    EXPECT_TRUE(b >= 0x20 || c == '\n') << "byte " << static_cast<int>(b) << " in:\n" << r.err;
  }
  EXPECT_NE(r.err.find(nome_mostrato + ":4:1: avviso: '^[]0;titolo^G' non è una parola chiave"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("    ^[]0;titolo^G, 1, 2\n    ^~~~~~~~~~~~~\n"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("    ^[[2J\n"), std::string::npos) << r.err;
}

TEST(Esempio, ScriveISorgentiCheSiCompilanoSenzaUnAvviso) {
  CartellaTemporanea d;
  const auto r = esegui_programma({"esempio", "modello"}, d.percorso());
  ASSERT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(prova::elenco_file(d / "modello"),
            (std::vector<std::string>{prova::kFileTreno, prova::kFileLinea}));
  const auto c = esegui_programma({"compila", "modello/" + prova::kFileLinea,
                                   "modello/" + prova::kFileTreno, "--dir", "modello"},
                                  d.percorso());
  EXPECT_EQ(c.stato, 0);
  EXPECT_EQ(c.err, "");
  // The sources stay, and a second call does not overwrite them unless asked.
  EXPECT_TRUE(fs::exists(d / "modello" / prova::kFileLinea));
  const auto ancora = esegui_programma({"esempio", "modello"}, d.percorso());
  EXPECT_EQ(ancora.stato, 1);
  EXPECT_NE(ancora.err.find("esiste già"), std::string::npos) << ancora.err;
  EXPECT_EQ(esegui_programma({"esempio", "modello", "--sovrascrivi"}, d.percorso()).stato, 0);
}

}  // namespace
