// A model sized for a route of `lunghezza` metres, for the feature-routine tests: 124000 m gives
// stretches 0 to 2620, 1000 m stretches 0 to 160.
#pragma once

#include <cstdint>

#include "model/modello.h"

namespace prova {

inline compattatore::Modello percorso(int32_t lunghezza = 124000) {
  compattatore::Modello m;
  m.crea_tratti(lunghezza, false);
  return m;
}

}  // namespace prova
