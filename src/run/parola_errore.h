// The error word of a run: `codice_errore` and `posizione_errore`, and who hears of every code.
#pragma once

#include <cstdint>
#include <functional>

#include "model/segnalazione.h"

namespace compattatore {

/// The error sink of a run. Holds the last code set and the last position recorded, and passes
/// every code on to its observer the moment it is set, even when a later one overwrites it;
/// warnings and notes go to the observer alone.
class ParolaErrore : public Segnalatore {
 public:
  using Osservatore = std::function<void(const Segnalazione&)>;

  explicit ParolaErrore(Osservatore osservatore = {}) : osservatore_(std::move(osservatore)) {}

  void ricevi(Segnalazione s) override {
    codice_ = s.codice;
    if (s.posizione) {
      posizione_ = *s.posizione;
      con_posizione_ = true;
    }
    if (osservatore_) osservatore_(s);
  }
  void avvisa(Segnalazione s) override {
    if (osservatore_) osservatore_(s);
  }
  Codice codice_errore() const override { return codice_; }
  int32_t posizione_errore() const { return posizione_; }
  /// A position was recorded since the word was last cleared.
  bool con_posizione() const { return con_posizione_; }
  /// Who hears of every code, warning and note (empty when no one).
  const Osservatore& osservatore() const { return osservatore_; }
  /// Back to no error (the start of `memorizza_percorso`).
  void azzera() {
    codice_ = Codice::nessuno;
    posizione_ = 0;
    con_posizione_ = false;
  }

 private:
  Osservatore osservatore_;
  Codice codice_ = Codice::nessuno;
  int32_t posizione_ = 0;
  bool con_posizione_ = false;
};

}  // namespace compattatore
