// The one decoder of the stretches: signals taken apart, slowdowns paired, stopping points,
// mountains, profiles in the author's units, the header entries through their roles, and the
// findings about what no compile writes. Stretches are written here from the format's rules.
#include "viste/descrizione.h"

#include <gtest/gtest.h>

#include <functional>

namespace compattatore {
namespace {

using Tratti = std::vector<Tratto>;

void metti(Tratti& tt, int32_t s, uint8_t o, int16_t v1 = 0, int16_t v2 = 0, int16_t v3 = 0,
           int16_t v4 = 0) {
  Tratto& t = tt[static_cast<size_t>(s)];
  t.oggetto = o;
  t.valore_1 = v1;
  t.valore_2 = v2;
  t.valore_3 = v3;
  t.valore_4 = v4;
}

// A signal as the train phase writes it: s_k·10 + d_k, rapp·10 + sx·3 + dx, the time's low byte,
// and the approach bytes (sx·3 + dx)·10 + b on the stretches s − 2b.
struct Segnale {
  int s[3], d[3], rapp, sx, dx;
  uint8_t tempo;
};
void segnale(Tratti& tt, int32_t i, const Segnale& g) {
  metti(tt, i, oggetto::segnale, static_cast<int16_t>(g.s[0] * 10 + g.d[0]),
        static_cast<int16_t>(g.s[1] * 10 + g.d[1]), static_cast<int16_t>(g.s[2] * 10 + g.d[2]),
        static_cast<int16_t>(g.rapp * 10 + g.sx * 3 + g.dx));
  tt[static_cast<size_t>(i)].tempo_segnale = g.tempo;
  for (int b = 1; b <= 4; ++b) {
    tt[static_cast<size_t>(i - 2 * b)].preavviso = static_cast<uint8_t>((g.sx * 3 + g.dx) * 10 + b);
  }
}

TEST(Descrizione, SegnaliConIValoriSeparati) {
  const struct {
    const char* caso;
    Segnale g;
  } casi[] = {
      {"comune", {{4, 1, 1}, {2, 1, 1}, 0, 2, 2, 0}},
      {"rapp e base oltre 9", {{7, 3, 0}, {2, 2, 9}, 3, 3, 2, 0}},
      {"con tempo: sx 2", {{1, 2, 0}, {1, 0, 0}, 1, 2, 1, 150}},
      {"base zero", {{1, 0, 0}, {0, 0, 0}, 0, 0, 0, 0}},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.caso);
    Tratti tt(40);
    segnale(tt, 20, c.g);
    const Descrizione r = descrivi(tt, nullptr);
    ASSERT_EQ(r.segnali.size(), 1u);
    const SegnaleLetto& g = r.segnali[0];
    EXPECT_EQ(g.tratto, 20);
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(g.aspetti[k], c.g.s[k]);
      EXPECT_EQ(g.d[k], c.g.d[k]);
    }
    EXPECT_EQ(g.rapp, c.g.rapp);
    EXPECT_EQ(g.sx, c.g.sx);
    EXPECT_EQ(g.dx, c.g.dx);
    EXPECT_EQ(g.base, c.g.sx * 3 + c.g.dx);
    EXPECT_EQ(g.concordi, 4);
    EXPECT_EQ(g.tempo, c.g.tempo);
  }

  // A later signal overwrites two approach bytes of the first: the others still decide.
  Tratti tt(40);
  segnale(tt, 20, {{4, 1, 1}, {2, 1, 1}, 0, 1, 2, 0});
  segnale(tt, 24, {{4, 1, 1}, {2, 1, 1}, 2, 2, 0, 0});
  const Descrizione r = descrivi(tt, nullptr);
  ASSERT_EQ(r.segnali.size(), 2u);
  EXPECT_EQ(r.segnali[0].base, 5);
  EXPECT_EQ(r.segnali[0].concordi, 2);
  EXPECT_EQ(r.segnali[0].rapp, 0);
  EXPECT_EQ(r.segnali[1].rapp, 2);
}

// A slowdown as the train phase writes it: start, end, the warning board 24 stretches before the
// start and, when marked, its four marks before the board.
void rallentamento(Tratti& tt, int32_t inizio, std::optional<int32_t> fine, int16_t v, int16_t d_v,
                   int16_t f_tt, bool avviso, bool marcati) {
  if (fine) metti(tt, *fine, oggetto::fine_rallentamento, v, d_v, f_tt);
  metti(tt, inizio, oggetto::inizio_rallentamento, v, d_v, f_tt);
  if (!avviso) return;
  const int32_t a = inizio - 24;
  metti(tt, a, oggetto::avviso_rallentamento, v, d_v);
  if (!marcati) return;
  for (int16_t k = 1; k <= 4; ++k) {
    metti(tt, a - k, oggetto::preavviso_rallentamento, k, d_v != 0 ? k : int16_t{0});
  }
}

struct Letto {
  std::optional<int32_t> avviso, inizio, fine;
  bool segnalato;
  bool operator==(const Letto&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Letto& l) {
  const auto n = [](const std::optional<int32_t>& v) { return v ? std::to_string(*v) : "-"; };
  return o << "{" << n(l.avviso) << ", " << n(l.inizio) << ", " << n(l.fine) << ", " << l.segnalato
           << "}";
}

TEST(Descrizione, RallentamentiAppaiatiDallInizio) {
  const std::nullopt_t no = std::nullopt;
  const struct {
    const char* caso;
    std::function<void(Tratti&)> scrivi;
    std::vector<Letto> attesi;
  } casi[] = {
      {"avviso e preavvisi",
       [](Tratti& tt) { rallentamento(tt, 100, 110, 80, 0, 1, true, true); },
       {{76, 100, 110, true}}},
      {"preavvisi con d_v",
       [](Tratti& tt) { rallentamento(tt, 100, 110, 80, 30, 1, true, true); },
       {{76, 100, 110, true}}},
      {"un preavviso mancante",
       [](Tratti& tt) {
         rallentamento(tt, 100, 110, 80, 0, 1, true, true);
         metti(tt, 73, oggetto::libero);
       },
       {{76, 100, 110, false}}},
      {"la fine più vicina dopo, con gli stessi tre valori",
       [](Tratti& tt) {
         rallentamento(tt, 100, 110, 80, 5, 1, true, false);
         rallentamento(tt, 101, 105, 80, 0, 1, true, false);
       },
       {{76, 100, 110, false}, {77, 101, 105, false}}},
      {"una fine prima dell'inizio",
       [](Tratti& tt) { rallentamento(tt, 120, 115, 60, 0, 0, true, false); },
       {{96, 120, 115, false}}},
      {"lunghezza 0: l'inizio senza fine",
       [](Tratti& tt) { rallentamento(tt, 130, std::nullopt, 60, 0, 0, true, false); },
       {{106, 130, no, false}}},
      {"una fine senza inizio",
       [](Tratti& tt) { metti(tt, 140, oggetto::fine_rallentamento, 60); },
       {{no, no, 140, false}}},
      {"sul tratto 31 l'avviso c'è o no",
       [](Tratti& tt) {
         rallentamento(tt, 31, 40, 50, 0, 0, true, false);
         rallentamento(tt, 60, 70, 50, 0, 0, false, false);
       },
       {{7, 31, 40, false}, {no, 60, 70, false}}},
      {"prima del tratto 31 un avviso resta solo",
       [](Tratti& tt) {
         rallentamento(tt, 30, 40, 50, 0, 0, false, false);
         metti(tt, 6, oggetto::avviso_rallentamento, 50);
       },
       {{no, 30, 40, false}, {6, no, no, false}}},
      {"un avviso di un'altra velocità resta solo",
       [](Tratti& tt) {
         rallentamento(tt, 100, 110, 80, 0, 1, false, false);
         metti(tt, 76, oggetto::avviso_rallentamento, 70);
       },
       {{no, 100, 110, false}, {76, no, no, false}}},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.caso);
    Tratti tt(200);
    c.scrivi(tt);
    std::vector<Letto> letti;
    for (const RallentamentoLetto& ra : descrivi(tt, nullptr).rallentamenti) {
      letti.push_back({ra.avviso, ra.inizio, ra.fine, ra.segnalato});
    }
    EXPECT_EQ(letti, c.attesi);
  }

  // The marks of a marked slowdown are its own; a mark before no marked slowdown stands apart.
  Tratti tt(200);
  rallentamento(tt, 100, 110, 80, 0, 1, true, true);
  rallentamento(tt, 150, 160, 80, 0, 1, true, true);
  metti(tt, 125, oggetto::libero);  // the second one's mark 1: it is marked no more
  metti(tt, 40, oggetto::preavviso_rallentamento, 1);
  EXPECT_EQ(descrivi(tt, nullptr).preavvisi_rallentamento_sparsi,
            (std::vector<int32_t>{40, 122, 123, 124}));
}

TEST(Descrizione, MontagneEProfiliNelleUnitaDellAutore) {
  Tratti tt(30);
  for (size_t s = 0; s < tt.size(); ++s) {
    tt[s].pendenza = s < 10 ? 100 : 65;  // level, then 35 per mille down
    tt[s].velocita = s < 20 ? 19 : 0;    // 95 km/h
  }
  for (int32_t s = 4; s <= 11; ++s) tt[static_cast<size_t>(s)].montagna = 2;
  metti(tt, 7, oggetto::segno_montagna);
  metti(tt, 11, oggetto::segno_montagna);
  metti(tt, 20, oggetto::segno_montagna);
  const Descrizione r = descrivi(tt, nullptr);
  ASSERT_EQ(r.montagne.size(), 1u);
  EXPECT_EQ(r.montagne[0].primo, 4);
  EXPECT_EQ(r.montagne[0].ultimo, 11);
  EXPECT_EQ(r.montagne[0].tipo, 2);
  EXPECT_EQ(r.montagne[0].segni, (std::vector<int32_t>{7, 11}));
  EXPECT_EQ(r.segni_sparsi, (std::vector<int32_t>{20}));
  ASSERT_EQ(r.pendenze.size(), 2u);
  EXPECT_EQ(r.pendenze[0].valore, 0);
  EXPECT_EQ(r.pendenze[1].valore, -35);
  EXPECT_EQ(r.pendenze[1].primo, 10);
  ASSERT_EQ(r.velocita.size(), 2u);
  EXPECT_EQ(r.velocita[0].valore, 95);
  EXPECT_EQ(r.velocita[0].ultimo, 19);
}

TEST(Descrizione, VociDiIntestazioneEStazioni) {
  Elenco e{};
  e[84].campo_1 = 120;  // braked mass, route length, cars
  e[84].campo_2 = 5000;
  e[84].campo_3 = 6;
  e[85].campo_1 = 1;  // "sfondo uno", then "tre" and "due" crossed
  e[85].campo_2 = 3;
  e[85].campo_3 = 2;
  e[86].intero_1 = 100;  // sand, then the clock in intero_3 to intero_5
  e[86].intero_3 = 6;
  e[86].intero_4 = 13;
  e[86].intero_5 = 40;
  e[83].campo_1 = 0;
  e[83].campo_2 = 39150;
  e[83].campo_3 = 1;
  e[1].testo = "VITERBO";
  e[1].tipo_voce = 8;
  e[1].campo_1 = -400;
  e[1].campo_2 = 400;
  e[1].campo_3 = 0;
  e[1].orario = 22440;
  e[1].flag_2 = 30;
  e[80].testo = "Ponte";
  Tratti tt(250);
  metti(tt, 7, oggetto::fermata, 1);
  metti(tt, 30, oggetto::cartello, 80);
  const Descrizione r = descrivi(tt, &e);
  EXPECT_EQ(r.lunghezza, 5000);
  EXPECT_EQ(r.massa_frenata, 120);
  EXPECT_EQ(r.vetture, 6);
  EXPECT_EQ(r.sfondi[0], 1);
  EXPECT_EQ(r.sfondi[1], 2);
  EXPECT_EQ(r.sfondi[2], 3);
  EXPECT_EQ(r.sabbia, 100);
  EXPECT_EQ(r.orologio[1], 13);
  ASSERT_EQ(r.sezioni.size(), 1u);
  EXPECT_EQ(progressiva(r, 1000), 39150 - 100 - 1000);
  ASSERT_EQ(r.stazioni.size(), 1u);  // entry 80 is a board's text
  const Stazione& st = r.stazioni[0];
  EXPECT_EQ(st.nome, "VITERBO");
  EXPECT_EQ(st.tipo, 8);
  EXPECT_EQ(st.inizio_zona, -400);
  EXPECT_EQ(st.fine_zona, 400);
  EXPECT_EQ(st.orario, 22440);
  EXPECT_EQ(st.sosta, 30);
  EXPECT_EQ(st.tratto_fermata, 7);
  ASSERT_EQ(r.cartelli.size(), 1u);
  EXPECT_EQ(r.cartelli[0].testo, "Ponte");
  EXPECT_TRUE(r.avvisi.empty());
}

TEST(Descrizione, RilieviInOrdineDiTratto) {
  Elenco e{};
  e[1].testo = "A";
  Tratti tt(50);
  metti(tt, 12, oggetto::fermata, 5);    // entry 5 is no station
  metti(tt, 10, 7);                      // no such kind
  metti(tt, 11, oggetto::cartello, 90);  // outside entries 1 to 80
  metti(tt, 14, oggetto::fermata, 1);
  const Descrizione r = descrivi(tt, &e);
  // Every stopping point is listed, the one of an entry that is no station too.
  ASSERT_EQ(r.fermate.size(), 2u);
  EXPECT_EQ(r.fermate[0].tratto, 12);
  EXPECT_EQ(r.fermate[0].voce, 5);
  EXPECT_EQ(r.fermate[1].tratto, 14);
  ASSERT_EQ(r.stazioni.size(), 1u);
  EXPECT_EQ(r.stazioni[0].tratto_fermata, 14);
  ASSERT_EQ(r.avvisi.size(), 3u);
  EXPECT_EQ(r.avvisi[0], (Rilievo{Anomalia::oggetto_sconosciuto, 10, {"10", "7"}}));
  EXPECT_EQ(r.avvisi[1], (Rilievo{Anomalia::cartello_fuori_voci, 11, {"11", "90"}}));
  EXPECT_EQ(r.avvisi[2], (Rilievo{Anomalia::fermata_senza_stazione, 12, {"12", "5"}}));
  // The text as `mostra` prints it.
  EXPECT_EQ(r.avvisi[1].testo(),
            "tratto 11: cartello con il testo della voce 90, fuori dalle voci 1-80");
  // Without the table a stopping point names no entry that could be checked.
  EXPECT_EQ(descrivi(tt, nullptr).avvisi.size(), 2u);
}

}  // namespace
}  // namespace compattatore
