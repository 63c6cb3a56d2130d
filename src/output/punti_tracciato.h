// The route plan seen through its observable values: for every point and each of its two
// coordinates, nothing (never assigned), a 16-bit integer or a double. Readers, the page builder
// and the comparison go through these functions only, so that the storage of `Tracciato` can
// change in one place.
#pragma once

#include <cstddef>
#include <optional>
#include <variant>

#include "model/modello.h"

namespace compattatore::punti_tracciato {

/// Number of points (metres 0 to `metri_totali`), 0 when there is no plan.
inline size_t numero(const Tracciato& t) { return t.x.size(); }

/// A plan of `punti` points, every coordinate empty.
inline void prepara(Tracciato& t, size_t punti) {
  t.x.assign(punti, Coordinata{});
  t.y.assign(punti, Coordinata{});
}

/// Coordinate `asse` (0 or 1) of point `i`.
inline Coordinata coordinata(const Tracciato& t, int asse, size_t i) {
  return asse == 0 ? t.x[i] : t.y[i];
}

/// Sets coordinate `asse` (0 or 1) of point `i`.
inline void imposta(Tracciato& t, int asse, size_t i, Coordinata c) {
  (asse == 0 ? t.x[i] : t.y[i]) = c;
}

/// The number a coordinate holds, or nothing when it is empty.
inline std::optional<double> valore(const Coordinata& c) {
  if (const auto* d = std::get_if<double>(&c)) return *d;
  if (const auto* i = std::get_if<int16_t>(&c)) return static_cast<double>(*i);
  return std::nullopt;
}

}  // namespace compattatore::punti_tracciato
