#include "app/rapporto.h"

#include "app/avvio.h"
#include "app/codici.h"

namespace compattatore {

int concludi(const Esecuzione& run, const RisultatoPercorso& r, std::ostream& err) {
  switch (r.esito) {
    case Esito::scritto:
      if (run.codice_errore == 0) return kUscitaOk;
      err << "compattatore: file compilati scritti con codice_errore " << run.codice_errore
          << ", posizione_errore " << run.posizione_errore << " m\n";
      return kUscitaConCodice;
    case Esito::campo_riservato:
      err << " Errore n. " << r.codice << "\n";
      if (const Codice* c = cerca_codice(r.codice)) {
        err << "compattatore: " << c->significato << "; " << c->rimedio << "\n";
      }
      return kUscitaFallita;
    case Esito::non_dimensionato:
      err << " Errore n. " << run.codice_errore << "\n";
      err << "compattatore: " << r.messaggio << "\n";
      return kUscitaFallita;
    case Esito::scrittura_fallita:
      err << "compattatore: " << r.messaggio << "\n";
      return kUscitaFallita;
  }
  return kUscitaFallita;
}

}  // namespace compattatore
