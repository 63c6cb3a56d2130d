#include "app/rapporto.h"

#include "app/comandi.h"

namespace compattatore {

int concludi(const RisultatoPercorso& r, std::ostream& err) {
  switch (r.esito) {
    case Esito::scritto:
      if (r.codice_errore == 0) return kUscitaOk;
      err << "compattatore: file compilati scritti con codice_errore " << r.codice_errore
          << ", posizione_errore " << r.posizione_errore << " m\n";
      return kUscitaConCodice;
    case Esito::campo_riservato:
      err << " Errore n. " << numero(r.codice) << "\n";
      err << "compattatore: " << riga_codice(r.codice).significato << "; "
          << riga_codice(r.codice).rimedio << "\n";
      return kUscitaFallita;
    case Esito::non_dimensionato:
      err << " Errore n. " << r.codice_errore << "\n";
      err << "compattatore: " << r.messaggio << "\n";
      return kUscitaFallita;
    case Esito::scrittura_fallita:
      err << "compattatore: " << r.messaggio << "\n";
      return kUscitaFallita;
  }
  return kUscitaFallita;
}

std::function<void()> avviso_attesa(std::ostream& err, const std::filesystem::path& cartella) {
  return [&err, cartella] {
    err << "compattatore: un'altra esecuzione scrive gli stessi file in '" << cartella.string()
        << "': attendo che finisca\n"
        << std::flush;
  };
}

}  // namespace compattatore
