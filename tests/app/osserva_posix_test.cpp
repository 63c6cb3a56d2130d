// `compila --osserva` and `disegna --osserva`: the watch runs as a process on a folder of its own,
// its files are changed under it as an editor changes them, and its lines are read as they come.
// Ctrl+C is SIGINT here: POSIX systems only (Windows has no signals to send).
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <thread>

#include "support/supporto.h"

namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;
using prova::CartellaTemporanea;

const std::string kLinea = prova::sorgente_linea({}, 10000);
std::string stazione(int metri, const std::string& nome, int terzo = 300) {
  return "stazione, " + std::to_string(metri) + ", 24, " + std::to_string(terzo) +
         ", 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, " + nome;
}
// A train source with one station at each of `metri`.
std::string treno(const std::vector<int>& metri) {
  std::vector<std::string> righe;
  for (const int m : metri) righe.push_back(stazione(m, "S" + std::to_string(m)));
  return prova::sorgente_treno(righe);
}

// A watch under way: the program started on `cartella`, its output in files beside it.
class Osservata {
 public:
  Osservata(const std::vector<std::string>& argomenti, const fs::path& cartella)
      : out_(uscite_ / "out"), err_(uscite_ / "err") {
    pid_ = prova::avvia_programma(argomenti, cartella, out_, err_);
  }
  ~Osservata() {
    if (pid_ > 0) {
      prova::uccidi(pid_);
      prova::attendi_processo(pid_);
    }
  }

  // The first `n` lines of standard output, once there are so many (at most 20 s).
  std::vector<std::string> righe(size_t n) const {
    std::vector<std::string> r;
    for (auto fine = std::chrono::steady_clock::now() + 20s;
         std::chrono::steady_clock::now() < fine; std::this_thread::sleep_for(20ms)) {
      r.clear();
      std::ifstream f(out_);
      for (std::string riga; r.size() < n && std::getline(f, riga);) r.push_back(riga);
      if (r.size() == n && f.good()) return r;
    }
    ADD_FAILURE() << "meno di " << n << " righe:\n" << prova::leggi(out_) << err();
    return r;
  }
  // The n-th line (from 1), without the time of day, which is checked.
  std::string riga(size_t n) const {
    const auto r = righe(n);
    if (r.size() < n) return "";
    EXPECT_TRUE(std::regex_match(r[n - 1], std::regex("[0-2][0-9]:[0-5][0-9]:[0-6][0-9] .*")))
        << r[n - 1];
    return r[n - 1].substr(9);
  }
  std::string err() const { return prova::leggi(err_); }
  // Waits until standard error holds `testo` (at most 20 s).
  void attendi_err(const std::string& testo) const {
    for (auto fine = std::chrono::steady_clock::now() + 20s;
         std::chrono::steady_clock::now() < fine; std::this_thread::sleep_for(20ms)) {
      if (err().find(testo) != std::string::npos) return;
    }
    ADD_FAILURE() << "manca '" << testo << "' in:\n" << err();
  }

  // Ctrl+C: the exit status.
  int interrompi() {
    ::kill(pid_, SIGINT);
    const int stato = prova::attendi_processo(pid_);
    pid_ = 0;
    return stato;
  }
  // The end without being asked: the exit status.
  int fine() {
    const int stato = prova::attendi_processo(pid_);
    pid_ = 0;
    return stato;
  }

 private:
  CartellaTemporanea uscite_;
  fs::path out_;
  fs::path err_;
  int pid_ = 0;
};

// What a burst of writes looks like: the file written in two pieces a moment apart, several
// times in a row, each time a little different; the last one is `ultimo`.
void raffica(const fs::path& file, const std::vector<std::string>& contenuti) {
  for (const std::string& c : contenuti) {
    std::ofstream f(file, std::ios::binary | std::ios::trunc);
    f << c.substr(0, c.size() / 2) << std::flush;
    std::this_thread::sleep_for(40ms);
    f << c.substr(c.size() / 2);
  }
}

// Saving as many editors do: the whole new text into another name, renamed over the file.
void salva_rinominando(const fs::path& file, const std::string& contenuto) {
  const fs::path temporaneo = file.parent_path() / (".salva-" + file.filename().string());
  prova::scrivi(temporaneo, contenuto);
  fs::rename(temporaneo, file);
}

const std::string kConteggi = "percorso 10000 m, 341 tratti, ";

TEST(Osserva, UnaCompilazionePerRafficaELaPaginaSiRicarica) {
  CartellaTemporanea d;
  prova::scrivi(d / "P_linea.txt", kLinea);
  prova::scrivi(d / "P_7-.txt", treno({2000}));
  Osservata w({"compila", "P_linea.txt", "P_7-.txt", "--osserva", "--disegna", "p.html"},
              d.percorso());
  EXPECT_EQ(w.riga(1), "ok: " + kConteggi + "1 stazione, 0 segnali, 0 rallentamenti");
  const std::string sim = prova::leggi(d / "P_7.sim");
  const std::string pagina = prova::leggi(d / "p.html");
  const std::string versione = prova::leggi(d / "p.html.versione.js");
  // The page carries its version and loads the file beside it; that file gives the same.
  const std::smatch v = [&] {
    std::smatch m;
    EXPECT_TRUE(std::regex_match(versione, m,
                                 std::regex("compattatoreVersione\\(\"([0-9a-f]{16})\"\\);\n")))
        << versione;
    return m;
  }();
  EXPECT_NE(pagina.find("var propria = \"" + v[1].str() + "\";"), std::string::npos);
  EXPECT_NE(pagina.find("s.src = \"p.html.versione.js?\" + Date.now();"), std::string::npos);
  EXPECT_NE(pagina.find("location.reload()"), std::string::npos);

  // Five writes in a row, each in two pieces: one compile, of the last.
  raffica(d / "P_7-.txt",
          {treno({3000}), treno({2000, 4000}), treno({2000}), treno({1000}), treno({2000, 6000})});
  EXPECT_EQ(w.riga(2), "ok: " + kConteggi + "2 stazioni, 0 segnali, 0 rallentamenti");
  EXPECT_NE(prova::leggi(d / "P_7.sim"), sim);
  EXPECT_NE(prova::leggi(d / "p.html.versione.js"), versione);

  // A save by rename: one compile more (a second compile of the burst would be this line).
  salva_rinominando(d / "P_7-.txt", treno({2000, 4000, 6000}));
  EXPECT_EQ(w.riga(3), "ok: " + kConteggi + "3 stazioni, 0 segnali, 0 rallentamenti");

  // A change elsewhere in the folder is no change of a source.
  prova::scrivi(d / "altro.txt", "x");
  EXPECT_EQ(w.interrompi(), 0);
  EXPECT_EQ(w.righe(3).size(), 3u);
  EXPECT_EQ(prova::leggi(d / "p.html.versione.js").find(v[1].str()), std::string::npos);
  // Nothing left behind: no temporary, no lock.
  EXPECT_EQ(prova::elenco_file(d.percorso()),
            (std::vector<std::string>{"P_7-.txt", "P_7.dat", "P_7.sim", "P_linea.dat",
                                      "P_linea.txt", "altro.txt", "p.html", "p.html.versione.js"}));
  EXPECT_NE(w.err().find("fine dell'osservazione"), std::string::npos) << w.err();
}

TEST(Osserva, UnErroreLasciaIFileComeUnaCorsaEUnSorgenteToltoSiAttende) {
  CartellaTemporanea d;
  prova::scrivi(d / "P_linea.txt", kLinea);
  prova::scrivi(d / "P_7-.txt", treno({2000}));
  Osservata w({"compila", "P_linea.txt", "P_7-.txt", "--osserva"}, d.percorso());
  EXPECT_EQ(w.riga(1), "ok: " + kConteggi + "1 stazione, 0 segnali, 0 rallentamenti");
  const std::string sim = prova::leggi(d / "P_7.sim");

  // A route without a length: nothing written, the files of before stay.
  salva_rinominando(d / "P_linea.txt", prova::righe({"[generale]", "[curve]", "[fine]"}));
  EXPECT_EQ(w.riga(2), "errore 25, nessun file scritto");
  EXPECT_EQ(prova::leggi(d / "P_7.sim"), sim);
  EXPECT_NE(w.err().find("P_linea.txt:1:1: errore 25: "), std::string::npos) << w.err();

  // Mended; then a code set during the run, the files written with it as a plain run does.
  salva_rinominando(d / "P_linea.txt", kLinea);
  EXPECT_EQ(w.riga(3), "ok: " + kConteggi + "1 stazione, 0 segnali, 0 rallentamenti");
  prova::scrivi(d / "P_7-.txt", prova::sorgente_treno({stazione(2000, "A", 350)}));
  EXPECT_EQ(w.riga(4), "errore 9: " + kConteggi + "1 stazione, 0 segnali, 0 rallentamenti");
  w.attendi_err("compattatore: file compilati scritti con codice_errore 9");

  // A source removed: said, and waited for; back, it is compiled.
  fs::remove(d / "P_7-.txt");
  w.attendi_err("compattatore compila: 'P_7-.txt' non c'è: attendo che torni\n");
  prova::scrivi(d / "P_7-.txt", treno({2000, 5000}));
  EXPECT_EQ(w.riga(5), "ok: " + kConteggi + "2 stazioni, 0 segnali, 0 rallentamenti");
  EXPECT_EQ(w.interrompi(), 0);
}

TEST(Osserva, LaCartellaToltaFinisceConStato1) {
  CartellaTemporanea d;
  fs::create_directory(d / "s");
  prova::scrivi(d / "s" / "P_linea.txt", kLinea);
  prova::scrivi(d / "s" / "P_7-.txt", treno({2000}));
  Osservata w({"compila", "s/P_linea.txt", "s/P_7-.txt", "--osserva"}, d.percorso());
  EXPECT_EQ(w.riga(1), "ok: " + kConteggi + "1 stazione, 0 segnali, 0 rallentamenti");
  fs::remove_all(d / "s");
  EXPECT_EQ(w.fine(), 1);
  EXPECT_NE(w.err().find("/s' non c'è più: fine dell'osservazione\n"), std::string::npos)
      << w.err();
}

TEST(Osserva, ErroriDUso) {
  CartellaTemporanea d;
  prova::scrivi(d / "P_linea.txt", kLinea);
  // A source missing at the start is a usage error, as without --osserva: no watch begins.
  auto r =
      prova::esegui_programma({"compila", "P_linea.txt", "P_7-.txt", "--osserva"}, d.percorso());
  EXPECT_EQ(r.stato, 1);
  EXPECT_NE(r.err.find("il file 'P_7-.txt' non esiste"), std::string::npos) << r.err;
  prova::scrivi(d / "P_7-.txt", treno({2000}));
  r = prova::esegui_programma(
      {"compila", "P_linea.txt", "P_7-.txt", "--osserva", "--formato", "json"}, d.percorso());
  EXPECT_EQ(r.stato, 1);
  EXPECT_NE(r.out.find("non va con --formato json"), std::string::npos) << r.out;
  r = prova::esegui_programma({"disegna", "P_7.sim", "-o", "p.html", "--osserva"}, d.percorso());
  EXPECT_EQ(r.stato, 1);
  EXPECT_EQ(prova::elenco_file(d.percorso()),
            (std::vector<std::string>{"P_7-.txt", "P_linea.txt"}));
}

TEST(Osserva, DisegnaRidisegnaQuandoIFileCompilatiCambiano) {
  CartellaTemporanea d;
  prova::scrivi(d / "P_linea.txt", kLinea);
  prova::scrivi(d / "P_7-.txt", treno({2000}));
  const std::vector<std::string> compila = {"compila", "P_linea.txt", "P_7-.txt"};
  ASSERT_EQ(prova::esegui_programma(compila, d.percorso()).stato, 0);
  ASSERT_EQ(
      prova::esegui_programma({"disegna", "P_7.sim", "-o", "semplice.html"}, d.percorso()).stato,
      0);

  Osservata w({"disegna", "P_7.sim", "-o", "p.html", "--osserva"}, d.percorso());
  EXPECT_EQ(w.riga(1), "ok: scritto p.html");
  // The watched page is the plain page and its script, nothing else.
  std::string pagina = prova::leggi(d / "p.html");
  const size_t inizio = pagina.find("<script>\n");
  const size_t fine = pagina.find("</script>\n");
  ASSERT_NE(inizio, std::string::npos);
  ASSERT_NE(fine, std::string::npos);
  EXPECT_EQ(pagina.erase(inizio, fine + 10 - inizio), prova::leggi(d / "semplice.html"));
  const std::string versione = prova::leggi(d / "p.html.versione.js");

  // Another compile, by another process: drawn again.
  prova::scrivi(d / "P_7-.txt", treno({2000, 5000}));
  ASSERT_EQ(prova::esegui_programma(compila, d.percorso()).stato, 0);
  EXPECT_EQ(w.riga(2), "ok: scritto p.html");
  EXPECT_NE(prova::leggi(d / "p.html.versione.js"), versione);
  EXPECT_NE(prova::leggi(d / "p.html").find("<td class=\"nome\">S5000</td>"), std::string::npos);
  EXPECT_EQ(w.interrompi(), 0);
}

// The reload in a real browser. The page counts its loads in the tab's session storage and shows
// the count in its title; the version beside it is another until the page has loaded once. A page
// that reloads itself is then loaded twice, and stays.
TEST(Osserva, LaPaginaSiRicaricaInChromium) {
  const auto browser = prova::chromium();
  ASSERT_TRUE(browser) << "chromium non trovato: scripts/test.sh lo installa (pacchetto chromium)";
  CartellaTemporanea d;
  prova::scrivi(d / "P_linea.txt", kLinea);
  prova::scrivi(d / "P_7-.txt", treno({2000}));
  {
    Osservata w({"compila", "P_linea.txt", "P_7-.txt", "--osserva", "--disegna", "p.html"},
                d.percorso());
    ASSERT_EQ(w.riga(1).substr(0, 3), "ok:");
    ASSERT_EQ(w.interrompi(), 0);
  }
  std::string pagina = prova::leggi(d / "p.html");
  std::smatch v;
  const std::string versione = prova::leggi(d / "p.html.versione.js");
  ASSERT_TRUE(std::regex_search(versione, v, std::regex("\"([0-9a-f]+)\"")));
  pagina.insert(pagina.find("<head>") + 6,
                "<script>sessionStorage.n = (+sessionStorage.n || 0) + 1; "
                "document.title = \"caricamenti \" + sessionStorage.n;</script>");
  prova::scrivi(d / "p.html", pagina);
  prova::scrivi(d / "p.html.versione.js", "compattatoreVersione(+sessionStorage.n > 1 ? \"" +
                                              v[1].str() + "\" : \"altra\");\n");
  const prova::Risultato r = prova::esegui_programma(
      {"-k", "10", "120", browser->string(), "--headless", "--no-sandbox", "--disable-gpu",
       "--disable-dev-shm-usage", "--no-first-run", "--no-default-browser-check",
       "--user-data-dir=" + (d / "profilo").string(), "--virtual-time-budget=3000", "--dump-dom",
       "file://" + (d / "p.html").string()},
      d.percorso(), false, prova::sul_path("timeout").value_or("/usr/bin/timeout"));
  if (r.stato != 0) GTEST_SKIP() << "chromium non parte qui: " << r.err.substr(0, 300);
  EXPECT_NE(r.out.find("<title>caricamenti 2</title>"), std::string::npos) << r.out.substr(0, 300);
}

}  // namespace
