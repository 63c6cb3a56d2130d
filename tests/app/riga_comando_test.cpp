// The built program driven from outside, as a user runs it.
#include <gtest/gtest.h>

#include "support/supporto.h"

namespace {
using prova::CartellaTemporanea;
using prova::esegui_programma;

TEST(RigaDiComando, AiutoVersioneEErroriDUso) {
  CartellaTemporanea d;
  const auto aiuto = esegui_programma({"--help"}, d.percorso());
  EXPECT_EQ(aiuto.stato, 0);
  EXPECT_NE(aiuto.out.find("Uso: compattatore"), std::string::npos);
  EXPECT_NE(aiuto.out.find("--dir CARTELLA"), std::string::npos);

  const auto versione = esegui_programma({"--version"}, d.percorso());
  EXPECT_EQ(versione.stato, 0);
  EXPECT_EQ(versione.out.rfind("compattatore ", 0), 0u);

  const struct {
    std::vector<std::string> argomenti;
    const char* messaggio;
  } errati[] = {
      {{"--boh"}, "argomento sconosciuto '--boh'"},
      {{"--dir"}, "--dir vuole il nome di una cartella"},
      {{"--dir", "non-esiste"}, "la cartella 'non-esiste' non esiste"},
  };
  for (const auto& c : errati) {
    const auto r = esegui_programma(c.argomenti, d.percorso());
    EXPECT_EQ(r.stato, 1) << c.messaggio;
    EXPECT_NE(r.err.find(c.messaggio), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_TRUE(prova::elenco_file(d.percorso()).empty());
}

}  // namespace
