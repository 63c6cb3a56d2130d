#include "parse/memo_indicatori_v_max.h"

#include "model/regole.h"

namespace compattatore {
namespace {

// One speed pair: the product in 32 bits, the quotient in double precision, the sum rounded.
int16_t coppia(int32_t primo_lato, int32_t secondo_lato, const char* cosa) {
  const int32_t centinaia = entro<int32_t>(int64_t{primo_lato} * 20, cosa);
  return entro<int16_t>(
      arrotonda(static_cast<double>(centinaia) + static_cast<double>(secondo_lato) / 5.0), cosa);
}

}  // namespace

Codice memo_indicatori_v_max(Modello& m, int32_t posizione, int32_t vas, int32_t vbs, int32_t vcs,
                             int32_t strisces, int32_t vad, int32_t vbd, int32_t vcd,
                             int32_t strisced) {
  Tratto& t = m.tratto(tratto_di(posizione));
  if (!libero(t)) return Codice::indicatore_occupato;
  // Everything is computed before the stretch changes, so a fault leaves it as it was.
  const int16_t v1 = coppia(vas, vad, "velocità del rango A");
  const int16_t v2 = coppia(vbs, vbd, "velocità del rango B");
  const int16_t v3 = coppia(vcs, vcd, "velocità del rango C");
  const int16_t v4 =
      bassi<int16_t>(int64_t{bassi<int16_t>(strisces)} * 10 + bassi<int16_t>(strisced));
  t.oggetto = oggetto::indicatore_velocita;
  t.valore_1 = v1;
  t.valore_2 = v2;
  t.valore_3 = v3;
  t.valore_4 = v4;
  return Codice::nessuno;
}

}  // namespace compattatore
