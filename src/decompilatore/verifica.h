// The decompiler's check: the rebuilt sources compiled in memory, the code points of the markers'
// value that must be lines found by compiling, and the result compared with the model read.
#pragma once

#include <string>
#include <vector>

#include "decompilatore/linea.h"
#include "decompilatore/problemi.h"
#include "decompilatore/ricostruzione.h"
#include "decompilatore/treno.h"

namespace compattatore {

/// The two sources as the check leaves them, and the warnings of their compile.
struct SorgentiVerificati {
  std::vector<std::string> linea;
  std::vector<std::string> treno;
  std::vector<Problema> avvisi;
};

/// Compiles `linea` and `treno` (with the scenario identity of the model of `r`) until every code
/// point with the markers' value that the marker pass does not put is a line of `treno`, then
/// compares the last compile with the model. The problems found so far are put in order first;
/// those of the check follow them. The codes of the compile are problems, or warnings when the
/// compile gives the model read.
SorgentiVerificati verifica_sorgenti(Ricostruzione& r, const SorgenteLinea& linea,
                                     SorgenteTreno& treno);

}  // namespace compattatore
