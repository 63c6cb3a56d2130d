// The command "lsp": the language server on the standard streams.
#include "app/comandi.h"
#include "io/console.h"
#include "lsp/server.h"

namespace compattatore {

int comando_lsp(const OpzioniLette&, std::ostream& out, std::ostream&) {
  return lsp::servi(ingresso_standard(), out);
}

}  // namespace compattatore
