// Sweeps of faults over whole commands: every counted system call of a command (io/guasti.h)
// fails in turn with an error, is interrupted (EINTR), or ends the process dead; after each, the
// folder must hold every group of files as it was or wholly new, and nothing of the program's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <map>
#include <sstream>

#include "app/comandi.h"
#include "support/supporto.h"

#if defined(COMPATTATORE_GUASTI)
#include <sys/wait.h>
#include <unistd.h>

#include "app/guasti_supporto.h"
#include "io/guasti.h"
#endif

namespace compattatore {
namespace {
namespace fs = std::filesystem;

#if defined(COMPATTATORE_GUASTI)

using namespace prova_guasti;

// One command over a folder of earlier outputs.
struct Spazzata {
  std::string nome;
  fs::path uscita;  // the folder of the outputs
  std::vector<std::string> argomenti;
  std::vector<std::vector<std::string>> gruppi;  // the outputs, group by group
  Cartella tollerati;       // files that may be left, with these bytes (the plain run's sources)
  bool con_blocchi = true;  // takes the run locks: its next run clears what a failure left
};

class Spazza {
 public:
  explicit Spazza(Spazzata s) : s_(std::move(s)) {
    vecchi_ = istantanea(s_.uscita);
    guasti::arma(0, 0);
    pulita_ = lancia(s_.argomenti);
    chiamate_ = guasti::chiamate();
    guasti::disarma();
    nuovi_ = istantanea(s_.uscita);
    ripristina(s_.uscita, vecchi_);
  }

  size_t chiamate() const { return chiamate_.size(); }
  const Corsa& pulita() const { return pulita_; }
  const Cartella& nuovi() const { return nuovi_; }

  // What is wrong with the folder `c` after a run that ended with `stato` ("" when nothing):
  // every group as it was, or wholly new (the clean run's bytes when `stato` is 0); other files
  // only those tolerated, and the program's own only when `propri`.
  std::string difetto(const Cartella& c, int stato, bool propri) const {
    std::vector<std::string> visti;
    for (const auto& gruppo : s_.gruppi) {
      size_t vecchi = 0, nuovi = 0, scritti = 0;
      for (const std::string& f : gruppo) {
        visti.push_back(f);
        const auto it = c.find(f);
        if (it == c.end()) continue;
        const auto v = vecchi_.find(f);
        vecchi += v != vecchi_.end() && v->second == it->second;
        nuovi += nuovi_.at(f) == it->second;
        scritti += v == vecchi_.end() || v->second != it->second;
      }
      const bool come_prima = vecchi == gruppo.size();
      const bool tutto_nuovo = stato == 0 ? nuovi == gruppo.size() : scritti == gruppo.size();
      if (!come_prima && !tutto_nuovo) return "gruppo " + gruppo[0] + " mescolato";
      if (stato == 1 && !come_prima && &gruppo == &s_.gruppi.back()) {
        return "stato 1 ma i file compilati " + gruppo[0] + " sono cambiati";
      }
    }
    for (const auto& [nome, byte] : c) {
      if (std::find(visti.begin(), visti.end(), nome) != visti.end()) continue;
      if (proprio(nome)) {
        if (!propri) return "resta " + nome;
        continue;
      }
      const auto t = s_.tollerati.find(nome);
      if (t == s_.tollerati.end() || t->second != byte) return "file inatteso " + nome;
    }
    return "";
  }

  // Every call fails in turn with one of the errors, the run checked, then the next run.
  int errori() {
    constexpr int kErrori[] = {ENOSPC, EIO, EACCES, EROFS};
    int iniettati = 0;
    for (size_t n = 1; n <= chiamate(); ++n) {
      const int errore = kErrori[n % 4];
      guasti::arma(static_cast<long>(n), errore);
      const Corsa r = lancia(s_.argomenti);
      const std::vector<guasti::Chiamata> fatte = guasti::chiamate();
      guasti::disarma();
      const guasti::Chiamata quale = fatte.size() >= n ? fatte[n - 1] : guasti::Chiamata::apri;
      const std::string dove = s_.nome + ": " + std::strerror(errore) + " alla chiamata " +
                               std::to_string(n) + " (" + std::string(guasti::nome(quale)) + ")";
      const Cartella dopo = istantanea(s_.uscita);
      // A file the run could not remove stays until the next run (or `ripara`) removes it.
      const bool propri = quale == guasti::Chiamata::rimuovi || quale == guasti::Chiamata::blocca;
      const std::string difetto = this->difetto(dopo, r.stato, propri);
      EXPECT_EQ(difetto, "") << dove << "\n" << r.err;
      if (r.stato != pulita_.stato) {
        EXPECT_TRUE(r.stato == 1 || r.stato == 2) << dove;
        EXPECT_NE(r.err.find(s_.uscita.parent_path().string()), std::string::npos)
            << dove << ": il messaggio non dice il file\n"
            << r.err;
      }
      if (std::any_of(dopo.begin(), dopo.end(), [](const auto& f) { return proprio(f.first); })) {
        // The next run finishes clean, and leaves nothing of the program's own.
        const Corsa dopo_ancora =
            s_.con_blocchi ? lancia(s_.argomenti) : lancia({"ripara", s_.uscita.string()});
        EXPECT_EQ(dopo_ancora.stato, 0) << dove << "\n" << dopo_ancora.err;
        for (const auto& [nome, byte] : istantanea(s_.uscita)) {
          EXPECT_FALSE(proprio(nome)) << dove << ": dopo la corsa seguente resta " << nome;
        }
      }
      ripristina(s_.uscita, vecchi_);
      ++iniettati;
      if (::testing::Test::HasFailure()) break;
    }
    return iniettati;
  }

  // Every call is interrupted once: the run ends as the clean one, with the same bytes.
  int interruzioni() {
    int iniettati = 0;
    for (size_t n = 1; n <= chiamate(); ++n) {
      guasti::arma(static_cast<long>(n), EINTR);
      const Corsa r = lancia(s_.argomenti);
      guasti::disarma();
      const std::string dove = s_.nome + ": EINTR alla chiamata " + std::to_string(n) + " (" +
                               std::string(guasti::nome(chiamate_[n - 1])) + ")";
      EXPECT_EQ(r.stato, pulita_.stato) << dove << "\n" << r.err;
      EXPECT_EQ(r.out, pulita_.out) << dove;
      EXPECT_EQ(istantanea(s_.uscita), nuovi_) << dove;
      ripristina(s_.uscita, vecchi_);
      ++iniettati;
      if (::testing::Test::HasFailure()) break;
    }
    return iniettati;
  }

  // The process ends dead at every call in turn; then `ripara` (or, every third time, the next
  // run) leaves every group as it was or wholly new, and nothing of the program's own.
  int arresti() {
    int iniettati = 0;
    for (size_t n = 1; n <= chiamate(); ++n) {
      const pid_t figlio = ::fork();
      if (figlio == 0) {
        guasti::arma(static_cast<long>(n), 0, true);
        const Corsa r = lancia(s_.argomenti);
        std::_Exit(r.stato);
      }
      int stato = 0;
      ::waitpid(figlio, &stato, 0);
      const std::string dove = s_.nome + ": arresto alla chiamata " + std::to_string(n) + " (" +
                               std::string(guasti::nome(chiamate_[n - 1])) + ")";
      EXPECT_TRUE(WIFEXITED(stato) && WEXITSTATUS(stato) == guasti::kStatoMorte) << dove;
      if (n % 3 == 0 && s_.con_blocchi) {
        const Corsa seguente = lancia(s_.argomenti);
        EXPECT_EQ(seguente.stato, pulita_.stato) << dove << "\n" << seguente.err;
        EXPECT_EQ(istantanea(s_.uscita), nuovi_) << dove;
      } else {
        const Corsa riparata = lancia({"ripara", s_.uscita.string()});
        EXPECT_EQ(riparata.stato, 0) << dove << "\n" << riparata.err;
        EXPECT_EQ(difetto(istantanea(s_.uscita), 2, false), "") << dove;
      }
      ripristina(s_.uscita, vecchi_);
      ++iniettati;
      if (::testing::Test::HasFailure()) break;
    }
    return iniettati;
  }

 private:
  Spazzata s_;
  Cartella vecchi_;
  Cartella nuovi_;
  Corsa pulita_;
  std::vector<guasti::Chiamata> chiamate_;
};

// Which faults a sweep injects: each kind is a test of its own, so that they run side by side.
enum class Guasto { errore, interruzione, arresto };

void spazza(Spazzata s, Guasto guasto) {
  const std::string nome = s.nome;
  Spazza sp(std::move(s));
  ASSERT_GT(sp.chiamate(), 5u);
  const int iniettati = guasto == Guasto::errore         ? sp.errori()
                        : guasto == Guasto::interruzione ? sp.interruzioni()
                                                         : sp.arresti();
  const char* cosa = guasto == Guasto::errore         ? "errori"
                     : guasto == Guasto::interruzione ? "interruzioni, EINTR"
                                                      : "arresti";
  std::cout << "spazzata " << nome << ": " << sp.chiamate() << " chiamate, " << iniettati
            << " guasti iniettati (" << cosa << ")"
            << (::testing::Test::HasFailure() ? "" : ": nessun file perso né mescolato") << "\n";
}

// A sweep written once, run as three tests: errors, interruptions and deaths.
#define SPAZZATA(nome)                                                          \
  void spazzata_##nome(Guasto);                                                 \
  TEST(Spazzate, nome##Errori) { spazzata_##nome(Guasto::errore); }             \
  TEST(Spazzate, nome##Interruzioni) { spazzata_##nome(Guasto::interruzione); } \
  TEST(Spazzate, nome##Arresti) { spazzata_##nome(Guasto::arresto); }           \
  void spazzata_##nome(Guasto guasto)

SPAZZATA(CorsaNormale) {
  const Lavoro d;
  const fs::path uscita = d / "uscita";
  fs::create_directory(uscita);
  vecchie_versioni(uscita, kDocumenti);
  vecchie_versioni(uscita, kCompilati);
  // The sources it writes, reads and deletes may stay after a failure, whole.
  const fs::path esempio = d / "esempio";
  ASSERT_EQ(lancia({"esempio", esempio.string()}).stato, 0);
  const Cartella sorgenti = istantanea(esempio);
  spazza({"corsa normale",
          uscita,
          {"esegui", "--dir", uscita.string()},
          {kDocumenti, kCompilati},
          sorgenti},
         guasto);
}

// The plain run's compiled files in `d`.
void compilati_incorporati(const fs::path& d) {
  fs::create_directories(d);
  for (const std::string& f : kCompilati) {
    fs::copy_file(prova::cartella_incorporata() / f, d / f);
  }
}

SPAZZATA(Compila) {
  const Lavoro d;
  ASSERT_TRUE(sorgenti_incorporate(d / "sorgenti"));
  const fs::path uscita = d / "uscita";
  fs::create_directory(uscita);
  vecchie_versioni(uscita, kCompilati);
  spazza({"compila", uscita, compila_in(d / "sorgenti", uscita), {kCompilati}, {}}, guasto);
}

SPAZZATA(Decompila) {
  const Lavoro d;
  compilati_incorporati(d / "compilati");
  const fs::path uscita = d / "uscita";
  fs::create_directory(uscita);
  const std::vector<std::string> sorgenti = {prova::kFileLinea, prova::kFileTreno};
  vecchie_versioni(uscita, sorgenti);
  spazza({"decompila",
          uscita,
          {"decompila", (d / "compilati" / prova::kFileElenco).string(), "--dir", uscita.string(),
           "--sovrascrivi"},
          {sorgenti},
          {},
          false},
         guasto);
}

SPAZZATA(Esempio) {
  const Lavoro d;
  const fs::path uscita = d / "uscita";
  fs::create_directory(uscita);
  const std::vector<std::string> sorgenti = {prova::kFileLinea, prova::kFileTreno};
  vecchie_versioni(uscita, sorgenti);
  spazza({"esempio", uscita, {"esempio", uscita.string(), "--sovrascrivi"}, {sorgenti}, {}, false},
         guasto);
}

SPAZZATA(Disegna) {
  const Lavoro d;
  compilati_incorporati(d / "compilati");
  const fs::path uscita = d / "uscita";
  fs::create_directory(uscita);
  vecchie_versioni(uscita, {"percorso.html"});
  spazza({"disegna",
          uscita,
          {"disegna", (d / "compilati" / prova::kFileElenco).string(), "-o",
           (uscita / "percorso.html").string()},
          {{"percorso.html"}},
          {},
          false},
         guasto);
}

// Runs `argomenti` in a child process that dies at the `n`th call of kind `tipo`.
void uccisa_alla(long n, guasti::Chiamata tipo, const std::vector<std::string>& argomenti) {
  const pid_t figlio = ::fork();
  if (figlio == 0) {
    guasti::arma(n, 0, true, tipo);
    std::_Exit(lancia(argomenti).stato);
  }
  int stato = 0;
  ::waitpid(figlio, &stato, 0);
  ASSERT_TRUE(WIFEXITED(stato) && WEXITSTATUS(stato) == guasti::kStatoMorte);
}

std::vector<std::string> propri_in(const fs::path& d) {
  std::vector<std::string> p;
  for (const auto& [nome, byte] : istantanea(d)) {
    if (proprio(nome)) p.push_back(nome);
  }
  return p;
}

// The train source's read fails midway: the run reports it as a source it cannot open, with the
// same code, status, files and message (but for the reason), and never as an empty train.
TEST(CasiDeiGuasti, UnErroreNelLeggereIlTrenoNonEUnTrenoVuoto) {
  const Lavoro d;
  const fs::path uscita = d / "uscita";
  fs::create_directory(uscita);
  const std::vector<std::string> argomenti = {"esegui", "--dir", uscita.string()};
  guasti::arma(0, 0);
  ASSERT_EQ(lancia(argomenti).stato, 0);
  const std::vector<guasti::Chiamata> chiamate = guasti::chiamate();
  guasti::disarma();
  // The train source is the second file read: its open is the last one before its first read.
  long aperture = 0;
  long letture = 0;
  for (const guasti::Chiamata c : chiamate) {
    if (c == guasti::Chiamata::leggi && ++letture == 3) break;
    if (c == guasti::Chiamata::apri) ++aperture;
  }
  std::map<int, Corsa> corse;
  std::map<int, Cartella> file;
  for (const int errore : {EACCES, EIO}) {
    for (const auto& e : fs::directory_iterator(uscita)) fs::remove(e.path());
    if (errore == EACCES) {
      guasti::arma(aperture, EACCES, false, guasti::Chiamata::apri);
    } else {
      guasti::arma(3, EIO, false, guasti::Chiamata::leggi);
    }
    corse[errore] = lancia(argomenti);
    guasti::disarma();
    file[errore] = istantanea(uscita);
  }
  EXPECT_EQ(corse[EIO].stato, 2);
  EXPECT_EQ(corse[EIO].stato, corse[EACCES].stato);
  EXPECT_EQ(file[EIO], file[EACCES]);
  std::string come_non_aperto = corse[EACCES].err;
  const std::string negato = "permesso negato (Permission denied)";
  const size_t dove = come_non_aperto.find(negato);
  ASSERT_NE(dove, std::string::npos) << come_non_aperto;
  come_non_aperto.replace(dove, negato.size(),
                          "errore di lettura o scrittura sul disco (Input/output error)");
  EXPECT_EQ(corse[EIO].err, come_non_aperto);
  EXPECT_NE(corse[EIO].err.find("errore 25"), std::string::npos) << corse[EIO].err;
  EXPECT_NE(corse[EIO].err.find(prova::kFileTreno), std::string::npos) << corse[EIO].err;
  EXPECT_EQ(corse[EIO].err.find("vuoto"), std::string::npos) << corse[EIO].err;
}

// A run killed between the renames of the compiled files leaves a journal; the next run, even
// one that then fails, first finishes that group: all new, never a mix, nothing left behind.
TEST(CasiDeiGuasti, UnaCorsaUccisaTraLeRinomineSiCompletaAllaProssima) {
  const Lavoro d;
  ASSERT_TRUE(sorgenti_incorporate(d / "sorgenti"));
  const fs::path uscita = d / "uscita";
  fs::create_directory(uscita);
  vecchie_versioni(uscita, kCompilati);
  const Cartella vecchi = istantanea(uscita);
  const std::vector<std::string> argomenti = compila_in(d / "sorgenti", uscita);
  // Renames: the journal, then the three files; dead at the second of those.
  uccisa_alla(3, guasti::Chiamata::rinomina, argomenti);
  Cartella ora = istantanea(uscita);
  EXPECT_NE(ora[prova::kFileTracciato], vecchi.at(prova::kFileTracciato));
  EXPECT_EQ(ora[prova::kFileElenco], vecchi.at(prova::kFileElenco));
  ASSERT_EQ(propri_in(uscita).size(), 1u + 3u + 2u + 3u)  // journal, locks, temporaries, reserves
      << ::testing::PrintToString(propri_in(uscita));

  // The next run repairs under its locks, then fails on a full disk: status 1, one message.
  guasti::arma(1, ENOSPC, false, guasti::Chiamata::scrivi);
  const Corsa seguente = lancia(argomenti);
  guasti::disarma();
  EXPECT_EQ(seguente.stato, 1);
  EXPECT_NE(seguente.err.find("spazio esaurito sul disco"), std::string::npos) << seguente.err;
  ora = istantanea(uscita);
  for (const std::string& f : kCompilati) {
    EXPECT_EQ(ora[f], prova::leggi(prova::cartella_incorporata() / f)) << f;
  }
  EXPECT_EQ(propri_in(uscita), std::vector<std::string>{});
}

// The three documents of a train change together with the compiled files: an error among their
// renames puts every one back; a death among them is finished by `ripara`.
TEST(CasiDeiGuasti, IDocumentiCambianoInsieme) {
  const Lavoro d;
  const fs::path uscita = d / "uscita";
  fs::create_directory(uscita);
  vecchie_versioni(uscita, kDocumenti);
  vecchie_versioni(uscita, kCompilati);
  const Cartella vecchi = istantanea(uscita);
  const std::vector<std::string> argomenti = {"esegui", "--dir", uscita.string()};
  // Renames: the two sources, the journal, the notes, then the slowdown order.
  constexpr long kSecondoDocumento = 5;
  guasti::arma(kSecondoDocumento, EIO, false, guasti::Chiamata::rinomina);
  const Corsa fallita = lancia(argomenti);
  guasti::disarma();
  EXPECT_EQ(fallita.stato, 1);
  EXPECT_NE(
      fallita.err.find("impossibile scrivere " + (uscita / prova::kFileRallentamenti).string() +
                       ": errore di lettura o scrittura sul disco (Input/output error), nel "
                       "mettere il file nuovo al suo posto\n"),
      std::string::npos)
      << fallita.err;
  Cartella ora = istantanea(uscita);
  for (const auto& [nome, byte] : vecchi) EXPECT_EQ(ora[nome], byte) << nome;

  uccisa_alla(kSecondoDocumento, guasti::Chiamata::rinomina, argomenti);
  ora = istantanea(uscita);
  EXPECT_NE(ora[prova::kFileNote], vecchi.at(prova::kFileNote));
  EXPECT_EQ(ora[prova::kFileScheda], vecchi.at(prova::kFileScheda));
  EXPECT_EQ(lancia({"ripara", uscita.string()}).stato, 0);
  ora = istantanea(uscita);
  for (const auto& [nome, byte] : vecchi) {
    EXPECT_EQ(ora[nome], prova::leggi(prova::cartella_incorporata() / nome)) << nome;
  }
  EXPECT_EQ(propri_in(uscita), std::vector<std::string>{});
}

}  // namespace

#else

TEST(Spazzate, SoloConLaCucituraDeiGuasti) {
  GTEST_SKIP() << "the fault seam of the io layer is built only on POSIX systems";
}

}  // namespace

#endif

}  // namespace compattatore
