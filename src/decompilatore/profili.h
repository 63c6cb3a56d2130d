// Profiles back to lines: a gradient, speed or adhesion line at 0 and at every stretch where the
// value changes, from the runs the decoder reads, and what the fill at the end leaves to no line.
#pragma once

#include <cstdint>
#include <vector>

#include "decompilatore/ricostruzione.h"
#include "decompilatore/sorgente.h"
#include "model/campi.h"

namespace compattatore {

/// How the fill of a profile ends: the last `coda` stretches keep the stored 0 whatever the lines
/// say, and with `riga_in_coda` a line on the first of the last three stretches fills it too.
struct FineProfilo {
  int32_t coda;
  bool riga_in_coda;
};

/// The lines of `parola` that give the runs `tratte` of `campo` (values in the author's unit);
/// a value other than the stored 0 where no line reaches is the problem `in_coda`.
void profilo(Ricostruzione& r, CampoTratto campo, const std::vector<Tratta>& tratte, Chiave parola,
             FineProfilo fine, TipoProblema in_coda, std::vector<Riga>& out);

}  // namespace compattatore
