// The curve list of a line source, found again from the route plan it drew.
#pragma once

#include <cstdint>
#include <vector>

#include "decompilatore/problemi.h"
#include "model/modello.h"

namespace compattatore {

/// One curve line: "curva" + `d` or `s` + the class digit, then `posizione` and `lunghezza`.
/// The plan turns on the metres `posizione` + 1 to `posizione` + `lunghezza`.
struct CurvaSorgente {
  int32_t posizione = 0;
  int32_t lunghezza = 0;
  int classe = 1;      // 1 to 6
  bool destra = true;  // "curvad"; false for "curvas"
  bool operator==(const CurvaSorgente&) const = default;
};

/// The curves of a plan, and what of the plan no curve list draws.
struct CurveTracciato {
  std::vector<CurvaSorgente> curve;
  std::vector<Problema> problemi;  // of the plan, at the first point each names
};

/// Reads the plan metre by metre: each point from 2 on is the step of a straight or of one curve
/// class from the two points before it, recomputed exactly as the line phase computes it and
/// compared bit for bit. Runs of metres with the same curvature become one curve each; a point
/// that no step gives takes the curvature of the metre before. Such a point, an integer or empty
/// point where the layout leaves a double (or the other way round), and a curve that a line source
/// cannot place (its start past the range rule of a route with `ultimo_tratto`, or past the last
/// metre the layout may reach) are problems; the rest of the curves are still returned.
CurveTracciato curve_dal_tracciato(const Tracciato& t, int32_t ultimo_tratto);

}  // namespace compattatore
