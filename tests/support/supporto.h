// Helpers shared by the tests: temporary folders, file contents, little-endian expected bytes,
// and running the built program.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/nomi_scenario.h"
#include "model/segnalazione.h"

namespace prova {

/// The embedded scenario's identity and the names of the eight files of its run, written out here
/// rather than taken from the program.
inline const std::string kNome = "Viterbo_Orte_Roma_Via_Linea_Cintura";
inline const std::string kTreno = "3349";
inline const std::string kFileLinea = kNome + "_linea.txt";
inline const std::string kFileTreno = kNome + "_3349-.txt";
inline const std::string kFileNote = kNome + "_3349_note.txt";
inline const std::string kFileRallentamenti = kNome + "_3349_rallentamenti.txt";
inline const std::string kFileScheda = kNome + "_3349_scheda_treno.txt";
inline const std::string kFileTracciato = kNome + "_linea.dat";
inline const std::string kFileElenco = kNome + "_3349.sim";
inline const std::string kFileTratti = kNome + "_3349.dat";

/// Size and SHA-256 of a file the embedded scenario writes: the bytes every change must keep.
struct FileAtteso {
  const std::string& nome;
  uintmax_t dimensione;
  const char* sha256;
};
/// The two sources, as the plain run writes them before reading them.
inline const FileAtteso kSorgentiAttese[] = {
    {kFileLinea, 5859, "4deb86843cba5f11e4499d90c1c9377a3c3f3895becb6651e354cfe84ea4a518"},
    {kFileTreno, 5493, "1ec079683bae0ca5e43761a921e2ea6c4b53fefd73b721f307b311d95dd4205e"},
};
/// The three documents for the driver.
inline const FileAtteso kDocumentiAttesi[] = {
    {kFileNote, 4079, "994b6ad62d4016900adc308ae87745a722e459fbde23e8548606e85757720e2f"},
    {kFileRallentamenti, 3185, "b3fb1f2da2ba686aa21fe7f28f2d094b173269ff413dfca98d8e5852bad8d475"},
    {kFileScheda, 4544, "bea549015bad36f36981b22f859af601d01c2ef80c02254d3bb0154ebda0b74c"},
};
/// The three compiled files of the plain run.
inline const FileAtteso kCompilatiAttesi[] = {
    {kFileTratti, 39315, "d9281b73e5d691995eb92c0a2c4b014d253927bb6d9ab5cf20378024bb319b81"},
    {kFileElenco, 3441, "1fd098bd159337714c6423ac678070b26e20486d02e1d72e0c0676f25454310b"},
    {kFileTracciato, 2619964, "7d7c3adca6315e859876d335a236649633c3d461082b9b96f9706f241487da15"},
};

/// Checks the size and SHA-256 of each file of `attesi` in `cartella`, recording a test failure
/// for each that differs.
void controlla_byte(const std::filesystem::path& cartella, std::span<const FileAtteso> attesi);

/// Checked scenario names that the test knows to be valid.
inline compattatore::NomiScenario nomi(const std::string& nome, const std::string& treno) {
  return *compattatore::NomiScenario::crea(nome, treno);
}

/// An error sink that keeps every code it receives, in order.
class RegistroErrori : public compattatore::Segnalatore {
 public:
  void ricevi(compattatore::Segnalazione s) override {
    codice_ = s.codice;
    if (s.posizione) posizione_ = *s.posizione;
    segnalazioni.push_back(std::move(s));
  }
  compattatore::Codice codice_errore() const override { return codice_; }
  int32_t posizione_errore() const { return posizione_; }
  /// The error word as an earlier phase left it (nothing recorded).
  void preimposta(compattatore::Codice codice, int32_t posizione) {
    codice_ = codice;
    posizione_ = posizione;
  }
  /// The numbers of the codes received, in order.
  std::vector<int32_t> numeri() const {
    std::vector<int32_t> n;
    for (const auto& s : segnalazioni) n.push_back(compattatore::numero(s.codice));
    return n;
  }

  void avvisa(compattatore::Segnalazione s) override { avvisi.push_back(std::move(s)); }

  std::vector<compattatore::Segnalazione> segnalazioni;
  std::vector<compattatore::Segnalazione> avvisi;  // warnings and notes, in order

 private:
  compattatore::Codice codice_ = compattatore::Codice::nessuno;
  int32_t posizione_ = 0;
};

#if defined(_WIN32)
// Why a test of POSIX behaviour does not run on Windows, where the tests run under Wine.
inline constexpr const char* kSenzaCartelleSolaLettura =
    "POSIX folder permissions and the user nobody: under Wine every folder can be written";
inline constexpr const char* kSenzaSegnali =
    "POSIX signals: Windows has none; Ctrl+C on a console is checked by "
    "scripts/interruzione_windows.sh, in a terminal of its own";
inline constexpr const char* kSenzaFork =
    "a child process running a function of the test (fork): Windows makes none; a run killed "
    "outright is shown by CorseSicure.ITemporaneiDiUnaCorsaUccisaVannoViaAllaProssima";
inline constexpr const char* kSenzaBitPosix =
    "POSIX permission bits and umask: a Windows file keeps only whether it can be written "
    "(FileSicuro.IlFileSostituitoTieneISuoiPermessi checks that)";
#endif

/// A new empty folder under the system's temporary folder, removed with everything in it.
class CartellaTemporanea {
 public:
  CartellaTemporanea();
  ~CartellaTemporanea();
  CartellaTemporanea(const CartellaTemporanea&) = delete;
  CartellaTemporanea& operator=(const CartellaTemporanea&) = delete;
  const std::filesystem::path& percorso() const { return percorso_; }
  std::filesystem::path operator/(const std::filesystem::path& nome) const {
    return percorso_ / nome;
  }

 private:
  std::filesystem::path percorso_;
};

std::string leggi(const std::filesystem::path& file);
/// The SHA-256 of `byte`, in lower-case hexadecimal.
std::string sha256(const std::string& byte);
/// The text of a source: every line followed by CR LF.
std::string righe(const std::vector<std::string>& linee);
/// A line source of a `lunghezza` metre route: "[generale]", the route length on line 2, the
/// lines `generale`, then "[curve]", the feature lines `elementi` and "[fine]". With no general
/// lines the first feature line is line 4.
std::string sorgente_linea(const std::vector<std::string>& elementi, int32_t lunghezza = 1000,
                           const std::vector<std::string>& generale = {});
/// A train source: "[generale]", then `linee` from line 2, then "[fine]" and the end marker line
/// "riferimento fine del file".
std::string sorgente_treno(const std::vector<std::string>& linee);
void scrivi(const std::filesystem::path& file, const std::string& contenuto);
/// Names of the files in a folder, sorted.
std::vector<std::string> elenco_file(const std::filesystem::path& cartella);

/// The lines of a text file whose every line ends in CR LF, without their line ends. A last line
/// without CR LF, or a CR or LF alone inside a line, is recorded as a test failure.
std::vector<std::string> righe_crlf(const std::string& byte);

/// Expected bytes, built field by field in little-endian order.
class Attesi {
 public:
  Attesi& u8(unsigned v);
  Attesi& i16(int v);
  Attesi& i32(long long v);
  Attesi& f64(double v);
  Attesi& testo(const std::string& t);       // 16-bit length, then the bytes
  Attesi& testo_puro(const std::string& t);  // the bytes alone
  Attesi& zeri(size_t n);
  const std::string& byte() const { return b_; }

 private:
  std::string b_;
};

struct Risultato {
  int stato = -1;
  std::string out;
  std::string err;
};

#if !defined(_WIN32)
/// Runs `f` in a child process and returns its exit status (-1 when it did not exit). With
/// `senza_privilegi` the child cannot override file permissions: as root it becomes the user
/// nobody. POSIX systems only: Windows makes no process from a running one.
int in_processo_figlio(const std::function<int()>& f, bool senza_privilegi);
#endif

#if !defined(_WIN32)
/// A program on the PATH, or nothing.
std::optional<std::filesystem::path> sul_path(const std::string& nome);
/// The browser: COMPATTATORE_CHROMIUM when set, otherwise Debian's chromium on the PATH.
std::optional<std::filesystem::path> chromium();
#endif

/// Runs the built program with `argomenti`, in working folder `cartella`.
/// `programma` replaces the built program (a copy of it elsewhere, for instance). With
/// `senza_privilegi` (POSIX systems) the program runs as the user nobody when the test is root.
Risultato esegui_programma(const std::vector<std::string>& argomenti,
                           const std::filesystem::path& cartella, bool senza_privilegi = false,
                           const std::filesystem::path& programma = COMPATTATORE_ESEGUIBILE);

/// A folder holding what the plain run of the built program writes (the three documents and the
/// three compiled files of the embedded scenario), made once per test program. Tests read it and
/// never change it: copy a file elsewhere to alter it.
const std::filesystem::path& cartella_incorporata();

/// Starts the built program once for every command line of `righe`, all at once, in working
/// folder `cartella`, and waits for every one; the results in the order of `righe`.
std::vector<Risultato> esegui_insieme(const std::vector<std::vector<std::string>>& righe,
                                      const std::filesystem::path& cartella);

/// Starts the built program with `argomenti` in `cartella`, its output thrown away, and returns
/// its process number at once (for a test that stops it with a signal).
int avvia_programma(const std::vector<std::string>& argomenti,
                    const std::filesystem::path& cartella);
/// The same, its standard output and standard error going to the files `out` and `err`, which
/// the test may read while the program runs.
int avvia_programma(const std::vector<std::string>& argomenti,
                    const std::filesystem::path& cartella, const std::filesystem::path& out,
                    const std::filesystem::path& err);
/// Waits for the process `pid` that avvia_programma started: its exit status, or -(signal
/// number) when a signal ended it.
int attendi_processo(int pid);
/// Ends the process `pid` that avvia_programma started at once, giving it no chance to tidy up
/// (SIGKILL; TerminateProcess on Windows).
void uccidi(int pid);

/// The number of a process that has run and ended.
int processo_terminato();
/// The number of the test's own process.
int questo_processo();

}  // namespace prova
