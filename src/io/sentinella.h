// Waiting for a change of a few files: the watch that compiles (or draws) again when an author
// saves a source. One wake-up for a burst of writes, and only once the writing is over.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <vector>

#include "io/piattaforma.h"

namespace compattatore {

/// Watches a few files by what the system says of their folders (notices where there are
/// some, otherwise a look every `kPassoSenzaNotizie`) and by their size and time of change.
class Sentinella {
 public:
  /// What ended a wait.
  enum class Risveglio {
    cambiati,          // a file was made, changed, replaced or removed, and all is quiet again
    interrotto,        // Ctrl+C, or a request to end the process
    cartella_sparita,  // the folder of a file is gone (see `cartella_sparita`)
  };

  /// Watches `file` as they are now. From now on Ctrl+C ends `attendi` rather than the process
  /// (see piattaforma::intercetta_interruzione). The files' folders must exist.
  explicit Sentinella(std::vector<std::filesystem::path> file,
                      std::chrono::milliseconds quiete = std::chrono::milliseconds(300));
  ~Sentinella();
  Sentinella(const Sentinella&) = delete;
  Sentinella& operator=(const Sentinella&) = delete;

  /// Waits until a file differs from the last wake-up (or from the start), and then until
  /// nothing has moved in their folders for `quiete`: an editor that writes in several pieces,
  /// or saves into another name and renames it over the file, wakes it once, when it is done.
  Risveglio attendi();
  /// The folder that was removed, after Risveglio::cartella_sparita.
  const std::filesystem::path& cartella_sparita() const { return sparita_; }
  /// The watched files that are not there (after a wake-up: removed, or not yet back).
  std::vector<std::filesystem::path> mancanti() const;

  /// How often the files are looked at where the system gives no notices.
  static constexpr std::chrono::milliseconds kPassoSenzaNotizie{250};

 private:
  // What tells one state of a file from another; nothing when it is not there.
  struct Firma {
    std::uintmax_t dimensione = 0;
    std::filesystem::file_time_type modificato{};
    bool operator==(const Firma&) const = default;
  };
  std::vector<std::optional<Firma>> firme() const;
  bool cartelle_presenti();

  std::vector<std::filesystem::path> file_;
  std::vector<std::filesystem::path> nomi_;  // the files' names, without their folders
  std::vector<std::filesystem::path> cartelle_;
  std::chrono::milliseconds quiete_;
  std::vector<std::optional<Firma>> ultime_;
  piattaforma::Maniglia notizie_ = piattaforma::kNessunaManiglia;
  std::filesystem::path sparita_;
};

}  // namespace compattatore
