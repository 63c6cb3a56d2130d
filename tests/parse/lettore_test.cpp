#include "parse/lettore.h"

#include <gtest/gtest.h>

#include <string>

#include "model/regole.h"
#include "support/supporto.h"

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

TEST(Lettore, ColonnaELunghezzaDiOgniVoce) {
  LettoreVoci l("velocita,   350, 90\r\n  \"a, b\" ,, x y \r\n", "t.txt");
  const struct {
    int riga, colonna, lunghezza;
    bool prima;
  } attesi[] = {{1, 1, 8, true}, {1, 13, 3, false}, {1, 18, 2, false},
                {2, 3, 6, true}, {2, 11, 0, false}, {2, 13, 3, false}};
  std::vector<Posto> posti;
  for (const auto& a : attesi) {
    l.leggi_testo();
    posti.push_back(l.posto());
    EXPECT_EQ(l.posto().riga, a.riga);
    EXPECT_EQ(l.posto().colonna, a.colonna) << a.riga;
    EXPECT_EQ(l.posto().lunghezza, a.lunghezza) << a.riga << ":" << a.colonna;
    EXPECT_EQ(l.prima_della_riga(), a.prima) << a.riga << ":" << a.colonna;
  }
  // From the keyword to the last number of line 1; a span across lines keeps its start.
  const Luogo riga_1 = l.luogo(LettoreVoci::da_a(posti[0], posti[2]));
  EXPECT_EQ(riga_1.testo, "velocita,   350, 90");
  EXPECT_EQ(riga_1.colonna, 1);
  EXPECT_EQ(riga_1.lunghezza, 19);
  EXPECT_EQ(LettoreVoci::da_a(posti[0], posti[3]).lunghezza, 8);
  EXPECT_EQ(l.luogo(posti[3]).testo, "  \"a, b\" ,, x y ");
}

TEST(Lettore, ValoriPresiDallaRigaDopoEResto) {
  LettoreVoci l("segnale, 1, 2\r\n3, 4, 5\r\nvelocita, 1, 2, 9, 9\r\n", "t.txt");
  l.leggi_testo();
  l.segna_parola();
  for (int i = 0; i < 4; ++i) l.leggi_i32();
  EXPECT_EQ(l.letti_dal_segno(), 4);
  EXPECT_EQ(l.presi_dopo(), 2);
  EXPECT_EQ(l.primo_preso_dopo().riga, 2);
  EXPECT_EQ(l.primo_preso_dopo().colonna, 1);
  ASSERT_TRUE(l.resto_riga());
  EXPECT_EQ(l.resto_riga()->colonna, 7);  // "5" is left on line 2
  l.leggi_i32();
  EXPECT_FALSE(l.resto_riga());  // at the start of line 3
  l.leggi_testo();
  l.segna_parola();
  l.leggi_i32();
  l.leggi_i32();
  EXPECT_EQ(l.presi_dopo(), 0);
  ASSERT_TRUE(l.resto_riga());
  EXPECT_EQ(l.resto_riga()->colonna, 17);
  EXPECT_EQ(l.resto_riga()->lunghezza, 4);  // "9, 9"
}

// The reader tells how a number was written; the phases, which know the value's row, warn.
TEST(Lettore, DiceComeEScrittoIlNumero) {
  prova::RegistroErrori registro;
  LettoreVoci l("12.5, 1e3, 7, AC, ,\r\n", "t.txt", &registro);
  const struct {
    int32_t valore;
    bool reale, parola;
  } attesi[] = {{12, true, false},
                {1000, true, false},
                {7, false, false},
                {0, false, true},
                {0, false, false}};
  for (const auto& a : attesi) {
    EXPECT_EQ(l.leggi_i32(), a.valore);
    EXPECT_EQ(l.reale(), a.reale) << l.scritto();
    EXPECT_EQ(l.parola(), a.parola) << l.scritto();
  }
  EXPECT_TRUE(registro.avvisi.empty());
}

// A quoted text that runs over its line is told at its opening quote; text after a closing
// quote is passed over and named.
TEST(Lettore, VirgoletteAperteOSeguite) {
  prova::RegistroErrori registro;
  LettoreVoci l("\"Borgo\" Nuovo, 3\r\nx, \"aperte\r\nriga\r\n", "t.txt", &registro);
  EXPECT_EQ(l.leggi_testo(), "Borgo");
  EXPECT_EQ(l.leggi_i32(), 3);
  EXPECT_EQ(l.leggi_testo(), "x");
  EXPECT_EQ(l.leggi_testo(), "aperte\r\nriga\r\n");
  ASSERT_EQ(registro.avvisi.size(), 2u);
  EXPECT_EQ(registro.avvisi[0].avviso, Avviso::dopo_le_virgolette);
  EXPECT_EQ(registro.avvisi[0].dettaglio, "'Nuovo' segue le virgolette chiuse e non è letto");
  EXPECT_EQ(registro.avvisi[0].luogo.riga, 1);
  EXPECT_EQ(registro.avvisi[0].luogo.colonna, 9);
  EXPECT_EQ(registro.avvisi[0].luogo.lunghezza, 5);
  EXPECT_EQ(registro.avvisi[1].avviso, Avviso::virgolette_aperte);
  EXPECT_EQ(registro.avvisi[1].dettaglio,
            "le virgolette aperte qui non si chiudono: il testo finisce con il file, alla riga 3 e "
            "il testo prende 2 righe");
  EXPECT_EQ(registro.avvisi[1].luogo.riga, 2);
  EXPECT_EQ(registro.avvisi[1].luogo.colonna, 4);
  EXPECT_EQ(registro.codice_errore(), Codice::nessuno);  // the error word is untouched
}

}  // namespace
}  // namespace compattatore
