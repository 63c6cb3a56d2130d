// `compattatore [esegui] [--dir CARTELLA]`: the plain run of the embedded scenario.
#include "app/comandi.h"
#include "app/diagnostica.h"
#include "app/lettura.h"
#include "app/rapporto.h"
#include "io/errori_sistema.h"
#include "io/sistema.h"
#include "run/esecuzione.h"

namespace compattatore {
namespace fs = std::filesystem;

int comando_esegui(const OpzioniLette& o, std::ostream& out, std::ostream& err) {
  const std::optional<fs::path> dir = o.percorso("dir");
  const fs::path cartella = dir ? *dir : cartella_programma();
  if (auto e = non_cartella(cartella)) return errore_uso(err, "", *e);
  Esecuzione run = Esecuzione::incorporata(cartella, stampa_su(err));
  out << "Attendere" << std::endl;
  const RisultatoPercorso r = run.esegui(avviso_attesa(err, cartella));
  const int stato = concludi(r, err);
  if (!dir && r.esito == Esito::scrittura_fallita && scrittura_negata(r.errore_sistema)) {
    err << "compattatore: la cartella del programma non si può scrivere: usa --dir CARTELLA per "
           "lavorare in un'altra cartella\n";
  }
  return stato;
}

}  // namespace compattatore
