// The table of source fields: its spellings read back as their own rows, and the README and the
// fuzz dictionary hold what it gives.
#include "model/parole.h"

#include <gtest/gtest.h>

#include <string>

#include "model/cp1252.h"
#include "support/supporto.h"

namespace compattatore {
namespace {

// The rows of the section `a` that the item `voce` passes the tests of.
std::vector<Chiave> lette(Ambito a, const std::string& voce) {
  std::vector<Chiave> c;
  for (const RigaChiave* r : in_ordine_di_prova(a)) {
    if (corrisponde(*r, voce, cp1252::minuscole(voce))) c.push_back(r->chiave);
  }
  return c;
}

// What an author writes, and what the decompiler writes, is read as that row alone and taken for
// that very spelling; a header is read as no keyword.
TEST(TabellaParole, OgniFormaSiLeggeComeLaSuaRiga) {
  for (const RigaChiave& r : kRigheChiavi) {
    std::vector<std::string> tutte = forme(r);
    if (r.altra_forma != nullptr) tutte.emplace_back(r.altra_forma);
    for (const std::string& f : tutte) {
      if (r.genere == Genere::intestazione) {
        EXPECT_TRUE(lette(r.ambito, f).empty()) << f;
        continue;
      }
      EXPECT_EQ(lette(r.ambito, f), std::vector<Chiave>{r.chiave}) << f;
      const std::optional<std::string> letta = forma_letta(r, cp1252::minuscole(f));
      ASSERT_TRUE(letta.has_value()) << f;
      EXPECT_TRUE(*letta == f || (r.altra_forma != nullptr && f == r.altra_forma)) << f;
    }
  }
  EXPECT_EQ(forma_letta(riga(Chiave::curva), "curva"), std::nullopt);
  EXPECT_EQ(forme(riga(Chiave::curva)).size(), 12u);
}

TEST(TabellaParole, SchemaDellaRiga) {
  EXPECT_EQ(schema_riga(riga(Chiave::lunghezza_percorso)), "lunghezza percorso, L");
  EXPECT_EQ(schema_riga(riga(Chiave::orologio)), "orologio, ore minuti secondi");
  EXPECT_EQ(schema_riga(riga(Chiave::segnale)),
            "segnale, P, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo");
  EXPECT_EQ(schema_riga(riga(Chiave::fine_treno)), "[fine]");
  EXPECT_EQ(valori(Chiave::stazione).size(), 17u);
  EXPECT_EQ(valori(Chiave::stazione).back().valore, ValoreChiave::stazione_nome);
}

// The field reference of the README and of the author's manual is the one the table gives: a
// failure prints the tables to paste.
TEST(TabellaParole, IlReadmeEIlManualeHannoLeTabelleDeiCampi) {
  for (const auto& [nome, inizio] : {std::pair{"README.md", "### Writing sources"},
                                     std::pair{"doc/manuale.md", "### Riferimento dei campi"}}) {
    const std::string testo = prova::leggi(std::string(COMPATTATORE_SORGENTI "/") + nome);
    size_t dopo = testo.find(inizio);
    ASSERT_NE(dopo, std::string::npos) << nome;
    for (const std::string& tabella : riferimento_campi()) {
      const size_t dove = testo.find(tabella, dopo);
      EXPECT_NE(dove, std::string::npos)
          << nome << ", dopo la tabella precedente, non ha questa tabella dei campi:\n"
          << tabella;
      if (dove != std::string::npos) dopo = dove + tabella.size();
    }
  }
}

// The fuzzer's dictionary holds every spelling of the table, as the table gives them.
TEST(TabellaParole, IlDizionarioDelFuzzHaLeParole) {
  const std::string dizionario = prova::leggi(COMPATTATORE_SORGENTI "/fuzz/parole.dict");
  EXPECT_NE(dizionario.find(dizionario_parole()), std::string::npos)
      << "fuzz/parole.dict non ha questo blocco di parole chiave:\n"
      << dizionario_parole();
}

}  // namespace
}  // namespace compattatore
