#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "model/regole.h"
#include "parse/fasi.h"
#include "parse/lettore.h"
#include "support/supporto.h"

namespace compattatore {
namespace {

using prova::righe;
// A route of 1000 m unless told: stretches 0 to 160, metres 0 to 8000; the first feature line is
// line 4.
using prova::sorgente_linea;

// One line phase over an in-memory source, recording every code set.
struct Linea {
  Modello modello;
  prova::RegistroErrori registro;
  std::vector<Segnalazione>& codici = registro.segnalazioni;
  EsitoLinea esito;
  const bool con_tracciato;

  explicit Linea(int32_t flag_linea = 1) : con_tracciato(flag_linea != 0) {}
  Linea(const Linea&) = delete;

  int32_t leggi(const std::string& sorgente) {
    LettoreVoci l(sorgente, "linea.txt");
    esito = fase_linea(modello, registro, l, OpzioniLinea{con_tracciato});
    return numero(registro.codice_errore());
  }
  int32_t posizione_errore() const { return registro.posizione_errore(); }
  Modello& m() { return modello; }
  const Tratto& t(size_t i) { return modello.tratti.at(i); }
};

// Coordinate `asse` of point `i`, which must hold a value.
double numero(const Tracciato& t, size_t i, Asse asse) {
  if (t.tipo(i, asse) == TipoCoordinata::vuota) {
    ADD_FAILURE() << "punto " << i << " senza valore";
    return NAN;
  }
  return t.valore(i, asse);
}

bool stesso_modello(const Modello& a, const Modello& b) {
  return a.tratti == b.tratti && a.elenco == b.elenco && a.tracciato == b.tracciato;
}

// ---------------------------------------------------------------- finding the general section

TEST(FaseLinea, RicercaDiGenerale) {
  const struct {
    const char* caso;
    std::string sorgente;
    int32_t codice;
  } casi[] = {
      {"file vuoto", "", 102},
      {"senza [generale]", righe({"lunghezza percorso, 1000", "[curve]", "[fine]"}), 102},
      {"[generale] ultima voce", righe({"titolo", "[generale]"}), 102},
      {"voci prima, lettere maiuscole",
       righe({"titolo, 12", "[GENERALE] della linea", "lunghezza percorso, 1000", "[fine]"}), 0},
  };
  for (const auto& c : casi) {
    Linea l;
    EXPECT_EQ(l.leggi(c.sorgente), c.codice) << c.caso;
    EXPECT_EQ(l.m().dimensionato(), c.codice == 0) << c.caso;
  }
}

// ---------------------------------------------------------------- general section

TEST(FaseLinea, SezioneGeneraleDelloScenario) {
  Linea l;
  ASSERT_EQ(l.leggi(sorgente_linea({}, 124000,
                                   {
                                       "progressiva chilometrica uno,    0,    39050,    1",
                                       "progressiva chilometrica due,    39100,    135150,    1",
                                       "progressiva chilometrica tre,    54500,    118750,    1",
                                       "sfondo uno,    1",
                                       "sfondo due,    51000",
                                       "sfondo tre,    0",
                                       "ripetizione segnali 9 codici,    46400,    106850",
                                   })),
            0);
  const Modello& m = l.m();
  EXPECT_EQ(m.elenco[84].campo_2, 124000);
  EXPECT_EQ(m.metri_totali, 131000);
  EXPECT_EQ(m.ultimo_tratto(), 2620);
  EXPECT_EQ(m.tratti.size(), 2621u);
  EXPECT_EQ(m.tracciato.punti(), 131001u);
  // The sections ordered by start, + 100 on verso 1.
  EXPECT_EQ(m.elenco[81].campo_1, 54500);
  EXPECT_EQ(m.elenco[81].campo_2, 118850);
  EXPECT_EQ(m.elenco[82].campo_1, 39100);
  EXPECT_EQ(m.elenco[82].campo_2, 135250);
  EXPECT_EQ(m.elenco[83].campo_1, 0);
  EXPECT_EQ(m.elenco[83].campo_2, 39150);
  EXPECT_EQ(m.elenco[83].campo_3, 1);
  // "sfondo tre" in campo_2, "sfondo due" in campo_3.
  EXPECT_EQ(m.elenco[85].campo_1, 1);
  EXPECT_EQ(m.elenco[85].campo_2, 0);
  EXPECT_EQ(m.elenco[85].campo_3, 51000);
  EXPECT_EQ(m.elenco[86].campo_1, 46400);
  EXPECT_EQ(m.elenco[86].campo_2, 106850);
  EXPECT_EQ(m.elenco[86].campo_3, 9);

  // No gradient line: level up to the last three stretches, which keep 0.
  for (size_t i = 0; i <= 2617; ++i) ASSERT_EQ(m.tratti[i].pendenza, 100) << i;
  for (size_t i = 2618; i <= 2620; ++i) EXPECT_EQ(m.tratti[i].pendenza, 0) << i;

  // The plan: two 16-bit points, doubles straight along +Y, the last two points empty.
  const Tracciato& p = m.tracciato;
  for (size_t i : {0u, 1u}) {
    for (const Asse a : {Asse::x, Asse::y}) {
      EXPECT_EQ(p.tipo(i, a), TipoCoordinata::intera) << i;
      EXPECT_EQ(p.intero(i, a), a == Asse::y ? static_cast<int16_t>(i) : 0) << i;
    }
  }
  for (size_t i : {2u, 130998u}) {
    EXPECT_EQ(p.tipo(i, Asse::x), TipoCoordinata::reale) << i;
    EXPECT_EQ(p.tipo(i, Asse::y), TipoCoordinata::reale) << i;
    EXPECT_EQ(p.valore(i, Asse::x), 0.0) << i;
    EXPECT_EQ(p.valore(i, Asse::y), static_cast<double>(i)) << i;
  }
  for (size_t i : {130999u, 131000u}) {
    EXPECT_EQ(p.tipo(i, Asse::x), TipoCoordinata::vuota) << i;
    EXPECT_EQ(p.tipo(i, Asse::y), TipoCoordinata::vuota) << i;
  }
}

TEST(FaseLinea, MaiuscoleEMinuscoleNelleParoleChiave) {
  Linea l;
  ASSERT_EQ(l.leggi(righe({
                "[generale]",
                "LUNGHEZZA Percorso,    2000",                         // case-blind: accepted
                "Progressiva chilometrica uno,    100,    500,    0",  // exact: ignored
                "progressiva chilometrica UNO,    100,    500,    0",  // exact: ignored
                "Sfondo uno,    7",
                "sfondo Uno,    7",
                "RIPETIZIONE SEGNALI 9,    25,    0",  // would give 3 if recognised
                "[Curve]",
                "[fine]",
            })),
            0);
  EXPECT_EQ(l.m().elenco[84].campo_2, 2000);
  for (int i : {81, 82, 83}) EXPECT_EQ(l.m().elenco[static_cast<size_t>(i)], Voce{}) << i;
  EXPECT_EQ(l.m().elenco[85].campo_1, 0);
  EXPECT_EQ(l.m().elenco[86].campo_1, 0);
}

TEST(FaseLinea, UnaVoceCheCorrispondeADueRighe) {
  Linea l;
  ASSERT_EQ(
      l.leggi(sorgente_linea({}, 1000, {"progressiva due tre,  100,  1000,  0,  50,  500,  2"})),
      0);
  // Row "tre" first, then row "due": six numbers; by start 81 = tre, 82 = due.
  EXPECT_EQ(l.m().elenco[81].campo_1, 100);
  EXPECT_EQ(l.m().elenco[81].campo_2, 1000);
  EXPECT_EQ(l.m().elenco[82].campo_1, 50);
  EXPECT_EQ(l.m().elenco[82].campo_2, 500);
  EXPECT_EQ(l.m().elenco[82].campo_3, 2);
}

TEST(FaseLinea, RipetizioneSegnali) {
  const struct {
    std::string riga;
    int32_t codice, c1, c2, c3;
  } casi[] = {
      {"ripetizione segnali 9 codici,    46400,    106850", 0, 46400, 106850, 9},
      {"ripetizione segnali 4 codici,    100,    200", 0, 100, 200, 4},
      {"ripetizione segnali 9 o 4,    100,    200", 0, 100, 200, 4},
      {"ripetizione segnali 9 codici,    46400,    0", 0, 46400, 0, 0},
      {"ripetizione segnali 9 codici,    -50,    100", 0, -50, 100, 9},  // -50 mod 50 = 0
      {"ripetizione segnali 9 codici,    25,    100", 3, 25, 100, 0},
      {"ripetizione segnali 9 codici,    -25,    100", 3, -25, 100, 0},
      {"ripetizione segnali 9 codici,    50,    120", 4, 50, 120, 0},
      {"ripetizione segnali codici,    50,    100", 5, 50, 100, 0},
  };
  for (const auto& c : casi) {
    Linea l;
    EXPECT_EQ(l.leggi(sorgente_linea({"pendenza, 1000, 5"}, 1000, {c.riga, "sfondo uno, 7"})),
              c.codice)
        << c.riga;
    const Voce& v = l.m().elenco[86];
    EXPECT_EQ(v.campo_1, c.c1) << c.riga;
    EXPECT_EQ(v.campo_2, c.c2) << c.riga;
    EXPECT_EQ(v.campo_3, c.c3) << c.riga;
    // A code ends the phase: nothing after the line is read, no finishing step runs.
    EXPECT_EQ(l.m().elenco[85].campo_1, c.codice == 0 ? 7 : 0) << c.riga;
    EXPECT_EQ(l.t(30).pendenza, c.codice == 0 ? 105 : 0) << c.riga;
    if (c.codice != 0) {
      ASSERT_EQ(l.codici.size(), 1u);
      EXPECT_EQ(l.codici[0].luogo.riga, 3);
      EXPECT_FALSE(l.codici[0].posizione.has_value());
    }
  }
}

TEST(FaseLinea, LunghezzaDelPercorso) {
  const struct {
    int32_t lunghezza, codice;
  } casi[] = {{1000001, 1}, {-1, 1}, {-50000, 1}, {0, 0}, {1000000, 0}};
  for (const auto& c : casi) {
    Linea l;
    EXPECT_EQ(l.leggi(sorgente_linea({}, c.lunghezza)), c.codice) << c.lunghezza;
    EXPECT_EQ(l.m().elenco[84].campo_2, c.lunghezza);
    EXPECT_EQ(l.m().dimensionato(), c.codice == 0) << c.lunghezza;
    if (c.codice == 0) {
      EXPECT_EQ(l.m().metri_totali, c.lunghezza + 7000);
    }
  }
}

TEST(FaseLinea, TrattinoNellaSezioneGeneraleFinoADieciVolte) {
  // The item read after ten "-" items is interpreted even when it holds a "-" itself; after
  // nine it is passed over as the tenth.
  for (const int trattini : {9, 10}) {
    std::vector<std::string> generale(static_cast<size_t>(trattini), "- nota");
    generale.push_back("lunghezza-percorso, 3000");
    Linea l;
    EXPECT_EQ(l.leggi(sorgente_linea({}, 1000, generale)), 0);
    EXPECT_EQ(l.m().elenco[84].campo_2, trattini == 10 ? 3000 : 1000) << trattini;
  }
}

TEST(FaseLinea, SenzaLunghezzaEGuasto) {
  for (const int32_t flag : {0, 1}) {
    Linea l(flag);
    EXPECT_THROW(
        l.leggi(righe({"[generale]", "sfondo uno, 1", "[curve]", "pendenza, 100, 5", "[fine]"})),
        GuastoEsecuzione);
  }
  // The "-" items of the general section are passed over without looking for the end: two of
  // them at the end of the source read past it.
  Linea l;
  EXPECT_THROW(l.leggi(righe({"[generale]", "lunghezza percorso, 1000", "- nota", "- nota"})),
               GuastoEsecuzione);
}

// ---------------------------------------------------------------- feature section

TEST(FaseLinea, RiempimentoDellePendenze) {
  Linea l;
  ASSERT_EQ(l.leggi(sorgente_linea({"pendenza,   0,    0", "pendenza,  5000,   -5"}, 10000)), 0);
  ASSERT_EQ(l.m().ultimo_tratto(), 340);
  for (size_t i = 0; i <= 99; ++i) ASSERT_EQ(l.t(i).pendenza, 100) << i;
  for (size_t i = 100; i <= 337; ++i) ASSERT_EQ(l.t(i).pendenza, 95) << i;
  for (size_t i = 338; i <= 340; ++i) EXPECT_EQ(l.t(i).pendenza, 0) << i;

  // Two lines on the same stretch n = 20: the second still writes stretch 20, with the first's
  // value.
  Linea d;
  ASSERT_EQ(d.leggi(sorgente_linea({"pendenza,  1000,   10", "pendenza,  1010,   20 "})), 0);
  EXPECT_EQ(d.t(19).pendenza, 100);
  EXPECT_EQ(d.t(20).pendenza, 110);
  EXPECT_EQ(d.t(21).pendenza, 120);
  EXPECT_EQ(d.t(157).pendenza, 120);
  EXPECT_EQ(d.t(158).pendenza, 0);

  // A gradient that does not fit its byte once 100 is added.
  Linea g;
  EXPECT_THROW(g.leggi(sorgente_linea({"pendenza,  1000,   156"})), GuastoEsecuzione);
  Linea h;
  EXPECT_EQ(h.leggi(sorgente_linea({"pendenza,  1000,   155", "pendenza,  2000,  -100"})), 0);
  EXPECT_EQ(h.t(20).pendenza, 255);
  EXPECT_EQ(h.t(40).pendenza, 0);
}

TEST(FaseLinea, CurvaASinistraDi50Metri) {
  Linea l;
  ASSERT_EQ(l.leggi(sorgente_linea({"curvas6,  54700,  50"}, 56000)), 0);
  const Tracciato& p = l.m().tracciato;
  // Straight along +Y up to the curve.
  EXPECT_EQ(numero(p, 54700, Asse::x), 0.0);
  EXPECT_EQ(numero(p, 54700, Asse::y), 54700.0);
  // Each curve metre turns the step by atan(0.003) to the left and lengthens it by
  // sqrt(1 + 0.003²).
  const double k = 0.003;
  const double dx = numero(p, 54750, Asse::x) - numero(p, 54749, Asse::x);
  const double dy = numero(p, 54750, Asse::y) - numero(p, 54749, Asse::y);
  EXPECT_NEAR(std::atan2(dx, dy), -50 * std::atan(k), 1e-9);
  EXPECT_NEAR(std::hypot(dx, dy), std::pow(1 + k * k, 25), 1e-9);
  // The same points computed here one metre at a time.
  double x0 = 0, y0 = 54699, x1 = 0, y1 = 54700;
  for (int c = 54701; c <= 54750; ++c) {
    const double ddx = x1 - x0, ddy = y1 - y0;
    const double x = x1 + ddx + (-k) * ddy;
    const double y = y1 + ddy - (-k) * ddx;
    x0 = x1, y0 = y1, x1 = x, y1 = y;
    ASSERT_EQ(numero(p, static_cast<size_t>(c), Asse::x), x) << c;
    ASSERT_EQ(numero(p, static_cast<size_t>(c), Asse::y), y) << c;
  }
  EXPECT_LT(x1, -3.7);  // about 50 · 0.15 / 2 to the left
  // Then straight on with the last step, up to metri_totali - 2.
  EXPECT_NEAR(numero(p, 62998, Asse::x), x1 + (62998 - 54750) * (x1 - x0), 1e-6);
  EXPECT_EQ(p.tipo(62999, Asse::x), TipoCoordinata::vuota);
}

TEST(FaseLinea, CurveADestraSovrappostaClasse) {
  Linea l;
  ASSERT_EQ(l.leggi(sorgente_linea({"curvad4,  100,  50"})), 0);
  EXPECT_GT(numero(l.m().tracciato, 150, Asse::x), 1.0);  // to the right: towards +X

  // A curve that starts behind the counter only bends the part still ahead; one that ends
  // behind it changes nothing.
  Linea dietro;
  ASSERT_EQ(dietro.leggi(sorgente_linea({"curvad4,  100,  50", "curvas4,  120,  20"})), 0);
  EXPECT_TRUE(stesso_modello(dietro.m(), l.m()));

  // The first of the digits 1 to 6 in the item, in that order: "curvad61" is class 1.
  Linea a, b;
  ASSERT_EQ(a.leggi(sorgente_linea({"curvad61,  100,  50"})), 0);
  ASSERT_EQ(b.leggi(sorgente_linea({"CURVAD1,  100,  50"})), 0);
  EXPECT_TRUE(stesso_modello(a.m(), b.m()));
  EXPECT_FALSE(stesso_modello(a.m(), l.m()));
}

TEST(FaseLinea, CurvaErrata103) {
  for (const std::string riga : {"curva,  100,  50", "curvad7,  100,  50", "curvas0,  100,  50"}) {
    Linea l;
    EXPECT_EQ(l.leggi(sorgente_linea({"pendenza, 50, 5", riga, "pendenza, 2000, 9"})), 103) << riga;
    ASSERT_EQ(l.codici.size(), 1u);
    EXPECT_EQ(l.codici[0].luogo.riga, 5);
    EXPECT_EQ(l.codici[0].luogo.testo, riga);
    // The phase ended there: no later line, no finishing step.
    EXPECT_EQ(l.t(30).pendenza, 0) << riga;
  }
  // The metre counter passes 1000000.
  Linea l;
  EXPECT_EQ(l.leggi(sorgente_linea({"curvad1,  999990,  20"}, 1000000)), 103);
  EXPECT_EQ(l.m().tracciato.tipo(1000000, Asse::x), TipoCoordinata::reale);
  EXPECT_EQ(l.m().tracciato.tipo(1000001, Asse::x), TipoCoordinata::vuota);
  // A curve that runs past the end of the plan is the run-time fault.
  Linea oltre;
  EXPECT_THROW(oltre.leggi(sorgente_linea({"curvad1,  7000,  5000"})), GuastoEsecuzione);
  // Every point up to the last one of the plan was drawn first.
  EXPECT_EQ(oltre.m().tracciato.tipo(8000, Asse::y), TipoCoordinata::reale);
}

TEST(FaseLinea, SenzaFlagLineaNessunaCurvaNeTracciato) {
  Linea l(0);
  ASSERT_EQ(
      l.leggi(sorgente_linea({"curvad4,  100,  50", "curva,  200,  50", "pendenza, 1000, 5"})), 0);
  EXPECT_TRUE(l.m().tracciato.vuoto());
  EXPECT_EQ(l.t(20).pendenza, 105);
}

TEST(FaseLinea, MontagneNellaLinea) {
  Linea l;
  ASSERT_EQ(l.leggi(sorgente_linea({"montagna,   6950,  7050,  2", "montagna,   7150,  7250,  11"},
                                   10000)),
            0);
  EXPECT_EQ(l.t(138).montagna, 0);
  EXPECT_EQ(l.t(139).montagna, 2);
  EXPECT_EQ(l.t(140).montagna, 2);
  EXPECT_EQ(l.t(143).montagna, 3);  // 100 m after the previous one

  Linea troppe;
  std::vector<std::string> r;
  for (int i = 0; i < 81; ++i)
    r.push_back("montagna,  " + std::to_string(100 * i) + ",  " + std::to_string(100 * i + 50) +
                ",  1");
  r.push_back("pendenza, 100, 5");
  EXPECT_EQ(troppe.leggi(sorgente_linea(r, 10000)), 26);
  EXPECT_EQ(troppe.posizione_errore(), 8000);
  EXPECT_EQ(troppe.t(160).montagna, 0);
  EXPECT_EQ(troppe.t(0).pendenza, 0);  // ended at once: no later line, no finishing step
}

TEST(FaseLinea, IndicatoriDiVelocitaNellaLinea) {
  Linea l;
  ASSERT_EQ(
      l.leggi(sorgente_linea({"indicatori_vmax,  6700,  70,  75,  75,  2,  ,  ,  ,  0",
                              "indicatori_vmax,  7000,  140,  160,  250,  0,  140,  160,  250,  0"},
                             10000)),
      0);
  EXPECT_EQ(l.t(135).oggetto, oggetto::indicatore_velocita);
  EXPECT_EQ(l.t(135).valore_1, 1400);
  EXPECT_EQ(l.t(135).valore_2, 1500);
  EXPECT_EQ(l.t(135).valore_3, 1500);
  EXPECT_EQ(l.t(135).valore_4, 20);
  EXPECT_EQ(l.t(141).valore_1, 2828);
  EXPECT_EQ(l.t(141).valore_3, 5050);

  Linea occupato;
  EXPECT_EQ(occupato.leggi(sorgente_linea({"cartello_indicatore,  1000,   (A)",
                                           "indicatori_vmax,  1010,  70,  75,  75,  2,  ,  ,  ,  0",
                                           "pendenza, 100, 5"})),
            21);
  EXPECT_EQ(occupato.posizione_errore(), 1010);
  EXPECT_EQ(occupato.t(21).oggetto, oggetto::cartello);
  EXPECT_EQ(occupato.t(0).pendenza, 0);
  ASSERT_EQ(occupato.codici.size(), 1u);
  EXPECT_EQ(occupato.codici[0].luogo.riga, 5);
}

TEST(FaseLinea, CartelliIndicatori) {
  Linea l;
  ASSERT_EQ(l.leggi(sorgente_linea({"montagna,  100,  1000,  11",
                                    "cartello_indicatore,  1000,   (Ponte Fiume)(  Tevere   )",
                                    "cartello_indicatore,  200,   (1\xB0 BIVIO)(ORTE SUD)"})),
            0);
  EXPECT_EQ(l.t(21).oggetto, oggetto::cartello);
  EXPECT_EQ(l.t(21).valore_1, 80);
  EXPECT_EQ(l.m().elenco[80].testo, "(Ponte Fiume)(  Tevere   )");
  // Stretch 5 held a mountain marker (the 4th stretch from 2): the board replaces it.
  EXPECT_EQ(l.t(5).oggetto, oggetto::cartello);
  EXPECT_EQ(l.t(5).valore_1, 79);
  EXPECT_EQ(l.t(5).montagna, 1);
  EXPECT_EQ(l.m().elenco[79].testo, "(1\xB0 BIVIO)(ORTE SUD)");
  EXPECT_EQ(l.esito.cursore_cartelli, 78);

  // On a speed indicator board: 6, and the phase ends.
  Linea sei;
  EXPECT_EQ(sei.leggi(sorgente_linea({"indicatori_vmax,  1000,  70,  75,  75,  2,  ,  ,  ,  0",
                                      "cartello_indicatore,  1010,   (B)", "pendenza, 100, 5"})),
            6);
  EXPECT_EQ(sei.posizione_errore(), 1010);
  EXPECT_EQ(sei.t(21).oggetto, oggetto::indicatore_velocita);
  EXPECT_EQ(sei.m().elenco[80].testo, "");
  EXPECT_EQ(sei.t(0).pendenza, 0);

  // Entries 80 down to 1 hold 80 texts; the 81st board is refused.
  Linea troppi;
  std::vector<std::string> r;
  for (int i = 0; i < 81; ++i) {
    r.push_back("cartello_indicatore,  " + std::to_string(100 + 50 * i) + ",  (T" +
                std::to_string(i) + ")");
  }
  EXPECT_EQ(troppi.leggi(sorgente_linea(r)), 27);
  EXPECT_EQ(troppi.posizione_errore(), 4100);
  EXPECT_EQ(troppi.m().elenco[1].testo, "(T79)");
  EXPECT_EQ(troppi.m().elenco[0].testo, "");
  EXPECT_EQ(troppi.t(83).oggetto, oggetto::libero);
  EXPECT_EQ(troppi.esito.cursore_cartelli, 0);
}

TEST(FaseLinea, TestoDelCartelloTroppoLungoEGuasto) {
  // A compiled text carries a 16-bit length: 65535 bytes fit, 65536 do not.
  Linea giusto;
  EXPECT_EQ(
      giusto.leggi(sorgente_linea({"cartello_indicatore,  500,   " + std::string(65535, 'x')})), 0);
  EXPECT_EQ(giusto.m().elenco[80].testo.size(), 65535u);
  Linea lungo;
  EXPECT_THROW(
      lungo.leggi(sorgente_linea({"cartello_indicatore,  500,   " + std::string(65536, 'x')})),
      GuastoEsecuzione);
  EXPECT_EQ(lungo.m().elenco[80].testo, "");
}

TEST(FaseLinea, PosizioneFuoriDalPercorso15) {
  // A 1000 m route: stretches 0 to 160, positions 0 to 7900 pass the range rule.
  const struct {
    std::string riga;
    int32_t posizione;
  } casi[] = {
      {"pendenza,  7901,  3", 7901},
      {"pendenza,  -50,  3", -50},
      {"curvad1,  7950,  10", 7950},
      {"curvad1,  -10,  10", -10},
      {"montagna,  7901,  7950,  1", 7901},
      {"montagna,  -100,  500,  1", -100},
      {"montagna,  100,  -50,  1", -50},
      {"montagna,  7000,  9000,  1", 9000},  // its stretches leave tratti
      {"indicatori_vmax,  8000,  70,  75,  75,  2,  ,  ,  ,  0", 8000},
      {"indicatori_vmax,  -100,  70,  75,  75,  2,  ,  ,  ,  0", -100},
      {"cartello_indicatore,  -100,  (X)", -100},
      {"cartello_indicatore,  7901,  (X)", 7901},
  };
  for (const auto& c : casi) {
    Linea l;
    EXPECT_EQ(l.leggi(sorgente_linea({"pendenza,  1000,  5", c.riga, "pendenza,  2000,  9",
                                      "cartello_indicatore,  3000,  (Y)"})),
              15)
        << c.riga;
    EXPECT_EQ(l.posizione_errore(), c.posizione) << c.riga;
    // The feature section ends; the finishing steps still run.
    EXPECT_EQ(l.t(20).pendenza, 105) << c.riga;
    EXPECT_EQ(l.t(157).pendenza, 105) << c.riga;
    EXPECT_EQ(l.t(158).pendenza, 0) << c.riga;
    EXPECT_EQ(l.t(61).oggetto, oggetto::libero) << c.riga;
    EXPECT_EQ(l.m().tracciato.tipo(7998, Asse::y), TipoCoordinata::reale) << c.riga;
    for (const auto& t : l.m().tratti) ASSERT_EQ(t.montagna, 0) << c.riga;
  }
  Linea limite;
  EXPECT_EQ(limite.leggi(sorgente_linea({"pendenza,  7900,  3"})), 0);
  EXPECT_EQ(limite.t(157).pendenza, 100);
}

TEST(FaseLinea, RigaVelocitaNonCambiaNulla) {
  Linea con, senza;
  const std::vector<std::string> prima = {"pendenza,  1000,  5", "curvad4,  500,  300"};
  const std::vector<std::string> dopo = {"montagna,  2000,  3000,  12",
                                         "cartello_indicatore,  4000,  (Z)"};
  std::vector<std::string> r = prima;
  r.push_back("[vel_limite]");
  r.push_back("velocita,  1500,  100");
  r.insert(r.end(), dopo.begin(), dopo.end());
  std::vector<std::string> s = prima;
  s.insert(s.end(), dopo.begin(), dopo.end());
  ASSERT_EQ(con.leggi(sorgente_linea(r)), 0);
  ASSERT_EQ(senza.leggi(sorgente_linea(s)), 0);
  EXPECT_TRUE(stesso_modello(con.m(), senza.m()));
}

TEST(FaseLinea, TrattinoNellaSezioneElementiFinoADueVolte) {
  // After two "-" items the third is interpreted even when it holds a "-"; after one, an item
  // holding "-" is passed over too.
  Linea due, uno;
  ASSERT_EQ(due.leggi(sorgente_linea({"- nota", "- altra", "pendenza-x,  1000,  5"})), 0);
  ASSERT_EQ(uno.leggi(sorgente_linea({"- nota", "pendenza-x,  1000,  5"})), 0);
  EXPECT_EQ(due.t(30).pendenza, 105);
  EXPECT_EQ(uno.t(30).pendenza, 100);
  // In the feature section the end of the source ends the dash rule quietly.
  Linea fine;
  EXPECT_EQ(fine.leggi(sorgente_linea({"- nota"})), 0);
  // A negative number after a keyword is read by the handler, not passed over.
  Linea meno;
  ASSERT_EQ(meno.leggi(sorgente_linea({"pendenza,  1000,  -15"})), 0);
  EXPECT_EQ(meno.t(30).pendenza, 85);
}

TEST(FaseLinea, UltimaVoceDelFile) {
  // A keyword item that is the file's last item is never interpreted.
  Linea parola;
  EXPECT_EQ(parola.leggi(righe(
                {"[generale]", "lunghezza percorso, 1000", "[curve]", "cartello_indicatore"})),
            0);
  EXPECT_EQ(parola.esito.cursore_cartelli, 80);
  // A last line with numbers after its keyword is processed.
  Linea numeri;
  EXPECT_EQ(numeri.leggi(righe({"[generale]", "lunghezza percorso, 1000", "[curve]",
                                "pendenza,  1000,  5", "cartello_indicatore,  2000,  (U)"})),
            0);
  EXPECT_EQ(numeri.t(30).pendenza, 105);
  EXPECT_EQ(numeri.t(41).oggetto, oggetto::cartello);
  EXPECT_EQ(numeri.m().elenco[80].testo, "(U)");
}

TEST(FaseLinea, PercorsoTagliato) {
  // A route cut to 2000 m is sized as a 2000 m route; an item beyond it lies outside the route.
  Modello m;
  prova::RegistroErrori registro;
  LettoreVoci l(prova::sorgente_linea({"pendenza,  5000,  3", "pendenza,  12000,  4"}, 124000),
                "linea.txt");
  OpzioniLinea opzioni{true};
  opzioni.taglio_percorso = 2000;
  fase_linea(m, registro, l, opzioni);
  EXPECT_EQ(m.metri_totali, 9000);
  EXPECT_EQ(m.ultimo_tratto(), 180);
  EXPECT_EQ(m.tracciato.punti(), 9001u);
  EXPECT_EQ(m.elenco[voce::figure_treno].campo_2, 124000);  // the length as written
  EXPECT_EQ(registro.numeri(), std::vector<int32_t>{15});
  EXPECT_EQ(registro.posizione_errore(), 12000);
}

}  // namespace
}  // namespace compattatore
