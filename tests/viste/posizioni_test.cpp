// The one rule for where a stretch lies and where its object was written, and the parts of a
// stretch array (route, tail, the tail's unwritten stretches).
#include "viste/posizioni.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

#include "model/oggetti.h"

namespace compattatore {
namespace {

TEST(Posizioni, OggettoDoveLaSuaRigaLoScrive) {
  // Stretch 929 covers 46450 to 46500 m. A point object written at P lands on P / 50 + 1: it
  // was written one stretch before; what lands on P / 50 was written at the stretch's start.
  const struct {
    uint8_t oggetto;
    int64_t posizione;
  } casi[] = {
      {oggetto::segnale, 46400},
      {oggetto::inizio_rallentamento, 46400},
      {oggetto::fine_rallentamento, 46400},
      {oggetto::avviso_rallentamento, 46400},
      {oggetto::preavviso_rallentamento, 46400},
      {oggetto::indicatore_velocita, 46400},
      {oggetto::cartello, 46400},
      {oggetto::cambio_codice, 46450},
      {oggetto::taglio_codice, 46450},
      {oggetto::fermata, 46450},  // placed by the compile: the stretch's start
      {oggetto::segno_montagna, 46450},
      {99, 46450},  // a kind no line writes
  };
  for (const auto& c : casi) {
    EXPECT_EQ(posizione_dell_oggetto(c.oggetto, 929), c.posizione) << int{c.oggetto};
  }
  EXPECT_FALSE(chiave_dell_oggetto(99));
  EXPECT_FALSE(chiave_dell_oggetto(oggetto::libero));
  EXPECT_EQ(chiave_dell_oggetto(oggetto::preavviso_rallentamento), Chiave::rallentamento);
}

TEST(Posizioni, PartiDelPercorso) {
  const struct {
    std::optional<int64_t> lunghezza;
    int32_t ultimo;
    PartiPercorso atteso;
  } casi[] = {
      // The embedded route: 124000 m, stretches 0 to 2620.
      {124000, 2620, {124000, 2480, 2618, 2620}},
      // A length between two stretch starts: the tail begins at the first start past it.
      {1020, 160, {1020, 21, 158, 160}},
      // Without the table, the length the stretch count gives.
      {std::nullopt, 2620, {124000, 2480, 2618, 2620}},
      // Without the stretches, those the length gives.
      {1000, -1, {1000, 20, 158, 160}},
      // Fewer stretches than the length asks for: the parts stay within the array.
      {124000, 100, {124000, 101, 101, 100}},
  };
  for (const auto& c : casi) {
    const PartiPercorso p = parti_percorso(c.lunghezza, c.ultimo);
    EXPECT_EQ(p.lunghezza, c.atteso.lunghezza) << c.ultimo;
    EXPECT_EQ(p.primo_coda, c.atteso.primo_coda) << c.ultimo;
    EXPECT_EQ(p.primo_senza_profilo, c.atteso.primo_senza_profilo) << c.ultimo;
    EXPECT_EQ(p.ultimo, c.atteso.ultimo) << c.ultimo;
  }
  const PartiPercorso p = parti_percorso(124000, 2620);
  EXPECT_EQ(p.parte(2479), ParteDelPercorso::percorso);
  EXPECT_EQ(p.parte(2480), ParteDelPercorso::coda);
  EXPECT_EQ(p.parte(2618), ParteDelPercorso::senza_profilo);
}

TEST(Posizioni, TratteTagliateDoveIniziaUnaParte) {
  const PartiPercorso p = parti_percorso(124000, 2620);
  const std::vector<TrattaInParte> t = in_parti({{0, 2000, 5}, {2001, 2620, 0}}, p);
  ASSERT_EQ(t.size(), 4u);
  EXPECT_EQ((std::tuple{t[0].primo, t[0].ultimo, t[0].parte}),
            (std::tuple{0, 2000, ParteDelPercorso::percorso}));
  EXPECT_EQ((std::tuple{t[1].primo, t[1].ultimo, t[1].parte}),
            (std::tuple{2001, 2479, ParteDelPercorso::percorso}));
  EXPECT_EQ((std::tuple{t[2].primo, t[2].ultimo, t[2].parte}),
            (std::tuple{2480, 2617, ParteDelPercorso::coda}));
  EXPECT_EQ((std::tuple{t[3].primo, t[3].ultimo, t[3].parte}),
            (std::tuple{2618, 2620, ParteDelPercorso::senza_profilo}));
}

}  // namespace
}  // namespace compattatore
