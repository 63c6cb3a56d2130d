#include "model/riepilogo.h"

namespace compattatore {

Riepilogo riepiloga(const Modello& m, int segni_di_codice) {
  Riepilogo r;
  r.lunghezza = m.elenco[voce::figure_treno].campo_2;
  r.tratti = static_cast<int32_t>(m.tratti.size());
  for (int i = 1; i < voce::primo_cartello; ++i) {
    const Voce& v = m.elenco[static_cast<size_t>(i)];
    // Station entries fill from 1 upwards; board texts fill from 80 downwards.
    if (v == Voce{}) break;
    if (v.testo.empty() || v.campo_2 != 0 || v.campo_3 != 0 || v.tipo_voce != 0) ++r.stazioni;
  }
  for (const Tratto& t : m.tratti) {
    if (t.oggetto == oggetto::segnale) ++r.segnali;
    if (t.oggetto == oggetto::inizio_rallentamento) ++r.rallentamenti;
    if (t.oggetto == oggetto::indicatore_velocita) ++r.indicatori;
    if (t.oggetto == oggetto::cartello) ++r.cartelli;
  }
  r.segni_di_codice = segni_di_codice;
  r.codice_st = m.elenco[voce::intestazione].orario;
  if (m.tratti.size() > 1) r.codice_og = m.tratti[1].valore_2;
  return r;
}

}  // namespace compattatore
