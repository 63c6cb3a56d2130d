// `compattatore disegna` and `compila --disegna`, and the page as a real browser shows it: headless
// Chromium takes a picture of the page of the embedded scenario, and the picture is checked.
#include <gtest/gtest.h>
#if !defined(_WIN32)
#include <unistd.h>
#endif

#if COMPATTATORE_BROWSER
#include <png.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>

#include "model/nomi_scenario.h"
#include "sources/scenario.h"
#include "support/supporto.h"

namespace compattatore {
namespace {
namespace fs = std::filesystem;
using prova::esegui_programma;

#if !defined(_WIN32)
using prova::chromium;
using prova::sul_path;
#endif

// A page is well-formed XML (the SVG inside it included). A Windows test has no xmllint to start:
// there scripts/confronta_windows.sh finds the page the same, byte for byte, as the Linux one.
void xml_valido(const fs::path& pagina) {
#if defined(_WIN32)
  (void)pagina;
#else
  const auto xmllint = sul_path("xmllint");
  ASSERT_TRUE(xmllint) << "xmllint non trovato (pacchetto libxml2-utils)";
  const prova::Risultato r =
      esegui_programma({"--noout", pagina.string()}, pagina.parent_path(), false, *xmllint);
  EXPECT_EQ(r.stato, 0) << r.err;
#endif
}

TEST(Disegna, PaginaDaiFileEDaCompila) {
  prova::CartellaTemporanea t;
  const fs::path& d = prova::cartella_incorporata();
  prova::Risultato r = esegui_programma(
      {"disegna", (d / prova::kFileElenco).string(), "-o", (t / "p.html").string()}, t.percorso());
  ASSERT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(r.out, "scritto " + (t / "p.html").string() + "\n");
  const std::string pagina = prova::leggi(t / "p.html");
  EXPECT_NE(pagina.find("Mappa del tracciato"), std::string::npos);
  xml_valido(t / "p.html");

  // compila --disegna writes the same page; with --senza-tracciato, one without the map.
  dati_linea(t.percorso(), NomiScenario::incorporato());
  dati_treno(t.percorso(), NomiScenario::incorporato());
  r = esegui_programma({"compila", prova::kFileLinea, prova::kFileTreno, "--disegna", "q.html"},
                       t.percorso());
  ASSERT_EQ(r.stato, 0) << r.err;
  EXPECT_NE(r.out.find("scritto q.html\n"), std::string::npos);
  EXPECT_EQ(prova::leggi(t / "q.html"), pagina);
  r = esegui_programma({"compila", prova::kFileLinea, prova::kFileTreno, "--senza-tracciato",
                        "--disegna", "senza.html", "--dir", "."},
                       t.percorso());
  ASSERT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(prova::leggi(t / "senza.html").find("Mappa del tracciato"), std::string::npos);

  // The page never replaces a source or a compiled file.
  const std::string sorgente = prova::leggi(t / prova::kFileLinea);
  r = esegui_programma(
      {"compila", prova::kFileLinea, prova::kFileTreno, "--disegna", "./" + prova::kFileLinea},
      t.percorso());
  EXPECT_EQ(r.stato, 1);
  EXPECT_NE(r.err.find("sostituirebbe"), std::string::npos) << r.err;
  EXPECT_EQ(prova::leggi(t / prova::kFileLinea), sorgente);
  const std::string sim = prova::leggi(t / prova::kFileElenco);
  r = esegui_programma({"disegna", prova::kFileElenco, "-o", prova::kFileElenco}, t.percorso());
  EXPECT_EQ(r.stato, 1);
  EXPECT_NE(r.err.find("sostituirebbe il file compilato"), std::string::npos) << r.err;
  EXPECT_EQ(prova::leggi(t / prova::kFileElenco), sim);
}

TEST(Disegna, Rifiuti) {
  prova::CartellaTemporanea t;
  fs::copy_file(prova::cartella_incorporata() / prova::kFileTratti, t / prova::kFileTratti);
  const struct {
    std::vector<std::string> argomenti;
    const char* messaggio;
  } casi[] = {
      {{"disegna", prova::kFileTratti}, "manca la pagina da scrivere: -o PERCORSO.html"},
      {{"disegna", prova::kFileTratti, "-o", "p.html"},
       "per disegnare il percorso servono l'elenco (NOME_TRENO.sim)"},
      {{"disegna", "-o", "p.html"}, "manca il file compilato da disegnare"},
      {{"disegna", prova::kFileTratti, "-o"}, "l'opzione '-o' vuole un valore (PERCORSO.html)"},
  };
  for (const auto& c : casi) {
    const prova::Risultato r = esegui_programma(c.argomenti, t.percorso());
    EXPECT_EQ(r.stato, 1);
    EXPECT_NE(r.err.find(c.messaggio), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(t / "p.html"));
  }
}

#if COMPATTATORE_BROWSER
// An RGB picture decoded with libpng.
struct Immagine {
  uint32_t larghezza = 0;
  uint32_t altezza = 0;
  std::vector<unsigned char> rgb;
  const unsigned char* pixel(uint32_t x, uint32_t y) const {
    return &rgb[(static_cast<size_t>(y) * larghezza + x) * 3];
  }
};

std::optional<Immagine> leggi_png(const fs::path& file) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, file.c_str())) return std::nullopt;
  png.format = PNG_FORMAT_RGB;
  Immagine i;
  i.larghezza = png.width;
  i.altezza = png.height;
  i.rgb.resize(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, i.rgb.data(), 0, nullptr)) return std::nullopt;
  return i;
}

// Where the pixels of one colour are (within a small tolerance for smoothing).
struct Zona {
  size_t pixel = 0;
  uint32_t x0 = UINT32_MAX, y0 = UINT32_MAX, x1 = 0, y1 = 0;
};

// Where the pixels of `colore` are, within the rows `y0` to `y1` (the whole picture by default).
Zona zona(const Immagine& im, unsigned colore, uint32_t y0 = 0, uint32_t y1 = UINT32_MAX) {
  const int r = colore >> 16, g = (colore >> 8) & 0xFF, b = colore & 0xFF;
  Zona z;
  for (uint32_t y = y0; y < im.altezza && y <= y1; ++y) {
    for (uint32_t x = 0; x < im.larghezza; ++x) {
      const unsigned char* p = im.pixel(x, y);
      if (std::abs(p[0] - r) + std::abs(p[1] - g) + std::abs(p[2] - b) > 24) continue;
      ++z.pixel;
      z.x0 = std::min(z.x0, x);
      z.y0 = std::min(z.y0, y);
      z.x1 = std::max(z.x1, x);
      z.y1 = std::max(z.y1, y);
    }
  }
  return z;
}

// The colours the page gives the route line of the map and the gradient of the profile, and
// nothing else.
constexpr unsigned kLinea = 0x0b7a75;
constexpr unsigned kPendenza = 0xc77c3a;
// The route's end, marked on the map and across the profile.
constexpr unsigned kFine = 0xff1744;

class Browser : public ::testing::Test {
 protected:
  // The picture of `pagina` in a window of `larghezza` x `altezza`, or a skip when no browser
  // can start here.
  std::optional<Immagine> fotografa(const fs::path& pagina, int larghezza, int altezza) {
    const auto browser = chromium();
    if (!browser) {
      ADD_FAILURE() << "chromium non trovato: scripts/test.sh lo installa (pacchetto chromium)";
      return std::nullopt;
    }
    const fs::path png = pagina.parent_path() / (pagina.stem().string() + ".png");
    const fs::path profilo = pagina.parent_path() / "profilo-chromium";
    // As root, in a container, with no display: no sandbox, no GPU, no /dev/shm, a profile of
    // its own; timeout ends a browser that hangs.
    const prova::Risultato r = esegui_programma(
        {"-k", "10", "120", browser->string(), "--headless", "--no-sandbox", "--disable-gpu",
         "--disable-dev-shm-usage", "--hide-scrollbars", "--no-first-run",
         "--no-default-browser-check", "--user-data-dir=" + profilo.string(),
         "--force-device-scale-factor=1", "--screenshot=" + png.string(),
         "--window-size=" + std::to_string(larghezza) + "," + std::to_string(altezza),
         "file://" + fs::absolute(pagina).string()},
        pagina.parent_path(), false, sul_path("timeout").value_or("/usr/bin/timeout"));
    if (r.stato != 0 || !fs::exists(png)) {
      std::cerr << "\n*** TEST DEL BROWSER SALTATO: chromium non parte qui (stato " << r.stato
                << ")\n"
                << r.err.substr(0, 2000) << "\n";
      saltato_ = "chromium non parte: " + r.err.substr(0, 300);
      return std::nullopt;
    }
    auto im = leggi_png(png);
    EXPECT_TRUE(im) << "PNG illeggibile: " << png;
    return im;
  }
  std::string saltato_;  // why the browser could not start
};

// Skips the test loudly when the browser could not start, ends it when the picture is missing.
#define FOTOGRAFIA_O_FINE(im)                        \
  if (!(im)) {                                       \
    if (!saltato_.empty()) GTEST_SKIP() << saltato_; \
    return;                                          \
  }

TEST_F(Browser, PaginaIncorporataInChromium) {
  prova::CartellaTemporanea t;
  const fs::path& d = prova::cartella_incorporata();
  ASSERT_EQ(esegui_programma({"disegna", d.string(), "-o", "percorso.html"}, t.percorso()).stato,
            0);
  const auto im = fotografa(t / "percorso.html", 1400, 1800);
  FOTOGRAFIA_O_FINE(im);
  ASSERT_EQ(im->larghezza, 1400u);
  ASSERT_EQ(im->altezza, 1800u);

  // Not blank: a good share of the picture is drawn, in many colours.
  size_t disegnati = 0;
  std::set<unsigned> colori;
  for (uint32_t y = 0; y < im->altezza; y += 2) {
    for (uint32_t x = 0; x < im->larghezza; x += 2) {
      const unsigned char* p = im->pixel(x, y);
      disegnati += p[0] + p[1] + p[2] < 3 * 235;
      colori.insert(unsigned{p[0]} << 16 | unsigned{p[1]} << 8 | p[2]);
    }
  }
  EXPECT_GT(disegnati, im->larghezza * im->altezza / 4 / 20) << "pagina quasi bianca";
  EXPECT_GT(colori.size(), 50u);

  // The map on top, across most of the width; the profile below it, across the width.
  const Zona linea = zona(*im, kLinea);
  const Zona pendenza = zona(*im, kPendenza);
  EXPECT_GT(linea.pixel, 2000u);
  EXPECT_GT(pendenza.pixel, 5000u);
  EXPECT_GT(linea.x1 - linea.x0, im->larghezza / 2) << "la linea della mappa è stretta";
  EXPECT_LT(linea.y0, 250u) << "la mappa non è in cima";
  EXPECT_GT(pendenza.x1 - pendenza.x0, im->larghezza * 3 / 4) << "il profilo è stretto";
  EXPECT_LT(linea.y1, pendenza.y0) << "la mappa non sta sopra il profilo";
  EXPECT_LT(pendenza.y1, im->altezza) << "il profilo esce dalla finestra";

  // The route's end is marked on the map, where the line stops (the tail runs on in another
  // colour), and across the profile, right of the gradient's last author-written run.
  const Zona fine_mappa = zona(*im, kFine, linea.y0, linea.y1);
  ASSERT_GT(fine_mappa.pixel, 20u) << "nessuna fine del percorso sulla mappa";
  EXPECT_LE(linea.x1, fine_mappa.x1 + 4) << "la linea della mappa continua oltre la fine";
  EXPECT_GE(linea.x1 + 12, fine_mappa.x0) << "la linea della mappa si ferma prima della fine";
  const Zona fine_profilo = zona(*im, kFine, pendenza.y0, pendenza.y0 + 60);
  EXPECT_GT(fine_profilo.pixel, 30u) << "nessuna fine del percorso sul profilo";
  // The embedded route ends level, and so does its tail: no gradient is filled beyond the end,
  // and the tail's last stretches, which no line fills, show no drop.
  const Zona pendenza_profilo = zona(*im, kPendenza, pendenza.y0, fine_profilo.y1);
  EXPECT_LT(pendenza_profilo.x1, fine_profilo.x0) << "la pendenza precipita in fondo";
}

TEST_F(Browser, SenzaTracciatoIlProfiloInCima) {
  prova::CartellaTemporanea t;
  const fs::path& d = prova::cartella_incorporata();
  // The plan is found beside the files named: the two others alone, without it.
  fs::copy_file(d / prova::kFileElenco, t / prova::kFileElenco);
  fs::copy_file(d / prova::kFileTratti, t / prova::kFileTratti);
  ASSERT_EQ(
      esegui_programma({"disegna", prova::kFileElenco, "-o", "senza.html"}, t.percorso()).stato, 0);
  const auto im = fotografa(t / "senza.html", 1400, 1000);
  FOTOGRAFIA_O_FINE(im);
  EXPECT_EQ(zona(*im, kLinea).pixel, 0u) << "una mappa senza tracciato";
  const Zona pendenza = zona(*im, kPendenza);
  EXPECT_GT(pendenza.pixel, 5000u);
  EXPECT_LT(pendenza.y0, 500u);
}

#endif  // COMPATTATORE_BROWSER

}  // namespace
}  // namespace compattatore
