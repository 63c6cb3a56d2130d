// The table rules of the three documents. Their bytes are pinned by size and SHA-256 in
// FileScenario.CinqueFileConIByteDiSempre; these tests name the row that breaks a rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sources/scenario.h"
#include "support/supporto.h"

namespace compattatore {
namespace {

using prova::CartellaTemporanea;
namespace fs = std::filesystem;

// The document written by `scrittore`, as lines of Windows-1252 bytes.
std::vector<std::string> documento(void (*scrittore)(const fs::path&, const NomiScenario&),
                                   const std::string& file) {
  CartellaTemporanea dir;
  scrittore(dir.percorso(), NomiScenario::incorporato());
  return prova::righe_crlf(prova::leggi(dir / file));
}

const std::vector<std::string>& scheda() {
  static const auto r = documento(dati_scheda, prova::kFileScheda);
  return r;
}
const std::vector<std::string>& rallentamenti() {
  static const auto r = documento(dati_rallentamenti, prova::kFileRallentamenti);
  return r;
}
const std::vector<std::string>& note() {
  static const auto r = documento(dati_note, prova::kFileNote);
  return r;
}

// Positions (from 1) of the "|" characters of a line.
std::vector<size_t> sbarre(const std::string& riga) {
  std::vector<size_t> out;
  for (size_t i = 0; i < riga.size(); ++i) {
    if (riga[i] == '|') out.push_back(i + 1);
  }
  return out;
}

size_t blanchi_in_coda(const std::string& riga) {
  const size_t ultimo = riga.find_last_not_of(' ');
  return ultimo == std::string::npos ? riga.size() : riga.size() - ultimo - 1;
}

// --- Train sheet -------------------------------------------------------------------------------

TEST(SchedaTreno, GeometriaDelleRigheDellaTabella) {
  ASSERT_GE(scheda().size(), 51u);
  const std::vector<size_t> attese = {2, 8, 14, 25, 50, 67, 77, 89};
  for (size_t n = 17; n <= 50; ++n) {
    const std::string& r = scheda()[n - 1];
    const std::string senza_coda = r.substr(0, r.size() - blanchi_in_coda(r));
    EXPECT_EQ(senza_coda.size(), 89u) << "riga " << n << ": " << r;
    EXPECT_EQ(sbarre(r), attese) << "riga " << n << ": " << r;
  }
  for (size_t n : {13u, 14u, 15u, 16u, 51u}) {
    const std::string& r = scheda()[n - 1];
    EXPECT_EQ(r.substr(0, r.size() - blanchi_in_coda(r)).size(), 89u) << "riga " << n;
  }
}

// --- Slowdown order ----------------------------------------------------------------------------

TEST(OrdineRallentamento, GeometriaDelleRigheDellaTabella) {
  ASSERT_GE(rallentamenti().size(), 37u);
  const std::vector<size_t> attese = {2, 6, 35, 48, 59, 69, 82};
  for (size_t n = 9; n <= 37; ++n) {
    if (n >= 20 && n <= 22) continue;  // the asterisk lines
    const std::string& r = rallentamenti()[n - 1];
    EXPECT_EQ(r.size(), 82u) << "riga " << n << ": " << r;
    EXPECT_EQ(sbarre(r), attese) << "riga " << n << ": " << r;
  }
}

// --- Notes -------------------------------------------------------------------------------------

TEST(Note, ElencoDelleModifiche) {
  // From line 50 to the end, each line opens an entry with "- " or goes on with the one above,
  // indented by exactly two blanks.
  ASSERT_GE(note().size(), 50u);
  EXPECT_EQ(note()[50 - 1].substr(0, 2), "- ");
  for (size_t n = 50; n <= note().size(); ++n) {
    const std::string& r = note()[n - 1];
    if (r.rfind("- ", 0) != 0) {
      EXPECT_EQ(r.substr(0, 2), "  ") << "riga " << n;
      EXPECT_NE(r[2], ' ') << "riga " << n;
    }
  }
}

}  // namespace
}  // namespace compattatore
