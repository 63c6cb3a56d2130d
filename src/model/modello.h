// The scenario model: the stretch array `tratti`, the 87-entry table `elenco` and the route plan
// `tracciato`.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/righe_campi.h"

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

/// One 50 m stretch of route; its fields are the rows of COMPATTATORE_CAMPI_TRATTO, in the order
/// the file stores them (model/campi.h has the table).
struct Tratto {
#define COMPATTATORE_CAMPO(nome, tipo, ...) tipo nome = 0;
  COMPATTATORE_CAMPI_TRATTO(COMPATTATORE_CAMPO)
#undef COMPATTATORE_CAMPO

  bool operator==(const Tratto&) const = default;
};

/// One entry of `elenco`; its fields are the rows of COMPATTATORE_CAMPI_VOCE. `testo` holds
/// Windows-1252 bytes, as read from a source or converted from the scenario identity.
struct Voce {
#define COMPATTATORE_CAMPO(nome, tipo, ...) tipo nome = 0;
#define COMPATTATORE_TESTO(nome, ...) std::string nome;
  COMPATTATORE_CAMPI_VOCE(COMPATTATORE_CAMPO, COMPATTATORE_TESTO)
#undef COMPATTATORE_TESTO
#undef COMPATTATORE_CAMPO

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

/// What a coordinate of the route plan holds: nothing yet, a 16-bit integer or a double.
enum class TipoCoordinata : uint8_t { vuota = 0, intera = 1, reale = 2 };

/// The two coordinates of a point of the route plan: `x` is coordinate 0, `y` coordinate 1.
enum class Asse : uint8_t { x = 0, y = 1 };

/// The planar route plan, one point per metre 0 to `metri_totali`, two coordinates per point.
/// Held in one block of 17 bytes a point: the values of each axis as doubles (an integer held
/// exactly), then one byte per point with the kinds of both coordinates. A new plan takes zeroed
/// memory from the allocator and touches none of it: the pages of a point are first written when
/// the point is drawn. Points are indexed 0 to punti() - 1, unchecked.
class Tracciato {
 public:
  Tracciato() = default;
  Tracciato(const Tracciato& altro);
  Tracciato& operator=(const Tracciato& altro);
  Tracciato(Tracciato&& altro) noexcept;
  Tracciato& operator=(Tracciato&& altro) noexcept;
  ~Tracciato() = default;

  /// Points 0 to `metri_totali`, every coordinate empty.
  void crea(int32_t metri_totali);
  bool vuoto() const { return punti_ == 0; }
  /// The number of points: metri_totali + 1, or 0 for no plan.
  size_t punti() const { return punti_; }

  TipoCoordinata tipo(size_t i, Asse a) const {
    return static_cast<TipoCoordinata>((tipi()[i] >> spostamento(a)) & 0x0F);
  }
  /// The coordinate as a number: an integer exactly, 0 when empty.
  double valore(size_t i, Asse a) const {
    return tipo(i, a) == TipoCoordinata::vuota ? 0.0 : valori(a)[i];
  }
  /// The integer of a coordinate of kind `intera`.
  int16_t intero(size_t i, Asse a) const { return static_cast<int16_t>(valori(a)[i]); }

  void imposta_intero(size_t i, Asse a, int16_t v) {
    valori(a)[i] = v;
    imposta_tipo(i, a, TipoCoordinata::intera);
  }
  void imposta_reale(size_t i, Asse a, double v) {
    valori(a)[i] = v;
    imposta_tipo(i, a, TipoCoordinata::reale);
  }
  /// Both coordinates of point `i` as doubles.
  void imposta_punto(size_t i, double x, double y) {
    valori(Asse::x)[i] = x;
    valori(Asse::y)[i] = y;
    tipi()[i] = kDueReali;
  }
  void svuota(size_t i, Asse a) { imposta_tipo(i, a, TipoCoordinata::vuota); }

  /// The first point after `i` (or punti()) whose coordinate `a` is of another kind than point
  /// `i`'s: points `i` up to it form one run of a kind.
  size_t fine_serie(size_t i, Asse a) const;
  /// The values of axis `a`, for reading a run at once: an entry means something only where the
  /// coordinate is not empty (an integer is held exactly).
  std::span<const double> numeri(Asse a) const { return {valori(a), punti_}; }

  /// The whole block, for advice to the system on how to back it; its content is the plan's.
  std::span<std::byte> memoria() { return {blocco_.get(), punti_ * kBytePunto}; }

  /// The same points, each as the plan file writes it (see `stessa_coordinata`).
  friend bool operator==(const Tracciato& a, const Tracciato& b);

 private:
  static constexpr size_t kBytePunto = 2 * sizeof(double) + 1;
  static constexpr uint8_t kDueReali = static_cast<uint8_t>(TipoCoordinata::reale) * 0x11;
  struct Libera {
    void operator()(std::byte* p) const;
  };

  static int spostamento(Asse a) { return a == Asse::x ? 0 : 4; }
  double* valori(Asse a) const {
    return reinterpret_cast<double*>(blocco_.get()) + (a == Asse::x ? 0 : punti_);
  }
  uint8_t* tipi() const {
    return reinterpret_cast<uint8_t*>(blocco_.get() + 2 * sizeof(double) * punti_);
  }
  void imposta_tipo(size_t i, Asse a, TipoCoordinata t) {
    uint8_t& b = tipi()[i];
    b = static_cast<uint8_t>((b & ~(0x0F << spostamento(a))) |
                             (static_cast<uint8_t>(t) << spostamento(a)));
  }

  std::unique_ptr<std::byte[], Libera> blocco_;
  size_t punti_ = 0;
};

/// Coordinate `asse` of point `i` is the same in `a` and `b` as the plan file writes it: the same
/// kind, and for a number the same bits (so 0.0 and -0.0 differ, as their bytes do). Both plans
/// hold point `i`.
bool stessa_coordinata(const Tracciato& a, const Tracciato& b, size_t i, Asse asse);
/// Both coordinates of point `i` are the same in `a` and `b`.
inline bool stesso_punto(const Tracciato& a, const Tracciato& b, size_t i) {
  return stessa_coordinata(a, b, i, Asse::x) && stessa_coordinata(a, b, i, Asse::y);
}

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
