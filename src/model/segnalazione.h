// How the phases and passes that fill the model report a code: to an error sink that they are
// given, never to the command that runs them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/codici.h"

namespace compattatore {

/// Where in a source a code was set: file, line number (from 1) and the line as written
/// (Windows-1252 bytes, without its line end). An empty `file` means no source line.
struct Luogo {
  std::string file;
  int riga = 0;
  std::string testo;
};

/// One code set during the run, as the diagnostics receive it.
struct Segnalazione {
  Codice codice = Codice::nessuno;
  std::optional<int32_t> posizione;  // metres, for the codes that record one
  Luogo luogo;
  std::string dettaglio;  // what went wrong, for run-time faults
};

/// The error sink: receives every code when it is set. A later code overwrites an earlier one in
/// the error word, which the sink keeps.
class Segnalatore {
 public:
  virtual ~Segnalatore() = default;
  /// Sets the error word to `s.codice` (and the error position when `s` has one).
  virtual void ricevi(Segnalazione s) = 0;
  /// The code the error word holds now (`Codice::nessuno` before any).
  virtual Codice codice_errore() const = 0;

  void segnala(Codice codice, std::optional<int32_t> posizione = std::nullopt, Luogo luogo = {},
               std::string dettaglio = {}) {
    ricevi(Segnalazione{codice, posizione, std::move(luogo), std::move(dettaglio)});
  }
};

}  // namespace compattatore
