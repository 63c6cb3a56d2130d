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
      // What Windows, where the simulator runs, holds in no file name.
      {"x\">y", "7",
       "nome dello scenario 'x\">y' contiene '\"', che Windows non accetta nei nomi "
       "dei file (<>:\"|?*)"},
      {"A", "7<", "contiene '<', che Windows"},
      {"a:b", "7", "contiene ':'"},
      {"A", "7|", "contiene '|'"},
      {"A?", "7", "contiene '?'"},
      {"A*", "7", "contiene '*'"},
      {"A.", "7", "nome dello scenario 'A.' finisce con un punto, che Windows toglie"},
      {"A", "7 ", "numero del treno '7 ' finisce con uno spazio"},
      {"CON", "7",
       "nome dello scenario 'CON' è riservato da Windows al dispositivo CON (anche "
       "con un'estensione)"},
      {"A", "nul", "riservato da Windows al dispositivo nul"},
      {"Aux.txt", "7", "al dispositivo Aux"},
      {"prn .x", "7", "al dispositivo prn"},
      {"COM1", "7", "al dispositivo COM1"},
      {"lpt9.tar.gz", "7", "al dispositivo lpt9"},
      {"COM\xC2\xB9", "7", "al dispositivo COM\xC2\xB9"},
  };
  for (const auto& c : casi) {
    std::string difetto;
    EXPECT_FALSE(NomiScenario::crea(c.nome, c.treno, &difetto).has_value()) << c.difetto;
    EXPECT_NE(difetto.find(c.difetto), std::string::npos) << difetto;
    // A refused value never reaches the message raw.
    EXPECT_EQ(difetto.find_first_of("\n\r\x1B\x7F\xC0"), std::string::npos) << difetto;
  }
  // Names that only begin like a device, or hold a point inside, are fine.
  for (const char* buono :
       {"Città", "CONSOLE", "COM10", "LPT", "Auxiliare", "A.b", "NUL_1", ".A", "A B"}) {
    EXPECT_TRUE(NomiScenario::crea(buono, "3349").has_value()) << buono;
  }
}

}  // namespace
}  // namespace compattatore
