#include "formato/lettori.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "formato/compilati.h"
#include "formato/punti_tracciato.h"
#include "model/campi.h"

namespace compattatore {
namespace {

std::string byte_n(size_t n) { return n == 1 ? "1 byte" : std::to_string(n) + " byte"; }

// Reads little-endian fields from the bytes of one file and reports where reading stopped.
class Cursore {
 public:
  /// `base`: the offset in the file of the first of `byte`, for the errors.
  Cursore(std::string_view byte, const std::string& file, uint64_t base = 0)
      : b_(byte), file_(file), base_(base) {}

  size_t posizione() const { return pos_; }
  size_t restanti() const { return b_.size() - pos_; }
  bool finito() const { return pos_ == b_.size(); }

  [[noreturn]] void errore(const std::string& atteso) const { errore_a(pos_, atteso); }
  [[noreturn]] void errore_a(size_t byte, const std::string& atteso) const {
    throw ErroreLettura(file_, base_ + byte, atteso);
  }

  // `n` more bytes must be there for `cosa`.
  void serve(size_t n, const std::string& cosa) const {
    if (restanti() < n) {
      errore("il file finisce qui: attesi " + byte_n(n) + " per " + cosa + ", " +
             (restanti() == 1 ? "ne resta 1" : "ne restano " + std::to_string(restanti())));
    }
  }

  uint64_t grezzo(size_t n) {
    uint64_t v = 0;
    for (size_t i = 0; i < n; ++i)
      v |= uint64_t{static_cast<unsigned char>(b_[pos_ + i])} << (8 * i);
    pos_ += n;
    return v;
  }
  uint16_t u16() { return static_cast<uint16_t>(grezzo(2)); }
  int16_t i16() { return static_cast<int16_t>(u16()); }
  double f64() { return std::bit_cast<double>(grezzo(8)); }
  /// One integer field of the width of `v`.
  template <class T>
  void leggi(T& v) {
    v = static_cast<T>(grezzo(sizeof(T)));
  }
  std::string testo(size_t n) {
    std::string t(b_.substr(pos_, n));
    pos_ += n;
    return t;
  }
  void salta(size_t n) { pos_ += n; }

 private:
  std::string_view b_;
  const std::string& file_;
  uint64_t base_;
  size_t pos_ = 0;
};

// Tags of the route plan values and the size of their payloads.
constexpr uint16_t kVuoto = 0;
constexpr uint16_t kIntero = 2;
constexpr uint16_t kDoppio = 5;
// Values handed over at once by scorri_tracciato.
constexpr size_t kLotto = 4096;

// Reads the tag of one plan value (number `n`, from 0) and checks that its payload is all there.
// Returns the tag. Messages are built only on failure: this runs once per value.
uint16_t etichetta(Cursore& c, size_t n) {
  const auto valore = [n] { return "valore " + std::to_string(n) + " del tracciato"; };
  if (c.restanti() < 2) c.serve(2, "l'etichetta del " + valore());
  const uint16_t tag = c.u16();
  size_t carico = 0;
  if (tag == kIntero) {
    carico = 2;
  } else if (tag == kDoppio) {
    carico = 8;
  } else if (tag != kVuoto) {
    c.errore_a(c.posizione() - 2, "etichetta " + std::to_string(tag) + " sconosciuta nel " +
                                      valore() +
                                      ": attese 0 (vuoto), 2 (intero a 16 bit) o 5 (numero in "
                                      "doppia precisione)");
  }
  if (c.restanti() < carico) {
    c.serve(carico,
            "il " + valore() + (tag == kIntero ? " (intero a 16 bit)" : " (doppia precisione)"));
  }
  return tag;
}

}  // namespace

ErroreLettura::ErroreLettura(std::string f, uint64_t b, std::string a)
    : std::runtime_error(f + ": byte " + std::to_string(b) + ": " + a),
      file(std::move(f)),
      byte(b),
      atteso(std::move(a)) {}

size_t scorri_tracciato(const PezziDaLeggere& sorgente, const std::string& file,
                        const ValoriTracciato& valori) {
  // The longest value is a tag and a double: with that many bytes in hand, a value is never cut
  // by the end of a piece; only at the end of the file may fewer remain.
  constexpr size_t kValoreMassimo = 10;
  std::string pezzo(kPezzo, '\0');
  std::vector<Coordinata> lotto;
  lotto.reserve(kLotto);
  uint64_t base = 0;  // offset in the file of pezzo[0]
  size_t usati = 0;
  size_t pos = 0;
  size_t n = 0;
  bool finito = false;
  const auto consegna = [&] {
    if (valori && !lotto.empty()) valori(n - lotto.size(), lotto);
    lotto.clear();
  };
  for (;;) {
    if (!finito && usati - pos < kValoreMassimo) {
      std::memmove(pezzo.data(), pezzo.data() + pos, usati - pos);
      base += pos;
      usati -= pos;
      pos = 0;
      while (!finito && usati < pezzo.size()) {
        const size_t letti = sorgente(pezzo.data() + usati, pezzo.size() - usati);
        finito = letti == 0;
        usati += letti;
      }
    }
    Cursore c(std::string_view(pezzo.data(), usati), file, base);
    c.salta(pos);
    if (c.finito()) break;
    while (finito ? !c.finito() : c.restanti() >= kValoreMassimo) {
      if (n == 2 * kMassimoPuntiTracciato) {
        c.errore("il file continua dopo " + std::to_string(n) +
                 " valori: un tracciato ne ha al massimo " + std::to_string(n) + " (" +
                 std::to_string(kMassimoPuntiTracciato) + " punti, percorso di " +
                 std::to_string(kLunghezzaPercorsoMassima) + " m)");
      }
      const uint16_t tag = etichetta(c, n);
      if (tag == kIntero) {
        if (valori)
          lotto.emplace_back(c.i16());
        else
          c.salta(2);
      } else if (tag == kDoppio) {
        if (valori)
          lotto.emplace_back(c.f64());
        else
          c.salta(8);
      } else if (valori) {
        lotto.emplace_back(std::monostate{});
      }
      ++n;
      if (lotto.size() == kLotto) consegna();
    }
    pos = c.posizione();
  }
  consegna();
  Cursore fine(std::string_view(pezzo.data(), usati), file, base);
  fine.salta(usati);
  if (n == 0) {
    fine.errore("file vuoto: attesi i valori del tracciato (etichetta a 16 bit e valore)");
  }
  if (n % 2 != 0) {
    fine.errore("il file finisce dopo " + std::to_string(n) +
                " valori, un numero dispari: attese tutte le coordinate 0 dei punti e poi "
                "altrettante coordinate 1");
  }
  return n;
}

Tracciato leggi_tracciato(const std::function<PezziDaLeggere()>& apri, const std::string& file) {
  // The file holds no count: walk it once to count and check the values, then read them.
  const size_t punti = scorri_tracciato(apri(), file, nullptr) / 2;
  Tracciato t;
  punti_tracciato::prepara(t, punti);
  const size_t letti =
      scorri_tracciato(apri(), file, [&](size_t primo, std::span<const Coordinata> v) {
        for (size_t k = 0; k < v.size(); ++k) {
          const size_t n = primo + k;
          if (n >= 2 * punti) return;  // the file grew meanwhile: refused below
          punti_tracciato::imposta(t, n < punti ? 0 : 1, n % punti, v[k]);
        }
      });
  if (letti != 2 * punti) {
    throw ErroreLettura(file, 0, "il file è cambiato durante la lettura");
  }
  return t;
}

Tracciato leggi_tracciato(std::string_view byte, const std::string& file) {
  return leggi_tracciato(
      [byte]() -> PezziDaLeggere {
        return [resto = byte](char* dove, size_t quanti) mutable {
          const size_t n = std::min(quanti, resto.size());
          std::memcpy(dove, resto.data(), n);
          resto.remove_prefix(n);
          return n;
        };
      },
      file);
}

Elenco leggi_elenco(std::string_view byte, const std::string& file) {
  Cursore c(byte, file);
  if (c.finito()) c.errore("file vuoto: attese le 87 voci dell'elenco");
  Elenco e{};
  for (size_t i = 0; i < e.size(); ++i) {
    const std::string voce = "la voce " + std::to_string(i);
    c.serve(kByteVocePrimaDelTesto, voce + " (dal tipo alla lunghezza del testo)");
    per_ogni_campo(e[i], [&](const auto&, auto& campo) {
      if constexpr (std::is_same_v<std::decay_t<decltype(campo)>, std::string>) {
        static_assert(kTestoVoce.larghezza() == sizeof(uint16_t));
        const uint16_t lunghezza = c.u16();
        c.serve(lunghezza, "il testo della voce " + std::to_string(i) +
                               " (tanti ne dichiarano i 2 byte di lunghezza prima di lui)");
        campo = c.testo(lunghezza);
        c.serve(kByteVoceDopoIlTesto,
                voce + " (dopo il testo: cinque interi, quattro flag e l'orario)");
      } else {
        c.leggi(campo);
      }
    });
  }
  if (!c.finito()) {
    c.errore(byte_n(c.restanti()) + " dopo la voce 86: attesa la fine del file, che ha " +
             "esattamente 87 voci");
  }
  return e;
}

std::vector<Tratto> leggi_tratti(std::string_view byte, const std::string& file) {
  Cursore c(byte, file);
  const std::string quindici = std::to_string(kByteTratto);
  if (c.finito()) c.errore("file vuoto: attesi i tratti, " + quindici + " byte ciascuno");
  const size_t n = byte.size() / kByteTratto;
  if (n > kMassimoTratti) {
    c.errore_a(kMassimoTratti * kByteTratto,
               "il file continua dopo il tratto " + std::to_string(kMassimoTratti - 1) +
                   ": un percorso ha al massimo " + std::to_string(kMassimoTratti) + " tratti (" +
                   std::to_string(kLunghezzaPercorsoMassima) + " m)");
  }
  if (const size_t resto = byte.size() % kByteTratto; resto != 0) {
    c.errore_a(n * kByteTratto,
               "il file finisce nel tratto " + std::to_string(n) + ": attesi " + quindici +
                   " byte, " + (resto == 1 ? "ne resta 1" : "ne restano " + std::to_string(resto)) +
                   " (la dimensione del file, " + std::to_string(byte.size()) +
                   " byte, non è un multiplo di " + quindici + ")");
  }
  std::vector<Tratto> tratti(n);
  for (Tratto& t : tratti) {
    per_ogni_campo(t, [&c](const auto&, auto& campo) { c.leggi(campo); });
  }
  return tratti;
}

}  // namespace compattatore
