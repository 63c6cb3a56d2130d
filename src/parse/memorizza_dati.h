// The parse of both sources into the model.
#pragma once

#include <filesystem>
#include <string>

#include "model/modello.h"
#include "model/nomi_scenario.h"
#include "model/origini.h"
#include "model/segnalazione.h"

namespace compattatore {

/// How the bytes of a source are read.
enum class Codifica {
  automatica,  // UTF-8 when the source has a byte-order mark, or is valid UTF-8 with at least
               // one multi-byte sequence; Windows-1252 otherwise
  cp1252,      // Windows-1252, byte for byte
  utf8,        // UTF-8 (a byte-order mark is dropped)
};

/// The two sources of a run.
struct Sorgenti {
  std::filesystem::path linea;
  std::filesystem::path treno;
  /// Each source is deleted once read (the plain run's own files); an author's are kept.
  bool cancella_dopo_lettura = false;
  Codifica codifica = Codifica::automatica;
};

/// The bytes of a source as the parser reads them: Windows-1252. A UTF-8 source is converted
/// (with a note once, when the encoding was found rather than asked for); a character that
/// Windows-1252 cannot hold, or bytes that are not UTF-8 where UTF-8 is asked for, give a code at
/// its line and column and nothing (the source is not read).
std::optional<std::string> testo_sorgente(std::string byte, const std::string& file,
                                          Codifica codifica, Segnalatore& errori);

/// Stores the scenario identity in `elenco`, reads the line source, then (when the line phase
/// ended with no code or with code 15) the train source. A run-time fault in either phase
/// becomes code 25: the sources that still exist are deleted (when they are deleted at all) and
/// the function returns normally. With `origini`, records which source item placed each object.
void memorizza_dati(Modello& m, Segnalatore& errori, const NomiScenario& nomi,
                    const Sorgenti& sorgenti, bool con_tracciato, Origini* origini = nullptr);

}  // namespace compattatore
