#include "model/cp1252.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace compattatore::cp1252 {
namespace {

TEST(Cp1252, ConverteICaratteriDeiDocumenti) {
  EXPECT_EQ(da_utf8("2° Bivio"), "2\xB0 Bivio");
  EXPECT_EQ(da_utf8("àèòù"), "\xE0\xE8\xF2\xF9");
  EXPECT_EQ(da_utf8("€ Œ"), "\x80 \x8C");
  EXPECT_EQ(a_utf8("Localit\xE0 \x80"), "Località €");
}

TEST(Cp1252, UnCarattereSenzaByteEUnErrore) {
  EXPECT_THROW(da_utf8("Ω"), NonRappresentabile);
  EXPECT_THROW(da_utf8("→"), NonRappresentabile);
  EXPECT_THROW(da_utf8("\xB0"), NonRappresentabile);  // not UTF-8
  try {
    da_utf8("a→b");
    FAIL();
  } catch (const NonRappresentabile& e) {
    EXPECT_NE(std::string(e.what()).find("U+2192"), std::string::npos) << e.what();
  }
}

TEST(Cp1252, PrimoInciampoDiUnTestoUtf8) {
  const struct {
    const char* caso;
    std::string testo;
    std::optional<size_t> byte;  // where it stumbles
    bool utf8_valido;
  } casi[] = {
      {"convertibile", "Citt\xC3\xA0 \xE2\x82\xAC", std::nullopt, false},
      {"Omega", "ab\xCE\xA9", 2, true},
      {"emoji", "x\xF0\x9F\x9A\x82", 1, true},
      {"byte di continuazione", "ab\xA0", 2, false},
      {"troncato", "ab\xC3", 2, false},
      {"forma lunga", "a\xC0\xAF", 1, false},
      {"forma lunga a tre byte", "a\xE0\x80\xAF", 1, false},
      {"surrogato", "a\xED\xA0\x80", 1, false},
      {"oltre U+10FFFF", "a\xF4\x90\x80\x80", 1, false},
  };
  for (const auto& c : casi) {
    const auto i = primo_inciampo(c.testo);
    ASSERT_EQ(i.has_value(), c.byte.has_value()) << c.caso;
    if (!i) continue;
    EXPECT_EQ(i->byte, *c.byte) << c.caso;
    EXPECT_EQ(i->utf8_valido, c.utf8_valido) << c.caso;
  }
  EXPECT_EQ(primo_inciampo("ab\xCE\xA9")->carattere, U'\u03A9');
}

TEST(Cp1252, SembraUtf8SoloConUnaSequenzaLunga) {
  EXPECT_TRUE(sembra_utf8("Citt\xC3\xA0"));
  EXPECT_FALSE(sembra_utf8("Citta"));         // plain ASCII: the same in both
  EXPECT_FALSE(sembra_utf8("Citt\xE0"));      // Windows-1252
  EXPECT_FALSE(sembra_utf8("1\xB0 BIVIO"));   // the embedded sources' degree sign
  EXPECT_FALSE(sembra_utf8("\xC3\xA0\xE0"));  // UTF-8 then a stray byte
}

TEST(Cp1252, SoloUtf8Rigoroso) {
  // Overlong forms (of "/", NUL, "." and "à"), surrogate halves, code points past U+10FFFF, and
  // lead bytes that begin no sequence.
  const struct {
    std::string testo;
    const char* perche;
  } rifiutati[] = {
      {"\xC0\xAF", "forma troppo lunga"},
      {std::string("\xC0\x80x", 3), "forma troppo lunga"},
      {"\xE0\x80\xAE", "forma troppo lunga"},
      {"\xF0\x80\x83\xA0", "forma troppo lunga"},
      {"\xC1\xBF", "forma troppo lunga"},
      {"\xED\xA0\x80", "surrogato"},
      {"\xED\xBF\xBF", "surrogato"},
      {"\xF4\x90\x80\x80", "oltre U+10FFFF"},
      {"\xF7\xBF\xBF\xBF", "oltre U+10FFFF"},
      {"\xF8\x88\x80\x80\x80", "non UTF-8"},
      {"\x80", "non UTF-8"},
      {"\xE0\xA0", "troncato"},
  };
  for (const auto& r : rifiutati) {
    try {
      da_utf8(r.testo);
      ADD_FAILURE() << "accettato: " << ::testing::PrintToString(r.testo);
    } catch (const NonRappresentabile& e) {
      EXPECT_NE(std::string(e.what()).find(r.perche), std::string::npos) << e.what();
    }
  }
  // The shortest forms at each boundary still pass where the code page has the character.
  EXPECT_EQ(da_utf8("\x7F"), "\x7F");
  EXPECT_EQ(da_utf8("\xC2\xA0"), "\xA0");
  EXPECT_EQ(da_utf8("\xE2\x82\xAC"), "\x80");                     // €
  EXPECT_THROW(da_utf8("\xF0\x90\x80\x80"), NonRappresentabile);  // U+10000: valid, no byte
}

TEST(Cp1252, MinuscoleDellaCodePage) {
  EXPECT_EQ(minuscola('A'), 'a');
  EXPECT_EQ(minuscola('Z'), 'z');
  EXPECT_EQ(minuscola('_'), '_');
  EXPECT_EQ(minuscola(0xC0), 0xE0);  // À
  EXPECT_EQ(minuscola(0xD7), 0xD7);  // × has no lower case
  EXPECT_EQ(minuscola(0xDE), 0xFE);  // Þ
  EXPECT_EQ(minuscola(0x8A), 0x9A);  // Š
  EXPECT_EQ(minuscola(0x9F), 0xFF);  // Ÿ
  EXPECT_EQ(minuscola(0xDF), 0xDF);  // ß stays
}

}  // namespace
}  // namespace compattatore::cp1252
