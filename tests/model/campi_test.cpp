// The tables of record fields against the layout of the compiled files, written out here from the
// format's own tables: offset, width and signedness of every field, the record sizes, and the
// stored scales.
#include "model/campi.h"

#include <gtest/gtest.h>

#include <string_view>

namespace compattatore {
namespace {

struct Atteso {
  std::string_view nome;
  size_t posizione;
  size_t larghezza;
  bool con_segno;
};

// A stretch: 15 bytes.
constexpr Atteso kTratto[] = {
    {"oggetto", 0, 1, false},    {"valore_1", 1, 2, true},   {"valore_2", 3, 2, true},
    {"valore_3", 5, 2, true},    {"valore_4", 7, 2, true},   {"tempo_segnale", 9, 1, false},
    {"preavviso", 10, 1, false}, {"montagna", 11, 1, false}, {"velocita", 12, 1, false},
    {"pendenza", 13, 1, false},  {"aderenza", 14, 1, false},
};

// An entry with an empty text: 34 bytes; the text's 16-bit length at 14, its bytes after it.
constexpr Atteso kVoce[] = {
    {"tipo_voce", 0, 1, false}, {"campo_1", 1, 4, true},   {"campo_2", 5, 4, true},
    {"campo_3", 9, 4, true},    {"opzione", 13, 1, false}, {"testo", 14, 2, false},
    {"intero_1", 16, 2, true},  {"intero_2", 18, 2, true}, {"intero_3", 20, 2, true},
    {"intero_4", 22, 2, true},  {"intero_5", 24, 2, true}, {"flag_1", 26, 1, false},
    {"flag_2", 27, 1, false},   {"flag_3", 28, 1, false},  {"flag_4", 29, 1, false},
    {"orario", 30, 4, true},
};

template <class R>
void controlla(const RigaCampo<R>& r, const Atteso& a) {
  SCOPED_TRACE(a.nome);
  EXPECT_EQ(r.nome, a.nome);
  EXPECT_EQ(r.posizione, a.posizione);
  EXPECT_EQ(r.larghezza(), a.larghezza);
  EXPECT_EQ(r.con_segno(), a.con_segno);
  // The range of the stored type: two's complement when signed.
  const int64_t bit = 8 * static_cast<int64_t>(a.larghezza);
  EXPECT_EQ(r.massimo(), a.con_segno ? (int64_t{1} << (bit - 1)) - 1 : (int64_t{1} << bit) - 1);
  EXPECT_EQ(r.minimo(), a.con_segno ? -(int64_t{1} << (bit - 1)) : 0);
}

TEST(CampiTratto, PosizioneLarghezzaESegnoComeNelFormato) {
  ASSERT_EQ(std::size(kCampiTratto), std::size(kTratto));
  for (size_t i = 0; i < std::size(kTratto); ++i) {
    controlla(kCampiTratto[i], kTratto[i]);
    EXPECT_EQ(&riga_campo(static_cast<CampoTratto>(i)), &kCampiTratto[i]);
  }
  EXPECT_EQ(kByteTratto, 15u);
}

TEST(CampiVoce, PosizioneLarghezzaESegnoComeNelFormato) {
  for (size_t i = 0; i < std::size(kVoce); ++i)
    controlla(riga_campo(static_cast<CampoVoce>(i)), kVoce[i]);
  // The numeric table is the same rows without the text.
  ASSERT_EQ(std::size(kCampiVoce), std::size(kVoce) - 1);
  size_t j = 0;
  for (const Atteso& a : kVoce) {
    if (a.nome != "testo") controlla(kCampiVoce[j++], a);
  }
  EXPECT_EQ(kTestoVoce.tipo, TipoCampo::testo);
  EXPECT_EQ(kTestoVoce.valore, nullptr);
  EXPECT_EQ(kByteVoce, 34u);
  EXPECT_EQ(kByteVocePrimaDelTesto, 16u);
  EXPECT_EQ(kByteVoceDopoIlTesto, 18u);
}

TEST(CampiTratto, ScaleEUnitaDellAutore) {
  const RigaCampo<Tratto>& pendenza = riga_campo(CampoTratto::pendenza);
  const RigaCampo<Tratto>& velocita = riga_campo(CampoTratto::velocita);
  // 100 is level, 65 is 35 per mille down, 129 is 29 per mille up; 0 reads as -100.
  EXPECT_EQ(pendenza.in_unita(100), 0);
  EXPECT_EQ(pendenza.in_unita(65), -35);
  EXPECT_EQ(pendenza.in_unita(129), 29);
  EXPECT_EQ(pendenza.in_unita(0), -100);
  EXPECT_EQ(pendenza.scala.grezzo(-35), 65);
  EXPECT_EQ(std::string_view(simbolo(pendenza.unita)), "‰");
  // Speed in steps of 5 km/h: a byte holds 0 to 1275 km/h.
  EXPECT_EQ(velocita.in_unita(19), 95);
  EXPECT_EQ(velocita.in_unita(velocita.massimo()), 1275);
  EXPECT_EQ(velocita.scala.grezzo(95), 19);
  EXPECT_EQ(velocita.scala.grezzo(93), std::nullopt);
  EXPECT_EQ(std::string_view(simbolo(velocita.unita)), "km/h");
  EXPECT_EQ(riga_campo(CampoTratto::valore_1).in_unita(-7), -7);
  EXPECT_EQ(riga_campo(CampoVoce::orario).unita, Unita::secondi_del_giorno);
}

TEST(CampiTratto, OgniCampoVisitatoUnaVoltaInOrdine) {
  // The walk the writers and readers use reaches every field, in file order, by reference.
  Tratto t;
  size_t posizione = 0;
  int64_t n = 0;
  per_ogni_campo(t, [&](const RigaCampo<Tratto>& r, auto& campo) {
    EXPECT_EQ(r.posizione, posizione) << r.nome;
    posizione += r.larghezza();
    campo = static_cast<std::decay_t<decltype(campo)>>(++n);
  });
  EXPECT_EQ(posizione, kByteTratto);
  EXPECT_EQ(t.oggetto, 1);
  EXPECT_EQ(t.valore_4, 5);
  EXPECT_EQ(t.aderenza, 11);

  Voce v;
  std::vector<std::string_view> nomi;
  per_ogni_campo(v, [&](const RigaCampo<Voce>& r, auto& campo) {
    nomi.push_back(r.nome);
    if constexpr (std::is_same_v<std::decay_t<decltype(campo)>, std::string>) campo = "X";
  });
  ASSERT_EQ(nomi.size(), std::size(kVoce));
  for (size_t i = 0; i < nomi.size(); ++i) EXPECT_EQ(nomi[i], kVoce[i].nome);
  EXPECT_EQ(v.testo, "X");
}

}  // namespace
}  // namespace compattatore
