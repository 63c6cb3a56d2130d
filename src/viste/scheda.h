// What the views of a compiled scenario start from: its description, the identity its table holds
// with what does not match it in the files, and the check codes recomputed from that identity.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formato/scenario_compilato.h"
#include "viste/anomalie.h"
#include "viste/descrizione.h"
#include "viste/posizioni.h"

namespace compattatore {

/// One value that ties the compiled files to the scenario identity, as stored and as expected.
struct ValoreControllo {
  std::string nome;                    // "codice_gara_st", ...
  std::string dove;                    // "voce 85 orario", ...
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

/// The identity of the table (empty without it) and the findings: first what does not match
/// between the files and the table (a file name, the number of stretches or plan points for the
/// route length), then those of the description.
struct IdentitaLetta {
  std::string nome;   // UTF-8
  std::string treno;  // UTF-8
  std::vector<Rilievo> avvisi;
};

IdentitaLetta identita(const ScenarioCompilato& s, const Descrizione& r);

/// Everything a view of `scenario` shows.
struct Scheda {
  const ScenarioCompilato& scenario;
  Descrizione descrizione;
  IdentitaLetta identita;
  std::optional<ControlloCodici> codici;
  PartiPercorso parti;  // where the route's tail begins
};

Scheda scheda(const ScenarioCompilato& s);

}  // namespace compattatore
