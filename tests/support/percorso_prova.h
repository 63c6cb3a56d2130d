// A model sized for a 124000 m route (stretches 0 to 2620), for the feature-routine tests.
#pragma once

#include "model/modello.h"

namespace prova {

inline compattatore::Modello percorso() {
  compattatore::Modello m;
  m.crea_tratti(124000, false);
  return m;
}

}  // namespace prova
