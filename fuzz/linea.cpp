// The line phase over any line source.
#include "comune.h"
#include "model/modello.h"
#include "model/regole.h"
#include "parse/fasi.h"

using namespace compattatore;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
  const std::string sorgente = fuzz::testo(dati, n);
  Modello m;
  fuzz::Parola errori;
  LettoreVoci lettore(sorgente, "linea.txt");
  try {
    const EsitoLinea esito = fase_linea(m, errori, lettore, fuzz::opzioni_linea(sorgente));
    if (esito.cursore_cartelli < 0 || esito.cursore_cartelli > voce::primo_cartello) {
      __builtin_trap();
    }
  } catch (const GuastoEsecuzione&) {
  }
  return 0;
}
