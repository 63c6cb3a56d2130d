// Speed indicator boards.
#pragma once

#include <cstdint>

#include "model/codici.h"
#include "model/modello.h"

namespace compattatore {

/// Places a speed indicator board (`oggetto` 6) on the stretch of `posizione`: `valore_1` to
/// `valore_3` = first-side speed × 20 + second-side speed / 5 for ranks A, B, C (rounded half to
/// even into 16 bits; a value outside them is the run-time fault), `valore_4` = `strisces` × 10 +
/// `strisced` in 16-bit arithmetic (it wraps). Returns `nessuno`, or `indicatore_occupato` without
/// writing when the stretch is taken (neither free nor a mountain marker).
Codice memo_indicatori_v_max(Modello& m, int32_t posizione, int32_t vas, int32_t vbs, int32_t vcs,
                             int32_t strisces, int32_t vad, int32_t vbd, int32_t vcd,
                             int32_t strisced);

}  // namespace compattatore
