#include "model/regole.h"

#include <gtest/gtest.h>

#include "model/modello.h"

namespace compattatore {
namespace {

TEST(Regole, TrattoDiUnaPosizioneArrotondaAlPari) {
  const struct {
    int32_t posizione;
    int32_t tratto;
  } casi[] = {{0, 1}, {25, 2}, {50, 2}, {75, 2}, {100, 3}, {125, 4}, {46400, 929}, {24, 1}};
  for (const auto& c : casi) EXPECT_EQ(tratto_di(c.posizione), c.tratto) << c.posizione;
}

TEST(Regole, ArrotondamentoMetaAlPari) {
  EXPECT_EQ(arrotonda(0.5), 0);
  EXPECT_EQ(arrotonda(1.5), 2);
  EXPECT_EQ(arrotonda(2.5), 2);
  EXPECT_EQ(arrotonda(-2.5), -2);
  EXPECT_EQ(arrotonda(-3.5), -4);
  EXPECT_EQ(arrotonda(2.4999), 2);
  EXPECT_EQ(cinquantesimi(131000), 2620);
  EXPECT_EQ(cinquantesimi(6975), 140);  // 139.5 -> 140
  EXPECT_EQ(cinquantesimi(7025), 140);  // 140.5 -> 140
}

TEST(Regole, RegolaDelCampo) {
  // With 124000 m of route the stretches run 0 to 2620; the largest position is 50 * 2620 - 100.
  EXPECT_TRUE(nel_campo(2620, 50 * 2620 - 100));
  EXPECT_FALSE(nel_campo(2620, 50 * 2620 - 99));
  EXPECT_TRUE(nel_campo(2620, 50 * 2620 - 800, 800));
  EXPECT_FALSE(nel_campo(2620, 50 * 2620 - 799, 800));
  // The parsers also refuse any position before the route start.
  EXPECT_TRUE(nel_percorso(2620, 0));
  EXPECT_FALSE(nel_percorso(2620, -1));
  EXPECT_FALSE(nel_percorso(2620, 50 * 2620 - 99));
}

TEST(Regole, TrattoLibero) {
  Tratto t;
  EXPECT_TRUE(libero(t));
  t.oggetto = oggetto::segno_montagna;
  EXPECT_TRUE(libero(t));
  for (int o : {1, 2, 3, 4, 5, 6, 10, 12, 13, 14}) {
    t.oggetto = static_cast<uint8_t>(o);
    EXPECT_FALSE(libero(t)) << o;
  }
}

TEST(Regole, CampiStrettiControllatiOTroncati) {
  EXPECT_EQ(entro<uint8_t>(255, "x"), 255);
  EXPECT_THROW(entro<uint8_t>(256, "x"), GuastoEsecuzione);
  EXPECT_THROW(entro<uint8_t>(-1, "x"), GuastoEsecuzione);
  EXPECT_EQ(entro<int16_t>(-32768, "x"), -32768);
  EXPECT_THROW(entro<int16_t>(32768, "x"), GuastoEsecuzione);
  EXPECT_EQ(bassi<uint8_t>(300), 44);
  EXPECT_EQ(bassi<uint8_t>(-1), 255);
  EXPECT_EQ(bassi<int16_t>(70000), 4464);
  EXPECT_EQ(bassi<int16_t>(40000), -25536);
}

TEST(Modello, TrattiDallaLunghezza) {
  Modello m;
  m.crea_tratti(124000, true);
  EXPECT_EQ(m.metri_totali, 131000);
  EXPECT_EQ(m.ultimo_tratto(), 2620);
  EXPECT_EQ(m.tratti.size(), 2621u);
  EXPECT_EQ(m.tracciato.punti(), 131001u);
  EXPECT_EQ(m.tratti[2620], Tratto{});
  EXPECT_THROW(m.tratto(2621), GuastoEsecuzione);
  EXPECT_THROW(m.tratto(-1), GuastoEsecuzione);
  m.crea_tratti(124000, false);
  EXPECT_TRUE(m.tracciato.vuoto());
}

TEST(Tracciato, TipiPerAsseEUguaglianza) {
  Tracciato t;
  t.crea(10);
  EXPECT_EQ(t.punti(), 11u);
  for (size_t i = 0; i < t.punti(); ++i) EXPECT_EQ(t.tipo(i, Asse::y), TipoCoordinata::vuota);
  t.imposta_intero(3, Asse::x, -7);
  t.imposta_reale(3, Asse::y, 2.5);
  EXPECT_EQ(t.tipo(3, Asse::x), TipoCoordinata::intera);
  EXPECT_EQ(t.intero(3, Asse::x), -7);
  EXPECT_EQ(t.valore(3, Asse::x), -7.0);
  EXPECT_EQ(t.tipo(3, Asse::y), TipoCoordinata::reale);
  EXPECT_EQ(t.valore(3, Asse::y), 2.5);
  EXPECT_EQ(t.fine_serie(0, Asse::x), 3u);
  EXPECT_EQ(t.fine_serie(3, Asse::x), 4u);
  EXPECT_EQ(t.fine_serie(4, Asse::x), 11u);

  Tracciato copia = t;
  EXPECT_TRUE(copia == t);
  // An emptied coordinate reads 0 and equals one never set, whatever it held.
  copia.imposta_reale(5, Asse::x, 9.0);
  copia.svuota(5, Asse::x);
  EXPECT_EQ(copia.valore(5, Asse::x), 0.0);
  EXPECT_TRUE(copia == t);
  copia.imposta_reale(3, Asse::x, -7.0);  // the same number, another kind
  EXPECT_FALSE(copia == t);
  Tracciato spostato = std::move(copia);
  EXPECT_TRUE(copia.vuoto());
  EXPECT_EQ(spostato.punti(), 11u);
}

}  // namespace
}  // namespace compattatore
