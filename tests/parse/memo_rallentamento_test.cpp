#include "parse/memo_rallentamento.h"

#include <gtest/gtest.h>

#include "model/modello.h"
#include "support/percorso_prova.h"

namespace compattatore {
namespace {

using prova::percorso;

Tratto oggetto_con(uint8_t o, int v1, int v2, int v3) {
  Tratto t;
  t.oggetto = o;
  t.valore_1 = static_cast<int16_t>(v1);
  t.valore_2 = static_cast<int16_t>(v2);
  t.valore_3 = static_cast<int16_t>(v3);
  return t;
}

TEST(MemoRallentamento, EsempiDelFileTreno) {
  Modello m = percorso();
  // rallentamento,   46350,    80, 1950, 1,  0,  80
  ASSERT_EQ(memo_rallentamento(m, {46350, 80, 1950, 1, 0, 80}), Codice::nessuno);
  EXPECT_EQ(m.tratti[904], oggetto_con(oggetto::avviso_rallentamento, 80, 80, 0));
  EXPECT_EQ(m.tratti[928], oggetto_con(oggetto::inizio_rallentamento, 80, 80, 1));
  EXPECT_EQ(m.tratti[967], oggetto_con(oggetto::fine_rallentamento, 80, 80, 1));
  for (size_t s : {900u, 901u, 902u, 903u}) EXPECT_EQ(m.tratti[s], Tratto{}) << s;

  // rallentamento,  106600,    30,  200, 1,  1,  0
  ASSERT_EQ(memo_rallentamento(m, {106600, 30, 200, 1, 1, 0}), Codice::nessuno);
  EXPECT_EQ(m.tratti[2109], oggetto_con(oggetto::avviso_rallentamento, 30, 0, 0));
  EXPECT_EQ(m.tratti[2133], oggetto_con(oggetto::inizio_rallentamento, 30, 0, 1));
  EXPECT_EQ(m.tratti[2137], oggetto_con(oggetto::fine_rallentamento, 30, 0, 1));
  EXPECT_EQ(m.tratti[2108], oggetto_con(oggetto::preavviso_rallentamento, 1, 0, 0));
  EXPECT_EQ(m.tratti[2107], oggetto_con(oggetto::preavviso_rallentamento, 2, 0, 0));
  EXPECT_EQ(m.tratti[2106], oggetto_con(oggetto::preavviso_rallentamento, 3, 0, 0));
  EXPECT_EQ(m.tratti[2105], oggetto_con(oggetto::preavviso_rallentamento, 4, 0, 0));
  EXPECT_EQ(m.tratti[2104], Tratto{});
}

TEST(MemoRallentamento, MarcatiConDV) {
  Modello m = percorso();
  ASSERT_EQ(memo_rallentamento(m, {106600, 30, 200, 0, 1, 60}), Codice::nessuno);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(m.tratti[static_cast<size_t>(2108 - k)],
              oggetto_con(oggetto::preavviso_rallentamento, k + 1, k + 1, 0))
        << k;
  }
}

TEST(MemoRallentamento, LunghezzaZero) {
  Modello m = percorso();
  ASSERT_EQ(memo_rallentamento(m, {50000, 60, 0, 1, 0, 0}), Codice::nessuno);
  EXPECT_EQ(m.tratti[1001], oggetto_con(oggetto::inizio_rallentamento, 60, 0, 1));
}

TEST(MemoRallentamento, SenzaAvvisoFinoA1500Metri) {
  Modello m = percorso();
  ASSERT_EQ(memo_rallentamento(m, {1500, 30, 100, 1, 1, 30}), Codice::nessuno);
  Modello atteso = percorso();
  atteso.tratti[31] = oggetto_con(oggetto::inizio_rallentamento, 30, 30, 1);
  atteso.tratti[33] = oggetto_con(oggetto::fine_rallentamento, 30, 30, 1);
  EXPECT_EQ(m.tratti, atteso.tratti);  // no warning board, no marks

  Modello n = percorso();
  ASSERT_EQ(memo_rallentamento(n, {1550, 30, 100, 0, 1, 0}), Codice::nessuno);
  EXPECT_EQ(n.tratti[8].oggetto, oggetto::avviso_rallentamento);  // 350 / 50 + 1
  for (size_t s : {7u, 6u, 5u, 4u})
    EXPECT_EQ(n.tratti[s].oggetto, oggetto::preavviso_rallentamento);
}

TEST(MemoRallentamento, DVZeroLasciaValore2) {
  Modello m = percorso();
  m.tratti[928].valore_2 = 7;  // a free stretch with a leftover value
  m.tratti[928].oggetto = oggetto::segno_montagna;
  ASSERT_EQ(memo_rallentamento(m, {46350, 80, 1950, 0, 0, 0}), Codice::nessuno);
  EXPECT_EQ(m.tratti[928], oggetto_con(oggetto::inizio_rallentamento, 80, 7, 0));
  EXPECT_EQ(m.tratti[904].valore_2, 0);
}

TEST(MemoRallentamento, TrattiOccupatiNienteMemorizzato) {
  const struct {
    int tratto;
    Codice codice;
  } casi[] = {{904, Codice::avviso_occupato},
              {928, Codice::inizio_rallentamento_occupato},
              {967, Codice::fine_rallentamento_occupata}};
  for (const auto& c : casi) {
    Modello m = percorso();
    m.tratti[static_cast<size_t>(c.tratto)].oggetto = oggetto::segnale;
    const auto prima = m.tratti;
    EXPECT_EQ(memo_rallentamento(m, {46350, 80, 1950, 1, 1, 80}), c.codice) << c.tratto;
    EXPECT_EQ(m.tratti, prima) << c.tratto;
  }
  // Up to 1500 m the warning stretch is not looked at.
  Modello m = percorso();
  m.tratti[7].oggetto = oggetto::segnale;
  EXPECT_EQ(memo_rallentamento(m, {1500, 30, 100, 0, 1, 0}), Codice::nessuno);
}

TEST(MemoRallentamento, MarcatiOccupatiCodice20ConservaAvvisoInizioFine) {
  Modello m = percorso();
  m.tratti[2106].oggetto = oggetto::segnale;
  EXPECT_EQ(memo_rallentamento(m, {106600, 30, 200, 1, 1, 30}), Codice::preavvisi_occupati);
  EXPECT_EQ(m.tratti[2109], oggetto_con(oggetto::avviso_rallentamento, 30, 30, 0));
  EXPECT_EQ(m.tratti[2133], oggetto_con(oggetto::inizio_rallentamento, 30, 30, 1));
  EXPECT_EQ(m.tratti[2137], oggetto_con(oggetto::fine_rallentamento, 30, 30, 1));
  for (size_t s : {2108u, 2107u, 2105u}) EXPECT_EQ(m.tratti[s], Tratto{}) << s;
}

TEST(MemoRallentamento, FuoriDaiTrattiRifiutato) {
  const Rallentamento casi[] = {
      {130000, 30, 2000, 0, 0, 0},        // end on stretch 2641, beyond 2620
      {130000, 30, 2000000000, 0, 0, 0},  // x + l past the 32-bit range
      {50000, 30, -60000, 0, 0, 0},       // end before stretch 0
      {-100, 30, 200, 0, 0, 0},           // negative start
      {-2000000000, 30, 2000000000, 0, 1, 0},
  };
  for (const auto& r : casi) {
    Modello m = percorso();
    EXPECT_EQ(memo_rallentamento(m, r), Codice::fuori_percorso) << r.x << " " << r.l;
    EXPECT_EQ(m.tratti, percorso().tratti) << r.x << " " << r.l;
  }
  Modello m = percorso();
  EXPECT_EQ(memo_rallentamento(m, {130000, 30, 950, 0, 0, 0}), Codice::nessuno);  // end on 2620
  EXPECT_EQ(m.tratti[2620].oggetto, oggetto::fine_rallentamento);
}

}  // namespace
}  // namespace compattatore
