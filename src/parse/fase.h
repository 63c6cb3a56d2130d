// What the line phase and the train phase share: how a keyword line ends, the dash rule, the
// profile fill, and the model, error sink and item reader that every phase works with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/modello.h"
#include "model/regole.h"
#include "model/segnalazione.h"
#include "parse/lettore.h"

namespace compattatore {

/// How a phase goes on after a keyword line.
enum class Seguito {
  avanti,  // next item
  esci,    // leave the item loop; the phase's finishing steps follow (code 15)
  ferma,   // stop the phase at once, without its finishing steps
};

inline bool contiene(std::string_view voce, std::string_view cosa) {
  return voce.find(cosa) != std::string_view::npos;
}

/// A profile written stretch by stretch: the value that holds from the cursor on, until a later
/// item moves it.
struct Profilo {
  int32_t cursore = 0;
  int32_t valore = 0;

  /// Writes `valore` with `scrivi(stretch, valore)` from the cursor on, at least one stretch,
  /// while the cursor is below `fino`. With `arresto`, stops before writing at that stretch.
  template <class Scrivi>
  void riempi(int32_t fino, Scrivi&& scrivi, std::optional<int32_t> arresto = std::nullopt) {
    do {
      if (arresto && cursore >= *arresto) return;
      scrivi(cursore, valore);
      ++cursore;
    } while (cursore < fino);
  }
};

/// The model, the error sink and the reader of one phase, and the reports every phase makes.
class Fase {
 protected:
  Fase(Modello& modello, Segnalatore& errori, LettoreVoci& lettore)
      : m_(modello), errori_(errori), lettore_(lettore) {}

  /// Sets `codice` at the place of the last item read.
  void errore(Codice codice, std::optional<int32_t> posizione = std::nullopt) {
    errori_.segnala(codice, posizione, lettore_.luogo());
  }
  /// A position refused by the range rule or before the route start: code 15 with the position;
  /// the item loop ends and the finishing steps follow.
  Seguito fuori_percorso(int32_t posizione) {
    errore(Codice::fuori_percorso, posizione);
    return Seguito::esci;
  }
  /// The next item of the reader as text.
  std::string leggi() { return lettore_.leggi_testo(); }

  /// The dash rule: while the item in `letta` holds "-", up to `massimo` times, the next item
  /// replaces it. With `guarda_fine`, returns false as soon as nothing follows an item read
  /// (that last item is never interpreted); without, a read at the end is the run-time fault.
  bool salta_trattini(std::string& letta, int massimo, bool guarda_fine) {
    for (int i = 0; i < massimo && contiene(letta, "-"); ++i) {
      letta = leggi();
      if (guarda_fine && lettore_.a_fine()) return false;
    }
    return true;
  }

  Modello& m_;
  Segnalatore& errori_;
  LettoreVoci& lettore_;
};

}  // namespace compattatore
