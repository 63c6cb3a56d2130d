// The item reader over any bytes: every kind of read, in an order the input itself chooses.
#include "comune.h"
#include "model/regole.h"
#include "parse/lettore.h"

using namespace compattatore;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
  const std::string contenuto = fuzz::testo(dati, n);
  LettoreVoci lettore(contenuto, "voci.txt");
  size_t scelta = 0;
  while (!lettore.a_fine()) {
    const auto tipo = n == 0 ? 0 : dati[scelta++ % n] % 4;
    try {
      switch (tipo) {
        case 0:
          lettore.leggi_testo();
          break;
        case 1:
          lettore.leggi_i32();
          break;
        case 2:
          lettore.leggi_i16();
          break;
        default:
          lettore.leggi_u8();
          break;
      }
    } catch (const GuastoEsecuzione&) {
      // The program's own run-time fault: a number that does not fit, a read past the end.
    }
    const Luogo l = lettore.luogo();
    if (l.riga < 1 || l.testo.find_first_of("\r\n") != std::string::npos) __builtin_trap();
  }
  // Reading past the end is the run-time fault, never anything else.
  try {
    lettore.leggi_testo();
  } catch (const GuastoEsecuzione&) {
  }
  return 0;
}
