// The error word of a run: `codice_errore` and `posizione_errore`, and who hears of every code.
#pragma once

#include <cstdint>
#include <functional>

#include "model/segnalazione.h"

namespace compattatore {

/// The error sink of a run. Holds the last code set and the last position recorded, and passes
/// every code on to its observer the moment it is set, even when a later one overwrites it.
class ParolaErrore : public Segnalatore {
 public:
  using Osservatore = std::function<void(const Segnalazione&)>;

  explicit ParolaErrore(Osservatore osservatore = {}) : osservatore_(std::move(osservatore)) {}

  void ricevi(Segnalazione s) override {
    codice_ = s.codice;
    if (s.posizione) posizione_ = *s.posizione;
    if (osservatore_) osservatore_(s);
  }
  Codice codice_errore() const override { return codice_; }
  int32_t posizione_errore() const { return posizione_; }
  /// Back to no error (the start of `memorizza_percorso`).
  void azzera() {
    codice_ = Codice::nessuno;
    posizione_ = 0;
  }

 private:
  Osservatore osservatore_;
  Codice codice_ = Codice::nessuno;
  int32_t posizione_ = 0;
};

}  // namespace compattatore
