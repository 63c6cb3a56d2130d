#include "parse/lettore.h"

#include <gtest/gtest.h>

#include <string>

#include "model/regole.h"

namespace compattatore {
namespace {

TEST(Lettore, VociSeparateDaVirgoleEFineRiga) {
  LettoreVoci l("curvad4,  500,  300\r\n\"a, b\" , c\r\nultima", "f.txt");
  EXPECT_EQ(l.leggi_testo(), "curvad4");
  EXPECT_EQ(l.leggi_i32(), 500);
  EXPECT_EQ(l.leggi_i32(), 300);
  EXPECT_EQ(l.leggi_testo(), "a, b");  // a quoted text keeps its commas
  EXPECT_EQ(l.leggi_testo(), "c");
  EXPECT_FALSE(l.a_fine());
  EXPECT_EQ(l.leggi_testo(), "ultima");
  EXPECT_TRUE(l.a_fine());
}

TEST(Lettore, NumeriSeparatiDaSpaziSullaStessaRiga) {
  LettoreVoci l("orologio,    6               13            40 \r\naderenza,  7\r\n", "t.txt");
  EXPECT_EQ(l.leggi_testo(), "orologio");
  EXPECT_EQ(l.leggi_i16(), 6);
  EXPECT_EQ(l.leggi_i16(), 13);
  EXPECT_EQ(l.leggi_i16(), 40);
  // The trailing blank and the line end went with the last number.
  EXPECT_EQ(l.leggi_testo(), "aderenza");
  EXPECT_EQ(l.riga(), 2);
  EXPECT_EQ(l.leggi_u8(), 7);
  EXPECT_TRUE(l.a_fine());
}

TEST(Lettore, TestoSenzaVirgoletteSenzaSpaziInCoda) {
  LettoreVoci l("cartello_indicatore,  35800,   (Ponte Fiume)(  Tevere   )   \r\n\tx\t,\r\n", "f");
  EXPECT_EQ(l.leggi_testo(), "cartello_indicatore");
  EXPECT_EQ(l.leggi_i32(), 35800);
  EXPECT_EQ(l.leggi_testo(), "(Ponte Fiume)(  Tevere   )");
  EXPECT_EQ(l.leggi_testo(), "x");
  EXPECT_EQ(l.leggi_testo(), "");  // between the comma and the line end
  EXPECT_TRUE(l.a_fine());
}

TEST(Lettore, ValoriDeiNumeri) {
  const struct {
    const char* voce;
    int32_t valore;
  } casi[] = {
      {"  ", 0},
      {"AC", 0},
      {"-15", -15},
      {"+7", 7},
      {"007", 7},
      {"2.5", 2},
      {"3.5", 4},
      {"-2.5", -2},
      {"1e3", 1000},
      {"12abc", 0},
      {"+-5", 0},
      {"++5", 0},
      {"-", 0},
      {"nan", 0},
      {"inf", 0},
      {"1e-400", 0},
      {"\" 12 \"", 12},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
  };
  for (const auto& c : casi) {
    LettoreVoci l(std::string(c.voce) + ",9", "f");
    EXPECT_EQ(l.leggi_i32(), c.valore) << c.voce;
    EXPECT_EQ(l.leggi_i32(), 9) << c.voce;  // the delimiter went with the item
  }
}

TEST(Lettore, VoceVuotaTraDueVirgoleVale0) {
  LettoreVoci l("indicatori_vmax,  6700,  70,  ,  ,  0\r\n", "f");
  l.leggi_testo();
  EXPECT_EQ(l.leggi_i32(), 6700);
  EXPECT_EQ(l.leggi_i32(), 70);
  EXPECT_EQ(l.leggi_i32(), 0);
  EXPECT_EQ(l.leggi_i32(), 0);
  EXPECT_EQ(l.leggi_i32(), 0);
  EXPECT_TRUE(l.a_fine());
}

TEST(Lettore, NumeroTroppoGrandePerIlCampoEGuasto) {
  const struct {
    const char* voce;
    int larghezza;  // 8, 16 or 32
  } casi[] = {{"256", 8},
              {"-1", 8},
              {"32768", 16},
              {"-32769", 16},
              {"2147483648", 32},
              {"-2147483649", 32},
              {"99999999999999999999", 32},
              {"1e30", 32},
              {"1e400", 32}};
  for (const auto& c : casi) {
    LettoreVoci l(c.voce, "f");
    switch (c.larghezza) {
      case 8:
        EXPECT_THROW(l.leggi_u8(), GuastoEsecuzione) << c.voce;
        break;
      case 16:
        EXPECT_THROW(l.leggi_i16(), GuastoEsecuzione) << c.voce;
        break;
      default:
        EXPECT_THROW(l.leggi_i32(), GuastoEsecuzione) << c.voce;
        break;
    }
  }
  LettoreVoci l("255,32767,-32768", "f");
  EXPECT_EQ(l.leggi_u8(), 255);
  EXPECT_EQ(l.leggi_i16(), 32767);
  EXPECT_EQ(l.leggi_i16(), -32768);
}

TEST(Lettore, LetturaOltreLaFineEGuasto) {
  LettoreVoci vuoto("", "f");
  EXPECT_TRUE(vuoto.a_fine());
  EXPECT_THROW(vuoto.leggi_testo(), GuastoEsecuzione);
  LettoreVoci l("[fine]\r\n", "f");
  EXPECT_EQ(l.leggi_testo(), "[fine]");
  EXPECT_TRUE(l.a_fine());  // the line end after the last item goes with it
  EXPECT_THROW(l.leggi_testo(), GuastoEsecuzione);
  EXPECT_THROW(l.leggi_i32(), GuastoEsecuzione);
}

TEST(Lettore, FineRigaLfECrComeCrLf) {
  for (const std::string fine : {"\r\n", "\n", "\r"}) {
    LettoreVoci l("a,1" + fine + "b" + fine + fine + "c" + fine, "f");
    EXPECT_EQ(l.leggi_testo(), "a");
    EXPECT_EQ(l.leggi_i32(), 1);
    EXPECT_EQ(l.leggi_testo(), "b");
    EXPECT_EQ(l.riga(), 2);
    EXPECT_EQ(l.leggi_testo(), "");  // an empty line is an empty item
    EXPECT_EQ(l.riga(), 3);
    EXPECT_EQ(l.leggi_testo(), "c");
    EXPECT_EQ(l.riga(), 4);
    EXPECT_TRUE(l.a_fine());
    EXPECT_EQ(l.testo_riga(4), "c");
    EXPECT_EQ(l.testo_riga(3), "");
  }
}

TEST(Lettore, LuogoDellUltimaVoce) {
  LettoreVoci l("[generale]\r\nlunghezza percorso,    124000\r\n\"due\r\nrighe\",5\r\n",
                "linea.txt");
  EXPECT_EQ(l.riga(), 0);
  l.leggi_testo();
  l.leggi_testo();
  EXPECT_EQ(l.leggi_i32(), 124000);
  const Luogo luogo = l.luogo();
  EXPECT_EQ(luogo.file, "linea.txt");
  EXPECT_EQ(luogo.riga, 2);
  EXPECT_EQ(luogo.testo, "lunghezza percorso,    124000");
  EXPECT_EQ(l.leggi_testo(), "due\r\nrighe");
  EXPECT_EQ(l.riga(), 3);
  EXPECT_EQ(l.leggi_i32(), 5);
  EXPECT_EQ(l.riga(), 4);  // the quoted text counted its own line end
  EXPECT_EQ(l.luogo().testo, "righe\",5");
  EXPECT_EQ(l.testo_riga(9), "");
}

}  // namespace
}  // namespace compattatore
