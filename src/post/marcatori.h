// Code markers around signals and slowdowns, placed over the finished stretch array.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "model/modello.h"

namespace compattatore {

/// Receives a code of the pass (11, 12 or 13) with its position in metres (stretch × 50).
using SegnalaCodice = std::function<void(int32_t codice, int32_t posizione)>;

/// The code-marker pass over `tratti`.
void marca_codici(std::vector<Tratto>& tratti, const SegnalaCodice& segnala);

}  // namespace compattatore
