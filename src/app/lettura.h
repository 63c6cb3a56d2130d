// What the commands that look inside compiled files share: finding and reading the files named
// on the command line; and the folder that a command writes into.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "formato/scenario_compilato.h"

namespace compattatore {

/// Runs `lavoro`, which reads compiled files; a file that cannot be read or is not a compiled
/// file of its kind is printed on `err` for `comando`, and the answer is false.
bool leggendo(const std::string& comando, std::ostream& err, const std::function<void()>& lavoro);

/// The scenario named by `operandi` (files of one scenario, or a folder holding one), read. On
/// failure prints why on `err` for `comando` and returns nothing: the exit status is then 1.
/// `tracciato` says whether the route plan is held or only walked and counted.
std::optional<ScenarioCompilato> leggi_scenario(
    const std::vector<std::filesystem::path>& operandi, const std::string& comando,
    std::ostream& err, LetturaTracciato tracciato = LetturaTracciato::intero);

/// What is wrong with `cartella` as the folder of `--dir` ("la cartella 'X' non esiste", "'X' non
/// è una cartella"), or nothing when it is a folder.
std::optional<std::string> non_cartella(const std::filesystem::path& cartella);

/// `a` and `b` name one file: the same existing file (also through a link), or the same path.
bool stessa_destinazione(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace compattatore
