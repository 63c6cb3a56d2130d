// Two compiled files of the same kind compared field by field: one line per field that differs,
// naming the stretch, entry or point, the field, and the old and new value.
#pragma once

#include <string>
#include <vector>

#include "model/modello.h"

namespace compattatore {

/// "tratto 929 (46400 m) valore_1: 42 -> 43"; stretches present on one side only in one line.
std::vector<std::string> confronta_tratti(const std::vector<Tratto>& a,
                                          const std::vector<Tratto>& b);

/// "voce 5 (Sipicciano) orario: 24150 (6:42:30) -> 24160 (6:42:40)".
std::vector<std::string> confronta_elenco(const Elenco& a, const Elenco& b);

/// Points that differ, in runs of consecutive points: the run, how many, and its first point
/// with both coordinates before and after. At most `serie` runs are listed, then how many more.
/// Values compare as they are written: a double and an integer of the same number differ, and
/// so do 0.0 and -0.0.
std::vector<std::string> confronta_tracciato(const Tracciato& a, const Tracciato& b,
                                             size_t serie = 20);

}  // namespace compattatore
