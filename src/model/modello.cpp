#include "model/modello.h"

#include <string>

#include "model/regole.h"

namespace compattatore {

Tratto& Modello::tratto(int64_t i) {
  if (i < 0 || i >= static_cast<int64_t>(tratti.size())) {
    throw GuastoEsecuzione("tratto " + std::to_string(i) + " fuori da tratti (0-" +
                           std::to_string(static_cast<int64_t>(tratti.size()) - 1) + ")");
  }
  return tratti[static_cast<size_t>(i)];
}

void Modello::crea_tratti(int32_t lunghezza, bool con_tracciato) {
  metri_totali = entro<int32_t>(int64_t{lunghezza} + 7000, "metri_totali");
  const int32_t ultimo = cinquantesimi(metri_totali);
  if (ultimo < 1) throw GuastoEsecuzione("percorso troppo corto");
  tratti.assign(static_cast<size_t>(ultimo) + 1, Tratto{});
  if (con_tracciato) {
    tracciato.crea(metri_totali);
  } else {
    tracciato = Tracciato{};
  }
}

}  // namespace compattatore
