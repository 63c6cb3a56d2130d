#include "post/marcatori.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "model/modello.h"
#include "support/supporto.h"

namespace compattatore {
namespace {

using Codici = std::vector<std::pair<int32_t, int32_t>>;  // (code, metres)

/// A small stretch array 0..ultimo, every stretch free, with background values in the fields
/// that the pass must leave alone.
struct Pista {
  std::vector<Tratto> t;

  explicit Pista(int ultimo = 100) : t(static_cast<size_t>(ultimo) + 1) {
    for (size_t s = 0; s < t.size(); ++s) {
      t[s].pendenza = static_cast<uint8_t>(95 + s % 11);
      t[s].velocita = 24;
      t[s].aderenza = 3;
      t[s].preavviso = static_cast<uint8_t>(s % 5);
      t[s].valore_3 = 9;
    }
  }
  Tratto& at(int s) { return t[static_cast<size_t>(s)]; }
  Pista& metti(int s, uint8_t o, int16_t v1 = 0) {
    at(s).oggetto = o;
    at(s).valore_1 = v1;
    return *this;
  }
  Pista& segnale(int s) { return metti(s, oggetto::segnale, 42); }
  Pista& avviso(int s) { return metti(s, oggetto::avviso_rallentamento, 60); }
  Pista& marcatore(int s, int16_t v) { return metti(s, oggetto::cambio_codice, v); }
  Pista& montagna(int s) { return metti(s, oggetto::segno_montagna); }
  Pista& occupa(int da, int a) {
    for (int s = da; s <= a; ++s) metti(s, oggetto::indicatore_velocita, 707);
    return *this;
  }
  Pista& occupa(int s) { return occupa(s, s); }
  /// A slowdown stored as the parser stores it: the end first, then the start (which wins when
  /// both fall on one stretch). `fine` < 0: the end is not in the array.
  Pista& rallentamento(int inizio, int fine, int16_t v) {
    if (fine >= 0) metti(fine, oggetto::fine_rallentamento, v);
    return metti(inizio, oggetto::inizio_rallentamento, v);
  }
};

struct Caso {
  const char* nome;
  std::function<void(Pista&)> prepara;
  std::vector<std::pair<int, int16_t>> marcatori;  // stretch, value 1 expected as a marker
  Codici codici;
  int ultimo = 100;
};

Codici esegui(std::vector<Tratto>& tratti) {
  Modello m;
  m.tratti = std::move(tratti);
  prova::RegistroErrori registro;
  marca_codici(m, registro);
  tratti = std::move(m.tratti);
  Codici codici;
  for (const auto& s : registro.segnalazioni) codici.emplace_back(numero(s.codice), *s.posizione);
  return codici;
}

/// Runs each case and compares the whole array: the expected markers, and nothing else changed.
void verifica(const std::vector<Caso>& casi) {
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    Pista p(c.ultimo);
    c.prepara(p);
    std::vector<Tratto> attesi = p.t;
    for (const auto& [s, v] : c.marcatori) {
      attesi[static_cast<size_t>(s)].oggetto = oggetto::cambio_codice;
      attesi[static_cast<size_t>(s)].valore_1 = v;
    }
    const Codici codici = esegui(p.t);
    EXPECT_EQ(codici, c.codici);
    for (size_t s = 0; s < attesi.size(); ++s) {
      EXPECT_EQ(p.t[s], attesi[s]) << "tratto " << s << ": oggetto " << int(p.t[s].oggetto)
                                   << " valore_1 " << p.t[s].valore_1;
    }
  }
}

/// Markers of value 180 on `tratti`.
std::vector<std::pair<int, int16_t>> a_180(const std::vector<int>& tratti) {
  std::vector<std::pair<int, int16_t>> m;
  for (int s : tratti) m.emplace_back(s, int16_t{180});
  return m;
}

/// Markers of value 180 on the three windows of a slowdown starting on 50, then on `altri`.
std::vector<std::pair<int, int16_t>> con_finestre(std::vector<int> altri) {
  altri.insert(altri.begin(), {45, 39, 32});
  return a_180(altri);
}

TEST(Marcatori, SegnaliPrimaDellAvviso) {
  verifica({
      {"avviso su 30, segnali su 27 e 15",
       [](Pista& p) { p.avviso(30).segnale(27).segnale(15); },
       {{26, 180}, {14, 180}},
       {}},
      {"segnale a 20 tratti marcato su d-2, a 21 tratti ignorato",
       [](Pista& p) { p.avviso(31).segnale(11).segnale(10); },
       {{9, 180}},
       {}},
      {"marcatore 270 su d-1, d-2 libero: nuovo marcatore su d-2",
       [](Pista& p) { p.avviso(30).segnale(27).marcatore(26, 270); },
       {{25, 180}},
       {}},
      {"d-1 marcatore 270, d-2 occupato: abbassato a 180",
       [](Pista& p) { p.avviso(30).segnale(27).marcatore(26, 270).occupa(25); },
       {{26, 180}},
       {}},
      {"d-1 marcatore 75, d-2 occupato: resta 75",
       [](Pista& p) { p.avviso(30).segnale(27).marcatore(26, 75).occupa(25); },
       {},
       {}},
      {"d-1 occupato, d-2 marcatore 300: abbassato d-2",
       [](Pista& p) { p.avviso(30).segnale(27).occupa(26).marcatore(25, 300); },
       {{25, 180}},
       {}},
      {"segno di montagna conta come libero",
       [](Pista& p) { p.avviso(30).segnale(27).montagna(26); },
       {{26, 180}},
       {}},
      {"segnali su 1 e 2 ignorati", [](Pista& p) { p.avviso(10).segnale(1).segnale(2); }, {}, {}},
      {"segnale su 3 marcato su 2", [](Pista& p) { p.avviso(10).segnale(3); }, {{2, 180}}, {}},
      {"codice 11 alla posizione del segnale",
       [](Pista& p) { p.avviso(30).segnale(27).occupa(25, 26).segnale(15); },
       {{14, 180}},
       {{11, 1350}}},
  });
}

TEST(Marcatori, FinestrePrimaDellInizio) {
  // Speed 120 and the end two stretches on: only the windows place markers.
  const struct {
    int inizio;
    std::vector<std::pair<int, int16_t>> marcatori;
  } soglie[] = {{7, {}},
                {8, {{3, 180}}},
                {13, {{8, 180}}},
                {14, {{9, 180}, {3, 180}}},
                {20, {{15, 180}, {9, 180}}},
                {21, {{16, 180}, {10, 180}, {3, 180}}}};
  std::vector<Caso> casi;
  for (const auto& s : soglie) {
    const int i = s.inizio;
    casi.push_back({"soglia", [i](Pista& p) { p.rallentamento(i, i + 2, 120); }, s.marcatori, {}});
  }
  casi.push_back(
      {"primo libero nell'ordine i-5, i-6, i-7",
       [](Pista& p) { p.rallentamento(30, 32, 120).occupa(24, 25).occupa(19).montagna(12); },
       {{23, 180}, {18, 180}, {12, 180}},
       {}});
  casi.push_back({"una finestra piena: codice 12, le altre provate",
                  [](Pista& p) { p.rallentamento(21, 23, 120).occupa(14, 16); },
                  {{10, 180}, {3, 180}},
                  {{12, 1050}}});
  casi.push_back({"tre finestre piene: codice 12 tre volte",
                  [](Pista& p) { p.rallentamento(21, 23, 120).occupa(1, 16); },
                  {},
                  {{12, 1050}, {12, 1050}, {12, 1050}}});
  verifica(casi);
}

TEST(Marcatori, CamminoNelRallentamento) {
  verifica({
      {"50-80 a 100: 58, 66, 74",
       [](Pista& p) { p.rallentamento(50, 80, 100); },
       con_finestre({58, 66, 74}),
       {}},
      {"a 110 nessun marcatore interno",
       [](Pista& p) { p.rallentamento(50, 80, 110); },
       con_finestre({}),
       {}},
      {"i+8 occupato: i+7, poi i+15",
       [](Pista& p) { p.rallentamento(50, 80, 100).occupa(58); },
       con_finestre({57, 65, 73}),
       {}},
      {"i+7 e i+8 occupati: i+9, poi i+17",
       [](Pista& p) { p.rallentamento(50, 80, 100).occupa(57, 58); },
       con_finestre({59, 67, 75}),
       {}},
      {"nessun posto al passo 8: codice 13, nessun altro marcatore",
       [](Pista& p) { p.rallentamento(50, 80, 100).occupa(57, 59); },
       con_finestre({}),
       {{13, 2900}}},
  });
}

TEST(Marcatori, SegnaleDopoLaFine) {
  verifica({
      {"segnale 12 tratti dopo la fine trovato",
       [](Pista& p) { p.rallentamento(50, 80, 120).segnale(92); },
       con_finestre({91}),
       {}},
      {"segnale 13 tratti dopo la fine ignorato",
       [](Pista& p) { p.rallentamento(50, 80, 120).segnale(93); },
       con_finestre({}),
       {}},
      {"solo il primo segnale",
       [](Pista& p) { p.rallentamento(50, 80, 120).segnale(85).segnale(90); },
       con_finestre({84}),
       {}},
      {"segnale su fine + 1: marcatore prima della fine",
       [](Pista& p) { p.rallentamento(50, 80, 120).segnale(81); },
       con_finestre({79}),
       {}},
      {"segnale su fine + 1, tratto prima della fine occupato: codice 13 alla fine",
       [](Pista& p) { p.rallentamento(50, 80, 120).segnale(81).occupa(79); },
       con_finestre({}),
       {{13, 4000}}},
  });
}

TEST(Marcatori, CasiDecisi) {
  verifica({
      // A first slowdown 20-30 ends its walk on 30, where a signal on 35 gets its marker on 34.
      // The second slowdown (120, no walk) must look after its own end 60, not after 30 again.
      {"rallentamento a 110 o piu': si guarda dopo la propria fine",
       [](Pista& p) {
         p.rallentamento(20, 30, 80).segnale(35).rallentamento(50, 60, 120).segnale(65);
       },
       // First slowdown: windows 15 and 9, walk 28, signal 34. Second: windows, signal 64.
       {{15, 180}, {9, 180}, {28, 180}, {34, 180}, {45, 180}, {39, 180}, {32, 180}, {64, 180}},
       {}},
      {"cammino fino all'ultimo tratto senza fine: codice 13",
       [](Pista& p) { p.rallentamento(90, -1, 80); },
       {{85, 180}, {79, 180}, {72, 180}, {98, 180}},
       {{13, 5000}}},
      {"ricerca della fine a 120 fino all'ultimo tratto: codice 13",
       [](Pista& p) { p.rallentamento(90, -1, 120).segnale(100); },
       {{85, 180}, {79, 180}, {72, 180}},
       {{13, 5000}}},
      {"sguardo avanti fermato all'ultimo tratto",
       [](Pista& p) { p.rallentamento(90, 95, 120).segnale(100); },
       {{85, 180}, {79, 180}, {72, 180}, {99, 180}},
       {}},
      // Start and end on 20: the walk meets the next start on 40 and stops there (the markers it
      // placed on the way stay); the look-ahead starts from 20 and finds the signal on 25.
      {"inizio e fine sullo stesso tratto, poi un altro rallentamento",
       [](Pista& p) { p.rallentamento(20, 20, 80).segnale(25).rallentamento(40, 60, 80); },
       // First: windows 15 and 9, walk 28 and 36, signal 24. Second: windows, walk 48 and 56.
       a_180({15, 9, 28, 36, 24, 35, 29, 22, 48, 56}),
       {}},
      {"codici diversi nella stessa passata, tutti segnalati",
       [](Pista& p) {
         p.avviso(30)
             .segnale(27)
             .occupa(25, 26)
             .rallentamento(60, 90, 100)
             .occupa(53, 55)
             .occupa(67, 69)
             .segnale(91)
             .occupa(89);
       },
       {{49, 180}, {42, 180}},
       {{11, 1350}, {12, 3000}, {13, 3400}, {13, 4500}}},
  });
}

TEST(Marcatori, ArrayPiccoliSenzaSegnalazione) {
  for (int n = 0; n <= 4; ++n) {
    std::vector<Tratto> t(static_cast<size_t>(n));
    for (auto& x : t) x.oggetto = oggetto::inizio_rallentamento;
    EXPECT_NO_THROW(esegui(t)) << n;
  }
}

TEST(Marcatori, Minimo) {
  EXPECT_EQ(minimo<int16_t>(180, 270), 180);
  EXPECT_EQ(minimo<int16_t>(180, 75), 75);
  EXPECT_EQ(minimo<int16_t>(-5, 3), -5);
  // Equal values give x: 0.0 and -0.0 compare equal but keep their sign.
  EXPECT_FALSE(std::signbit(minimo(0.0, -0.0)));
  EXPECT_TRUE(std::signbit(minimo(-0.0, 0.0)));
}

}  // namespace
}  // namespace compattatore
