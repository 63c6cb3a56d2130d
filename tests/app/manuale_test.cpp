// The author's manual (doc/manuale.md) holds what the program's tables give: every command, every
// keyword, the codes and the warnings. A failure prints the block to paste.
#include <gtest/gtest.h>

#include <string>

#include "app/comandi.h"
#include "model/avvisi.h"
#include "model/cp1252.h"
#include "model/parole.h"
#include "support/supporto.h"

namespace compattatore {
namespace {

std::string manuale() { return prova::leggi(COMPATTATORE_SORGENTI "/doc/manuale.md"); }

TEST(Manuale, NominaOgniComandoEOgniParolaChiave) {
  const std::string m = manuale();
  for (const Comando& c : comandi()) {
    EXPECT_NE(m.find("`compattatore " + std::string(c.nome)), std::string::npos)
        << "il manuale non spiega il comando " << c.nome;
  }
  // The list of keywords, one line per source, as the table gives them.
  std::string elenco;
  for (const auto& [ambito, titolo] :
       {std::pair{Ambito::linea_generale, "Il file della linea, in `[generale]`"},
        std::pair{Ambito::linea_elementi, "Il file della linea, dopo"},
        std::pair{Ambito::treno, "Il file del treno"}}) {
    elenco += std::string("- ") + titolo + ":";
    const char* separa = " ";
    for (const RigaChiave& r : kRigheChiavi) {
      if (r.ambito != ambito) continue;
      elenco += separa + ("`" + cp1252::a_utf8(r.forma) + "`");
      if (r.altra_forma != nullptr) elenco += " (o `" + cp1252::a_utf8(r.altra_forma) + "`)";
      separa = ", ";
    }
    elenco += "\n";
  }
  EXPECT_NE(m.find(elenco), std::string::npos)
      << "il manuale non ha questo elenco delle parole chiave:\n"
      << elenco;
}

// The table of codes and the table of warnings are the program's own (the field reference is
// checked with the README's, in tests/model/parole_test.cpp).
TEST(Manuale, HaLeTabelleDeiMessaggi) {
  const std::string m = manuale();
  prova::CartellaTemporanea d;
  const auto codici = prova::esegui_programma({"codici", "--markdown"}, d.percorso());
  EXPECT_NE(m.find(codici.out), std::string::npos)
      << "il manuale non ha la tabella di 'compattatore codici --markdown':\n"
      << codici.out;
  std::string avvisi = "| Avviso | Che cosa fare |\n|---|---|\n";
  for (const RigaAvviso& a : tabella_avvisi()) {
    avvisi += "| `" + std::string(a.etichetta) + "` | " + a.rimedio + " |\n";
  }
  EXPECT_NE(m.find(avvisi), std::string::npos) << "il manuale non ha questa tabella degli avvisi:\n"
                                               << avvisi;
}

}  // namespace
}  // namespace compattatore
