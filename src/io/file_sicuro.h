// Safe replacement of output files: the new content goes to a temporary file in the same folder,
// which is flushed and renamed over the target. An older file of the same name is never lost,
// and nothing of an older, longer file survives the replacement.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace compattatore {

/// A file that could not be written, read or removed: the file and the system's reason.
struct ErroreFile : std::runtime_error {
  ErroreFile(std::filesystem::path file, std::string motivo);
  std::filesystem::path file;
  std::string motivo;
};

/// Whether a new file is flushed to the disk before it replaces its target. `provvisoria` is for a
/// file that the run reads back and deletes a moment later, and rewrites whole on every run: a
/// crash can cost only a file that the next run writes again.
enum class Durata { durevole, provvisoria };

/// Receives the content of a file being prepared, in order, and writes it straight to the
/// temporary file.
class Scrittore {
 public:
  Scrittore(const Scrittore&) = delete;
  Scrittore& operator=(const Scrittore&) = delete;
  /// Appends `n` bytes from `dati`. Throws ErroreFile.
  void scrivi(const char* dati, size_t n);

 private:
  friend class Sostituzione;
  Scrittore(int fd, const std::filesystem::path& destinazione)
      : fd_(fd), destinazione_(destinazione) {}
  int fd_;
  const std::filesystem::path& destinazione_;
};

/// Replaces a group of files together: every new content is written to its temporary file first,
/// and only when all are written are they renamed over their targets. On any failure the
/// temporary files are removed and no target changes.
class Sostituzione {
 public:
  Sostituzione() = default;
  Sostituzione(const Sostituzione&) = delete;
  Sostituzione& operator=(const Sostituzione&) = delete;
  ~Sostituzione();

  /// Writes `dati` to a new temporary file beside `destinazione`. Throws ErroreFile.
  void prepara(const std::filesystem::path& destinazione, std::string_view dati,
               Durata durata = Durata::durevole);
  /// Creates a new temporary file beside `destinazione` and lets `contenuto` write it, piece by
  /// piece, with no copy of the whole in memory. Throws ErroreFile, and passes on what
  /// `contenuto` throws; the temporary file then goes with the others when the group is dropped.
  void prepara(const std::filesystem::path& destinazione,
               const std::function<void(Scrittore&)>& contenuto, Durata durata = Durata::durevole);
  /// Renames every prepared file over its target. Throws ErroreFile.
  void conferma();

 private:
  struct Preparato {
    std::filesystem::path temporaneo;
    std::filesystem::path destinazione;
  };
  std::vector<Preparato> preparati_;
};

/// Replaces one file with `dati`. Throws ErroreFile; the older file then stays as it was.
void scrivi_file(const std::filesystem::path& destinazione, std::string_view dati,
                 Durata durata = Durata::durevole);

/// The whole content of a file. Throws ErroreFile.
std::string leggi_file(const std::filesystem::path& file);

}  // namespace compattatore
