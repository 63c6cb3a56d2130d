// Safe replacement of output files: the new content goes to a temporary file in the same folder,
// which is flushed and renamed over the target. An older file of the same name is never lost,
// and nothing of an older, longer file survives the replacement.
#pragma once

#include <filesystem>
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
  void prepara(const std::filesystem::path& destinazione, std::string_view dati);
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
void scrivi_file(const std::filesystem::path& destinazione, std::string_view dati);

/// The whole content of a file. Throws ErroreFile.
std::string leggi_file(const std::filesystem::path& file);

}  // namespace compattatore
