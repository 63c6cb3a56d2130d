// The whole run in memory: the input is a line source and a train source split at the first NUL
// byte (no source holds one), compiled by the run's own compile.
#include "comune.h"

using namespace compattatore;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
  const std::string ingresso = fuzz::testo(dati, n);
  const size_t nul = ingresso.find('\0');
  const std::string linea = ingresso.substr(0, nul);
  const std::string treno = nul == std::string::npos ? std::string() : ingresso.substr(nul + 1);
  // The plan and its bytes cost most of a run: for fewer inputs here than in the line target.
  fuzz::compila(linea, treno, fuzz::opzioni(ingresso, 4 * fuzz::kQuotaTracciato));
  return 0;
}
