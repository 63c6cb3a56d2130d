#include "post/marcatori.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

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
  Passata(Modello& m, Segnalatore& errori, Origini* origini)
      : tratti_(m.tratti), errori_(errori), origini_(origini), ultimo_(m.ultimo_tratto()) {}

  int messi() const { return messi_; }

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

  // A marker on s, for the object on `per`.
  void metti(int64_t s, int64_t per) {
    Tratto& t = tratto(s);
    t.oggetto = oggetto::cambio_codice;
    t.valore_1 = kValoreMarcatore;
    ++messi_;
    if (origini_ != nullptr) {
      const Origine* o = origini_->di(static_cast<int32_t>(per));
      origini_->metti(static_cast<int32_t>(s), o != nullptr ? o->luogo : Luogo{}, true);
    }
  }

  Luogo luogo_di(int64_t s) const {
    const Origine* o = origini_ != nullptr ? origini_->di(static_cast<int32_t>(s)) : nullptr;
    return o != nullptr ? o->luogo : Luogo{};
  }

  // The notes for the stretches in the way: each one within the route that is not free.
  std::vector<Nota> d_intralcio(std::initializer_list<int64_t> tratti) {
    std::vector<Nota> note;
    for (const int64_t s : tratti) {
      if (s < 0 || s > ultimo_ || libero(tratto(s))) continue;
      note.push_back(nota_occupato(origini_, static_cast<int32_t>(s), tipo(s)));
    }
    return note;
  }
  std::vector<Nota> d_intralcio(int64_t da, int64_t a) {
    std::vector<Nota> note;
    for (int64_t s = da; s >= a; --s) {
      if (s < 0 || s > ultimo_ || libero(tratto(s))) continue;
      note.push_back(nota_occupato(origini_, static_cast<int32_t>(s), tipo(s)));
    }
    return note;
  }

  void abbassa(int64_t s) {
    Tratto& t = tratto(s);
    t.valore_1 = minimo<int16_t>(kValoreMarcatore, t.valore_1);
  }

  // Code c for stretch s, at the source line of the object on `di`.
  void codice(Codice c, int64_t s, int64_t di, std::string dettaglio, std::vector<Nota> note) {
    // The model never holds enough stretches for s * 50 to leave 32 bits; clamp all the same.
    const int64_t metri = std::min<int64_t>(s * 50, std::numeric_limits<int32_t>::max());
    Segnalazione segnalazione{c, static_cast<int32_t>(metri), luogo_di(di), std::move(dettaglio),
                              std::move(note)};
    segnalazione.tratto = static_cast<int32_t>(std::min<int64_t>(s, ultimo_));
    // An object placed where one value of its line put it (a slowdown's length): the code shows
    // that value as written.
    const Origine* o = origini_ != nullptr ? origini_->di(static_cast<int32_t>(di)) : nullptr;
    if (o != nullptr && o->valore) {
      segnalazione.dettaglio = con_valore(*o->valore, segnalazione.dettaglio);
      segnalazione.valore = o->valore;
    }
    errori_.ricevi(std::move(segnalazione));
  }

  // Every signal within 20 stretches before the warning board on i gets a marker just before it.
  void segnali_prima_dell_avviso(int64_t i) {
    for (int64_t a = 1; a <= kSguardoIndietro; ++a) {
      const int64_t d = i - a;
      if (d < kSegnaleMinimo) return;
      if (tipo(d) != oggetto::segnale) continue;
      if (libero_in(d - 1)) {
        metti(d - 1, d);
      } else if (libero_in(d - 2)) {
        metti(d - 2, d);
      } else if (tipo(d - 1) == oggetto::cambio_codice) {
        abbassa(d - 1);
      } else if (tipo(d - 2) == oggetto::cambio_codice) {
        abbassa(d - 2);
      } else {
        std::vector<Nota> note = d_intralcio({d - 1, d - 2});
        note.push_back(Nota{luogo_di(i), "l'avviso di rallentamento che lo segue, scritto qui"});
        codice(Codice::segnale_senza_marcatore, d, d,
               "segnale sul tratto " + std::to_string(d) + ", " + std::to_string(a * 50) +
                   " m prima dell'avviso di rallentamento",
               std::move(note));
      }
    }
  }

  // A marker on the first free stretch among i - vicino .. i - lontano; code 12 when none is free.
  void finestra(int64_t i, int64_t vicino, int64_t lontano) {
    for (int64_t s = i - vicino; s >= i - lontano; --s) {
      if (libero_in(s)) {
        metti(s, i);
        return;
      }
    }
    codice(Codice::finestra_senza_marcatore, i, i,
           "nessun tratto libero tra " + std::to_string(vicino * 50) + " e " +
               std::to_string(lontano * 50) + " m prima dell'inizio",
           d_intralcio(i - vicino, i - lontano));
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
          metti(k, i);
          n = 0;
        } else if (libero_in(k - 1)) {
          metti(k - 1, i);
          n = 1;
        } else if (libero_in(k + 1)) {
          metti(k + 1, i);
          n = -1;
        } else {
          // n stays 8: no further marker in this walk.
          codice(Codice::rallentamento_senza_marcatore, k, i,
                 "dentro il rallentamento, " + std::to_string((k - i) * 50) + " m dopo l'inizio",
                 d_intralcio({k - 1, k, k + 1}));
        }
      }
      if (tipo(k) == oggetto::fine_rallentamento) return k;
      if (k >= ultimo_) {
        codice(Codice::rallentamento_senza_marcatore, k, i,
               "il rallentamento non finisce prima della fine del percorso", {});
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
      metti(p, p + 1);
    } else if (libero_in(p - 1)) {
      metti(p - 1, p + 1);
    } else {
      std::vector<Nota> note = d_intralcio({p, p - 1});
      note.push_back(Nota{luogo_di(t), "la fine del rallentamento, scritta qui"});
      codice(Codice::rallentamento_senza_marcatore, t, p + 1,
             "prima del segnale sul tratto " + std::to_string(p + 1) +
                 ", il primo dopo la fine del rallentamento",
             std::move(note));
    }
  }

  std::vector<Tratto>& tratti_;
  Segnalatore& errori_;
  Origini* origini_;
  const int64_t ultimo_;
  int messi_ = 0;
};

}  // namespace

int marca_codici(Modello& m, Segnalatore& errori, Origini* origini) {
  Passata p(m, errori, origini);
  p.esegui();
  return p.messi();
}

}  // namespace compattatore
