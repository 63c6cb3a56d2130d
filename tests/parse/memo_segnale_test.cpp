#include "parse/memo_segnale.h"

#include <gtest/gtest.h>

#include "model/modello.h"
#include "support/percorso_prova.h"

namespace compattatore {
namespace {

using prova::percorso;

TEST(MemoSegnale, EsempiDelFileTreno) {
  Modello m = percorso();
  // segnale,   38100,   2, 2, 3,  0, 0,    0,  0,0,0, 110
  ASSERT_EQ(memo_segnale(m, {38100, 2, 2, 3, 0, 0, 0, 0, 0, 0, 110}), Codice::nessuno);
  Tratto atteso;
  atteso.oggetto = oggetto::segnale;
  atteso.valore_1 = 20;
  atteso.valore_2 = 30;
  atteso.valore_3 = 0;
  atteso.valore_4 = 6;
  atteso.tempo_segnale = 110;
  EXPECT_EQ(m.tratti[763], atteso);
  EXPECT_EQ(m.tratti[761].preavviso, 61);
  EXPECT_EQ(m.tratti[759].preavviso, 62);
  EXPECT_EQ(m.tratti[757].preavviso, 63);
  EXPECT_EQ(m.tratti[755].preavviso, 64);
  // Only the approach byte is written ahead of the signal.
  Tratto solo_preavviso;
  solo_preavviso.preavviso = 61;
  EXPECT_EQ(m.tratti[761], solo_preavviso);
  EXPECT_EQ(m.tratti[762], Tratto{});
  EXPECT_EQ(m.tratti[753], Tratto{});

  // segnale,   46400,   2, 4, 1,  1, 0,    2,  2,1,1, 0
  ASSERT_EQ(memo_segnale(m, {46400, 2, 4, 1, 1, 0, 2, 2, 1, 1, 0}), Codice::nessuno);
  atteso.valore_1 = 42;
  atteso.valore_2 = 11;
  atteso.valore_3 = 11;
  atteso.valore_4 = 8;
  atteso.tempo_segnale = 0;
  EXPECT_EQ(m.tratti[929], atteso);
  EXPECT_EQ(m.tratti[927].preavviso, 81);
  EXPECT_EQ(m.tratti[925].preavviso, 82);
  EXPECT_EQ(m.tratti[923].preavviso, 83);
  EXPECT_EQ(m.tratti[921].preavviso, 84);
}

TEST(MemoSegnale, TempoDelSegnale) {
  const struct {
    int32_t sx, tempo;
    uint8_t atteso;
  } casi[] = {
      {2, 50, 101}, {2, 1, 101},   {2, 100, 101}, {2, 101, 101}, {2, 0, 0},
      {2, -5, 251},  // low 8 bits of -5
      {2, 300, 44}, {2, 250, 250}, {1, 50, 0},    {1, 110, 0},   {1, 300, 0},
  };
  for (const auto& c : casi) {
    Modello m = percorso();
    ASSERT_EQ(memo_segnale(m, {5000, c.sx, 0, 0, 0, 0, 0, 0, 0, 0, c.tempo}), Codice::nessuno);
    EXPECT_EQ(m.tratti[101].tempo_segnale, c.atteso) << "sx " << c.sx << " tempo " << c.tempo;
  }
}

TEST(MemoSegnale, ValoriTagliatiAllaLarghezzaDelCampo) {
  Modello m = percorso();
  // s1 * 10 + d1 = 40000 -> low 16 bits -25536; (sx*3+dx)*10 + b in 8 bits: (30*3)*10 + 1 = 901.
  ASSERT_EQ(memo_segnale(m, {5000, 30, 4000, 0, 0, 0, 0, 0, 0, 0, 0}), Codice::nessuno);
  EXPECT_EQ(m.tratti[101].valore_1, -25536);
  EXPECT_EQ(m.tratti[101].valore_4, 90);
  EXPECT_EQ(m.tratti[99].preavviso, 901 % 256);
  EXPECT_EQ(m.tratti[93].preavviso, 904 % 256);
}

TEST(MemoSegnale, DueSegnaliA100Metri) {
  Modello m = percorso();
  ASSERT_EQ(memo_segnale(m, {38100, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
            Codice::nessuno);  // 31..34 on 761..755
  ASSERT_EQ(memo_segnale(m, {38200, 2, 0, 0, 0, 0, 1, 0, 0, 0, 0}),
            Codice::nessuno);  // 71..74 on 763..757
  EXPECT_EQ(m.tratti[763].oggetto, oggetto::segnale);
  EXPECT_EQ(m.tratti[763].preavviso, 71);
  EXPECT_EQ(m.tratti[761].preavviso, 72);
  EXPECT_EQ(m.tratti[759].preavviso, 73);
  EXPECT_EQ(m.tratti[757].preavviso, 74);
  EXPECT_EQ(m.tratti[755].preavviso, 34);
  EXPECT_EQ(m.tratti[765].oggetto, oggetto::segnale);
}

TEST(MemoSegnale, TrattoOccupatoOLibero) {
  Modello m = percorso();
  m.tratti[929].oggetto = oggetto::segno_montagna;
  ASSERT_EQ(memo_segnale(m, {46400, 2, 4, 1, 1, 0, 2, 2, 1, 1, 0}), Codice::nessuno);
  EXPECT_EQ(m.tratti[929].oggetto, oggetto::segnale);

  // On a stopping point: code 16 and nothing stored, not even the approach bytes.
  m.tratti[101].oggetto = oggetto::fermata;
  m.tratti[101].valore_1 = 3;
  const auto prima = m.tratti;
  EXPECT_EQ(memo_segnale(m, {5000, 2, 4, 1, 1, 0, 2, 2, 1, 1, 0}), Codice::segnale_occupato);
  EXPECT_EQ(m.tratti, prima);
}

TEST(MemoSegnale, ApprocciFuoriDaiTrattiRifiutati) {
  // Stretch 8 (from 325 m, 7.5 rounding to 8) is the first whose four approach bytes all lie
  // inside the array.
  Modello m = percorso();
  ASSERT_EQ(memo_segnale(m, {325, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}), Codice::nessuno);
  EXPECT_EQ(m.tratti[8].oggetto, oggetto::segnale);
  EXPECT_EQ(m.tratti[0].preavviso, 34);

  for (int32_t posizione : {324, 300, 0, -50, -2000000000}) {
    Modello n = percorso();
    EXPECT_EQ(memo_segnale(n, {posizione, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}), Codice::fuori_percorso)
        << posizione;
    EXPECT_EQ(n.tratti, percorso().tratti) << posizione;
  }
  // Beyond the last stretch (a caller that skipped the range rule).
  Modello n = percorso();
  EXPECT_EQ(memo_segnale(n, {131000, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}), Codice::fuori_percorso);
  EXPECT_EQ(memo_segnale(n, {130950, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}), Codice::nessuno);
  EXPECT_EQ(n.tratti[2620].oggetto, oggetto::segnale);
}

}  // namespace
}  // namespace compattatore
