// What the commands that look inside compiled files share: finding and reading the files named
// on the command line, and the check codes recomputed from the scenario identity.
#pragma once

#include <cstdint>
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

/// `a` and `b` name one file: the same existing file (also through a link), or the same path.
bool stessa_destinazione(const std::filesystem::path& a, const std::filesystem::path& b);

/// One value that ties the compiled files to the scenario identity, as stored and as expected.
struct ValoreControllo {
  const char* nome;                    // "codice_gara_st", ...
  const char* dove;                    // "voce 85 orario", ...
  std::optional<int32_t> memorizzato;  // nothing when its file is missing
  int32_t atteso;
  bool valido() const { return memorizzato == atteso; }
};

/// The check codes recomputed from `nome` and `treno` of the table, beside the fixed values.
struct ControlloCodici {
  std::string chiave;  // the 25 characters the codes are computed from, UTF-8
  std::vector<ValoreControllo> valori;
  /// Every value is there and matches: the simulator accepts the files.
  bool validi() const;
};

/// The check of `s`; nothing without the table, which holds the identity.
std::optional<ControlloCodici> controlla_codici(const ScenarioCompilato& s);

}  // namespace compattatore
