// The last step of the check: what the rebuilt sources compile to, compared with the model that
// was read, field by field.
#pragma once

#include "decompilatore/ricostruzione.h"
#include "model/modello.h"

namespace compattatore {

/// Every difference between `ricompilato` and the model of `r` is a problem, except at a place
/// that has one already: the stretch count, the check codes, the first stretches that differ and
/// how many more, each entry, and the route plan (when there is one and it has no problem yet).
void differenze(Ricostruzione& r, const Modello& ricompilato);

}  // namespace compattatore
