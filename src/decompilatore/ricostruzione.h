// What the inverses of the two sources share while they read one model: the stretches as the
// sources see them and what the views' decoder reads in them, which of them a source line accounts
// for, and the problems found so far.
#pragma once

#include <cstdint>
#include <vector>

#include "decompilatore/problemi.h"
#include "model/modello.h"
#include "viste/descrizione.h"

namespace compattatore {

class Ricostruzione {
 public:
  /// `m` must have its stretches; it is read, never changed, and must outlive this.
  explicit Ricostruzione(const Modello& m);

  const Modello& modello() const { return m_; }
  /// The last stretch.
  int32_t ultimo() const { return ultimo_; }
  bool con_tracciato() const { return con_tracciato_; }
  /// Stretch `s` without the two header values that stretch 1 holds beside its object.
  const Tratto& t(int64_t s) const { return tratti_[static_cast<size_t>(s)]; }
  const Voce& voce(int i) const { return m_.elenco[static_cast<size_t>(i)]; }
  /// The stretches (as `t` gives them) and the table, decoded as the views read them.
  const Descrizione& letto() const { return letto_; }

  /// A source line accounts for the object on stretch `s`.
  void spiega(int64_t s) { spiegato_[static_cast<size_t>(s)] = true; }
  bool spiegato(int64_t s) const { return spiegato_[static_cast<size_t>(s)]; }

  ElencoProblemi& problemi() { return problemi_; }
  const ElencoProblemi& problemi() const { return problemi_; }
  void problema(TipoProblema tipo, std::vector<Problema::Valore> valori = {});
  void problema_tratto(int64_t s, TipoProblema tipo, std::vector<Problema::Valore> valori = {});
  /// A problem of entry `i`, named with its text.
  void problema_voce(int i, TipoProblema tipo, std::vector<Problema::Valore> valori = {});
  /// "voce N (testo)", as a problem names entry `i`.
  std::string nome_voce(int i) const;

  /// The range rule of a point object on stretch `s`; a problem naming `cosa` when it fails.
  bool nel_percorso_o_segnala(int64_t s, int32_t margine, const char* cosa);

 private:
  const Modello& m_;
  std::vector<Tratto> tratti_;
  Descrizione letto_;
  int32_t ultimo_;
  bool con_tracciato_;
  std::vector<bool> spiegato_;
  ElencoProblemi problemi_;
};

}  // namespace compattatore
