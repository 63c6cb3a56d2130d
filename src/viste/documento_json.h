// The JSON view of a compiled scenario, as `mostra --json` prints it: the same summary as the text,
// every entry of the table, the stretches asked for, and every point of the route plan. Lengths,
// speeds and gradients are in the author's units (metres, km/h, per mille), with the stored
// numbers beside them where they differ; stretches and objects are placed by the one rule of
// viste/posizioni.h. The schema of the document is doc/mostra.schema.json.
#pragma once

#include <cstdint>
#include <ostream>

#include "viste/scheda.h"

namespace compattatore {

/// Writes the document of `s`, with the stretches `primo` to `ultimo`, to `out` piece by piece:
/// one stretch and one plan point at a time, never the whole document in memory. The layout is
/// that of nlohmann::json's dump with an indent of one space; keys keep the order they are
/// written in.
void scrivi_documento_json(std::ostream& out, const Scheda& s, int32_t primo, int32_t ultimo);

}  // namespace compattatore
