#include "post/codici_gara.h"

#include <gtest/gtest.h>

namespace compattatore {
namespace {

Elenco identita(const std::string& nome, const std::string& treno) {
  Elenco e{};
  e[voce::intestazione].testo = nome;
  e[voce::treno].testo = treno;
  return e;
}

TEST(CodiciGara, IdentitaIncorporata) {
  // Key: "3349viterbo_orte_roma_via", character codes
  // 51 51 52 57 118 105 116 101 114 98 111 95 111 114 116 101 95 114 111 109 97 95 118 105 97.
  // Their sum is 2452; the sum weighted 1..25 is 33881.
  const Elenco e = identita("Viterbo_Orte_Roma_Via_Linea_Cintura", "3349");
  EXPECT_EQ(chiave_gara(e), "3349viterbo_orte_roma_via");
  EXPECT_EQ(codice_gara_og(e), 2452);
  EXPECT_EQ(codice_gara_st(e), 33881);
}

TEST(CodiciGara, MaiuscoleEMinuscoleDannoGliStessiCodici) {
  const Elenco a = identita("VITERBO_orte_ROMA_via", "3349");
  const Elenco b = identita("viterbo_ORTE_roma_VIA", "3349");
  EXPECT_EQ(codice_gara_og(a), codice_gara_og(b));
  EXPECT_EQ(codice_gara_st(a), codice_gara_st(b));
  // Accented capitals of the code page are lowered too: "\xC8" (È) counts as "\xE8" (è).
  EXPECT_EQ(codice_gara_st(identita("\xC8", "1")), codice_gara_st(identita("\xE8", "1")));
}

TEST(CodiciGara, SoloIPrimiVenticinqueCaratteri) {
  const Elenco a = identita("Viterbo_Orte_Roma_Via_Linea_Cintura", "3349");
  const Elenco b = identita("Viterbo_Orte_Roma_ViaXXXXX", "3349");
  EXPECT_EQ(codice_gara_og(a), codice_gara_og(b));
  EXPECT_EQ(codice_gara_st(a), codice_gara_st(b));
}

TEST(CodiciGara, TestiCortiPrendonoIlRiempitivo) {
  // Empty identity: the first 25 letters of "zzyyxxwwvvuuttssrrqqppkkjj".
  const Elenco vuota = identita("", "");
  EXPECT_EQ(chiave_gara(vuota), "zzyyxxwwvvuuttssrrqqppkkj");
  EXPECT_EQ(codice_gara_og(vuota), 2894);
  EXPECT_EQ(codice_gara_st(vuota), 36840);
  // Train "ab", name "c": "abc" + the filler's first 22 letters; exchanged, the plain sum stays
  // and the weighted one follows the positions (97*1+98*2+99*3 against 99*1+97*2+98*3).
  const Elenco abc = identita("c", "ab");
  const Elenco cab = identita("ab", "c");
  EXPECT_EQ(chiave_gara(abc), "abczzyyxxwwvvuuttssrrqqpp");
  EXPECT_EQ(codice_gara_og(abc), 2868);
  EXPECT_EQ(codice_gara_og(cab), 2868);
  EXPECT_EQ(codice_gara_st(abc), 37473);
  EXPECT_EQ(codice_gara_st(cab), 37470);
}

TEST(CodiciGara, CaratteriAltiContanoDa0a255) {
  // 25 bytes 0xFF: 25 * 255 = 6375 and 255 * 325 = 82875, beyond 16 bits.
  const Elenco e = identita(std::string(25, '\xFF'), "");
  EXPECT_EQ(codice_gara_og(e), 6375);
  EXPECT_EQ(codice_gara_st(e), 82875);
}

}  // namespace
}  // namespace compattatore
