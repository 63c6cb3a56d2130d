// The route plan seen through its observable values: for every point and each of its two
// coordinates, nothing (never assigned), a 16-bit integer or a double. Readers, the page builder,
// the comparison and the JSON output go through these functions only, so that they do not depend
// on how `Tracciato` stores its points.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <variant>

#include "model/modello.h"

namespace compattatore {

/// One coordinate as the plan file holds it: empty, a 16-bit integer or a double.
using Coordinata = std::variant<std::monostate, int16_t, double>;

namespace punti_tracciato {

/// Number of points (metres 0 to `metri_totali`), 0 when there is no plan.
inline size_t numero(const Tracciato& t) { return t.punti(); }

/// A plan of `punti` points (at least 1), every coordinate empty.
inline void prepara(Tracciato& t, size_t punti) { t.crea(static_cast<int32_t>(punti) - 1); }

inline Asse asse_di(int asse) { return asse == 0 ? Asse::x : Asse::y; }

/// Coordinate `asse` (0 or 1) of point `i`.
inline Coordinata coordinata(const Tracciato& t, int asse, size_t i) {
  const Asse a = asse_di(asse);
  switch (t.tipo(i, a)) {
    case TipoCoordinata::intera:
      return t.intero(i, a);
    case TipoCoordinata::reale:
      return t.valore(i, a);
    case TipoCoordinata::vuota:
      break;
  }
  return std::monostate{};
}

/// Sets coordinate `asse` (0 or 1) of point `i`.
inline void imposta(Tracciato& t, int asse, size_t i, const Coordinata& c) {
  const Asse a = asse_di(asse);
  if (const auto* n = std::get_if<int16_t>(&c)) {
    t.imposta_intero(i, a, *n);
  } else if (const auto* d = std::get_if<double>(&c)) {
    t.imposta_reale(i, a, *d);
  } else {
    t.svuota(i, a);
  }
}

/// The number a coordinate holds, or nothing when it is empty.
inline std::optional<double> valore(const Coordinata& c) {
  if (const auto* d = std::get_if<double>(&c)) return *d;
  if (const auto* i = std::get_if<int16_t>(&c)) return static_cast<double>(*i);
  return std::nullopt;
}

}  // namespace punti_tracciato
}  // namespace compattatore
