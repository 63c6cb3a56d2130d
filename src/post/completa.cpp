#include "post/completa.h"

#include "post/codici_gara.h"
#include "post/marcatori.h"

namespace compattatore {

Codice completa(Modello& m, Segnalatore& errori) {
  marca_codici(m, errori);
  Voce& intestazione = m.elenco[voce::intestazione];
  Tratto& primo = m.tratto(1);
  if (intestazione.intero_1 != 0 || primo.valore_1 != 0) return Codice::campo_riservato_1;
  intestazione.intero_1 = 610;
  primo.valore_1 = 5121;
  if (intestazione.orario != 0 || primo.valore_2 != 0) return Codice::campo_riservato_2;
  intestazione.orario = codice_gara_st(m.elenco);
  primo.valore_2 = codice_gara_og(m.elenco);
  return Codice::nessuno;
}

}  // namespace compattatore
