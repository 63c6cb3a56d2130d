// Code markers around signals and slowdowns, placed over the finished stretch array.
#pragma once

#include <cstdint>

#include "model/modello.h"
#include "model/origini.h"
#include "model/segnalazione.h"

namespace compattatore {

/// The code-marker pass over the stretches of `m`: markers (`cambio_codice`, value 180) before the
/// signals in the 20 stretches ahead of a slowdown warning board, in three windows before every
/// slowdown start, every 8 stretches inside a slowdown slower than 110, and before the first signal
/// within 12 stretches after a slowdown end. Only free stretches are written, or an existing marker
/// is lowered to 180; where there is no room, code 11, 12 or 13 goes to `errori` with its stretch
/// and its position in metres (stretch × 50), and the pass goes on. With `origini`, a code names
/// the source line of the object it concerns, with a note for every stretch that was in the way,
/// and every marker placed is recorded there. Returns the number of markers placed.
int marca_codici(Modello& m, Segnalatore& errori, Origini* origini = nullptr);

/// `y` when `x` is greater than `y`, otherwise `x` (equal values give `x`).
template <class T>
constexpr T minimo(T x, T y) {
  return x > y ? y : x;
}

}  // namespace compattatore
