// Mountain stretches of the route.
#pragma once

#include <array>
#include <cstdint>

#include "model/codici.h"
#include "model/modello.h"

namespace compattatore {

inline constexpr int kMaxMontagne = 80;

/// The mountains stored so far by the line phase: entries 1 to `numero`.
struct Montagne {
  int32_t numero = 0;
  std::array<int32_t, kMaxMontagne + 1> inizio{};
  std::array<int32_t, kMaxMontagne + 1> fine{};
};

/// Stores the mountain from `inizio` to `fine` (metres) as the next of `montagne` and writes its
/// type on the stretches inizio / 50 to fine / 50 - 1 (each rounded half to even). A type above 10
/// loses 10 and also puts `segno_montagna` on every fourth stretch that holds nothing; a mountain
/// that begins at most 150 m after the previous one ends gets type 3. `tipo` is left holding the
/// type written.
///
/// Returns `nessuno` when stored; `fuori_percorso` (nothing stored) when a position is negative or
/// the stretches leave `tratti`; `troppe_montagne` (nothing stored) when 80 are stored already.
Codice memo_montagna(Modello& m, Montagne& montagne, int32_t inizio, int32_t fine, int32_t& tipo);

}  // namespace compattatore
