#include "formato/compilati.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <type_traits>

#include "model/campi.h"
#include "model/regole.h"

namespace compattatore {
namespace {

// Fields are copied whole from memory: the bytes of an integer or a double in memory are its
// little-endian file bytes only on a little-endian machine.
static_assert(std::endian::native == std::endian::little,
              "i file compilati sono little-endian: serve una macchina little-endian");

// Fills one piece with fields and hands it over when the next field does not fit. A piece is
// kPezzo bytes, or the whole file when `dimensione` (the file's size, or more) says it is smaller:
// a small file never takes a block of kPezzo.
class Pezzo {
 public:
  Pezzo(const Pezzi& uscita, size_t dimensione)
      : uscita_(uscita),
        capienza_(std::clamp(dimensione, kMinimo, kPezzo)),
        byte_(std::make_unique_for_overwrite<char[]>(capienza_)) {}
  Pezzo(const Pezzo&) = delete;
  Pezzo& operator=(const Pezzo&) = delete;

  /// Room for `n` more bytes in the piece (n at most kMinimo).
  void spazio(size_t n) {
    if (pieno_ + n > capienza_) consegna();
  }
  /// One field, without the room check: call spazio() first.
  template <class T>
  void campo(T v) {
    static_assert(std::is_trivially_copyable_v<T>);
    std::memcpy(byte_.get() + pieno_, &v, sizeof v);
    pieno_ += sizeof v;
  }
  /// One field with the room check.
  template <class T>
  void metti(T v) {
    spazio(sizeof v);
    campo(v);
  }
  /// A length-prefixed text: 16-bit length, then its bytes.
  void testo(const std::string& t) {
    static_assert(kTestoVoce.larghezza() == sizeof(uint16_t));
    metti(entro<uint16_t>(static_cast<int64_t>(t.size()), "lunghezza del testo"));
    std::string_view resto = t;
    while (!resto.empty()) {
      if (pieno_ == capienza_) consegna();
      const size_t n = std::min(resto.size(), capienza_ - pieno_);
      std::memcpy(byte_.get() + pieno_, resto.data(), n);
      pieno_ += n;
      resto.remove_prefix(n);
    }
  }
  /// A run of coordinates that are all doubles: tag and value each.
  void reali(uint16_t etichetta, std::span<const double> valori) {
    constexpr size_t kCoordinata = sizeof etichetta + sizeof(double);
    while (!valori.empty()) {
      spazio(kCoordinata);
      const size_t n = std::min(valori.size(), (capienza_ - pieno_) / kCoordinata);
      char* o = byte_.get() + pieno_;
      for (const double v : valori.first(n)) {
        std::memcpy(o, &etichetta, sizeof etichetta);
        std::memcpy(o + sizeof etichetta, &v, sizeof v);
        o += kCoordinata;
      }
      pieno_ += n * kCoordinata;
      valori = valori.subspan(n);
    }
  }
  /// Hands over what is left.
  void fine() {
    if (pieno_ > 0) consegna();
  }

 private:
  void consegna() {
    uscita_(std::string_view(byte_.get(), pieno_));
    pieno_ = 0;
  }

  // The smallest piece: room for the widest field.
  static constexpr size_t kMinimo = 64;

  const Pezzi& uscita_;
  const size_t capienza_;
  std::unique_ptr<char[]> byte_;
  size_t pieno_ = 0;
};

// The file tags of a coordinate's kind.
constexpr uint16_t kEtichettaVuota = 0;
constexpr uint16_t kEtichettaIntera = 2;
constexpr uint16_t kEtichettaReale = 5;

}  // namespace

void scrivi_tracciato(const Tracciato& tracciato, const Pezzi& uscita) {
  const size_t punti = tracciato.punti();
  // At most a tag and a double per coordinate.
  Pezzo p(uscita, punti * 2 * (sizeof(uint16_t) + sizeof(double)));
  for (const Asse asse : {Asse::x, Asse::y}) {
    const std::span<const double> numeri = tracciato.numeri(asse);
    for (size_t i = 0; i < punti;) {
      const size_t fine = tracciato.fine_serie(i, asse);
      switch (tracciato.tipo(i, asse)) {
        case TipoCoordinata::reale:
          p.reali(kEtichettaReale, numeri.subspan(i, fine - i));
          break;
        case TipoCoordinata::intera:
          for (size_t j = i; j < fine; ++j) {
            p.metti(kEtichettaIntera);
            p.metti(tracciato.intero(j, asse));
          }
          break;
        case TipoCoordinata::vuota:
          for (size_t j = i; j < fine; ++j) p.metti(kEtichettaVuota);
          break;
      }
      i = fine;
    }
  }
  p.fine();
}

void scrivi_elenco(const Elenco& elenco, const Pezzi& uscita) {
  size_t dimensione = 0;
  for (const auto& v : elenco) dimensione += kByteVoce + v.testo.size();
  Pezzo p(uscita, dimensione);
  for (const auto& v : elenco) {
    per_ogni_campo(v, [&p](const auto&, const auto& campo) {
      if constexpr (std::is_same_v<std::decay_t<decltype(campo)>, std::string>) {
        p.testo(campo);
      } else {
        p.metti(campo);
      }
    });
  }
  p.fine();
}

void scrivi_tratti(const std::vector<Tratto>& tratti, const Pezzi& uscita) {
  Pezzo p(uscita, kByteTratto * tratti.size());
  for (const auto& t : tratti) {
    p.spazio(kByteTratto);
    per_ogni_campo(t, [&p](const auto&, auto campo) { p.campo(campo); });
  }
  p.fine();
}

std::string byte_tracciato(const Tracciato& tracciato) {
  std::string out;
  scrivi_tracciato(tracciato, [&out](std::string_view pezzo) { out += pezzo; });
  return out;
}

std::string byte_elenco(const Elenco& elenco) {
  std::string out;
  scrivi_elenco(elenco, [&out](std::string_view pezzo) { out += pezzo; });
  return out;
}

std::string byte_tratti(const std::vector<Tratto>& tratti) {
  std::string out;
  scrivi_tratti(tratti, [&out](std::string_view pezzo) { out += pezzo; });
  return out;
}

}  // namespace compattatore
