// How a command ends, as the author sees it: the exit status and the last words on standard
// error, for scenarios without a train, folders that are not folders and names that Windows
// cannot hold. (The same outcomes under --formato json are validated against the schema of the
// document by the test Schema.diagnostiche.)
#include <gtest/gtest.h>

#include "support/supporto.h"

namespace {
namespace fs = std::filesystem;
using prova::CartellaTemporanea;
using prova::esegui_programma;

const std::string kLinea = prova::sorgente_linea({}, 10000);
const std::string kStazione = "stazione, 2000, 24, 300, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, A";
const std::string kTreno = prova::sorgente_treno({kStazione});

// The last line of `testo` (which ends with a newline), without it.
std::string ultima_riga(const std::string& testo) {
  const size_t fine = testo.size() - 1;
  const size_t inizio = testo.rfind('\n', fine - 1);
  return testo.substr(inizio == std::string::npos ? 0 : inizio + 1, fine - inizio - 1);
}

TEST(Esiti, StatoEUltimeParole) {
  const std::string senza_treno = "ma lo scenario non ha un treno da guidare: ";
  const struct {
    const char* caso;
    std::string treno;  // the train source, P_7-.txt
    std::vector<std::string> argomenti;
    int stato;
    std::string finale;  // the line before the count, or the only line of a usage error
  } casi[] = {
      {"un file del treno senza stazioni",
       prova::sorgente_treno({"numero vetture, 6"}),
       {"compila", "P_linea.txt", "P_7-.txt"},
       2,
       "compattatore: file compilati scritti, " + senza_treno +
           "il file del treno non ha stazioni"},
      {"la stessa cosa verificata",
       prova::sorgente_treno({"numero vetture, 6"}),
       {"verifica", "P_linea.txt", "P_7-.txt"},
       2,
       "compattatore: verifica finita (nessun file scritto), " + senza_treno +
           "il file del treno non ha stazioni"},
      {"un file del treno vuoto",
       "",
       {"compila", "P_linea.txt", "P_7-.txt"},
       2,
       "compattatore: file compilati scritti, " + senza_treno +
           "il file del treno è vuoto o non ha la riga [generale]"},
      {"un file del treno senza [generale]",
       "numero vetture, 6\r\n" + kStazione + "\r\n[fine]\r\nx\r\n",
       {"compila", "P_linea.txt", "P_7-.txt"},
       2,
       "compattatore: file compilati scritti, " + senza_treno +
           "il file del treno è vuoto o non ha la riga [generale]"},
      {"il file della linea dato due volte",
       kTreno,
       {"compila", "P_linea.txt", "P_linea.txt", "--treno", "7"},
       2,
       "compattatore: file compilati scritti, " + senza_treno +
           "il file del treno è il file della linea"},
      {"un treno con le sue stazioni", kTreno, {"compila", "P_linea.txt", "P_7-.txt"}, 0, ""},
      {"--dir che nomina un file",
       kTreno,
       {"compila", "P_linea.txt", "P_7-.txt", "--dir", "P_7-.txt"},
       1,
       "compattatore compila: 'P_7-.txt' non è una cartella"},
      {"--dir che manca",
       kTreno,
       {"compila", "P_linea.txt", "P_7-.txt", "--dir", "manca"},
       1,
       "compattatore compila: la cartella 'manca' non esiste"},
      {"--dir di esegui che nomina un file",
       kTreno,
       {"esegui", "--dir", "P_7-.txt"},
       1,
       "compattatore: 'P_7-.txt' non è una cartella"},
      {"--dir di decompila che nomina un file",
       kTreno,
       {"decompila", "P_7-.txt", "--dir", "P_7-.txt"},
       1,
       "compattatore decompila: 'P_7-.txt' non è una cartella"},
      {"la cartella di esempio che è un file",
       kTreno,
       {"esempio", "P_7-.txt"},
       1,
       "compattatore esempio: 'P_7-.txt' non è una cartella"},
      {"un nome che Windows non accetta",
       kTreno,
       {"compila", "P_linea.txt", "P_7-.txt", "--nome", "x\">y"},
       1,
       "compattatore compila: nome dello scenario 'x\">y' contiene '\"', che Windows non accetta "
       "nei nomi dei file (<>:\"|?*)"},
      {"un numero del treno che è un dispositivo di Windows",
       kTreno,
       {"compila", "P_linea.txt", "P_7-.txt", "--treno", "com1"},
       1,
       "compattatore compila: numero del treno 'com1' è riservato da Windows al dispositivo com1 "
       "(anche con un'estensione): nessun file può chiamarsi così"},
  };
  for (const auto& c : casi) {
    CartellaTemporanea d;
    prova::scrivi(d / "P_linea.txt", kLinea);
    prova::scrivi(d / "P_7-.txt", c.treno);
    const auto r = esegui_programma(c.argomenti, d.percorso());
    EXPECT_EQ(r.stato, c.stato) << c.caso << "\n" << r.err;
    if (c.stato == 1) {
      EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.finale) << c.caso;
      continue;
    }
    if (c.finale.empty()) {
      EXPECT_EQ(r.err, "") << c.caso;
      continue;
    }
    // The reason comes once, just before the count of errors and warnings.
    const std::string prima = r.err.substr(0, r.err.size() - ultima_riga(r.err).size() - 1);
    EXPECT_EQ(ultima_riga(prima), c.finale) << c.caso << "\n" << r.err;
    EXPECT_EQ(r.err.find(senza_treno), r.err.rfind(senza_treno)) << c.caso;
  }
}

TEST(Esiti, UnNomeCheWindowsNonAccettaPresoDalNomeDelFile) {
  CartellaTemporanea d;
  prova::scrivi(d / "con_linea.txt", kLinea);
  prova::scrivi(d / "con_7-.txt", kTreno);
  const auto r = esegui_programma({"verifica", "con_linea.txt", "con_7-.txt"}, d.percorso());
  EXPECT_EQ(r.stato, 1);
  EXPECT_EQ(
      r.err.substr(0, r.err.find('\n')),
      "compattatore verifica: nome dello scenario 'con' è riservato da Windows al dispositivo "
      "con (anche con un'estensione): nessun file può chiamarsi così");
}

TEST(Esiti, UnNomeCheWindowsNonAccettaNeiFileCompilati) {
  // Compiled files edited by hand, whose table holds a name that no file can have: decompila
  // refuses to write sources by it, and says how to give another.
  CartellaTemporanea d;
  prova::scrivi(d / "Prova_linea.txt", kLinea);
  prova::scrivi(d / "Prova_7-.txt", kTreno);
  ASSERT_EQ(esegui_programma({"compila", "Prova_linea.txt", "Prova_7-.txt"}, d.percorso()).stato,
            0);
  std::string sim = prova::leggi(d / "Prova_7.sim");
  const size_t nome = sim.find("Prova");
  ASSERT_NE(nome, std::string::npos);
  sim.replace(nome, 5, "Prov?");
  prova::scrivi(d / "Prova_7.sim", sim);
  const auto r = esegui_programma({"decompila", "Prova_7.sim", "--dir", "."}, d.percorso());
  EXPECT_EQ(r.stato, 1);
  EXPECT_EQ(r.err.substr(0, r.err.find('\n')),
            "compattatore decompila: nome dello scenario 'Prov?' contiene '?', che Windows non "
            "accetta nei nomi dei file (<>:\"|?*) (nei file compilati: dai --nome)");
}

}  // namespace
