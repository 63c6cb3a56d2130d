// The plain run of the embedded scenario, and the program's folder.
#pragma once

#include <filesystem>
#include <ostream>

namespace compattatore {

inline constexpr const char* kNomeIncorporato = "Viterbo_Orte_Roma_Via_Linea_Cintura";
inline constexpr const char* kTrenoIncorporato = "3349";

/// Exit statuses of a run.
inline constexpr int kUscitaOk = 0;        // compiled files written, codice_errore 0
inline constexpr int kUscitaFallita = 1;   // no compiled file written
inline constexpr int kUscitaConCodice = 2; // compiled files written, codice_errore not 0

/// The folder of the running executable.
std::filesystem::path cartella_programma();

/// The whole run of the embedded scenario in `cartella`: sources and documents, parse,
/// code markers, check codes, compiled files. "Attendere" goes to `out`, reports to `err`.
/// Returns the exit status.
int esegui_incorporato(const std::filesystem::path& cartella, std::ostream& out,
                       std::ostream& err);

}  // namespace compattatore
