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

// clang-format off
TEST(SchedaTreno, Struttura) {
  ASSERT_EQ(scheda().size(), 58u);
  for (size_t n : {1u, 12u, 56u, 57u, 58u}) EXPECT_EQ(scheda()[n - 1], "") << "riga " << n;
  EXPECT_EQ(scheda()[2 - 1], std::string(43, ' ') + "SCHEDA TRENO");
  EXPECT_EQ(scheda()[52 - 1], "   ");
  EXPECT_EQ(scheda()[4 - 1],
            " |  Fascicolo Linee  |     Treno      |    scheda n\xB0 1/1     | Sigla di composizione|");
  EXPECT_EQ(scheda()[8 - 1],
            "  ___________________|__ROMA TERMINI__|                       ______________________");
  EXPECT_EQ(scheda()[14 - 1],
            " |_Binari DX_| Progr Km    Localit\xE0              |     Orario     | Bin. DX | SRS   SRS |");
  EXPECT_EQ(scheda()[17 - 1],
            " |  65 |     |   39.050 |VITERBO P.F.            |           6.12 |    /    |           |");
  EXPECT_EQ(scheda()[32 - 1],
            " |     |     |   88.400 |2\xB0 bivio Orte Nord      |      6.55      |         | COD   COD |");
  EXPECT_EQ(scheda()[50 - 1],
            " |     |     |    0.000 |ROMA TERMINI            |           7.46 |         |           |");
  EXPECT_EQ(scheda()[51 - 1],
            " |_____|_____|__________|________________________|________________|_________|___________| ");
  EXPECT_EQ(scheda()[54 - 1], "  (XXX) Fermata a richiesta (perditempo non compreso in orario 1.5 min.)");
  EXPECT_EQ(scheda()[55 - 1], "  il + nella casella orario indica 1/2 minuto");
}
// clang-format on

TEST(SchedaTreno, BlanchiInCoda) {
  const std::pair<size_t, size_t> casi[] = {{11, 8}, {48, 1}, {49, 2}, {51, 1}, {17, 0}, {50, 0}};
  for (const auto& [n, blanchi] : casi) EXPECT_EQ(blanchi_in_coda(scheda()[n - 1]), blanchi) << n;
}

TEST(SchedaTreno, GeometriaDelleRigheDellaTabella) {
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

// clang-format off
TEST(OrdineRallentamento, Struttura) {
  ASSERT_EQ(rallentamenti().size(), 45u);
  for (size_t n : {1u, 6u, 38u}) EXPECT_EQ(rallentamenti()[n - 1], "") << "riga " << n;
  EXPECT_EQ(rallentamenti()[2 - 1], "                               Modulo M. 3");
  EXPECT_EQ(rallentamenti()[3 - 1], "                           ORDINE DI RALLENTAMENTO");
  EXPECT_EQ(rallentamenti()[4 - 1], " " + std::string(80, '_'));
  EXPECT_EQ(rallentamenti()[7 - 1],
            "  Si ordina al macchinista del treno 3349 di effettuare i seguenti rallentamenti");
  EXPECT_EQ(rallentamenti()[8 - 1], "  " + std::string(79, '_'));
  EXPECT_EQ(rallentamenti()[13 - 1],
            " | 1 |2\xB0 Bivio Orte Nord - Orte   |    89      |    80    |  2000   |   A-B-D    |");
  EXPECT_EQ(rallentamenti()[19 - 1],
            " |   |   (Linea Locale Merci)     |            |          |         |            |");
  for (size_t n = 20; n <= 22; ++n) EXPECT_EQ(rallentamenti()[n - 1], " " + std::string(81, '*'));
  for (size_t n = 23; n <= 36; ++n) {
    EXPECT_EQ(rallentamenti()[n - 1],
              " |   |                            |            |          |         |            |")
        << "riga " << n;
  }
  EXPECT_EQ(rallentamenti()[37 - 1],
            " |___|____________________________|____________|__________|_________|____________|");
  EXPECT_EQ(rallentamenti()[39 - 1], std::string(14, ' ') + "Prescrizioni specifiche");
}
// clang-format on

// clang-format off
TEST(OrdineRallentamento, LegendaConDPrimaDiC) {
  const std::string lettere = "ABDCEH";
  for (size_t k = 0; k < lettere.size(); ++k) {
    EXPECT_EQ(rallentamenti()[40 - 1 + k].substr(0, 5), std::string(" ") + lettere[k] + " - ");
  }
  EXPECT_EQ(rallentamenti()[41 - 1], " B - Interessa anche la stazione di 2\xB0 Bivio Orte Nord");
  EXPECT_EQ(rallentamenti()[45 - 1], " H - Interessa solo la linea locale-merci ");
  for (size_t n = 1; n <= 44; ++n) {
    EXPECT_EQ(blanchi_in_coda(rallentamenti()[n - 1]), 0u) << "riga " << n;
  }
}
// clang-format on

TEST(OrdineRallentamento, GeometriaDelleRigheDellaTabella) {
  const std::vector<size_t> attese = {2, 6, 35, 48, 59, 69, 82};
  for (size_t n = 9; n <= 37; ++n) {
    if (n >= 20 && n <= 22) continue;  // the asterisk lines
    const std::string& r = rallentamenti()[n - 1];
    EXPECT_EQ(r.size(), 82u) << "riga " << n << ": " << r;
    EXPECT_EQ(sbarre(r), attese) << "riga " << n << ": " << r;
  }
}

// --- Notes -------------------------------------------------------------------------------------

// clang-format off
TEST(Note, Struttura) {
  ASSERT_EQ(note().size(), 64u);
  EXPECT_EQ(note()[1 - 1], std::string(110, '*'));
  EXPECT_EQ(note()[2 - 1], "                               |   LINEA VITERBO - ORTE - ROMA   |");
  EXPECT_EQ(note()[3 - 1], "                               |          DIRETTO 3349           |");
  EXPECT_EQ(note()[4 - 1], std::string(110, '*'));
  EXPECT_EQ(note()[48 - 1], "ULTIME MODIFICHE:");
  for (size_t n = 1; n <= 64; ++n) {
    const bool vuota = n == 5 || n == 31 || n == 41 || n == 44 || n == 47 || n == 49;
    EXPECT_EQ(note()[n - 1].empty(), vuota) << "riga " << n;
  }
}
// clang-format on

TEST(Note, ElencoDelleModifiche) {
  int voci = 0;
  for (size_t n = 50; n <= 64; ++n) {
    const std::string& r = note()[n - 1];
    if (r.rfind("- ", 0) == 0) {
      ++voci;
    } else {
      EXPECT_EQ(r.substr(0, 2), "  ") << "riga " << n;
      EXPECT_NE(r[2], ' ') << "riga " << n;
    }
  }
  EXPECT_EQ(voci, 8);
  EXPECT_EQ(note()[50 - 1].substr(0, 2), "- ");
}

TEST(Note, DieciRigheFinisconoConUnBlanco) {
  std::vector<size_t> con_blanco;
  for (size_t n = 1; n <= 64; ++n) {
    const size_t b = blanchi_in_coda(note()[n - 1]);
    if (b > 0) {
      con_blanco.push_back(n);
      EXPECT_EQ(b, 1u) << "riga " << n;
    }
  }
  EXPECT_EQ(con_blanco, (std::vector<size_t>{7, 10, 13, 29, 30, 35, 39, 54, 56, 60}));
}

}  // namespace
}  // namespace compattatore
