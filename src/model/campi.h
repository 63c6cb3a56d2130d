// The fields of the compiled records as tables: one row per field of a stretch and of an entry,
// expanded from the rows of model/righe_campi.h. A row gives the field's name, its offset and
// width in the record, its signedness and range, how the stored number relates to the author's
// unit, the unit and a short meaning. The writers and readers of the compiled files walk the
// fields with `per_ogni_campo` (an expansion the compiler unrolls: no call per field), the views
// and the comparison name and convert fields through the rows.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <type_traits>

#include "model/modello.h"

namespace compattatore {

/// The author's unit of a field.
enum class Unita : uint8_t {
  nessuna,
  metri,
  km_h,
  per_mille,
  percento,
  secondi,
  secondi_del_giorno,  // a time of day: hours·3600 + minutes·60 + seconds
};

/// The unit as it follows a number ("km/h", "‰"); "" for none.
constexpr const char* simbolo(Unita u) {
  switch (u) {
    case Unita::nessuna:
      return "";
    case Unita::metri:
      return "m";
    case Unita::km_h:
      return "km/h";
    case Unita::per_mille:
      return "‰";
    case Unita::percento:
      return "%";
    case Unita::secondi:
    case Unita::secondi_del_giorno:
      return "s";
  }
  return "";
}

/// How a field is stored: an unsigned byte, a signed 16-bit or 32-bit integer, or a text.
enum class TipoCampo : uint8_t { u8, i16, i32, testo };

template <class T>
constexpr TipoCampo tipo_campo() {
  if constexpr (std::is_same_v<T, uint8_t>) return TipoCampo::u8;
  if constexpr (std::is_same_v<T, int16_t>) return TipoCampo::i16;
  if constexpr (std::is_same_v<T, int32_t>) return TipoCampo::i32;
  static_assert(
      std::is_same_v<T, uint8_t> || std::is_same_v<T, int16_t> || std::is_same_v<T, int32_t>,
      "un campo numerico è uint8_t, int16_t o int32_t");
  return TipoCampo::testo;
}

/// How a stored number relates to the author's unit: value = stored × fattore + spostamento.
struct Scala {
  int32_t fattore = 1;
  int32_t spostamento = 0;

  constexpr int64_t in_unita(int64_t grezzo) const { return grezzo * fattore + spostamento; }
  /// The stored number of `valore`, or nothing when no stored number gives it exactly.
  constexpr std::optional<int64_t> grezzo(int64_t valore) const {
    const int64_t d = valore - spostamento;
    if (d % fattore != 0) return std::nullopt;
    return d / fattore;
  }
};

/// One field of the record `R` (`Tratto` or `Voce`).
template <class R>
struct RigaCampo {
  const char* nome;             // as the code, the views and the JSON keys spell it
  TipoCampo tipo;               // stored type
  uint16_t posizione;           // byte offset in the record (in an entry: with an empty text)
  Scala scala;                  // stored number to the author's unit
  Unita unita;                  // the author's unit
  const char* significato;      // what the field holds, in Italian
  int64_t (*valore)(const R&);  // the stored number; nullptr for a text

  /// Bytes in the file (for a text, those of its length).
  constexpr size_t larghezza() const {
    return tipo == TipoCampo::u8 ? 1 : tipo == TipoCampo::i32 ? 4 : 2;
  }
  constexpr bool con_segno() const { return tipo == TipoCampo::i16 || tipo == TipoCampo::i32; }
  /// The range of the stored number (for a text, of its length).
  constexpr int64_t minimo() const {
    return tipo == TipoCampo::i16   ? std::numeric_limits<int16_t>::min()
           : tipo == TipoCampo::i32 ? std::numeric_limits<int32_t>::min()
                                    : 0;
  }
  constexpr int64_t massimo() const {
    switch (tipo) {
      case TipoCampo::u8:
        return std::numeric_limits<uint8_t>::max();
      case TipoCampo::i16:
        return std::numeric_limits<int16_t>::max();
      case TipoCampo::i32:
        return std::numeric_limits<int32_t>::max();
      case TipoCampo::testo:
        break;
    }
    return std::numeric_limits<uint16_t>::max();
  }
  constexpr int64_t in_unita(int64_t grezzo) const { return scala.in_unita(grezzo); }
};

/// The fields of a stretch, by name.
enum class CampoTratto : uint8_t {
#define COMPATTATORE_CAMPO(nome, ...) nome,
  COMPATTATORE_CAMPI_TRATTO(COMPATTATORE_CAMPO)
#undef COMPATTATORE_CAMPO
};

/// The fields of an entry, by name, the text among them.
enum class CampoVoce : uint8_t {
#define COMPATTATORE_CAMPO(nome, ...) nome,
  COMPATTATORE_CAMPI_VOCE(COMPATTATORE_CAMPO, COMPATTATORE_CAMPO)
#undef COMPATTATORE_CAMPO
};

#define COMPATTATORE_RIGA_NUMERO(R, nome, tipo, posizione, fattore, spostamento, unita, \
                                 significato)                                           \
  {#nome,                                                                               \
   tipo_campo<tipo>(),                                                                  \
   posizione,                                                                           \
   {fattore, spostamento},                                                              \
   Unita::unita,                                                                        \
   significato,                                                                         \
   [](const R& r) -> int64_t { return r.nome; }},
#define COMPATTATORE_RIGA_TRATTO(...) COMPATTATORE_RIGA_NUMERO(Tratto, __VA_ARGS__)
#define COMPATTATORE_RIGA_VOCE(...) COMPATTATORE_RIGA_NUMERO(Voce, __VA_ARGS__)
#define COMPATTATORE_RIGA_TESTO(nome, tipo_lunghezza, posizione, significato) \
  {#nome, TipoCampo::testo, posizione, {}, Unita::nessuna, significato, nullptr},
#define COMPATTATORE_NIENTE(...)

/// Every field of a stretch, in file order.
inline constexpr RigaCampo<Tratto> kCampiTratto[] = {
    COMPATTATORE_CAMPI_TRATTO(COMPATTATORE_RIGA_TRATTO)};

/// Every field of an entry but its text (`testo`), which is not a number: in file order.
inline constexpr RigaCampo<Voce> kCampiVoce[] = {
    COMPATTATORE_CAMPI_VOCE(COMPATTATORE_RIGA_VOCE, COMPATTATORE_NIENTE)};

namespace campi_dettaglio {
inline constexpr RigaCampo<Voce> kRigheVoce[] = {
    COMPATTATORE_CAMPI_VOCE(COMPATTATORE_RIGA_VOCE, COMPATTATORE_RIGA_TESTO)};
}  // namespace campi_dettaglio

/// The text of an entry: its 16-bit length at this offset, then its bytes.
inline constexpr const RigaCampo<Voce>& kTestoVoce =
    campi_dettaglio::kRigheVoce[static_cast<size_t>(CampoVoce::testo)];

#undef COMPATTATORE_NIENTE
#undef COMPATTATORE_RIGA_TESTO
#undef COMPATTATORE_RIGA_VOCE
#undef COMPATTATORE_RIGA_TRATTO
#undef COMPATTATORE_RIGA_NUMERO

/// The row of a field.
constexpr const RigaCampo<Tratto>& riga_campo(CampoTratto c) {
  return kCampiTratto[static_cast<size_t>(c)];
}
constexpr const RigaCampo<Voce>& riga_campo(CampoVoce c) {
  return campi_dettaglio::kRigheVoce[static_cast<size_t>(c)];
}

/// Bytes of a stretch, and of an entry with an empty text: the sizes the format gives.
inline constexpr size_t kByteTratto = 15;
inline constexpr size_t kByteVoce = 34;
/// An entry from its first byte to its text's length included, and after its text.
inline constexpr size_t kByteVocePrimaDelTesto = kTestoVoce.posizione + kTestoVoce.larghezza();
inline constexpr size_t kByteVoceDopoIlTesto = kByteVoce - kByteVocePrimaDelTesto;

namespace campi_dettaglio {
// The rows follow one another without gap or overlap, and fill exactly `byte` bytes.
template <class R, size_t N>
constexpr bool contigui(const RigaCampo<R> (&righe)[N], size_t byte) {
  size_t fine = 0;
  for (const RigaCampo<R>& r : righe) {
    if (r.posizione != fine) return false;
    fine += r.larghezza();
  }
  return fine == byte;
}
}  // namespace campi_dettaglio

static_assert(campi_dettaglio::contigui(kCampiTratto, kByteTratto),
              "i campi del tratto non danno i suoi 15 byte");
static_assert(campi_dettaglio::contigui(campi_dettaglio::kRigheVoce, kByteVoce),
              "i campi della voce non danno i suoi 34 byte");
static_assert(std::size(campi_dettaglio::kRigheVoce) == std::size(kCampiVoce) + 1);

/// Calls f(row, field) for every field of the stretch `t`, in file order. The calls are written
/// out one after the other: the compiler inlines and unrolls them.
template <class R, class F>
requires std::same_as<std::remove_const_t<R>, Tratto>
constexpr void per_ogni_campo(R& t, F&& f) {
#define COMPATTATORE_CAMPO(nome, ...) f(riga_campo(CampoTratto::nome), t.nome);
  COMPATTATORE_CAMPI_TRATTO(COMPATTATORE_CAMPO)
#undef COMPATTATORE_CAMPO
}

/// Calls f(row, field) for every field of the entry `v`, its text (a std::string) among them.
template <class R, class F>
requires std::same_as<std::remove_const_t<R>, Voce>
constexpr void per_ogni_campo(R& v, F&& f) {
#define COMPATTATORE_CAMPO(nome, ...) f(riga_campo(CampoVoce::nome), v.nome);
  COMPATTATORE_CAMPI_VOCE(COMPATTATORE_CAMPO, COMPATTATORE_CAMPO)
#undef COMPATTATORE_CAMPO
}

}  // namespace compattatore
