// The scenario model: the stretch array `tratti`, the 87-entry table `elenco` and the route plan
// `tracciato`.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace compattatore {

/// Kinds of point object held in `Tratto::oggetto`. Codes 7, 8 and 9 are never written.
namespace oggetto {
inline constexpr uint8_t libero = 0;
inline constexpr uint8_t segnale = 1;
inline constexpr uint8_t fine_rallentamento = 2;
inline constexpr uint8_t inizio_rallentamento = 3;
inline constexpr uint8_t avviso_rallentamento = 4;
inline constexpr uint8_t preavviso_rallentamento = 5;
inline constexpr uint8_t indicatore_velocita = 6;
inline constexpr uint8_t fermata = 10;
inline constexpr uint8_t segno_montagna = 11;
inline constexpr uint8_t cambio_codice = 12;
inline constexpr uint8_t taglio_codice = 13;
inline constexpr uint8_t cartello = 14;
}  // namespace oggetto

/// One 50 m stretch of route; written as 15 packed bytes in this field order.
struct Tratto {
  uint8_t oggetto = 0;
  int16_t valore_1 = 0;
  int16_t valore_2 = 0;
  int16_t valore_3 = 0;
  int16_t valore_4 = 0;
  uint8_t tempo_segnale = 0;
  uint8_t preavviso = 0;
  uint8_t montagna = 0;
  uint8_t velocita = 0;
  uint8_t pendenza = 0;
  uint8_t aderenza = 0;

  bool operator==(const Tratto&) const = default;
};

/// One entry of `elenco`. `testo` holds Windows-1252 bytes, as read from a source or converted
/// from the scenario identity.
struct Voce {
  uint8_t tipo_voce = 0;
  int32_t campo_1 = 0;
  int32_t campo_2 = 0;
  int32_t campo_3 = 0;
  uint8_t opzione = 0;
  std::string testo;
  int16_t intero_1 = 0;
  int16_t intero_2 = 0;
  int16_t intero_3 = 0;
  int16_t intero_4 = 0;
  int16_t intero_5 = 0;
  uint8_t flag_1 = 0;
  uint8_t flag_2 = 0;
  uint8_t flag_3 = 0;
  uint8_t flag_4 = 0;
  int32_t orario = 0;

  bool operator==(const Voce&) const = default;
};

inline constexpr int kVociElenco = 87;
using Elenco = std::array<Voce, kVociElenco>;

/// Indices of `elenco` with a fixed role.
namespace voce {
inline constexpr int primo_cartello = 80;  // board texts grow downwards from here
inline constexpr int sezione_tre = 81;
inline constexpr int sezione_due = 82;
inline constexpr int sezione_uno = 83;
inline constexpr int figure_treno = 84;
inline constexpr int intestazione = 85;
inline constexpr int treno = 86;
}  // namespace voce

/// A coordinate of the route plan: never assigned, a 16-bit integer or a double.
using Coordinata = std::variant<std::monostate, int16_t, double>;

/// The planar route plan, one point per metre 0 to `metri_totali`: `x` is coordinate 0 and `y`
/// coordinate 1 of every point.
struct Tracciato {
  std::vector<Coordinata> x;
  std::vector<Coordinata> y;

  bool vuoto() const { return x.empty(); }
  void crea(int32_t metri_totali) {
    x.assign(static_cast<size_t>(metri_totali) + 1, Coordinata{});
    y.assign(static_cast<size_t>(metri_totali) + 1, Coordinata{});
  }
};

/// The model: what the phases fill and the writers of the compiled files read.
struct Modello {
  std::vector<Tratto> tratti;  // indices 0 to ultimo_tratto(); empty until the route length is read
  Elenco elenco{};
  Tracciato tracciato;  // empty unless flag_linea is set
  int32_t metri_totali = 0;

  /// `tratti` exists (the route length has been read).
  bool dimensionato() const { return !tratti.empty(); }
  /// The upper index of `tratti` (-1 while it does not exist).
  int32_t ultimo_tratto() const { return static_cast<int32_t>(tratti.size()) - 1; }
  /// Stretch `i`, or the run-time fault when `i` lies outside `tratti`.
  Tratto& tratto(int64_t i);
  /// Creates `tratti` for route length `lunghezza` (and `tracciato` when `con_tracciato`).
  void crea_tratti(int32_t lunghezza, bool con_tracciato);
};

}  // namespace compattatore
