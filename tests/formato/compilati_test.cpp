#include "formato/compilati.h"

#include <gtest/gtest.h>

#include "support/supporto.h"

namespace compattatore {
namespace {

using prova::Attesi;

TEST(FileElenco, VoceConTestoEStrutturaImpaccata) {
  Elenco e{};
  Voce& v = e[1];
  v.tipo_voce = 8;
  v.campo_1 = -400;
  v.campo_2 = 400;
  v.campo_3 = 0;
  v.opzione = 3;
  v.testo = "VITERBO P.F.";
  v.intero_1 = 1;
  v.intero_2 = -2;
  v.intero_3 = 4;
  v.intero_4 = 32767;
  v.intero_5 = -32768;
  v.flag_1 = 255;
  v.flag_2 = 1;
  v.flag_3 = 0;
  v.flag_4 = 7;
  v.orario = 22440;
  const std::string byte = byte_elenco(e);

  const std::string vuota = Attesi().zeri(14).i16(0).zeri(18).byte();  // 34 bytes, text length 0
  const std::string voce_1 = Attesi()
                                 .u8(8)
                                 .i32(-400)
                                 .i32(400)
                                 .i32(0)
                                 .u8(3)
                                 .i16(12)
                                 .testo_puro("VITERBO P.F.")
                                 .i16(1)
                                 .i16(-2)
                                 .i16(4)
                                 .i16(32767)
                                 .i16(-32768)
                                 .u8(255)
                                 .u8(1)
                                 .u8(0)
                                 .u8(7)
                                 .i32(22440)
                                 .byte();
  ASSERT_EQ(voce_1.size(), 46u);
  ASSERT_EQ(byte.size(), 87u * 34u + 12u);
  EXPECT_EQ(byte.substr(0, 34), vuota);
  EXPECT_EQ(byte.substr(34, 46), voce_1);
  // -400 in two's complement, little-endian, right after tipo_voce.
  EXPECT_EQ(byte.substr(35, 4), std::string("\x70\xFE\xFF\xFF", 4));
  for (size_t i = 2; i < 87; ++i) EXPECT_EQ(byte.substr(46 + 34 * (i - 1), 34), vuota) << i;
}

TEST(FileTratti, QuindiciByteATratto) {
  std::vector<Tratto> tratti(2621);
  Tratto& t = tratti[929];
  t.oggetto = 1;
  t.valore_1 = 42;
  t.valore_2 = -1;
  t.valore_3 = 11;
  t.valore_4 = -32768;
  t.tempo_segnale = 110;
  t.preavviso = 81;
  t.montagna = 2;
  t.velocita = 19;
  t.pendenza = 95;
  t.aderenza = 200;
  tratti[2620].oggetto = 13;
  const std::string byte = byte_tratti(tratti);
  ASSERT_EQ(byte.size(), 15u * 2620u + 15u);
  EXPECT_EQ(byte.substr(15 * 929, 15),
            std::string("\x01\x2A\x00\xFF\xFF\x0B\x00\x00\x80\x6E\x51\x02\x13\x5F\xC8", 15));
  EXPECT_EQ(static_cast<unsigned char>(byte[15 * 2620]), 13);
  EXPECT_EQ(byte.substr(15 * 928, 15), std::string(15, '\0'));
}

TEST(FileTracciato, EtichetteEDimensione) {
  // A plan of metri_totali = 6 as the line parser leaves it: points 0 and 1 as 16-bit integers,
  // 2 to 4 as doubles, 5 and 6 empty.
  Tracciato t;
  t.crea(6);
  t.imposta_intero(0, Asse::x, 0);
  t.imposta_intero(0, Asse::y, 0);
  t.imposta_intero(1, Asse::x, 0);
  t.imposta_intero(1, Asse::y, 1);
  for (size_t i = 2; i <= 4; ++i) {
    t.imposta_reale(i, Asse::x, 0.5 * static_cast<double>(i));
    t.imposta_reale(i, Asse::y, -1.25 * static_cast<double>(i));
  }
  const std::string byte = byte_tracciato(t);
  ASSERT_EQ(byte.size(), 20u * 6u - 36u);
  Attesi a;
  a.i16(2).i16(0).i16(2).i16(0).i16(5).f64(1.0).i16(5).f64(1.5).i16(5).f64(2.0).i16(0).i16(0);
  a.i16(2).i16(0).i16(2).i16(1).i16(5).f64(-2.5).i16(5).f64(-3.75).i16(5).f64(-5.0).i16(0).i16(0);
  EXPECT_EQ(byte, a.byte());
  // Coordinate 1 of point 0 begins at byte 10 * metri_totali - 18.
  EXPECT_EQ(byte.substr(10 * 6 - 18, 4), std::string("\x02\x00\x00\x00", 4));
}

TEST(FileTracciato, PiuPezziConSerieMiste) {
  // 60001 points: each coordinate file half spans more than two pieces. The kinds change in
  // short and long runs, differently on the two axes.
  const auto tipo = [](size_t i, Asse a) {
    if (a == Asse::x ? i % 7 == 3 : i % 5 == 1) return TipoCoordinata::intera;
    if (a == Asse::x ? i % 11 == 5 : (i > 30000 && i < 30100)) return TipoCoordinata::vuota;
    return TipoCoordinata::reale;
  };
  const auto intero = [](size_t i) { return static_cast<int16_t>(static_cast<int>(i % 100) - 50); };
  const auto reale = [](size_t i, Asse a) {
    return a == Asse::x ? 0.25 * static_cast<double>(i) + 0.125 : -static_cast<double>(i);
  };
  Tracciato t;
  t.crea(60000);
  Attesi a;
  for (const Asse asse : {Asse::x, Asse::y}) {
    for (size_t i = 0; i < t.punti(); ++i) {
      switch (tipo(i, asse)) {
        case TipoCoordinata::intera:
          t.imposta_intero(i, asse, intero(i));
          a.i16(2).i16(intero(i));
          break;
        case TipoCoordinata::reale:
          t.imposta_reale(i, asse, reale(i, asse));
          a.i16(5).f64(reale(i, asse));
          break;
        case TipoCoordinata::vuota:
          a.i16(0);
          break;
      }
    }
  }
  std::string byte;
  size_t pezzi = 0;
  scrivi_tracciato(t, [&](std::string_view pezzo) {
    EXPECT_GT(pezzo.size(), 0u);
    EXPECT_LE(pezzo.size(), kPezzo);
    byte += pezzo;
    ++pezzi;
  });
  EXPECT_GE(pezzi, 4u);
  EXPECT_EQ(byte.size(), a.byte().size());
  EXPECT_TRUE(byte == a.byte());
}

}  // namespace
}  // namespace compattatore
