// The JSON view of a compiled scenario, as `mostra --json` prints it: the same summary as the text,
// every entry of the table, the stretches asked for, and every point of the route plan.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>

#include "viste/scheda.h"

namespace compattatore {

/// The document of `s`, with the stretches `primo` to `ultimo` (every field of each). Keys keep
/// the order they are written in.
nlohmann::ordered_json documento_json(const Scheda& s, int32_t primo, int32_t ultimo);

}  // namespace compattatore
