// The plain run of the embedded scenario, and the exit statuses of every run.
#pragma once

#include <filesystem>
#include <ostream>

namespace compattatore {

/// Exit statuses of a run.
inline constexpr int kUscitaOk = 0;        // compiled files written, codice_errore 0
inline constexpr int kUscitaFallita = 1;   // no compiled file written
inline constexpr int kUscitaConCodice = 2; // compiled files written, codice_errore not 0

/// The whole run of the embedded scenario in `cartella`: sources and documents, parse,
/// code markers, check codes, compiled files. "Attendere" goes to `out`, reports to `err`.
/// Returns the exit status.
int esegui_incorporato(const std::filesystem::path& cartella, std::ostream& out,
                       std::ostream& err);

}  // namespace compattatore
