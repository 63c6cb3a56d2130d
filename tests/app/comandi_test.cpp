// The built program driven from outside, as a user runs it: commands, options, help.
#include <gtest/gtest.h>

#include <regex>

#include "model/codici.h"
#include "support/supporto.h"

namespace {
using prova::CartellaTemporanea;
using prova::esegui_programma;

TEST(RigaDiComando, AiutoDiOgniComando) {
  CartellaTemporanea d;
  const struct {
    std::vector<std::string> argomenti;
    const char* inizio;
  } casi[] = {
      {{"--help"}, "Uso: compattatore [COMANDO] [opzioni]\n"},
      {{"-h"}, "Uso: compattatore [COMANDO] [opzioni]\n"},
      {{"esegui", "--help"}, "Uso: compattatore esegui [opzioni]\n"},
      {{"run", "-h"}, "Uso: compattatore esegui [opzioni]\n"},
      {{"compila", "--help"}, "Uso: compattatore compila LINEA TRENO [opzioni]\n"},
      {{"compile", "a", "--help"}, "Uso: compattatore compila LINEA TRENO [opzioni]\n"},
      {{"codici", "--help"}, "Uso: compattatore codici [opzioni]\n"},
      {{"verifica", "--help"}, "Uso: compattatore verifica LINEA TRENO [opzioni]\n"},
      {{"esempio", "--help"}, "Uso: compattatore esempio CARTELLA [opzioni]\n"},
  };
  for (const auto& c : casi) {
    const auto r = esegui_programma(c.argomenti, d.percorso());
    EXPECT_EQ(r.stato, 0) << c.argomenti[0];
    EXPECT_EQ(r.out.rfind(c.inizio, 0), 0u) << r.out;
    EXPECT_NE(r.out.find("--help"), std::string::npos) << r.out;
  }
  // The general help names every command and the options of the plain run.
  const auto aiuto = esegui_programma({"--help"}, d.percorso());
  for (const char* parola : {"esegui (run)", "compila (compile)", "verifica", "esempio", "codici",
                             "--dir CARTELLA", "--version"}) {
    EXPECT_NE(aiuto.out.find(parola), std::string::npos) << parola;
  }
  const auto versione = esegui_programma({"--version"}, d.percorso());
  EXPECT_EQ(versione.stato, 0);
  // The version, the commit (a hash, marked when the tree differed from it, or unknown without
  // git) and the system the build is for.
  EXPECT_TRUE(
      std::regex_match(versione.out, std::regex("compattatore [0-9]+\\.[0-9]+\\.[0-9]+\n"
                                                "commit ([0-9a-f]{7,}(-modificato)?|sconosciuto)\n"
                                                "costruito per [A-Za-z]+ [A-Za-z0-9_]+, [^\n]+\n")))
      << versione.out;
  EXPECT_TRUE(prova::elenco_file(d.percorso()).empty());
}

TEST(RigaDiComando, OgniAiutoNominaSoloLeOpzioniDelSuoComando) {
  // An option named anywhere in a command's help (its text, its exit statuses) is one of the
  // options that command takes, listed under "Opzioni:"; another command's option is named
  // only inside a whole command line in quotes ('compattatore compila --senza-tracciato').
  CartellaTemporanea d;
  const std::regex opzione("--[a-z][a-z-]*");
  const std::regex citata("'compattatore [^']*'");
  for (const char* comando : {"", "esegui", "compila", "verifica", "esempio", "codici", "mostra",
                              "confronta", "disegna", "decompila"}) {
    std::vector<std::string> argomenti{"--help"};
    if (*comando) argomenti.insert(argomenti.begin(), comando);
    const std::string aiuto = esegui_programma(argomenti, d.percorso()).out;
    const size_t inizio = aiuto.find("Opzioni:\n");
    ASSERT_NE(inizio, std::string::npos) << aiuto;
    const size_t fine = std::min(aiuto.find("\n\n", inizio), aiuto.size());
    const std::string elenco = aiuto.substr(inizio, fine - inizio);
    const std::string resto =
        std::regex_replace(aiuto.substr(0, inizio) + aiuto.substr(fine), citata, "");
    for (auto i = std::sregex_iterator(resto.begin(), resto.end(), opzione);
         i != std::sregex_iterator(); ++i) {
      EXPECT_NE(elenco.find(i->str() + " "), std::string::npos)
          << "'compattatore " << comando << " --help' nomina " << i->str()
          << ", che il comando non prende:\n"
          << aiuto;
    }
  }
}

TEST(RigaDiComando, ErroriDUso) {
  CartellaTemporanea d;
  const struct {
    std::vector<std::string> argomenti;
    const char* messaggio;
  } casi[] = {
      {{"--boh"}, "compattatore: opzione sconosciuta '--boh'\n"},
      {{"--dri", "x"}, "compattatore: opzione sconosciuta '--dri'; forse intendevi '--dir'?\n"},
      {{"--dir"}, "compattatore: l'opzione '--dir' vuole un valore (CARTELLA)\n"},
      {{"--dir", "non-esiste"}, "compattatore: la cartella 'non-esiste' non esiste\n"},
      {{"esegui", "in-piu"}, "compattatore esegui: argomento inatteso 'in-piu'\n"},
      {{"compil"}, "compattatore: comando sconosciuto 'compil'; forse intendevi 'compila'?\n"},
      {{"codice"}, "compattatore: comando sconosciuto 'codice'; forse intendevi 'codici'?\n"},
      {{"compila", "a", "b", "--no-plan=1"},
       "compattatore compila: l'opzione '--no-plan' non vuole un valore\n"},
      {{"compila", "a", "b", "--trn", "7"},
       "compattatore compila: opzione sconosciuta '--trn'; forse intendevi '--treno'?\n"},
      {{"--\x1b[2J"}, "compattatore: opzione sconosciuta '--^[[2J'\n"},
  };
  for (const auto& c : casi) {
    const auto r = esegui_programma(c.argomenti, d.percorso());
    EXPECT_EQ(r.stato, 1) << c.messaggio;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n') + 1), c.messaggio);
    EXPECT_NE(r.err.find("--help' per l'uso"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_TRUE(prova::elenco_file(d.percorso()).empty());
}

TEST(RigaDiComando, CodiciDallaTabella) {
  CartellaTemporanea d;
  const auto r = esegui_programma({"codici"}, d.percorso());
  EXPECT_EQ(r.stato, 0);
  for (const auto& c : compattatore::tabella_codici()) {
    EXPECT_NE(r.out.find(std::to_string(compattatore::numero(c.codice)) + "\t" + c.significato +
                         "\n\t-> " + c.rimedio + "\n"),
              std::string::npos)
        << c.nome;
  }
  // The README's table is the one the program prints.
  const auto md = esegui_programma({"codici", "--markdown"}, d.percorso());
  EXPECT_EQ(md.stato, 0);
  const std::string readme = prova::leggi(COMPATTATORE_SORGENTI "/README.md");
  EXPECT_NE(readme.find(md.out), std::string::npos)
      << "il README non ha la tabella di 'compattatore codici --markdown':\n"
      << md.out;
}

}  // namespace
