// A lineside signal of the train source: one point object with four packed values and the four
// approach bytes on the stretches ahead of it.
#pragma once

#include <cstdint>

#include "model/codici.h"
#include "model/modello.h"

namespace compattatore {

/// The numbers of one "segnale" line, in the order the line holds them.
struct Segnale {
  int32_t posizione = 0;
  int32_t sx = 0;
  int32_t s1 = 0;
  int32_t s2 = 0;
  int32_t s3 = 0;
  int32_t rapp = 0;
  int32_t dx = 0;
  int32_t d1 = 0;
  int32_t d2 = 0;
  int32_t d3 = 0;
  int32_t tempo = 0;
};

/// Stores the signal on stretch posizione / 50 + 1 and returns `nessuno`, or returns a code and
/// stores nothing: `segnale_occupato` when that stretch is not free, `fuori_percorso` when the
/// signal or its approach bytes would lie outside `tratti` (a negative position, or a stretch below
/// 8). The caller applies the range rule and records the position.
Codice memo_segnale(Modello& m, const Segnale& s);

}  // namespace compattatore
