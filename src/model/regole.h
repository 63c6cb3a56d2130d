// Rounding, narrowing and the three placement rules shared by every writer of the model.
#pragma once

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

namespace compattatore {

struct Tratto;

/// A run-time fault while building the model: a number that does not fit its field, a read past
/// the end of a source, an index outside an array. The parser turns it into code 25.
struct GuastoEsecuzione : std::runtime_error {
  using std::runtime_error::runtime_error;
};

/// Nearest integer, exact halves to the even neighbour. Throws GuastoEsecuzione when `x` is not
/// finite or lies outside the 64-bit range.
int64_t arrotonda(double x);

/// `v` converted to T when it fits; otherwise the run-time fault (`cosa` names the field).
template <class T>
T entro(int64_t v, const char* cosa) {
  if (v < static_cast<int64_t>(std::numeric_limits<T>::min()) ||
      v > static_cast<int64_t>(std::numeric_limits<T>::max())) {
    throw GuastoEsecuzione(std::string(cosa) + ": " + std::to_string(v) + " non entra nel campo");
  }
  return static_cast<T>(v);
}

/// The low bits of `v` that fit T (two's complement wrap): the "low 8 / 16 bits" of a value.
template <class T>
T bassi(int64_t v) {
  using U = std::make_unsigned_t<T>;
  return static_cast<T>(static_cast<U>(static_cast<uint64_t>(v)));
}

/// Metres of one stretch of `tratti`.
inline constexpr int32_t kMetriTratto = 50;

/// Metres of stretches beyond the route's end: `metri_totali` is the route length plus these.
inline constexpr int32_t kCodaPercorso = 7000;

/// The route length of a model of `metri_totali` metres.
constexpr int64_t lunghezza_percorso(int64_t metri_totali) { return metri_totali - kCodaPercorso; }

/// Position of a point object on stretch `s`: it lands there from (s − 1) × 50 m.
template <class T>
constexpr T posizione_oggetto(T s) {
  return (s - 1) * kMetriTratto;
}

/// Start of the 50 m that stretch `s` covers in the profiles (gradient, speed, adhesion,
/// mountains) and for code points: s × 50 m.
template <class T>
constexpr T inizio_tratto(T s) {
  return s * kMetriTratto;
}

/// The fixed values stored beside the check codes: entry 85 `intero_1` and stretch 1 `valore_1`.
inline constexpr int16_t kFissoIntestazione = 610;
inline constexpr int16_t kFissoTratto = 5121;

/// Longest text of a compiled table entry: its length is written in 16 bits.
inline constexpr size_t kMaxTesto = 65535;

/// `testo` when it fits a compiled text; otherwise the run-time fault (`cosa` names the text).
std::string testo_entro(std::string testo, const char* cosa);

/// Stretch of a point object: posizione / 50 + 1 in double precision, rounded half to even.
int32_t tratto_di(int32_t posizione);

/// `valore` / 50 in double precision, rounded half to even (no + 1): the mapping of the gradient
/// fill, the profiles, mountains, code points and stopping points.
int32_t cinquantesimi(double valore);

/// Range rule: `ultimo_tratto` >= (posizione + margine) / 50, compared in double precision.
bool nel_campo(int32_t ultimo_tratto, int32_t posizione, int32_t margine = 100);

/// A position the parsers accept: not before the route start, and within the range rule.
bool nel_percorso(int32_t ultimo_tratto, int32_t posizione, int32_t margine = 100);

/// Free test: a stretch is free when its `oggetto` is `libero` (0) or `segno_montagna` (11).
bool libero(const Tratto& t);

}  // namespace compattatore
