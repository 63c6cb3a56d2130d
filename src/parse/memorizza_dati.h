// The parse of both sources into the model.
#pragma once

#include <filesystem>
#include <string>

#include "model/modello.h"
#include "model/nomi_scenario.h"
#include "model/segnalazione.h"

namespace compattatore {

/// The two sources of a run.
struct Sorgenti {
  std::filesystem::path linea;
  std::filesystem::path treno;
  /// Each source is deleted once read (the plain run's own files); an author's are kept.
  bool cancella_dopo_lettura = false;
};

/// Stores the scenario identity in `elenco`, reads the line source, then (when the line phase
/// ended with no code or with code 15) the train source. A run-time fault in either phase
/// becomes code 25: the sources that still exist are deleted (when they are deleted at all) and
/// the function returns normally.
void memorizza_dati(Modello& m, Segnalatore& errori, const NomiScenario& nomi,
                    const Sorgenti& sorgenti, bool con_tracciato);

/// Two sources already in memory: their Windows-1252 bytes, and the names that messages give them.
struct TestiSorgenti {
  std::string linea;
  std::string treno;
  std::string file_linea;
  std::string file_treno;
};

/// The same two phases over `testi`, with the scenario identity that `elenco` 85 and 86 already
/// hold. A run-time fault becomes code 25.
void memorizza_testi(Modello& m, Segnalatore& errori, const TestiSorgenti& testi,
                     bool con_tracciato);

}  // namespace compattatore
