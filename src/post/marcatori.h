// Code markers around signals and slowdowns, placed over the finished stretch array.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "model/modello.h"

namespace compattatore {

/// Receives a code of the pass (11, 12 or 13) with its position in metres (stretch × 50).
using SegnalaCodice = std::function<void(int32_t codice, int32_t posizione)>;

/// The code-marker pass over `tratti`: markers (`cambio_codice`, value 180) before the signals
/// in the 20 stretches ahead of a slowdown warning board, in three windows before every slowdown
/// start, every 8 stretches inside a slowdown slower than 110, and before the first signal within
/// 12 stretches after a slowdown end. Only free stretches are written, or an existing marker is
/// lowered to 180; where there is no room, code 11, 12 or 13 goes to `segnala` and the pass goes
/// on.
void marca_codici(std::vector<Tratto>& tratti, const SegnalaCodice& segnala);

/// `y` when `x` is greater than `y`, otherwise `x` (equal values give `x`).
template <class T>
constexpr T minimo(T x, T y) {
  return x > y ? y : x;
}

}  // namespace compattatore
