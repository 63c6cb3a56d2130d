#include "model/italiano.h"

#include <gtest/gtest.h>

namespace compattatore {
namespace {

TEST(Italiano, Quanti) {
  EXPECT_EQ(quanti(1, "rallentamento", "rallentamenti"), "1 rallentamento");
  EXPECT_EQ(quanti(0, "rallentamento", "rallentamenti"), "0 rallentamenti");
  EXPECT_EQ(quanti(2, "segno di codice", "segni di codice"), "2 segni di codice");
  EXPECT_EQ(quanti(-1, "metro", "metri"), "-1 metri");
}

TEST(Italiano, PreposizioniArticolate) {
  const struct {
    const char* preposizione;
    const char* parole;
    const char* atteso;
  } casi[] = {
      {"da", "il punto di fermata di una stazione", "dal punto di fermata di una stazione"},
      {"da", "l'inizio di un rallentamento", "dall'inizio di un rallentamento"},
      {"da", "la fine di un rallentamento", "dalla fine di un rallentamento"},
      {"da", "un segnale", "da un segnale"},
      {"da", "niente", "da niente"},
      {"di", "il tratto", "del tratto"},
      {"di", "lo scenario", "dello scenario"},
      {"di", "gli indicatori", "degli indicatori"},
      {"di", "i segnali", "dei segnali"},
      {"di", "le stazioni", "delle stazioni"},
      {"a", "il cartello", "al cartello"},
      {"a", "l'avviso", "all'avviso"},
      {"in", "il file", "nel file"},
      {"in", "la sezione", "nella sezione"},
      {"su", "i tratti", "sui tratti"},
      {"su", "il tratto", "sul tratto"},
      {"per", "il tratto", "per il tratto"},  // no articulated form
      {"da", "ilarità", "da ilarità"},        // an article only when a word follows it
  };
  for (const auto& c : casi) {
    EXPECT_EQ(con_preposizione(c.preposizione, c.parole), c.atteso) << c.parole;
  }
}

}  // namespace
}  // namespace compattatore
