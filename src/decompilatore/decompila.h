// From a compiled scenario back to the two sources that compile to it, byte for byte.
//
// What the compiled files store comes back as source lines: the route length, the kilometric
// sections as given (before their ordering and the added 100), backgrounds, signal repetition,
// curves (from the route plan), gradients, mountains, speed indicator boards, boards with their
// texts; the train figures, clock, sand, adhesion and speed profiles, stations with their
// timetable, slowdowns, signals, code change and cut points. What the parse and the passes
// derive is not written back: code markers, approach bytes, station zones and stopping points,
// slowdown warning boards and marked stretches, mountain markers, the check codes.
#pragma once

#include <string>
#include <vector>

#include "decompilatore/problemi.h"
#include "decompilatore/sorgente.h"
#include "model/modello.h"

namespace compattatore {

/// The two sources rebuilt from a model, and what of the model could not be rebuilt.
struct Decompilato {
  std::vector<std::string> linea;  // lines of `<nome>_linea.txt`, UTF-8, without line ends
  std::vector<std::string> treno;  // lines of `<nome>_<treno>-.txt`
  /// What no source gives, each naming where (stretch, entry, plan point) and what, in the order
  /// of the files. The sources hold everything else; compiling them gives the model except these
  /// places.
  std::vector<Problema> problemi;
  /// What the author should know and is no fault: no route plan, codes the compile will set.
  std::vector<Problema> avvisi;
  /// The model had no route plan: the line source has no curves, and compiling it without the
  /// plan gives the same files.
  bool senza_tracciato = false;
};

/// Rebuilds the sources of `m`, a model as the readers give it back: `tratti` and `elenco`
/// present, `tracciato` empty when there was no route plan. The sources are compiled in memory
/// (with the scenario identity of `elenco` 85 and 86) and the result compared with `m` field by
/// field; every difference left is a problem. Never throws for what the model holds.
Decompilato decompila(const Modello& m);

}  // namespace compattatore
