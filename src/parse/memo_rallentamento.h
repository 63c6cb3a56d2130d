// A slowdown of the train source: start and end boards, the warning board 1200 m before the
// start, and optionally four marked stretches before the warning board.
#pragma once

#include <cstdint>

#include "model/codici.h"
#include "model/modello.h"

namespace compattatore {

/// The numbers of one "rallentamento" line, in the order the line holds them.
struct Rallentamento {
  int32_t x = 0;     // start, metres
  int32_t v = 0;     // speed, km/h
  int32_t l = 0;     // length, metres
  int32_t f_tt = 0;  // stored in valore_3 of start and end
  int32_t f_ta = 0;  // not 0: the four stretches before the warning board are marked
  int32_t d_v = 0;   // not 0: stored in valore_2 of warning, start and end, and of the marks
};

/// The stretches of a slowdown: warning board, start, end, and the first of the four marked
/// stretches (the others are the three before it). `con_avviso` and `con_marcati` say which of
/// them the slowdown has.
struct TrattiRallentamento {
  int64_t avviso = 0;
  int64_t inizio = 0;
  int64_t fine = 0;
  int64_t marcati = 0;
  bool con_avviso = false;
  bool con_marcati = false;
};
TrattiRallentamento tratti_rallentamento(const Rallentamento& r);

/// Stores the slowdown and returns `nessuno`, or returns a code:
/// `avviso_occupato`, `inizio_rallentamento_occupato`, `fine_rallentamento_occupata` when the
/// warning, start or end stretch is not free (nothing stored); `preavvisi_occupati` when a
/// marked stretch is not free (warning, start and end stay stored); `fuori_percorso` when a
/// stretch of the slowdown would lie outside `tratti` (nothing stored).
/// The caller applies the range rule to `x` and records the position.
Codice memo_rallentamento(Modello& m, const Rallentamento& r);

}  // namespace compattatore
