#include "model/cp1252.h"

#include <gtest/gtest.h>

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
