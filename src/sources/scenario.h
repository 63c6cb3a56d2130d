// The embedded scenario and the driver documents, written as text files in a folder.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "model/nomi_scenario.h"

namespace compattatore {

// Each writer replaces its file safely and throws ErroreFile when it cannot. The two sources are
// not flushed to the disk: the run reads them back and deletes them a moment later, and every run
// writes them anew from the tables, so a crash in between costs nothing that the next run does not
// rewrite. The documents are flushed like the compiled files.

/// `<nome>_linea.txt`: the line source.
void dati_linea(const std::filesystem::path& cartella, const NomiScenario& nomi);
/// `<nome>_<treno>-.txt`: the train source.
void dati_treno(const std::filesystem::path& cartella, const NomiScenario& nomi);
/// `<nome>_<treno>_note.txt`: the scenario's notes.
void dati_note(const std::filesystem::path& cartella, const NomiScenario& nomi);
/// `<nome>_<treno>_rallentamenti.txt`: the slowdown order.
void dati_rallentamenti(const std::filesystem::path& cartella, const NomiScenario& nomi);
/// `<nome>_<treno>_scheda_treno.txt`: the train sheet.
void dati_scheda(const std::filesystem::path& cartella, const NomiScenario& nomi);

// The line tables of the five files (see sources/testo.h): UTF-8 lines in file order, each
// table closed by the end marker. The texts are fixed; neither `nome` nor `treno` enters them.

/// The line source: 199 lines.
std::span<const std::string_view> tabella_linea();
/// The train source: 120 lines.
std::span<const std::string_view> tabella_treno();
/// The notes: 64 lines.
std::span<const std::string_view> tabella_note();
/// The slowdown order: 45 lines.
std::span<const std::string_view> tabella_rallentamenti();
/// The train sheet: 58 lines.
std::span<const std::string_view> tabella_scheda();

}  // namespace compattatore
