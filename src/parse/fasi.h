// The two parser phases, each over one source already in memory.
#pragma once

#include <climits>
#include <cstdint>
#include <vector>

#include "model/modello.h"
#include "model/origini.h"
#include "model/segnalazione.h"
#include "parse/lettore.h"

namespace compattatore {

struct OpzioniLinea {
  bool con_tracciato = false;  // compute the route plan `tracciato`
  /// A route longer than this (metres, after the range check of code 1) is cut to it: the items
  /// beyond then lie outside the route. A harness that must keep every run short sets it; the
  /// default cuts nothing.
  int32_t taglio_percorso = INT32_MAX;
  Origini* origini = nullptr;  // where each object placed came from (not recorded when null)
};

/// A kilometric section line as read (before `progressive_ordina`), with where its start and
/// value were written: the train phase checks the sections at its end.
struct ProgressivaLetta {
  int32_t inizio = 0;
  int32_t valore = 0;
  Luogo luogo_inizio;
  Luogo luogo_valore;
  ValoreScritto scritto_inizio;  // each as written
  ValoreScritto scritto_valore;
};

/// What the line phase leaves for the train phase.
struct EsitoLinea {
  int32_t cursore_cartelli = voce::primo_cartello;  // next free board entry of `elenco`
  std::vector<ProgressivaLetta> progressive{};
};

/// The line phase: general section (sizes `tratti`), then the features of the route.
EsitoLinea fase_linea(Modello& m, Segnalatore& errori, LettoreVoci& lettore,
                      const OpzioniLinea& opzioni);

struct OpzioniTreno {
  int32_t cursore_cartelli = voce::primo_cartello;  // as the line phase left it
  std::vector<ProgressivaLetta> progressive{};      // as the line phase read them
  Origini* origini = nullptr;
};

/// The train phase: train figures, profiles, stations, code points, signals, slowdowns; at its
/// end the kilometric sections are checked.
void fase_treno(Modello& m, Segnalatore& errori, LettoreVoci& lettore, const OpzioniTreno& opzioni);

}  // namespace compattatore
