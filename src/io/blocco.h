// The run lock: while a run holds it, no other run writes any of the same files in the folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace compattatore {

/// The locks of a run's output files in one folder. Each output name has its own lock file in
/// that folder (see io/temporanei.h), locked with the system's advisory lock, so that two runs
/// wait for each other exactly when they would write a file of the same name; the system
/// releases the lock when the process ends, however it ends. The lock files are removed when
/// released, so the folder keeps only the outputs.
class BloccoCorsa {
 public:
  /// Takes the locks of the outputs `nomi` (file names without folder) in `cartella`, waiting
  /// while another run holds any of them; `in_attesa` is called once, before the first wait.
  /// Once they are held, finishes the groups that dead runs left midway among those names (see
  /// io/diario.h) and removes the temporaries that runs no longer alive left for them.
  /// Where the file system cannot lock, the run goes on without the lock. Throws ErroreFile
  /// (the file is `cartella`) when the folder cannot take a lock file.
  BloccoCorsa(const std::filesystem::path& cartella, const std::vector<std::string>& nomi,
              const std::function<void()>& in_attesa = {});
  /// Takes the lock files `file_blocco` (their names in `cartella`) in the same way, and nothing
  /// more: no journal is applied and no temporary removed (io/diario.h does that). Without
  /// `attendi`, takes none when another run holds any (see `occupato`).
  struct SoloBlocchi {};
  BloccoCorsa(SoloBlocchi, const std::filesystem::path& cartella,
              std::vector<std::string> file_blocco, const std::function<void()>& in_attesa = {},
              bool attendi = true);
  BloccoCorsa(const BloccoCorsa&) = delete;
  BloccoCorsa& operator=(const BloccoCorsa&) = delete;
  /// Releases every lock, removing its lock file first.
  ~BloccoCorsa();
  /// Another run held one of the locks, and none was taken (without `attendi`).
  bool occupato() const { return occupato_; }

 private:
  struct Preso {
    std::filesystem::path file;
    std::intptr_t maniglia;
    int biglietto;
  };
  /// Takes the locks of the lock files `file`; false when the file system cannot lock.
  bool prendi(const std::filesystem::path& cartella, std::vector<std::string> file,
              const std::function<void()>& in_attesa, bool attendi);
  void rilascia();

  std::vector<Preso> presi_;
  bool occupato_ = false;
};

}  // namespace compattatore
