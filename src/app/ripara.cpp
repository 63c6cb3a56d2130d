// `compattatore ripara CARTELLA`: what runs that died in a folder left there, finished or put
// back.
#include <string>
#include <vector>

#include "app/comandi.h"
#include "app/diagnostica.h"
#include "app/rapporto.h"
#include "io/diario.h"
#include "io/file_sicuro.h"
#include "io/sistema.h"
#include "model/italiano.h"

namespace compattatore {
namespace fs = std::filesystem;

int comando_ripara(const OpzioniLette& o, std::ostream& out, std::ostream& err) {
  const fs::path& cartella = o.operandi[0];
  if (!e_cartella(cartella)) {
    return errore_uso(err, "ripara",
                      "la cartella '" + visibile(cartella.string()) + "' non esiste");
  }
  Riparazione r;
  try {
    r = ripara_cartella(cartella, avviso_attesa(err, cartella));
  } catch (const ErroreFile& e) {
    err << "compattatore ripara: impossibile riparare '" << visibile(e.file.string())
        << "': " << e.motivo << "\n";
    return kUscitaFallita;
  }
  std::vector<std::string> fatto;
  if (r.gruppi_avanti > 0) {
    fatto.push_back(
        quanti(r.gruppi_avanti, "gruppo di file completato", "gruppi di file completati"));
  }
  if (r.gruppi_indietro > 0) {
    fatto.push_back(quanti(r.gruppi_indietro, "gruppo di file rimesso com'era",
                           "gruppi di file rimessi com'erano"));
  }
  if (r.temporanei > 0) {
    fatto.push_back(quanti(r.temporanei, "file temporaneo tolto", "file temporanei tolti"));
  }
  if (r.blocchi > 0)
    fatto.push_back(quanti(r.blocchi, "file di blocco tolto", "file di blocco tolti"));
  out << "compattatore ripara: " << visibile(cartella.string()) << ": ";
  if (fatto.empty()) {
    out << "niente da riparare\n";
    return kUscitaOk;
  }
  for (size_t i = 0; i < fatto.size(); ++i) {
    out << (i == 0 ? "" : i + 1 == fatto.size() ? " e " : ", ") << fatto[i];
  }
  out << "\n";
  return kUscitaOk;
}

}  // namespace compattatore
