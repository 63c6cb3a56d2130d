// The compiled files of one scenario found on disk, and the model read back from them.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "model/modello.h"

namespace compattatore {

/// The three compiled files.
enum class TipoCompilato { tracciato, elenco, tratti };
inline constexpr TipoCompilato kTipiCompilati[] = {TipoCompilato::tracciato, TipoCompilato::elenco,
                                                   TipoCompilato::tratti};

/// The kind of a compiled file by its name: `<nome>_linea.dat` the route plan, `.sim` the table,
/// any other `.dat` the stretch array; nothing for another name.
std::optional<TipoCompilato> tipo_compilato(const std::filesystem::path& file);

/// What a file of this kind holds, in Italian ("tracciato", "elenco", "tratti").
const char* nome_tipo(TipoCompilato tipo);

/// Where the compiled files of one scenario are; a kind not found is empty.
struct FileCompilati {
  std::optional<std::filesystem::path> tracciato;
  std::optional<std::filesystem::path> elenco;
  std::optional<std::filesystem::path> tratti;

  std::optional<std::filesystem::path>& operator[](TipoCompilato t);
  const std::optional<std::filesystem::path>& operator[](TipoCompilato t) const;
  bool operator==(const FileCompilati&) const = default;
};

/// The compiled files named by `operandi`: files of one scenario (at most one of each kind), or
/// one folder holding one scenario. The kinds not named are looked for beside the first file:
/// `<nome>_<treno>.sim` and `<nome>_<treno>.dat` go together, and `<nome>_linea.dat` belongs to
/// them when `<nome>_` begins their name (the longest such `nome` when several fit). From a
/// route plan alone the table is found when one `<nome>_*.sim` lies beside it.
/// Returns the files, or what is wrong with the operands (Italian, one line). Throws ErroreFile
/// when a folder cannot be read.
std::variant<FileCompilati, std::string> trova_compilati(
    std::span<const std::filesystem::path> operandi);

/// The model read back from the files that are there: `tratti` and `tracciato` stay empty when
/// their file is missing, and so does `elenco` (with `con_elenco` false).
struct ScenarioCompilato {
  FileCompilati file;
  Modello modello;
  bool con_elenco = false;
  std::array<std::optional<uint64_t>, std::size(kTipiCompilati)> byte{};  // each file's size
  size_t punti_contati = 0;  // of a route plan walked but not held (LetturaTracciato::solo_punti)

  /// The points of the route plan, held or only walked; 0 without a plan.
  size_t punti() const {
    return modello.tracciato.vuoto() ? punti_contati : modello.tracciato.punti();
  }
  /// The size of the file of kind `t` that was read, or nothing.
  std::optional<uint64_t> dimensione(TipoCompilato t) const { return byte[static_cast<size_t>(t)]; }
};

/// How the route plan is read: into `modello.tracciato`, or only walked, checked and counted
/// (`punti`), for a view that does not show its points.
enum class LetturaTracciato { intero, solo_punti };

/// Reads the files of `file`. Throws ErroreLettura for a file that is not a compiled file of its
/// kind (too long ones before reading them), and ErroreFile for one that cannot be read.
ScenarioCompilato leggi_compilati(const FileCompilati& file,
                                  LetturaTracciato tracciato = LetturaTracciato::intero);

}  // namespace compattatore
