// The embedded scenario and the driver documents, written as text files in a folder.
#pragma once

#include <filesystem>
#include <string>

namespace compattatore {

// Each writer replaces its file safely and throws ErroreFile when it cannot.

/// `<nome>_linea.txt`: the line source.
void dati_linea(const std::filesystem::path& cartella, const std::string& nome,
                const std::string& treno);
/// `<nome>_<treno>-.txt`: the train source.
void dati_treno(const std::filesystem::path& cartella, const std::string& nome,
                const std::string& treno);
/// `<nome>_<treno>_note.txt`: the scenario's notes.
void dati_note(const std::filesystem::path& cartella, const std::string& nome,
               const std::string& treno);
/// `<nome>_<treno>_rallentamenti.txt`: the slowdown order.
void dati_rallentamenti(const std::filesystem::path& cartella, const std::string& nome,
                        const std::string& treno);
/// `<nome>_<treno>_scheda_treno.txt`: the train sheet.
void dati_scheda(const std::filesystem::path& cartella, const std::string& nome,
                 const std::string& treno);

}  // namespace compattatore
