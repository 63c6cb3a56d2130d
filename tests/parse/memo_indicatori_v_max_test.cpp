#include "parse/memo_indicatori_v_max.h"

#include <gtest/gtest.h>

#include "model/regole.h"
#include "support/percorso_prova.h"

namespace compattatore {
namespace {

using prova::percorso;

TEST(MemoIndicatoriVMax, EsempiDellaLinea) {
  Modello m = percorso();
  EXPECT_EQ(memo_indicatori_v_max(m, 55050, 140, 160, 250, 0, 140, 160, 250, 0), Codice::nessuno);
  const Tratto& a = m.tratti[1102];
  EXPECT_EQ(a.oggetto, oggetto::indicatore_velocita);
  EXPECT_EQ(a.valore_1, 2828);
  EXPECT_EQ(a.valore_2, 3232);
  EXPECT_EQ(a.valore_3, 5050);
  EXPECT_EQ(a.valore_4, 0);
  EXPECT_EQ(memo_indicatori_v_max(m, 6700, 70, 75, 75, 2, 0, 0, 0, 0), Codice::nessuno);
  const Tratto& b = m.tratti[135];
  EXPECT_EQ(b.oggetto, oggetto::indicatore_velocita);
  EXPECT_EQ(b.valore_1, 1400);
  EXPECT_EQ(b.valore_2, 1500);
  EXPECT_EQ(b.valore_3, 1500);
  EXPECT_EQ(b.valore_4, 20);
}

TEST(MemoIndicatoriVMax, QuozienteArrotondatoEStrisceA16Bit) {
  Modello m = percorso();
  // 7 / 5 = 1.4 -> 1; 8 / 5 = 1.6 -> 2; -8 / 5 = -1.6 -> -2. Stripes: 3277 * 10 wraps.
  EXPECT_EQ(memo_indicatori_v_max(m, 1000, 10, 10, 10, 3277, 7, 8, -8, 0), Codice::nessuno);
  const Tratto& t = m.tratti[21];
  EXPECT_EQ(t.valore_1, 201);
  EXPECT_EQ(t.valore_2, 202);
  EXPECT_EQ(t.valore_3, 198);
  EXPECT_EQ(t.valore_4, static_cast<int16_t>(-32766));  // 32770 - 65536
  // Only the low 16 bits of each stripe count: 65537 -> 1, 65538 -> 2.
  EXPECT_EQ(memo_indicatori_v_max(m, 2000, 0, 0, 0, 65537, 0, 0, 0, 65538), Codice::nessuno);
  EXPECT_EQ(m.tratti[41].valore_4, 12);
}

TEST(MemoIndicatoriVMax, TrattoOccupatoOSegnoDiMontagna) {
  Modello m = percorso();
  m.tratti[135].oggetto = oggetto::segno_montagna;
  EXPECT_EQ(memo_indicatori_v_max(m, 6700, 70, 75, 75, 2, 0, 0, 0, 0), Codice::nessuno);
  EXPECT_EQ(m.tratti[135].oggetto, oggetto::indicatore_velocita);

  m.tratti[929].oggetto = oggetto::segnale;
  m.tratti[929].valore_1 = 11;
  const Tratto prima = m.tratti[929];
  EXPECT_EQ(memo_indicatori_v_max(m, 46400, 70, 75, 75, 2, 0, 0, 0, 0),
            Codice::indicatore_occupato);
  EXPECT_EQ(m.tratti[929], prima);
  // A second board on the same stretch.
  EXPECT_EQ(memo_indicatori_v_max(m, 6710, 70, 75, 75, 2, 0, 0, 0, 0), Codice::indicatore_occupato);
}

TEST(MemoIndicatoriVMax, VelocitaFuoriDai16BitEGuastoSenzaScrivere) {
  Modello m = percorso();
  // 1638 * 20 = 32760 fits; 1639 * 20 = 32780 does not; 200000000 * 20 leaves 32 bits.
  EXPECT_EQ(memo_indicatori_v_max(m, 500, 1638, 0, 0, 0, 35, 0, 0, 0), Codice::nessuno);
  EXPECT_EQ(m.tratti[11].valore_1, 32767);
  EXPECT_THROW(memo_indicatori_v_max(m, 1000, 0, 1639, 0, 0, 0, 0, 0, 0), GuastoEsecuzione);
  EXPECT_THROW(memo_indicatori_v_max(m, 1000, 0, 0, 200000000, 0, 0, 0, 0, 0), GuastoEsecuzione);
  EXPECT_THROW(memo_indicatori_v_max(m, 1000, 0, 0, 0, 0, 0, 0, 200000, 0), GuastoEsecuzione);
  EXPECT_EQ(m.tratti[21], Tratto{});
}

}  // namespace
}  // namespace compattatore
