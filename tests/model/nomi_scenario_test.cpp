#include "model/nomi_scenario.h"

#include <gtest/gtest.h>

#include "support/supporto.h"

namespace compattatore {
namespace {

TEST(NomiScenario, GliOttoFileDellIdentita) {
  const NomiScenario n = NomiScenario::incorporato();
  EXPECT_EQ(n.nome(), prova::kNome);
  EXPECT_EQ(n.treno(), prova::kTreno);
  const struct {
    FileScenario f;
    const std::string& atteso;
  } casi[] = {
      {FileScenario::sorgente_linea, prova::kFileLinea},
      {FileScenario::sorgente_treno, prova::kFileTreno},
      {FileScenario::note, prova::kFileNote},
      {FileScenario::rallentamenti, prova::kFileRallentamenti},
      {FileScenario::scheda, prova::kFileScheda},
      {FileScenario::tracciato, prova::kFileTracciato},
      {FileScenario::elenco, prova::kFileElenco},
      {FileScenario::tratti, prova::kFileTratti},
  };
  for (const auto& c : casi) EXPECT_EQ(n.file(c.f), c.atteso);
}

TEST(NomiScenario, NomeETrenoDaiNomiDeiFile) {
  EXPECT_EQ(NomiScenario::nome_da_file_linea("dir/Viterbo_Orte_linea.txt"), "Viterbo_Orte");
  EXPECT_EQ(NomiScenario::nome_da_file_linea("Roma_linea.txt"), "Roma");
  EXPECT_EQ(NomiScenario::nome_da_file_linea("_linea.txt"), std::nullopt);
  EXPECT_EQ(NomiScenario::nome_da_file_linea("Roma_linea.TXT"), std::nullopt);
  EXPECT_EQ(NomiScenario::nome_da_file_linea("Roma.txt"), std::nullopt);

  EXPECT_EQ(NomiScenario::treno_da_file_treno("x/Viterbo_Orte_3349-.txt", "Viterbo_Orte"), "3349");
  EXPECT_EQ(NomiScenario::treno_da_file_treno("Viterbo_Orte_R_21-.txt", "Viterbo_Orte"), "R_21");
  EXPECT_EQ(NomiScenario::treno_da_file_treno("Viterbo_Orte_-.txt", "Viterbo_Orte"), std::nullopt);
  EXPECT_EQ(NomiScenario::treno_da_file_treno("Altro_3349-.txt", "Viterbo_Orte"), std::nullopt);
  EXPECT_EQ(NomiScenario::treno_da_file_treno("Viterbo_Orte_3349.txt", "Viterbo_Orte"),
            std::nullopt);
  // Each name read back builds the file it came from.
  const NomiScenario n = prova::nomi("Città", "R_21");
  EXPECT_EQ(NomiScenario::nome_da_file_linea(n.file(FileScenario::sorgente_linea)), "Città");
  EXPECT_EQ(NomiScenario::treno_da_file_treno(n.file(FileScenario::sorgente_treno), "Città"),
            "R_21");
}

TEST(NomiScenario, NomiRifiutati) {
  const struct {
    std::string nome, treno;
    const char* difetto;
  } casi[] = {
      {"", "7", "nome dello scenario vuoto"},
      {"A", "", "numero del treno vuoto"},
      {"a/b", "7", "contiene un separatore di cartelle"},
      {"a\\b", "7", "contiene un separatore di cartelle"},
      {"A", "Ω", "non esiste in Windows-1252"},
      // Overlong "/" and NUL, which would reach the compiled table as "/" and a NUL byte.
      {"\xC0\xAF..\xC0\xAF", "7", "forma troppo lunga"},
      {std::string("\xC0\x80x", 3), "7", "forma troppo lunga"},
      {"A\nB", "7", "carattere di controllo (U+000A)"},
      {"A", "7\r", "carattere di controllo (U+000D)"},
      {"\x1B]0;x\x07", "7", "carattere di controllo (U+001B)"},
      {"A\x7F", "7", "carattere di controllo (U+007F)"},
  };
  for (const auto& c : casi) {
    std::string difetto;
    EXPECT_FALSE(NomiScenario::crea(c.nome, c.treno, &difetto).has_value()) << c.difetto;
    EXPECT_NE(difetto.find(c.difetto), std::string::npos) << difetto;
    // A refused value never reaches the message raw.
    EXPECT_EQ(difetto.find_first_of("\n\r\x1B\x7F\xC0"), std::string::npos) << difetto;
  }
  EXPECT_TRUE(NomiScenario::crea("Città", "3349").has_value());
}

}  // namespace
}  // namespace compattatore
