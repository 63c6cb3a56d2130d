// The identity of a compiled scenario against its files: what does not match is a finding with its
// kind and values, printed under "Avvisi" as before.
#include "viste/scheda.h"

#include <gtest/gtest.h>

#include <sstream>

#include "viste/sommario.h"

namespace compattatore {
namespace {

TEST(Scheda, IdentitaControllataControIFile) {
  ScenarioCompilato s;
  s.file.elenco = std::filesystem::path("d") / "Altro_7.sim";
  s.con_elenco = true;
  Modello& m = s.modello;
  m.elenco[voce::intestazione].testo = "G3";
  m.elenco[voce::treno].testo = "7";
  m.elenco[voce::figure_treno].campo_2 = 5000;  // 12000 m with the tail: stretches 0-240
  m.tratti.resize(200);
  m.tratti[150].oggetto = 9;
  m.tracciato.crea(11000);
  const Scheda sc = scheda(s);
  const IdentitaLetta& id = sc.identita;
  EXPECT_EQ(id.nome, "G3");
  EXPECT_EQ(id.treno, "7");
  ASSERT_EQ(id.avvisi.size(), 4u);
  EXPECT_EQ(id.avvisi[0].anomalia, Anomalia::nome_file_diverso);
  EXPECT_EQ(id.avvisi[0].valori, (std::vector<std::string>{"Altro_7.sim", "G3_7.sim"}));
  EXPECT_EQ(id.avvisi[1].anomalia, Anomalia::tratti_diversi);
  EXPECT_EQ(id.avvisi[1].valori, (std::vector<std::string>{"5000", "240", "199"}));
  EXPECT_EQ(id.avvisi[2].anomalia, Anomalia::punti_diversi);
  EXPECT_EQ(id.avvisi[2].valori, (std::vector<std::string>{"5000", "12001", "11001"}));
  EXPECT_EQ(id.avvisi[3].anomalia, Anomalia::oggetto_sconosciuto);
  ASSERT_TRUE(sc.codici);
  EXPECT_FALSE(sc.codici->validi());

  std::ostringstream out;
  stampa_sommario(out, sc);
  const std::string testo = out.str();
  EXPECT_NE(
      testo.find("\nAvvisi (4)\n"
                 "  il file dell'elenco si chiama Altro_7.sim, ma nome e treno che contiene "
                 "danno G3_7.sim\n"
                 "  la lunghezza 5000 m vuole i tratti 0-240, il file dei tratti ne ha 0-199\n"
                 "  la lunghezza 5000 m vuole 12001 punti del tracciato, il file ne ha 11001\n"
                 "  tratto 150: oggetto 9 sconosciuto\n"),
      std::string::npos)
      << testo;
}

}  // namespace
}  // namespace compattatore
