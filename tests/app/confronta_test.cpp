// `compattatore confronta` on the plain run's files and on copies changed byte by byte.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/supporto.h"

namespace compattatore {
namespace {
namespace fs = std::filesystem;
using prova::esegui_programma;

// A copy of the plain run's compiled files in `cartella`.
void copia_compilati(const fs::path& cartella) {
  fs::create_directory(cartella);
  for (const std::string& f : {prova::kFileTracciato, prova::kFileElenco, prova::kFileTratti}) {
    fs::copy_file(prova::cartella_incorporata() / f, cartella / f);
  }
}

TEST(Confronta, UgualiDiversiESoloInUnaCartella) {
  prova::CartellaTemporanea t;
  copia_compilati(t / "a");
  copia_compilati(t / "b");
  prova::Risultato r = esegui_programma({"confronta", "a", "b"}, t.percorso());
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(r.out, "");

  // Stretch 929 (the signal at 46400 m) gets valore_1 43; the station ORTE arrives 10 s later.
  std::string dat = prova::leggi(t / "b" / prova::kFileTratti);
  dat[15 * 929 + 1] = 43;
  prova::scrivi(t / "b" / prova::kFileTratti, dat);
  std::string sim = prova::leggi(t / "b" / prova::kFileElenco);
  const size_t orte = sim.find("ORTE");
  ASSERT_NE(orte, std::string::npos);
  sim[orte + 4 + 14] = static_cast<char>(sim[orte + 4 + 14] + 10);  // low byte of orario
  prova::scrivi(t / "b" / prova::kFileElenco, sim);
  fs::remove(t / "b" / prova::kFileTracciato);

  r = esegui_programma({"confronta", "a", "b"}, t.percorso());
  EXPECT_EQ(r.stato, 1) << r.err;
  const std::string a = (fs::path("a") / "").string();  // "a/", and "a\" on Windows
  const std::string b = (fs::path("b") / "").string();
  EXPECT_EQ(r.out, "--- A: " + a + prova::kFileTratti + "\n+++ B: " + b + prova::kFileTratti +
                       "\n"
                       "tratto 929 (46450 m) valore_1: 42 -> 43 (segnale a 46400 m: d1 2 -> 3)\n"
                       "--- A: " +
                       a + prova::kFileElenco + "\n+++ B: " + b + prova::kFileElenco +
                       "\n"
                       "voce 9 (ORTE) orario: 25260 (7:01:00) -> 25270 (7:01:10)\n"
                       "solo in A: " +
                       a + prova::kFileTracciato + "\n");

  // One file against the same name in a folder.
  r = esegui_programma({"confronta", "a/" + prova::kFileTratti, "b"}, t.percorso());
  EXPECT_EQ(r.stato, 1);
  EXPECT_EQ(r.out.substr(r.out.find('\n', r.out.find("+++")) + 1),
            "tratto 929 (46450 m) valore_1: 42 -> 43 (segnale a 46400 m: d1 2 -> 3)\n");
}

TEST(Confronta, ProblemiConStato2) {
  prova::CartellaTemporanea t;
  copia_compilati(t / "a");
  prova::scrivi(t / "Rotto_1.dat", std::string(16, '\0'));
  const struct {
    std::vector<std::string> argomenti;
    const char* messaggio;
  } casi[] = {
      {{"confronta", "a/" + prova::kFileTratti, "Rotto_1.dat"},
       "compattatore confronta: Rotto_1.dat: byte 15: il file finisce nel tratto 1"},
      {{"confronta", "a/" + prova::kFileTratti, "a/" + prova::kFileElenco},
       "sono file di tipo diverso"},
      {{"confronta", "a", "manca"}, "compattatore confronta: 'manca' non esiste"},
      {{"confronta", "a"}, "compattatore confronta: servono due file o due cartelle"},
      {{"confronta", "--tutto", "a", "a"}, "opzione sconosciuta '--tutto'"},
  };
  for (const auto& c : casi) {
    const prova::Risultato r = esegui_programma(c.argomenti, t.percorso());
    EXPECT_EQ(r.stato, 2) << c.messaggio;
    EXPECT_NE(r.err.find(c.messaggio), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace compattatore
