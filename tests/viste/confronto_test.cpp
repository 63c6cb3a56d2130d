#include "viste/confronto.h"

#include <gtest/gtest.h>

namespace compattatore {
namespace {

using Righe = std::vector<std::string>;

TEST(Confronto, TrattiCampoPerCampoNellUnitaDellAutore) {
  // A stretch is named by its start (s × 50 m); a field with a unit shows it, with the stored
  // numbers beside it when they differ from the values.
  std::vector<Tratto> a(10), b(12);
  b[3].oggetto = 1;
  b[3].valore_1 = 42;
  a[8].pendenza = 100;
  b[8].pendenza = 107;
  a[9].velocita = 17;
  b[9].velocita = 30;
  EXPECT_EQ(confronta_tratti(a, b),
            (Righe{"tratto 3 (150 m) oggetto: 0 (libero) -> 1 (segnale)",
                   "tratto 3 (150 m) valore_1: 0 -> 42",
                   "tratto 8 (400 m) pendenza: 0 -> 7 ‰ (memorizzati 100 -> 107)",
                   "tratto 9 (450 m) velocita: 85 -> 150 km/h (memorizzati 17 -> 30)",
                   "tratti 10-11 solo in B (A ha 10 tratti, B 12)"}));
  EXPECT_EQ(confronta_tratti(a, a), Righe{});
}

TEST(Confronto, VociConNomeEOrario) {
  Elenco a{}, b{};
  a[5].testo = b[5].testo = "Sipicciano";
  a[5].orario = 24150;
  b[5].orario = 24160;
  a[7].testo = "Bassano";
  b[7].testo = "Bassano in Teverina";
  b[84].campo_2 = 124000;
  EXPECT_EQ(confronta_elenco(a, b),
            (Righe{"voce 5 (Sipicciano) orario: 24150 (6:42:30) -> 24160 (6:42:40)",
                   "voce 7 testo: \"Bassano\" -> \"Bassano in Teverina\"",
                   "voce 84 campo_2 (lunghezza): 0 -> 124000 m"}));
}

TEST(Confronto, TracciatoPerSerieDiPuntiComeScritti) {
  // a: points 0 to 9 at (i, 0); b: the same with changes and one point more.
  Tracciato a, b;
  a.crea(9);
  b.crea(10);
  for (size_t i = 0; i < 10; ++i) {
    a.imposta_punto(i, 1.0 * static_cast<double>(i), 0.0);
    b.imposta_punto(i, 1.0 * static_cast<double>(i), 0.0);
  }
  b.imposta_intero(2, Asse::x, 2);    // the same number, written as an integer
  b.imposta_reale(4, Asse::y, -0.0);  // equal as a number, not as written
  b.imposta_reale(5, Asse::y, 7.5);
  b.svuota(8, Asse::x);
  b.imposta_punto(10, 3.0, 3.0);
  EXPECT_EQ(confronta_tracciato(a, b),
            (Righe{"tracciato punto 2: x 2 -> 2 (intero), y 0 uguale",
                   "tracciato punti 4-5 (2 punti): x 4 uguale, y 0 -> -0 (al primo punto)",
                   "tracciato punto 8: x 8 -> vuoto, y 0 uguale",
                   "tracciato punto 10 solo in B (A ha 10 punti, B 11)"}));
  EXPECT_EQ(confronta_tracciato(a, b, 1),
            (Righe{"tracciato punto 2: x 2 -> 2 (intero), y 0 uguale",
                   "tracciato: e altre 2 serie di punti diversi (4 punti in tutto)",
                   "tracciato punto 10 solo in B (A ha 10 punti, B 11)"}));
}

}  // namespace
}  // namespace compattatore
