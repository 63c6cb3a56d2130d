#include "viste/disegno.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/cp1252.h"
#include "run/esecuzione.h"
#include "sources/scenario.h"
#include "support/supporto.h"

namespace compattatore {
namespace {

// The distance from `p` to the segment a-b.
double distanza(PuntoPagina p, PuntoPagina a, PuntoPagina b) {
  const double lx = b.x - a.x, ly = b.y - a.y;
  const double l2 = lx * lx + ly * ly;
  const double t = l2 == 0 ? 0 : std::clamp(((p.x - a.x) * lx + (p.y - a.y) * ly) / l2, 0.0, 1.0);
  return std::hypot(p.x - a.x - t * lx, p.y - a.y - t * ly);
}

TEST(Sfoltisci, UnPuntoPerPixelESenzaScostarsi) {
  // A spiral drawn 100 times per pixel of its length.
  std::vector<PuntoPagina> spirale;
  for (int i = 0; i < 200000; ++i) {
    const double t = i * 1e-4;
    spirale.push_back({400 + 20 * t * std::cos(t), 300 + 20 * t * std::sin(t)});
  }
  const std::vector<PuntoPagina> linea = sfoltisci(spirale, 1.0);
  ASSERT_GE(linea.size(), 2u);
  EXPECT_EQ(linea.front().x, spirale.front().x);
  EXPECT_EQ(linea.back().y, spirale.back().y);
  double lunghezza = 0;
  for (size_t i = 1; i < spirale.size(); ++i) {
    lunghezza += std::hypot(spirale[i].x - spirale[i - 1].x, spirale[i].y - spirale[i - 1].y);
  }
  EXPECT_LE(static_cast<double>(linea.size()), lunghezza + 2);
  for (size_t i = 1; i + 1 < linea.size(); ++i) {
    ASSERT_GE(std::hypot(linea[i].x - linea[i - 1].x, linea[i].y - linea[i - 1].y), 1.0) << i;
  }
  // Every point drawn lies within a pixel of the thinned line.
  size_t k = 0;
  for (size_t i = 0; i < spirale.size(); i += 97) {
    while (k + 2 < linea.size() && distanza(spirale[i], linea[k + 1], linea[k + 2]) <
                                       distanza(spirale[i], linea[k], linea[k + 1])) {
      ++k;
    }
    double d = distanza(spirale[i], linea[k], linea[std::min(k + 1, linea.size() - 1)]);
    if (k > 0) d = std::min(d, distanza(spirale[i], linea[k - 1], linea[k]));
    ASSERT_LE(d, 1.0) << i;
  }
  EXPECT_EQ(sfoltisci({{0, 0}, {0, 0.1}}, 1.0).size(), 2u);
}

class PaginaIncorporata : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    cartella_ = new prova::CartellaTemporanea();
    run_ = new Esecuzione(
        Esecuzione::nella_cartella(NomiScenario::incorporato(), cartella_->percorso()));
    dati_linea(cartella_->percorso(), NomiScenario::incorporato());
    dati_treno(cartella_->percorso(), NomiScenario::incorporato());
    run_->memorizza_percorso(1);
  }
  static void TearDownTestSuite() {
    delete run_;
    delete cartella_;
  }
  static inline prova::CartellaTemporanea* cartella_ = nullptr;
  static inline Esecuzione* run_ = nullptr;
};

TEST_F(PaginaIncorporata, OrarioConOgniStazione) {
  const std::string pagina = pagina_percorso(run_->modello());
  const size_t tabella = pagina.find("<section id=\"orario\">");
  ASSERT_NE(tabella, std::string::npos);
  // The embedded timetable: 18 stations in entries 1 to 18, every one a row of the table.
  for (size_t i = 1; i <= 18; ++i) {
    const std::string nome = cp1252::a_utf8(run_->modello().elenco[i].testo);
    EXPECT_NE(pagina.find("<td class=\"nome\">" + nome + "</td>", tabella), std::string::npos)
        << nome;
  }
  size_t righe = 0;
  for (size_t i = pagina.find("<tbody>", tabella);
       (i = pagina.find("<tr>", i + 1)) != std::string::npos;) {
    ++righe;
  }
  EXPECT_EQ(righe, 18u);
  EXPECT_NE(pagina.find("<td class=\"nome\">2° Bivio Orte Nord</td>"), std::string::npos);
  // Map and profile, each an SVG; the map's line has fewer points than the map is wide.
  EXPECT_NE(pagina.find("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1600 "),
            std::string::npos);
  const size_t punti = pagina.find("data-punti=\"");
  ASSERT_NE(punti, std::string::npos);
  EXPECT_LE(std::stoi(pagina.substr(punti + 12)), 1600);
  EXPECT_NE(pagina.find("class=\"profilo\""), std::string::npos);
  // Nothing from the network, no script.
  EXPECT_EQ(pagina.find("<script"), std::string::npos);
  EXPECT_EQ(pagina.find("href="), std::string::npos);
  EXPECT_EQ(pagina.find("src="), std::string::npos);
  EXPECT_EQ(pagina.find("url("), std::string::npos);
}

TEST_F(PaginaIncorporata, CaratteriDiControlloDiUnFileGuasto) {
  // XML 1.0 holds no control character, and a terminal should not receive one: a damaged
  // name shows U+FFFD instead.
  Modello m = run_->modello();
  m.elenco[1].testo = "VITERBO\x1B[2J\x01";
  const std::string pagina = pagina_percorso(m);
  EXPECT_EQ(pagina.find_first_of(std::string("\x1B\x01", 2)), std::string::npos);
  EXPECT_NE(pagina.find("VITERBO\xEF\xBF\xBD[2J\xEF\xBF\xBD"), std::string::npos);
}

TEST_F(PaginaIncorporata, SenzaTracciatoNienteMappa) {
  Modello m = run_->modello();
  m.tracciato = Tracciato{};
  const std::string pagina = pagina_percorso(m);
  EXPECT_EQ(pagina.find("Mappa del tracciato"), std::string::npos);
  EXPECT_NE(pagina.find("Profilo lungo il percorso"), std::string::npos);
}

}  // namespace
}  // namespace compattatore
