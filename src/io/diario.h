// The journal of a group of files being replaced together (see io/file_sicuro.h): written and
// flushed before the first rename, removed after the last, so that a run that dies between the
// two leaves enough on the disk to finish its group, or to put it back, later.
//
// It lies in the group's folder under a hidden name of fixed length, `.compattatore-<16 hex
// digits>.diario` (the digits are the mark of the group's first file, see io/temporanei.h), and
// is replaced whole (written to a temporary, flushed, renamed): it is always complete.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <vector>

namespace compattatore {

/// One file of a group: names of files in the journal's folder.
struct VoceDiario {
  std::string destinazione;
  std::string temporaneo;  // the new content, until it is renamed over the destination
  std::string riserva;     // the old file's second name; "" when there was no old file
};

/// Which way a group is to go when its run is dead: on to the new files (the renames had begun,
/// every new file complete and flushed), or back to the old ones (a rename had failed and the
/// run was putting the old files back).
enum class Verso { avanti, indietro };

struct Diario {
  Verso verso = Verso::avanti;
  std::vector<VoceDiario> voci;
};

/// The journal's file in `cartella`.
std::filesystem::path file_diario(const std::filesystem::path& cartella, const Diario& d);

/// Writes `d` to its file in `cartella`, replacing what is there, flushed with the folder. Call
/// it with the signals held (piattaforma.h): a signal then finds the journal written and the
/// renames done, or neither.
std::error_code scrivi_diario(const std::filesystem::path& cartella, const Diario& d);

/// The journal in `file`; nothing when it is not one. Throws ErroreFile when it cannot be read.
std::optional<Diario> leggi_diario(const std::filesystem::path& file);

/// Takes the group of the journal `file` all the way: forward, every new file still under its
/// temporary name is renamed over its destination; back, every old file kept is put back, and a
/// new file that had no old one is removed. Then the reserves and temporaries left are removed,
/// the folder is flushed and the journal removed. Call it only while holding the locks of every
/// destination, or when no run can be using them.
void applica_diario(const std::filesystem::path& file, const Diario& d);

/// The repair a run makes at its start, holding the locks of `nomi` in `cartella`: every journal
/// there naming any of `nomi` is applied, once the locks of its other files are taken too (without
/// waiting). Returns the temporaries and reserves named by the journals left for another time
/// (another run holds one of their files), which must stay.
std::vector<std::string> ripara_diari(const std::filesystem::path& cartella,
                                      std::span<const std::string> nomi);

/// What `ripara_cartella` did.
struct Riparazione {
  int gruppi_avanti = 0;    // groups a dead run left midway, completed
  int gruppi_indietro = 0;  // groups a dead run was putting back, put back
  int temporanei = 0;       // temporaries and reserves removed
  int blocchi = 0;          // lock files removed
};

/// Repairs the folder `cartella` after runs that died in it: takes the locks of every name that
/// has a journal, a temporary or a lock file there (waiting, as a run does, while a living run
/// holds one; `in_attesa` is called once when the wait begins), applies every journal, removes
/// the temporaries, and releases the locks, removing their files. Throws ErroreFile when the
/// folder, or a journal in it, cannot be read, or the folder cannot be locked.
Riparazione ripara_cartella(const std::filesystem::path& cartella,
                            const std::function<void()>& in_attesa = {});

}  // namespace compattatore
