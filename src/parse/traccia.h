// The per-metre plan layout of the route, drawn on `tracciato` one metre at a time.
#pragma once

#include <cstdint>

#include "model/codici.h"
#include "model/modello.h"
#include "model/parole.h"  // kCurvature

namespace compattatore {

/// The last metre the layout may reach; a counter beyond it ends the layout with code 103.
inline constexpr int32_t kUltimoMetroTracciato = 1000000;

/// One point of the plan as two doubles.
struct Punto {
  double x = 0;
  double y = 0;
};

/// The point after `ultimo` on a straight: the step from `penultimo` to `ultimo` once more.
Punto passo_retto(Punto penultimo, Punto ultimo);

/// The point after `ultimo` on a curve of curvature `k`: the step D from `penultimo` to `ultimo`
/// turned, X + Dx + k·Dy and Y + Dy − k·Dx.
Punto passo_curvo(Punto penultimo, Punto ultimo, double k);

/// Straight run up to `posizione`, then a curve of curvature `k` (radians per metre, positive to
/// the right) up to `posizione` + `lunghezza`. `metro` is the next point to compute (from 2) and is
/// left on the first point not computed. Each point continues the step between the two before
/// it, in double precision. Returns `nessuno`, or `curva_errata` when the counter passes
/// `kUltimoMetroTracciato`;
/// a point beyond the end of `tracciato` is the run-time fault.
Codice traccia_curva(Tracciato& t, int32_t& metro, int32_t posizione, int32_t lunghezza, double k);

/// Straight run while `metro` <= `fino`.
void traccia_rettilineo(Tracciato& t, int32_t& metro, int64_t fino);

}  // namespace compattatore
