#include "app/compila.h"

#include <gtest/gtest.h>

#include "support/supporto.h"

namespace compattatore {
namespace {
using prova::CartellaTemporanea;
using prova::esegui_programma;

TEST(Compila, NomeETrenoDaiNomiDeiFile) {
  EXPECT_EQ(nome_da_file_linea("dir/Viterbo_Orte_linea.txt"), "Viterbo_Orte");
  EXPECT_EQ(nome_da_file_linea("Roma_linea.txt"), "Roma");
  EXPECT_EQ(nome_da_file_linea("_linea.txt"), std::nullopt);
  EXPECT_EQ(nome_da_file_linea("Roma_linea.TXT"), std::nullopt);
  EXPECT_EQ(nome_da_file_linea("Roma.txt"), std::nullopt);

  EXPECT_EQ(treno_da_file_treno("x/Viterbo_Orte_3349-.txt", "Viterbo_Orte"), "3349");
  EXPECT_EQ(treno_da_file_treno("Viterbo_Orte_R_21-.txt", "Viterbo_Orte"), "R_21");
  EXPECT_EQ(treno_da_file_treno("Viterbo_Orte_-.txt", "Viterbo_Orte"), std::nullopt);
  EXPECT_EQ(treno_da_file_treno("Altro_3349-.txt", "Viterbo_Orte"), std::nullopt);
  EXPECT_EQ(treno_da_file_treno("Viterbo_Orte_3349.txt", "Viterbo_Orte"), std::nullopt);
}

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
      {{"compile", "A_linea.txt", "A_7-.txt", "--dir"}, "--dir vuole un valore"},
      {{"compile", "linea.txt", "A_7-.txt"},
       "non ricavo il nome dello scenario da 'linea.txt': il file della linea si chiama "
       "NOME_linea.txt, oppure usa --nome"},
      {{"compile", "A_linea.txt", "B_7-.txt"},
       "non ricavo il numero del treno da 'B_7-.txt': il file del treno si chiama A_TRENO-.txt, "
       "oppure usa --treno"},
      {{"compile", "manca_linea.txt", "A_7-.txt"}, "il file 'manca_linea.txt' non esiste"},
      {{"compile", "cartella_linea.txt", "A_7-.txt", "--treno", "7"}, "'cartella_linea.txt' non è un file"},
      {{"compile", "binario_linea.txt", "A_7-.txt", "--treno", "7"},
       "'binario_linea.txt' non è un file di testo (contiene byte nulli)"},
      {{"compile", "A_linea.txt", "A_7-.txt", "--dir", "non-esiste"}, "la cartella 'non-esiste' non esiste"},
      {{"compile", "A_linea.txt", "A_7-.txt", "--nome", "a/b"}, "contiene un separatore di cartelle"},
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

TEST(Compila, ComandoSconosciutoSuggerisceIlPiuVicino) {
  CartellaTemporanea d;
  const auto r = esegui_programma({"compil"}, d.percorso());
  EXPECT_EQ(r.stato, 1);
  EXPECT_NE(r.err.find("comando sconosciuto 'compil'; forse intendevi 'compile'?"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace compattatore
