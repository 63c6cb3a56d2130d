// What the commands that look inside compiled files share: finding and reading the files named
// on the command line; and the folder that a command writes into.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "formato/scenario_compilato.h"

namespace compattatore {

/// The scenario named by `operandi` (files of one scenario, or a folder holding one), read. On
/// failure prints why on `err` for `comando` and returns nothing: the exit status is then 1.
std::optional<ScenarioCompilato> leggi_scenario(const std::vector<std::filesystem::path>& operandi,
                                                const std::string& comando, std::ostream& err);

/// What is wrong with `cartella` as the folder of `--dir` ("la cartella 'X' non esiste", "'X' non
/// è una cartella"), or nothing when it is a folder.
std::optional<std::string> non_cartella(const std::filesystem::path& cartella);

/// `a` and `b` name one file: the same existing file (also through a link), or the same path.
bool stessa_destinazione(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace compattatore
