// The train phase over any train source, on a route already sized.
#include "comune.h"
#include "model/modello.h"
#include "model/regole.h"
#include "parse/fasi.h"

using namespace compattatore;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
  static const Modello vuoto = [] {
    Modello m;
    m.crea_tratti(fuzz::kTaglioPercorso, false);
    return m;
  }();
  const std::string sorgente = fuzz::testo(dati, n);
  Modello m = vuoto;
  fuzz::Parola errori;
  LettoreVoci lettore(sorgente, "treno.txt");
  try {
    fase_treno(m, errori, lettore, OpzioniTreno{});
  } catch (const GuastoEsecuzione&) {
  }
  if (m.tratti.size() != vuoto.tratti.size()) __builtin_trap();
  return 0;
}
