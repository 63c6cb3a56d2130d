#include "model/regole.h"

#include <cmath>

#include "model/modello.h"

namespace compattatore {

int64_t arrotonda(double x) {
  // nearbyint follows the current rounding mode, which is round-to-nearest-even unless changed.
  const double r = std::nearbyint(x);
  if (!std::isfinite(r) || r < -9.2e18 || r > 9.2e18) {
    throw GuastoEsecuzione("numero fuori campo");
  }
  return static_cast<int64_t>(r);
}

std::string testo_entro(std::string testo, const char* cosa) {
  if (testo.size() > kMaxTesto) {
    throw GuastoEsecuzione(std::string(cosa) + " di " + std::to_string(testo.size()) +
                           " byte: al massimo " + std::to_string(kMaxTesto));
  }
  return testo;
}

int32_t tratto_di(int32_t posizione) {
  return entro<int32_t>(arrotonda(static_cast<double>(posizione) / 50.0 + 1.0), "tratto");
}

int32_t cinquantesimi(double valore) { return entro<int32_t>(arrotonda(valore / 50.0), "tratto"); }

bool nel_campo(int32_t ultimo_tratto, int32_t posizione, int32_t margine) {
  return static_cast<double>(ultimo_tratto) >=
         (static_cast<double>(posizione) + static_cast<double>(margine)) / 50.0;
}

bool nel_percorso(int32_t ultimo_tratto, int32_t posizione, int32_t margine) {
  return posizione >= 0 && nel_campo(ultimo_tratto, posizione, margine);
}

bool libero(const Tratto& t) {
  return t.oggetto == oggetto::libero || t.oggetto == oggetto::segno_montagna;
}

}  // namespace compattatore
