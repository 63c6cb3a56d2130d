// The names of the files a run keeps beside its outputs for a moment: temporaries and lock files.
//
// They are short, hidden and of fixed length whatever the output's name, so that an output whose
// name is as long as the system allows still has room for them:
//   .compattatore-<impronta>-<6 characters>.tmp   a new content, or an old one kept for rollback
//   .compattatore-<impronta>.blocco              the lock of the output
//   .compattatore-<impronta>.diario              the journal of a group whose first file is the
//                                                output (see io/diario.h)
// where <impronta> is 16 hexadecimal digits computed from the output's file name.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace compattatore {

/// 16 hexadecimal digits from the file name `nome` (without folder). ASCII letters count as
/// lower case, so that a name written with other capitals has the same mark (one file, on a
/// system that ignores case).
std::string impronta(std::string_view nome);

/// The beginning shared by every temporary of the output `nome`.
std::string prefisso_temporanei(std::string_view nome);

/// A new temporary name for the output `nome` (a different one at every call).
std::string nome_temporaneo(std::string_view nome);

/// The lock file name of the output `nome`.
std::string nome_blocco(std::string_view nome);

/// The journal file name of a group whose first file is `nome`.
std::string nome_diario(std::string_view nome);

/// The lock file name that goes with the mark `impronta`.
std::string blocco_dell_impronta(std::string_view impronta);

/// What a file name of the folder is, when it is one of the program's own.
enum class FileProprio { temporaneo, blocco, diario };
struct NomeProprio {
  FileProprio tipo;
  std::string impronta;
};
std::optional<NomeProprio> nome_proprio(std::string_view voce);

/// Removes from `cartella` the temporaries of the outputs `nomi`, and those that earlier versions
/// of the program left as `<nome>.nuovo-<process>-<n>` when that process is no longer running.
/// Call it only while holding the locks of `nomi`: no living run then has temporaries of them.
/// Returns how many files were removed.
/// Temporaries named in `da_tenere` (file names) stay.
int rimuovi_temporanei_orfani(const std::filesystem::path& cartella,
                              std::span<const std::string> nomi,
                              std::span<const std::string> da_tenere = {});

}  // namespace compattatore
