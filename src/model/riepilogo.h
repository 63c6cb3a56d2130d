// What a compiled scenario holds, in a few figures: the line printed after a compile.
#pragma once

#include <cstdint>

#include "model/modello.h"

namespace compattatore {

struct Riepilogo {
  int32_t lunghezza = 0;  // route length, metres ("lunghezza percorso")
  int32_t tratti = 0;     // stretches, 0 to ultimo_tratto
  int stazioni = 0;
  int segnali = 0;
  int rallentamenti = 0;
  int indicatori = 0;  // speed indicator boards
  int cartelli = 0;    // indicator boards with text
  int segni_di_codice = 0;
  int32_t codice_st = 0;  // the check code of the table (entry 85, orario)
  int16_t codice_og = 0;  // the check code of the stretches (stretch 1, valore_2)
};

/// The figures of `m` once its check codes are stored; `segni_di_codice` as the code-marker pass
/// counted them.
Riepilogo riepiloga(const Modello& m, int segni_di_codice);

}  // namespace compattatore
