#include "app/avvio.h"

#include "app/diagnostica.h"
#include "app/rapporto.h"
#include "run/esecuzione.h"

namespace compattatore {

int esegui_incorporato(const std::filesystem::path& cartella, std::ostream& out,
                       std::ostream& err) {
  Esecuzione run = Esecuzione::incorporata(cartella, stampa_su(err));
  out << "Attendere" << std::endl;
  const RisultatoPercorso r = run.esegui();
  return concludi(r, err);
}

}  // namespace compattatore
