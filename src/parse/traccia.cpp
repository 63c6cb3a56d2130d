#include "parse/traccia.h"

#include <algorithm>
#include <string>

#include "model/regole.h"

namespace compattatore {
namespace {

// The run-time fault for point `metro`, when it lies outside the plan.
void controlla_punto(const Tracciato& t, int64_t metro) {
  if (metro < 2 || static_cast<uint64_t>(metro) >= t.punti()) {
    throw GuastoEsecuzione("punto " + std::to_string(metro) + " fuori dal tracciato (0-" +
                           std::to_string(static_cast<int64_t>(t.punti()) - 1) + ")");
  }
}

// Draws the points from `metro` up to `fino` with `passo`, which computes a point from the two
// before it, and leaves `metro` on the first point not drawn. The two previous points are read
// once and then carried along. A point beyond the plan is the run-time fault, after every
// point before it has been drawn.
template <class Passo>
void disegna(Tracciato& t, int32_t& metro, int64_t fino, Passo passo) {
  if (metro > fino) return;
  controlla_punto(t, metro);
  const int64_t ultimo = std::min<int64_t>(fino, static_cast<int64_t>(t.punti()) - 1);
  const auto primo = static_cast<size_t>(metro);
  double x0 = t.valore(primo - 2, Asse::x);
  double y0 = t.valore(primo - 2, Asse::y);
  double x1 = t.valore(primo - 1, Asse::x);
  double y1 = t.valore(primo - 1, Asse::y);
  for (; metro <= ultimo; ++metro) {
    double x = 0.0;
    double y = 0.0;
    passo(x0, y0, x1, y1, x, y);
    t.imposta_punto(static_cast<size_t>(metro), x, y);
    x0 = x1;
    y0 = y1;
    x1 = x;
    y1 = y;
  }
  if (metro <= fino) controlla_punto(t, metro);
}

// Point c = point(c - 1) + D, with D = point(c - 1) - point(c - 2).
void passo_retto(double x0, double y0, double x1, double y1, double& x, double& y) {
  x = x1 + (x1 - x0);
  y = y1 + (y1 - y0);
}

// Straight run up to `fino`, the metre counter checked against kUltimoMetroTracciato after each
// point, as for the curve: the first point drawn at or past it ends the layout.
template <class Passo>
Codice tratto_limitato(Tracciato& t, int32_t& metro, int64_t fino, Passo passo) {
  if (metro > fino) return Codice::nessuno;
  disegna(t, metro, std::min<int64_t>(fino, std::max(metro, kUltimoMetroTracciato)), passo);
  return metro > kUltimoMetroTracciato ? Codice::curva_errata : Codice::nessuno;
}

}  // namespace

Codice traccia_curva(Tracciato& t, int32_t& metro, int32_t posizione, int32_t lunghezza, double k) {
  if (tratto_limitato(t, metro, posizione, passo_retto) != Codice::nessuno) {
    return Codice::curva_errata;
  }
  // The step D turned by k: X(c) = X(c-1) + Dx + k·Dy, Y(c) = Y(c-1) + Dy - k·Dx.
  const auto passo_curvo = [k](double x0, double y0, double x1, double y1, double& x, double& y) {
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    x = x1 + dx + k * dy;
    y = y1 + dy - k * dx;
  };
  return tratto_limitato(t, metro, int64_t{posizione} + lunghezza, passo_curvo);
}

void traccia_rettilineo(Tracciato& t, int32_t& metro, int64_t fino) {
  disegna(t, metro, fino, passo_retto);
}

}  // namespace compattatore
