// Mountain stretches of the route.
#pragma once

#include <cstdint>

#include "model/modello.h"

namespace compattatore {

/// Stores the mountain from `inizio` to `fine` (metres) as the next of `numero_montagne` and
/// writes its type on the stretches inizio / 50 to fine / 50 - 1 (each rounded half to even).
/// A type above 10 loses 10 and also puts `segno_montagna` on every fourth stretch that holds
/// nothing; a mountain that begins at most 150 m after the previous one ends gets type 3.
/// `tipo` is left holding the type written.
///
/// Returns 0 when stored; 15 (nothing stored) when a position is negative or the stretches
/// leave `tratti`; 26 (nothing stored) when 80 mountains are stored already.
int32_t memo_montagna(Modello& m, int32_t inizio, int32_t fine, int32_t& tipo);

}  // namespace compattatore
