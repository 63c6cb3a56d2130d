#include "post/marcatori.h"

#include <algorithm>
#include <cstddef>
#include <limits>

#include "model/regole.h"

namespace compattatore {

namespace {

constexpr int16_t kValoreMarcatore = 180;
constexpr int64_t kSguardoIndietro = 20;   // stretches looked back from a warning board
constexpr int64_t kSegnaleMinimo = 3;      // lowest signal stretch given a marker by the look-back
constexpr int16_t kVelocitaCammino = 110;  // slowdowns slower than this get markers inside
constexpr int64_t kPassoCammino = 8;       // spacing of the markers inside a slowdown
constexpr int64_t kSguardoAvanti = 12;     // stretches looked ahead from a slowdown end

// The pass over one stretch array. Indices are 64-bit and every access stays within
// 0 .. ultimo; the walk and the look-ahead stop at the last stretch.
class Passata {
 public:
  Passata(Modello& m, Segnalatore& errori)
      : tratti_(m.tratti), errori_(errori), ultimo_(m.ultimo_tratto()) {}

  void esegui() {
    const int64_t limite = ultimo_ - 2;
    for (int64_t i = 1; i <= limite; ++i) {
      const uint8_t tipo = tratto(i).oggetto;
      if (tipo == oggetto::avviso_rallentamento) segnali_prima_dell_avviso(i);
      if (tipo == oggetto::inizio_rallentamento) rallentamento(i);
    }
  }

 private:
  Tratto& tratto(int64_t s) { return tratti_[static_cast<size_t>(s)]; }
  uint8_t tipo(int64_t s) { return tratto(s).oggetto; }
  bool libero_in(int64_t s) { return s >= 0 && s <= ultimo_ && libero(tratto(s)); }

  void metti(int64_t s) {
    Tratto& t = tratto(s);
    t.oggetto = oggetto::cambio_codice;
    t.valore_1 = kValoreMarcatore;
  }

  void abbassa(int64_t s) {
    Tratto& t = tratto(s);
    t.valore_1 = minimo<int16_t>(kValoreMarcatore, t.valore_1);
  }

  void codice(Codice c, int64_t s) {
    // The model never holds enough stretches for s * 50 to leave 32 bits; clamp all the same.
    const int64_t metri = std::min<int64_t>(s * 50, std::numeric_limits<int32_t>::max());
    errori_.segnala(c, static_cast<int32_t>(metri));
  }

  // Every signal within 20 stretches before the warning board on i gets a marker just before it.
  void segnali_prima_dell_avviso(int64_t i) {
    for (int64_t a = 1; a <= kSguardoIndietro; ++a) {
      const int64_t d = i - a;
      if (d < kSegnaleMinimo) return;
      if (tipo(d) != oggetto::segnale) continue;
      if (libero_in(d - 1)) {
        metti(d - 1);
      } else if (libero_in(d - 2)) {
        metti(d - 2);
      } else if (tipo(d - 1) == oggetto::cambio_codice) {
        abbassa(d - 1);
      } else if (tipo(d - 2) == oggetto::cambio_codice) {
        abbassa(d - 2);
      } else {
        codice(Codice::segnale_senza_marcatore, d);
      }
    }
  }

  // A marker on the first free stretch among i - vicino .. i - lontano; code 12 when none is free.
  void finestra(int64_t i, int64_t vicino, int64_t lontano) {
    for (int64_t s = i - vicino; s >= i - lontano; --s) {
      if (libero_in(s)) {
        metti(s);
        return;
      }
    }
    codice(Codice::finestra_senza_marcatore, i);
  }

  void rallentamento(int64_t i) {
    if (i > 7) finestra(i, 5, 7);
    if (i > 13) finestra(i, 11, 13);
    if (i > 20) finestra(i, 18, 20);
    const bool con_marcatori = tratto(i).valore_1 < kVelocitaCammino;
    const int64_t t = cammina(i, con_marcatori);
    if (t >= 0) segnale_dopo_la_fine(t);
  }

  // Walks from the start on i to this slowdown's end and returns the stretch the look-ahead
  // starts from. With `con_marcatori`, a marker every 8 stretches (7 or 9 when it had to move
  // back or ahead by one). A start met before any end means that this slowdown's end shares the
  // start's stretch (it was overwritten) or that slowdowns overlap: the walk stops there, places
  // nothing further, and the look-ahead starts from i. At the last stretch without an end the
  // walk stops with code 13 and returns -1: there is no end to look ahead from.
  int64_t cammina(int64_t i, bool con_marcatori) {
    int64_t n = 0;
    int64_t k = i;
    while (true) {
      ++k;
      ++n;
      if (tipo(k) == oggetto::inizio_rallentamento) return i;
      if (con_marcatori && n == kPassoCammino) {
        if (libero_in(k)) {
          metti(k);
          n = 0;
        } else if (libero_in(k - 1)) {
          metti(k - 1);
          n = 1;
        } else if (libero_in(k + 1)) {
          metti(k + 1);
          n = -1;
        } else {
          // n stays 8: no further marker in this walk.
          codice(Codice::rallentamento_senza_marcatore, k);
        }
      }
      if (tipo(k) == oggetto::fine_rallentamento) return k;
      if (k >= ultimo_) {
        codice(Codice::rallentamento_senza_marcatore, k);
        return -1;
      }
    }
  }

  // A marker just before the first signal within 12 stretches from t (not past the last stretch).
  void segnale_dopo_la_fine(int64_t t) {
    const int64_t fine = std::min(t + kSguardoAvanti, ultimo_);
    int64_t p = 0;
    for (int64_t m = t; m <= fine; ++m) {
      if (tipo(m) == oggetto::segnale) {
        p = m - 1;
        break;
      }
    }
    if (p <= 0) return;
    if (libero_in(p)) {
      metti(p);
    } else if (libero_in(p - 1)) {
      metti(p - 1);
    } else {
      codice(Codice::rallentamento_senza_marcatore, t);
    }
  }

  std::vector<Tratto>& tratti_;
  Segnalatore& errori_;
  const int64_t ultimo_;
};

}  // namespace

void marca_codici(Modello& m, Segnalatore& errori) { Passata(m, errori).esegui(); }

}  // namespace compattatore
