// The text views of a compiled scenario, as `mostra` prints them: the summary, section by section,
// and single stretches with every field.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "model/modello.h"
#include "viste/scheda.h"

namespace compattatore {

/// The summary: files, check codes, route, train, timetable, signals, slowdowns, code points,
/// mountains, boards, speed boards, profiles, and the findings under "Avvisi".
void stampa_sommario(std::ostream& out, const Scheda& s);

/// The stretches `primo` to `ultimo` of `tratti`, every field, one stretch per line under a line
/// with the fields' names.
void stampa_tratti(std::ostream& out, const std::vector<Tratto>& tratti, int32_t primo,
                   int32_t ultimo);

}  // namespace compattatore
