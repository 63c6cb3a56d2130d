// What follows the parse of a scenario, before its compiled files are written: the same steps for
// a run (run/esecuzione.cpp) and for the compiles in memory that check what the decompiler writes.
#pragma once

#include "model/codici.h"
#include "model/modello.h"
#include "model/origini.h"
#include "model/segnalazione.h"

namespace compattatore {

/// The code-marker pass, then the two reserved-field checks and the header values: 610 and the
/// `codice_gara_st` check code in entry 85, 5121 and the `codice_gara_og` check code in stretch
/// 1. Returns `nessuno` when the model is complete; `campo_riservato_1` or `campo_riservato_2`
/// when a reserved field already holds a value (the model must not be written then).
struct Completamento {
  Codice codice = Codice::nessuno;
  int segni_di_codice = 0;  // code markers placed by the pass
};
Completamento completa(Modello& m, Segnalatore& errori, Origini* origini = nullptr);

}  // namespace compattatore
