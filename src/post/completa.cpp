#include "post/completa.h"

#include "model/regole.h"
#include "post/codici_gara.h"
#include "post/marcatori.h"

namespace compattatore {

Completamento completa(Modello& m, Segnalatore& errori, Origini* origini) {
  Completamento esito{Codice::nessuno, marca_codici(m, errori, origini)};
  Voce& intestazione = m.elenco[voce::intestazione];
  Tratto& primo = m.tratto(1);
  if (intestazione.intero_1 != 0 || primo.valore_1 != 0) {
    esito.codice = Codice::campo_riservato_1;
    return esito;
  }
  intestazione.intero_1 = kFissoIntestazione;
  primo.valore_1 = kFissoTratto;
  if (intestazione.orario != 0 || primo.valore_2 != 0) {
    esito.codice = Codice::campo_riservato_2;
    return esito;
  }
  intestazione.orario = codice_gara_st(m.elenco);
  primo.valore_2 = codice_gara_og(m.elenco);
  return esito;
}

}  // namespace compattatore
