// Safe replacement of output files: the new content goes to a temporary file in the same folder,
// which is flushed and renamed over the target. An older file of the same name is never lost,
// nothing of an older, longer file survives, and a replaced file keeps its permission bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace compattatore {

/// A file that could not be written, read or removed: the file, the system's error when there is
/// one, and the reason in Italian (with the system's own text after it).
struct ErroreFile : std::runtime_error {
  ErroreFile(std::filesystem::path file, std::error_code errore);
  ErroreFile(std::filesystem::path file, std::string motivo);
  std::filesystem::path file;
  std::error_code errore;
  std::string motivo;
};

/// Whether a new file is flushed to the disk before it replaces its target. `provvisoria` is for a
/// file that the run reads back and deletes a moment later, and rewrites whole on every run: a
/// crash can cost only a file that the next run writes again.
enum class Durata { durevole, provvisoria };

/// Where a content is written piece by piece, in order (see Sostituzione::prepara). Small pieces
/// are gathered before they reach the system. Throws ErroreFile.
class Scrittore {
 public:
  virtual void scrivi(std::string_view pezzo) = 0;
  void scrivi(const char* dati, size_t n) { scrivi(std::string_view(dati, n)); }

 protected:
  ~Scrittore() = default;
};

/// Checks the targets of a group before anything is written: no folder stands where a file is to
/// go, the name fits the file system, and every folder can take a new file. Throws ErroreFile
/// naming the first target that cannot be written.
void verifica_destinazioni(std::span<const std::filesystem::path> destinazioni);

/// Replaces a group of files together: every new content is written to its temporary file first,
/// and only when all are written are they renamed over their targets. When a rename fails, the
/// targets already replaced get their old files back (each old file is kept under a second name
/// until every rename has succeeded), so a group that fails changes no target. Temporaries are
/// removed on every failure, when the group is dropped unconfirmed, and when a signal ends the
/// process.
class Sostituzione {
 public:
  Sostituzione();
  Sostituzione(const Sostituzione&) = delete;
  Sostituzione& operator=(const Sostituzione&) = delete;
  ~Sostituzione();

  /// Writes `dati` to a new temporary file beside `destinazione`. Throws ErroreFile.
  void prepara(const std::filesystem::path& destinazione, std::string_view dati,
               Durata durata = Durata::durevole);
  /// The same, with the content written piece by piece by `contenuto`, with no copy of the whole
  /// in memory. Throws ErroreFile, and lets any exception of `contenuto` through (the temporary
  /// is then removed).
  void prepara(const std::filesystem::path& destinazione,
               const std::function<void(Scrittore&)>& contenuto, Durata durata = Durata::durevole);
  /// Renames every prepared file over its target, or none. Throws ErroreFile.
  void conferma();

 private:
  struct Preparato;  // one file of the group and where its replacement stands (file_sicuro.cpp)
  void abbandona();

  std::vector<Preparato> preparati_;
};

/// Replaces one file with `dati`. Throws ErroreFile; the older file then stays as it was.
void scrivi_file(const std::filesystem::path& destinazione, std::string_view dati,
                 Durata durata = Durata::durevole);

/// The whole content of a file. Throws ErroreFile.
std::string leggi_file(const std::filesystem::path& file);

/// A file read piece by piece, from its start: each read fills what it can of the room given, and
/// a failed read throws ErroreFile (never taken for the end of a shorter file).
class LetturaFile {
 public:
  /// Opens `file`; throws ErroreFile when it is a folder or cannot be opened.
  explicit LetturaFile(const std::filesystem::path& file);
  LetturaFile(const LetturaFile&) = delete;
  LetturaFile& operator=(const LetturaFile&) = delete;
  ~LetturaFile();
  /// Reads up to `quanti` bytes into `dove`; 0 only at the end of the file.
  size_t leggi(char* dove, size_t quanti);

 private:
  std::filesystem::path file_;
  std::intptr_t m_;  // the system's handle
};

}  // namespace compattatore
