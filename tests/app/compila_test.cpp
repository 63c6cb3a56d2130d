#include <gtest/gtest.h>

#include "app/comandi.h"
#include "sources/scenario.h"
#include "support/supporto.h"

namespace compattatore {
namespace {
using prova::CartellaTemporanea;
using prova::esegui_programma;

TEST(Compila, ErroriDUso) {
  CartellaTemporanea d;
  prova::scrivi(d / "A_linea.txt", "[generale]\r\n");
  prova::scrivi(d / "A_7-.txt", "[generale]\r\n");
  prova::scrivi(d / "linea.txt", "[generale]\r\n");
  prova::scrivi(d / "B_7-.txt", "[generale]\r\n");
  prova::scrivi(d / "binario_linea.txt", std::string("[generale]\0\r\n", 13));
  std::filesystem::create_directory(d / "cartella_linea.txt");
  const struct {
    std::vector<std::string> argomenti;
    const char* messaggio;
  } casi[] = {
      {{"compile"}, "servono due file"},
      {{"compile", "A_linea.txt"}, "servono due file"},
      {{"compile", "A_linea.txt", "A_7-.txt", "--boh"}, "opzione sconosciuta '--boh'"},
      {{"compila", "A_linea.txt", "A_7-.txt", "--dir"}, "l'opzione '--dir' vuole un valore"},
      {{"compile", "linea.txt", "A_7-.txt"},
       "non ricavo il nome dello scenario da 'linea.txt': il file della linea si chiama "
       "NOME_linea.txt, oppure usa --nome"},
      {{"compile", "A_linea.txt", "B_7-.txt"},
       "non ricavo il numero del treno da 'B_7-.txt': il file del treno si chiama A_TRENO-.txt, "
       "oppure usa --treno"},
      {{"compile", "manca_linea.txt", "A_7-.txt"}, "il file 'manca_linea.txt' non esiste"},
      {{"compile", "cartella_linea.txt", "A_7-.txt", "--treno", "7"},
       "'cartella_linea.txt' non è un file"},
      {{"compile", "binario_linea.txt", "A_7-.txt", "--treno", "7"},
       "'binario_linea.txt' non è un file di testo (contiene byte nulli)"},
      {{"compile", "A_linea.txt", "A_7-.txt", "--dir", "non-esiste"},
       "la cartella 'non-esiste' non esiste"},
      {{"compile", "A_linea.txt", "A_7-.txt", "--nome", "a/b"},
       "contiene un separatore di cartelle"},
      {{"compile", "A_linea.txt", "A_7-.txt", "--treno", "Ω"}, "non esiste in Windows-1252"},
  };
  for (const auto& c : casi) {
    const auto r = esegui_programma(c.argomenti, d.percorso());
    EXPECT_EQ(r.stato, 1) << c.messaggio;
    EXPECT_NE(r.err.find(c.messaggio), std::string::npos) << r.err;
  }
  EXPECT_EQ(prova::elenco_file(d.percorso()),
            (std::vector<std::string>{"A_7-.txt", "A_linea.txt", "B_7-.txt", "binario_linea.txt",
                                      "cartella_linea.txt", "linea.txt"}));
}

}  // namespace
}  // namespace compattatore

namespace compattatore {
namespace {
namespace fs = std::filesystem;

constexpr const char* kDat = "Viterbo_Orte_Roma_Via_Linea_Cintura_3349.dat";
constexpr const char* kSim = "Viterbo_Orte_Roma_Via_Linea_Cintura_3349.sim";
constexpr const char* kPiano = "Viterbo_Orte_Roma_Via_Linea_Cintura_linea.dat";

TEST(CompilaEndToEnd, SorgentiIncorporateUgualiAllaCorsaNormale) {
  CartellaTemporanea normale, autore;
  ASSERT_EQ(esegui_programma({"--dir", normale.percorso().string()}, normale.percorso()).stato, 0);
  // The author's copies of the embedded sources, as the plain run writes them.
  dati_linea(autore.percorso(), NomiScenario::incorporato());
  dati_treno(autore.percorso(), NomiScenario::incorporato());
  const std::string linea = prova::leggi(autore / "Viterbo_Orte_Roma_Via_Linea_Cintura_linea.txt");
  const std::string treno = prova::leggi(autore / "Viterbo_Orte_Roma_Via_Linea_Cintura_3349-.txt");
  fs::create_directory(autore / "out");

  const auto r = esegui_programma({"compile", "Viterbo_Orte_Roma_Via_Linea_Cintura_linea.txt",
                                   "Viterbo_Orte_Roma_Via_Linea_Cintura_3349-.txt", "--dir", "out"},
                                  autore.percorso());
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(r.err, "");
  for (const char* f : {kDat, kSim, kPiano}) {
    EXPECT_EQ(prova::leggi(autore / "out" / f), prova::leggi(normale / f)) << f;
  }
  // The author's files are still there, unchanged.
  EXPECT_EQ(prova::leggi(autore / "Viterbo_Orte_Roma_Via_Linea_Cintura_linea.txt"), linea);
  EXPECT_EQ(prova::leggi(autore / "Viterbo_Orte_Roma_Via_Linea_Cintura_3349-.txt"), treno);

  // --no-plan: no route plan, the other two the same.
  const auto senza =
      esegui_programma({"compile", "Viterbo_Orte_Roma_Via_Linea_Cintura_linea.txt",
                        "Viterbo_Orte_Roma_Via_Linea_Cintura_3349-.txt", "--no-plan"},
                       autore.percorso());
  EXPECT_EQ(senza.stato, 0) << senza.err;
  EXPECT_FALSE(fs::exists(autore / kPiano));
  EXPECT_EQ(prova::leggi(autore / kDat), prova::leggi(normale / kDat));
  EXPECT_EQ(prova::leggi(autore / kSim), prova::leggi(normale / kSim));
}

TEST(CompilaEndToEnd, NomeETrenoDalleOpzioniConOgniScrittura) {
  CartellaTemporanea d;
  dati_linea(d.percorso(), NomiScenario::incorporato());
  dati_treno(d.percorso(), NomiScenario::incorporato());
  fs::rename(d / prova::kFileLinea, d / "-linea.txt");
  fs::rename(d / prova::kFileTreno, d / "treno.txt");
  fs::create_directory(d / "out");
  // Option values after "=" or as the next word, and "--" before operands that look like options.
  const auto r = esegui_programma({"compila", "--nome=Città", "--treno", "R_21", "--dir=out",
                                   "--senza-tracciato", "--", "-linea.txt", "treno.txt"},
                                  d.percorso());
  EXPECT_EQ(r.stato, 0) << r.err;
  const std::string out = (fs::path("out") / "").string();  // "out/", and "out\" on Windows
  EXPECT_EQ(
      r.out.rfind(
          "scritto " + out + "Città_R_21.sim\nscritto " + out + "Città_R_21.dat\nriepilogo: ", 0),
      0u)
      << r.out;
  EXPECT_EQ(prova::elenco_file(d / "out"),
            (std::vector<std::string>{"Città_R_21.dat", "Città_R_21.sim"}));
  // The identity goes into the table in Windows-1252: entry 85 holds "Citt\xE0" (5 bytes).
  const std::string sim = prova::leggi(d / "out" / u8"Città_R_21.sim");
  EXPECT_NE(sim.find(std::string("\x05\x00"
                                 "Citt\xE0",
                                 7)),
            std::string::npos);
  // The stretches are those of the embedded scenario but for the check code in stretch 1.
  CartellaTemporanea normale;
  ASSERT_EQ(esegui_programma({"--dir", normale.percorso().string()}, normale.percorso()).stato, 0);
  const std::string dat = prova::leggi(d / "out" / u8"Città_R_21.dat");
  const std::string atteso = prova::leggi(normale / kDat);
  ASSERT_EQ(dat.size(), atteso.size());
  EXPECT_EQ(dat.substr(30), atteso.substr(30));
}

TEST(CompilaEndToEnd, NomiConLettereAccentateDaiNomiDeiFile) {
  // The scenario's name and train from the names of the source files, with a letter beyond
  // ASCII: every name reaches the file system as written.
  CartellaTemporanea d;
  prova::scrivi(d / u8"Città_linea.txt", prova::sorgente_linea({}, 10000));
  prova::scrivi(d / u8"Città_7-.txt",
                "[generale]\r\nnumero vetture,    6\r\nstazione, 2000, 24, 300, 0, 0, 0, 0,0,0, "
                "0,0,0, 30, 6,0,0, A\r\n[fine]\r\n");
  const auto r = esegui_programma({"compila", "Città_linea.txt", "Città_7-.txt"}, d.percorso());
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(prova::elenco_file(d.percorso()),
            (std::vector<std::string>{"Città_7-.txt", "Città_7.dat", "Città_7.sim",
                                      "Città_linea.dat", "Città_linea.txt"}));
}

TEST(CompilaEndToEnd, MessaggioConFileERigaEStatoDUscita) {
  CartellaTemporanea d;
  const std::string linea =
      prova::sorgente_linea({"indicatori_vmax,  500,  65,  70,  80,  0,  ,  ,  ,  0",
                             "cartello_indicatore,  500,   (Ponte)"},
                            10000);
  const std::string treno = prova::sorgente_treno(
      {"numero vetture,    6", "stazione, 2000, 24, 300, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, A"});
  prova::scrivi(d / "Prova_linea.txt", linea);
  prova::scrivi(d / "Prova_7-.txt", treno);
  const auto r = esegui_programma({"compile", "Prova_linea.txt", "Prova_7-.txt"}, d.percorso());
  EXPECT_EQ(r.stato, 2);
  EXPECT_EQ(
      r.err,
      "Prova_linea.txt:5:23: errore 6: un cartello indicatore cade su un tratto già occupato "
      "(posizione 500 m)\n"
      "    cartello_indicatore,  500,   (Ponte)\n"
      "                          ^~~\n"
      "    aiuto: sposta il cartello di almeno 50 m, lontano da indicatori di velocità e altri "
      "cartelli\n"
      "Prova_linea.txt:4:1: nota: il tratto 11 è occupato da un indicatore di velocità "
      "massima, scritto qui\n"
      "    indicatori_vmax,  500,  65,  70,  80,  0,  ,  ,  ,  0\n"
      "    ^~~~~~~~~~~~~~~\n"
      "Prova_7-.txt: avviso: il file del treno non è letto: la lettura si è fermata al codice "
      "6 del file della linea [treno-non-letto]\n"
      "    aiuto: correggi l'errore del file della linea: il file del treno è letto solo dopo\n"
      "compattatore: file compilati scritti con codice_errore 6, posizione_errore 500 m\n"
      "compattatore: 1 errore e 1 avviso\n");
  EXPECT_EQ(prova::leggi(d / "Prova_linea.txt"), linea);
  EXPECT_EQ(prova::leggi(d / "Prova_7-.txt"), treno);
  EXPECT_TRUE(fs::exists(d / "Prova_7.dat"));

  // The same sources without the clash compile with status 0.
  prova::scrivi(d / "Buona_linea.txt", prova::sorgente_linea({}, 10000));
  prova::scrivi(d / "Buona_7-.txt", treno);
  const auto buona = esegui_programma({"compile", "Buona_linea.txt", "Buona_7-.txt"}, d.percorso());
  EXPECT_EQ(buona.stato, 0) << buona.err;
  EXPECT_EQ(buona.err, "");
  const std::string qui = (fs::path(".") / "").string();  // "./", and ".\" on Windows
  EXPECT_EQ(
      buona.out,
      "scritto " + qui + "Buona_linea.dat\nscritto " + qui + "Buona_7.sim\nscritto " + qui +
          "Buona_7.dat\n"
          "riepilogo: percorso 10000 m, 341 tratti, 1 stazione, 0 segnali, 0 rallentamenti, 0 "
          "indicatori di velocità, 0 cartelli indicatori, 0 segni di codice, codici di "
          "controllo 37685 e 2825\n");

  // A board at position 0 fills a reserved field: status 1 and no compiled file.
  prova::scrivi(
      d / "Zero_linea.txt",
      prova::sorgente_linea({"indicatori_vmax,  0,  65,  70,  80,  0,  ,  ,  ,  0"}, 10000));
  prova::scrivi(d / "Zero_7-.txt", treno);
  const auto zero = esegui_programma({"compile", "Zero_linea.txt", "Zero_7-.txt"}, d.percorso());
  EXPECT_EQ(zero.stato, 1);
  // The report of the check, and before it the object on stretch 1 and its source line.
  EXPECT_NE(zero.err.find("Zero_linea.txt:4:1: errore 1250: campo riservato occupato: un oggetto "
                          "sul tratto 1, all'inizio del percorso, ha un primo valore: sul tratto 1 "
                          "c'è un indicatore di velocità massima con primo valore 1300 (tratto "
                          "1)\n    indicatori_vmax,  0,"),
            std::string::npos)
      << zero.err;
  EXPECT_NE(zero.err.find("\n Errore n. 1250\n"), std::string::npos) << zero.err;
  EXPECT_FALSE(fs::exists(d / "Zero_7.dat"));
  EXPECT_FALSE(fs::exists(d / "Zero_7.sim"));
}

TEST(CompilaEndToEnd, OgniCodiceSegnalatoAncheSeSovrascritto) {
  // A gradient past the route end (15) lets the train source be read; there the kilometric
  // section check sets 2, which overwrites 15. Both are reported, the final word last.
  CartellaTemporanea d;
  prova::scrivi(d / "P_linea.txt",
                prova::sorgente_linea({"pendenza,  9000,  3"}, 1000,
                                      {"progressiva chilometrica uno,    0,    125,    1"}));
  prova::scrivi(d / "P_1-.txt", prova::sorgente_treno({}));
  const auto r = esegui_programma({"compile", "P_linea.txt", "P_1-.txt"}, d.percorso());
  EXPECT_EQ(r.stato, 2);
  const size_t quindici = r.err.find("P_linea.txt:5:12: errore 15: ");
  const size_t due = r.err.find("errore 2: ");
  const size_t finale = r.err.find("compattatore: file compilati scritti con codice_errore 2,");
  EXPECT_NE(quindici, std::string::npos) << r.err;
  EXPECT_NE(due, std::string::npos) << r.err;
  EXPECT_NE(finale, std::string::npos) << r.err;
  EXPECT_LT(quindici, due);
  EXPECT_LT(due, finale);
}

}  // namespace
}  // namespace compattatore
