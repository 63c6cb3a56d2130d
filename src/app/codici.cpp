// `compattatore codici`: the table of codes, as a list or as the README's table.
#include "model/codici.h"

#include "app/comandi.h"

namespace compattatore {

int comando_codici(const OpzioniLette& o, std::ostream& out, std::ostream&) {
  if (o.presente("markdown")) {
    out << "| Codice | Cosa non va (come stampato) | Cosa cambiare |\n|---|---|---|\n";
    for (const RigaCodice& c : tabella_codici()) {
      out << "| " << numero(c.codice) << " | " << c.significato << " | " << c.rimedio << " |\n";
    }
    return kUscitaOk;
  }
  for (const RigaCodice& c : tabella_codici()) {
    out << numero(c.codice) << "\t" << c.significato << "\n\t-> " << c.rimedio << "\n";
  }
  return kUscitaOk;
}

}  // namespace compattatore
