// `compattatore [esegui] [--dir CARTELLA]`: the plain run of the embedded scenario.
#include "app/comandi.h"
#include "app/diagnostica.h"
#include "app/rapporto.h"
#include "io/sistema.h"
#include "run/esecuzione.h"

namespace compattatore {
namespace fs = std::filesystem;

int comando_esegui(const OpzioniLette& o, std::ostream& out, std::ostream& err) {
  const fs::path cartella = o.valore("dir").value_or(cartella_programma().string());
  if (!e_cartella(cartella)) {
    return errore_uso(err, "", "la cartella '" + cartella.string() + "' non esiste");
  }
  Esecuzione run = Esecuzione::incorporata(cartella, stampa_su(err));
  out << "Attendere" << std::endl;
  return concludi(run.esegui(), err);
}

}  // namespace compattatore
