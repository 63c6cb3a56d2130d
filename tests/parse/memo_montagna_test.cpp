#include "parse/memo_montagna.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/regole.h"
#include "support/percorso_prova.h"

namespace compattatore {
namespace {

// The routine's code as the number the error word holds.
int32_t memo(Modello& m, Montagne& montagne, int32_t inizio, int32_t fine, int32_t& tipo) {
  return numero(memo_montagna(m, montagne, inizio, fine, tipo));
}

using prova::percorso;

// Stretches whose `montagna` byte is not 0.
std::vector<int32_t> in_montagna(const Modello& m) {
  std::vector<int32_t> v;
  for (size_t i = 0; i < m.tratti.size(); ++i) {
    if (m.tratti[i].montagna != 0) v.push_back(static_cast<int32_t>(i));
  }
  return v;
}

std::vector<int32_t> segni(const Modello& m) {
  std::vector<int32_t> v;
  for (size_t i = 0; i < m.tratti.size(); ++i) {
    if (m.tratti[i].oggetto == oggetto::segno_montagna) v.push_back(static_cast<int32_t>(i));
  }
  return v;
}

TEST(MemoMontagna, TrattiDallInizioAllaFineMenoUno) {
  Modello m = percorso(124000);
  Montagne mont_m;
  int32_t tipo = 2;
  EXPECT_EQ(memo(m, mont_m, 6950, 7050, tipo), 0);
  EXPECT_EQ(in_montagna(m), (std::vector<int32_t>{139, 140}));
  EXPECT_EQ(m.tratti[139].montagna, 2);
  EXPECT_EQ(mont_m.numero, 1);
  EXPECT_EQ(mont_m.inizio[1], 6950);
  EXPECT_EQ(mont_m.fine[1], 7050);
  EXPECT_TRUE(segni(m).empty());
}

TEST(MemoMontagna, ArrotondamentoAlPariDiInizioEFine) {
  // 75 / 50 = 1.5 -> 2; 125 / 50 - 1 = 1.5 -> 2 (not 2.5 -> 2, then - 1).
  Modello m = percorso(1000);
  Montagne mont_m;
  int32_t tipo = 1;
  EXPECT_EQ(memo(m, mont_m, 75, 125, tipo), 0);
  EXPECT_EQ(in_montagna(m), (std::vector<int32_t>{2}));
  // 0 -> stretch 0; 175 / 50 - 1 = 2.5 -> 2.
  Modello n = percorso(1000);
  Montagne mont_n;
  EXPECT_EQ(memo(n, mont_n, 0, 175, tipo), 0);
  EXPECT_EQ(in_montagna(n), (std::vector<int32_t>{0, 1, 2}));
}

TEST(MemoMontagna, TipoOltre10MetteISegniOgniQuattroTratti) {
  Modello m = percorso(124000);
  Montagne mont_m;
  m.tratti[231].oggetto = oggetto::segnale;  // a stretch already taken keeps its object
  int32_t tipo = 12;
  EXPECT_EQ(memo(m, mont_m, 11200, 12000, tipo), 0);
  EXPECT_EQ(tipo, 2);
  std::vector<int32_t> attesi;
  for (int32_t i = 224; i <= 239; ++i) attesi.push_back(i);
  EXPECT_EQ(in_montagna(m), attesi);
  EXPECT_EQ(m.tratti[224].montagna, 2);
  EXPECT_EQ(segni(m), (std::vector<int32_t>{227, 235, 239}));
  EXPECT_EQ(m.tratti[231].oggetto, oggetto::segnale);
}

TEST(MemoMontagna, VicinaAllaPrecedenteDiventaTipo3) {
  Modello m = percorso(124000);
  Montagne mont_m;
  int32_t a = 2, b = 1, c = 11, d = 1;
  EXPECT_EQ(memo(m, mont_m, 66850, 67800, a), 0);
  EXPECT_EQ(memo(m, mont_m, 67900, 69500, b), 0);  // 100 m after the previous end
  EXPECT_EQ(b, 3);
  EXPECT_EQ(m.tratti[1358].montagna, 3);
  EXPECT_EQ(m.tratti[1389].montagna, 3);
  EXPECT_EQ(m.tratti[1355].montagna, 2);
  // Exactly 150 m after: type 3, and a reduced type keeps its markers.
  EXPECT_EQ(memo(m, mont_m, 69650, 70050, c), 0);
  EXPECT_EQ(c, 3);
  EXPECT_EQ(m.tratti[1393].montagna, 3);
  EXPECT_EQ(m.tratti[1396].oggetto, oggetto::segno_montagna);
  // 151 m after: its own type.
  EXPECT_EQ(memo(m, mont_m, 70201, 70400, d), 0);
  EXPECT_EQ(d, 1);
  EXPECT_EQ(m.tratti[1404].montagna, 1);
}

TEST(MemoMontagna, FinePrimaDellInizioContataMaNonScritta) {
  Modello m = percorso(1000);
  Montagne mont_m;
  int32_t tipo = 2;
  EXPECT_EQ(memo(m, mont_m, 1000, 1000, tipo), 0);  // stretches 20 to 19
  EXPECT_TRUE(in_montagna(m).empty());
  EXPECT_EQ(mont_m.numero, 1);
  EXPECT_EQ(mont_m.inizio[1], 1000);
}

TEST(MemoMontagna, TipoScrittoNelByteBasso) {
  Modello m = percorso(1000);
  Montagne mont_m;
  int32_t tipo = 300;  // above 10: 290, with markers; low byte 34
  EXPECT_EQ(memo(m, mont_m, 100, 500, tipo), 0);
  EXPECT_EQ(m.tratti[2].montagna, 34);
  EXPECT_EQ(m.tratti[5].oggetto, oggetto::segno_montagna);
}

TEST(MemoMontagna, RifiutiSenzaScrivereNulla) {
  // ultimo_tratto of a 1000 m route is 160.
  const struct {
    int32_t inizio, fine, codice;
  } casi[] = {
      {-100, 500, 15}, {100, -50, 15}, {7000, 8100, 15},  // last stretch 161: beyond tratti
  };
  for (const auto& c : casi) {
    Modello m = percorso(1000);
    Montagne mont_m;
    const Modello prima = m;
    int32_t tipo = 12;
    EXPECT_EQ(memo(m, mont_m, c.inizio, c.fine, tipo), c.codice) << c.inizio << " " << c.fine;
    EXPECT_EQ(tipo, 12);
    EXPECT_EQ(mont_m.numero, 0);
    EXPECT_TRUE(m.tratti == prima.tratti);
  }
  Modello m = percorso(1000);
  Montagne mont_m;
  int32_t tipo = 1;
  EXPECT_EQ(memo(m, mont_m, 7000, 8050, tipo), 0);  // last stretch 160: the last of tratti
  EXPECT_EQ(m.tratti[160].montagna, 1);

  // The arrays hold 80 mountains; the 81st is refused.
  Modello pieno = percorso(1000);
  Montagne mont_pieno;
  for (int i = 0; i < 80; ++i) {
    int32_t t = 1;
    ASSERT_EQ(memo(pieno, mont_pieno, 50 * i, 50 * i + 50, t), 0);
  }
  const auto tratti = pieno.tratti;
  tipo = 2;
  EXPECT_EQ(memo(pieno, mont_pieno, 4500, 4600, tipo), 26);
  EXPECT_EQ(mont_pieno.numero, 80);
  EXPECT_TRUE(pieno.tratti == tratti);
}

TEST(MemoMontagna, SenzaTrattiEGuasto) {
  Modello m;
  Montagne mont_m;
  int32_t tipo = 1;
  EXPECT_THROW(memo(m, mont_m, 100, 200, tipo), GuastoEsecuzione);
}

}  // namespace
}  // namespace compattatore
