// The readers of compiled files over any bytes: the first byte chooses the file (0 the route plan,
// 1 the table, 2 the stretches; taken modulo 3), the rest is the file. A file read without error
// must be written back to the very same bytes, compare equal to itself, and go through the summary
// (and, for one input in 8, the page of the route).
#include "formato/lettori.h"

#include <string>

#include "comune.h"
#include "formato/compilati.h"
#include "model/modello.h"
#include "viste/confronto.h"
#include "viste/descrizione.h"
#include "viste/disegno.h"

using namespace compattatore;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
  if (n == 0) return 0;
  const std::string file = fuzz::testo(dati + 1, n - 1);
  Modello m;
  m.crea_tratti(0, false);  // stretches 0 to 140, for a page of the route plan or the table alone
  try {
    switch (dati[0] % 3) {
      case 0:
        m.tracciato = leggi_tracciato(file, "f_linea.dat");
        if (byte_tracciato(m.tracciato) != file) __builtin_trap();
        if (!confronta_tracciato(m.tracciato, m.tracciato).empty()) __builtin_trap();
        break;
      case 1:
        m.elenco = leggi_elenco(file, "f.sim");
        if (byte_elenco(m.elenco) != file) __builtin_trap();
        if (!confronta_elenco(m.elenco, m.elenco).empty()) __builtin_trap();
        break;
      default:
        m.tratti = leggi_tratti(file, "f.dat");
        if (byte_tratti(m.tratti) != file) __builtin_trap();
        if (!confronta_tratti(m.tratti, m.tratti).empty()) __builtin_trap();
        break;
    }
  } catch (const ErroreLettura& e) {
    if (e.byte > file.size()) __builtin_trap();  // the place of the error lies in the file
    return 0;
  }
  descrivi(m, true);
  if (fuzz::per_una_quota(file, 8)) pagina_percorso(m);  // the page costs most: for some inputs
  return 0;
}
