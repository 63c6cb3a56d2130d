#include "parse/traccia.h"

#include <string>
#include <variant>

#include "model/regole.h"

namespace compattatore {
namespace {

double numero(const Coordinata& c) {
  if (const auto* d = std::get_if<double>(&c)) return *d;
  if (const auto* i = std::get_if<int16_t>(&c)) return *i;
  return 0.0;
}

size_t punto(const Tracciato& t, int32_t metro) {
  if (metro < 2 || static_cast<size_t>(metro) >= t.x.size()) {
    throw GuastoEsecuzione("punto " + std::to_string(metro) + " fuori dal tracciato (0-" +
                           std::to_string(static_cast<int64_t>(t.x.size()) - 1) + ")");
  }
  return static_cast<size_t>(metro);
}

Punto punto_di(const Tracciato& t, size_t c) { return {numero(t.x[c]), numero(t.y[c])}; }

void scrivi(Tracciato& t, size_t c, Punto p) {
  t.x[c] = p.x;
  t.y[c] = p.y;
}

}  // namespace

Punto passo_retto(Punto penultimo, Punto ultimo) {
  return {ultimo.x + (ultimo.x - penultimo.x), ultimo.y + (ultimo.y - penultimo.y)};
}

Punto passo_curvo(Punto penultimo, Punto ultimo, double k) {
  const double dx = ultimo.x - penultimo.x;
  const double dy = ultimo.y - penultimo.y;
  return {ultimo.x + dx + k * dy, ultimo.y + dy - k * dx};
}

Codice traccia_curva(Tracciato& t, int32_t& metro, int32_t posizione, int32_t lunghezza, double k) {
  while (metro <= posizione) {
    const size_t c = punto(t, metro);
    scrivi(t, c, passo_retto(punto_di(t, c - 2), punto_di(t, c - 1)));
    if (++metro > kUltimoMetroTracciato) return Codice::curva_errata;
  }
  const int64_t fine = int64_t{posizione} + lunghezza;
  while (metro <= fine) {
    const size_t c = punto(t, metro);
    scrivi(t, c, passo_curvo(punto_di(t, c - 2), punto_di(t, c - 1), k));
    if (++metro > kUltimoMetroTracciato) return Codice::curva_errata;
  }
  return Codice::nessuno;
}

void traccia_rettilineo(Tracciato& t, int32_t& metro, int64_t fino) {
  while (metro <= fino) {
    const size_t c = punto(t, metro);
    scrivi(t, c, passo_retto(punto_di(t, c - 2), punto_di(t, c - 1)));
    ++metro;
  }
}

}  // namespace compattatore
