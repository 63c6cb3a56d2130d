// Helpers shared by the tests: temporary folders, file contents, little-endian expected bytes,
// and running the built program.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace prova {

/// A new empty folder under the system's temporary folder, removed with everything in it.
class CartellaTemporanea {
 public:
  CartellaTemporanea();
  ~CartellaTemporanea();
  CartellaTemporanea(const CartellaTemporanea&) = delete;
  CartellaTemporanea& operator=(const CartellaTemporanea&) = delete;
  const std::filesystem::path& percorso() const { return percorso_; }
  std::filesystem::path operator/(const std::string& nome) const { return percorso_ / nome; }

 private:
  std::filesystem::path percorso_;
};

std::string leggi(const std::filesystem::path& file);
/// The text of a source: every line followed by CR LF.
std::string righe(const std::vector<std::string>& linee);
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
  Attesi& testo(const std::string& t);  // 16-bit length, then the bytes
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

/// Runs `f` in a child process and returns its exit status (-1 when it did not exit). With
/// `senza_privilegi` the child cannot override file permissions: as root it becomes the user nobody.
int in_processo_figlio(const std::function<int()>& f, bool senza_privilegi);

/// Runs the built program with `argomenti`, in working folder `cartella`.
/// `programma` replaces the built program (a copy of it elsewhere, for instance).
Risultato esegui_programma(const std::vector<std::string>& argomenti,
                           const std::filesystem::path& cartella, bool senza_privilegi = false,
                           const std::filesystem::path& programma = COMPATTATORE_ESEGUIBILE);

}  // namespace prova
