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

// The straight step of passo_retto over the four numbers that `disegna` carries along.
void retto(double x0, double y0, double x1, double y1, double& x, double& y) {
  const Punto p = passo_retto({x0, y0}, {x1, y1});
  x = p.x;
  y = p.y;
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

// Point c = point(c - 1) + D, with D = point(c - 1) - point(c - 2).
Punto passo_retto(Punto penultimo, Punto ultimo) {
  return {ultimo.x + (ultimo.x - penultimo.x), ultimo.y + (ultimo.y - penultimo.y)};
}

// The step D turned by k: X(c) = X(c-1) + Dx + k·Dy, Y(c) = Y(c-1) + Dy - k·Dx.
Punto passo_curvo(Punto penultimo, Punto ultimo, double k) {
  const double dx = ultimo.x - penultimo.x;
  const double dy = ultimo.y - penultimo.y;
  return {ultimo.x + dx + k * dy, ultimo.y + dy - k * dx};
}

Codice traccia_curva(Tracciato& t, int32_t& metro, int32_t posizione, int32_t lunghezza, double k) {
  if (tratto_limitato(t, metro, posizione, retto) != Codice::nessuno) {
    return Codice::curva_errata;
  }
  const auto curvo = [k](double x0, double y0, double x1, double y1, double& x, double& y) {
    const Punto p = passo_curvo({x0, y0}, {x1, y1}, k);
    x = p.x;
    y = p.y;
  };
  return tratto_limitato(t, metro, int64_t{posizione} + lunghezza, curvo);
}

void traccia_rettilineo(Tracciato& t, int32_t& metro, int64_t fino) {
  disegna(t, metro, fino, retto);
}

}  // namespace compattatore
