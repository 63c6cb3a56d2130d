// The picture of a route: one self-contained HTML page with inline SVG (no script, no network),
// holding the map of the route plan and the profile along the route.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/modello.h"

namespace compattatore {

struct PuntoPagina {
  double x;
  double y;
};

/// A line thinned for drawing: every kept point lies at least `passo` from the one kept before
/// it (the last point is always kept), and then points closer than `passo` / 3 to the line
/// between their neighbours are dropped. With `passo` one pixel, the line never has more
/// points than pixels along it, and looks the same.
std::vector<PuntoPagina> sfoltisci(const std::vector<PuntoPagina>& punti, double passo);

/// The page of the scenario in `m`: title and figures, the map (only when `m` has a route plan),
/// the profile on one distance axis with the kilometric chainage (gradient, speed limit,
/// adhesion; rows of stations, signals, slowdowns, code points, boards and mountains), a legend
/// and the timetable. Italian labels; laid out for a laptop screen and for A4 landscape print.
/// `m` must have its table and its stretches.
std::string pagina_percorso(const Modello& m);

/// Writes the page of `m` to `file`, replacing it safely. Throws ErroreFile.
void scrivi_pagina(const std::filesystem::path& file, const Modello& m);

/// The file beside a watched page `file` that tells its version: "NOME.versione.js".
std::filesystem::path file_versione(const std::filesystem::path& file);

/// Writes the page of `m` as a watch does: the same page with a small script that, every second,
/// loads the file of `file_versione` afresh and reloads the page when the version it gives is not
/// the page's own (a page opened from the disk may load a script beside it: no server needed).
/// The version stands for the page's content. The page is written first, then its version, each
/// replacing the one before safely: an open page reloads once the new one is whole. Throws
/// ErroreFile.
void scrivi_pagina_osservata(const std::filesystem::path& file, const Modello& m);

}  // namespace compattatore
