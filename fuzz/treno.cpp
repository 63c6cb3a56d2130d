// The run's compile of any train source, over a route of the longest length the targets keep.
#include "comune.h"

using namespace compattatore;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
  static const std::string linea = "[generale]\r\nlunghezza percorso, " +
                                   std::to_string(fuzz::kTaglioPercorso) +
                                   "\r\n[curve]\r\n[fine]\r\n";
  OpzioniCompilazione o;
  o.con_tracciato = false;
  fuzz::compila(linea, fuzz::testo(dati, n), o);
  return 0;
}
