// The three kilometric sections of the route, ordered by where they begin.
#pragma once

#include "model/modello.h"

namespace compattatore {

/// Re-orders `elenco` 81 to 83 (read as "tre", "due", "uno") so that 81 holds the section that
/// begins last along the route and 83 the one that begins first, then adds 100 to the chainage
/// value of every section whose `verso` is 1.
void progressive_ordina(Elenco& elenco);

}  // namespace compattatore
