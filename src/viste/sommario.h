// The text views of a compiled scenario, as `mostra` prints them: the summary, section by section,
// and single stretches with every field.
#pragma once

#include <cstdint>
#include <ostream>

#include "viste/scheda.h"

namespace compattatore {

/// The summary: files, check codes, route, train, timetable, signals, slowdowns, code points,
/// mountains, boards, speed boards, profiles, and the findings under "Avvisi".
void stampa_sommario(std::ostream& out, const Scheda& s);

/// The stretches `primo` to `ultimo` of the scenario, one per line under two lines with the
/// fields' names and units: its number and start, every field in the author's unit (a profile's
/// field has none on the stretches no line fills), whether it lies in the route's tail, and its
/// object in the author's words.
void stampa_tratti(std::ostream& out, const Scheda& s, int32_t primo, int32_t ultimo);

}  // namespace compattatore
