#include "decompilatore/decompila.h"

#include "decompilatore/linea.h"
#include "decompilatore/ricostruzione.h"
#include "decompilatore/treno.h"
#include "decompilatore/verifica.h"

namespace compattatore {

Decompilato decompila(const Modello& m) {
  Decompilato d;
  if (m.tratti.empty()) {
    d.problemi.push_back({TipoProblema::nessun_tratto});
    return d;
  }
  Ricostruzione r(m);
  SorgenteLinea linea;
  generale_linea(r, linea);
  if (r.con_tracciato()) curve_linea(r, linea);
  pendenze_linea(r, linea);
  montagne_linea(r, linea);
  indicatori_linea(r, linea);
  const int cursore = cartelli_linea(r, linea);

  SorgenteTreno treno;
  generale_treno(r, treno);
  profili_treno(r, treno);
  std::vector<FontePreavvisi> punti = stazioni_treno(r, cursore);
  for (FontePreavvisi& f : segnali_treno(r)) punti.push_back(std::move(f));
  treno.punti = ordina_preavvisi(r, std::move(punti));
  rallentamenti_treno(r, treno);
  codici_treno(r, treno);
  oggetti_rimasti(r);

  SorgentiVerificati v = verifica_sorgenti(r, linea, treno);
  d.linea = std::move(v.linea);
  d.treno = std::move(v.treno);
  d.problemi = r.problemi().consegna();
  d.avvisi = std::move(v.avvisi);
  d.senza_tracciato = !r.con_tracciato();
  if (d.senza_tracciato) d.avvisi.push_back({TipoProblema::senza_tracciato});
  return d;
}

}  // namespace compattatore
