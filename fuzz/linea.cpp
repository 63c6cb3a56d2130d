// The run's compile of any line source, with a train source of one station.
#include "comune.h"

using namespace compattatore;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
  static const std::string treno =
      "[generale]\r\nstazione, 2000, 24, 300, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, A\r\n[fine]\r\n";
  const std::string linea = fuzz::testo(dati, n);
  fuzz::compila(linea, treno, fuzz::opzioni(linea));
  return 0;
}
