#include "parse/traccia.h"

#include <string>

#include "model/regole.h"

namespace compattatore {
namespace {

size_t punto(const Tracciato& t, int32_t metro) {
  if (metro < 2 || static_cast<size_t>(metro) >= t.punti()) {
    throw GuastoEsecuzione("punto " + std::to_string(metro) + " fuori dal tracciato (0-" +
                           std::to_string(static_cast<int64_t>(t.punti()) - 1) + ")");
  }
  return static_cast<size_t>(metro);
}

// Point c = point(c - 1) + D, with D = point(c - 1) - point(c - 2).
void passo_retto(Tracciato& t, int32_t metro) {
  const size_t c = punto(t, metro);
  const double x = t.valore(c - 1, Asse::x);
  const double y = t.valore(c - 1, Asse::y);
  t.imposta_punto(c, x + (x - t.valore(c - 2, Asse::x)), y + (y - t.valore(c - 2, Asse::y)));
}

// The step D turned by k: X(c) = X(c-1) + Dx + k·Dy, Y(c) = Y(c-1) + Dy - k·Dx.
void passo_curvo(Tracciato& t, int32_t metro, double k) {
  const size_t c = punto(t, metro);
  const double x = t.valore(c - 1, Asse::x);
  const double y = t.valore(c - 1, Asse::y);
  const double dx = x - t.valore(c - 2, Asse::x);
  const double dy = y - t.valore(c - 2, Asse::y);
  t.imposta_punto(c, x + dx + k * dy, y + dy - k * dx);
}

}  // namespace

Codice traccia_curva(Tracciato& t, int32_t& metro, int32_t posizione, int32_t lunghezza, double k) {
  while (metro <= posizione) {
    passo_retto(t, metro);
    if (++metro > kUltimoMetroTracciato) return Codice::curva_errata;
  }
  const int64_t fine = int64_t{posizione} + lunghezza;
  while (metro <= fine) {
    passo_curvo(t, metro, k);
    if (++metro > kUltimoMetroTracciato) return Codice::curva_errata;
  }
  return Codice::nessuno;
}

void traccia_rettilineo(Tracciato& t, int32_t& metro, int64_t fino) {
  while (metro <= fino) {
    passo_retto(t, metro);
    ++metro;
  }
}

}  // namespace compattatore
