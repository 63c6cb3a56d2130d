#include "sources/testo.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "model/cp1252.h"
#include "support/supporto.h"

namespace compattatore {
namespace {

using prova::CartellaTemporanea;
using prova::leggi;
using V = std::vector<std::string_view>;

TEST(TestoCp1252, OgniRigaComeTenutaSeguitaDaCrLf) {
  const V righe = {"[generale]",      "",    "  due blanchi prima e uno dopo ",
                   "2° Bivio, città", "   ", kFineTabella};
  EXPECT_EQ(testo_cp1252(righe),
            "[generale]\r\n"
            "\r\n"
            "  due blanchi prima e uno dopo \r\n"
            "2\xB0 Bivio, citt\xE0\r\n"
            "   \r\n");
}

TEST(TestoCp1252, IlSegnoDiFineChiudeIlFileAncheConElementiDopo) {
  EXPECT_EQ(testo_cp1252(V{"a", kFineTabella, "b", "", kFineTabella}), "a\r\n");
  EXPECT_EQ(testo_cp1252(V{kFineTabella, "a"}), "");
  // Only the exact text ends the table: case and blanks count.
  EXPECT_EQ(
      testo_cp1252(V{"Riferimento fine del file", " riferimento fine del file",
                     "riferimento fine del file ", kFineTabella}),
      "Riferimento fine del file\r\n riferimento fine del file\r\nriferimento fine del file \r\n");
}

TEST(TestoCp1252, UnaTabellaSenzaSegnoDiFineEUnErroreDiProgramma) {
  EXPECT_THROW(testo_cp1252(V{"a", "b"}), std::logic_error);
  EXPECT_THROW(testo_cp1252(V{}), std::logic_error);
}

TEST(TestoCp1252, UnCarattereFuoriDallaCodePageNonDiventaUnPuntoInterrogativo) {
  EXPECT_THROW(testo_cp1252(V{"ok", "freccia →", kFineTabella}), cp1252::NonRappresentabile);
}

TEST(ScriviTesto, SostituisceInteroUnFilePiuLungo) {
  CartellaTemporanea dir;
  const auto file = dir / "documento.txt";
  prova::scrivi(file, std::string(5000, 'x') + "\r\nvecchia riga\r\n");
  scrivi_testo(file, V{"nuova", kFineTabella});
  EXPECT_EQ(leggi(file), "nuova\r\n");
  EXPECT_EQ(prova::elenco_file(dir.percorso()), std::vector<std::string>{"documento.txt"});
}

TEST(ScriviTesto, UnaRigaNonConvertibileLasciaIlFileDiPrima) {
  CartellaTemporanea dir;
  const auto file = dir / "documento.txt";
  prova::scrivi(file, "vecchio\r\n");
  EXPECT_THROW(scrivi_testo(file, V{"prima", "Ω", kFineTabella}), cp1252::NonRappresentabile);
  EXPECT_EQ(leggi(file), "vecchio\r\n");
  EXPECT_EQ(prova::elenco_file(dir.percorso()), std::vector<std::string>{"documento.txt"});
}

}  // namespace
}  // namespace compattatore
