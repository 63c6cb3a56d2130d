#include "decompilatore/curve_tracciato.h"

#include <bit>
#include <optional>

#include "model/regole.h"
#include "parse/traccia.h"

namespace compattatore {
namespace {

constexpr size_t kPuntiElencati = 5;  // unexplained points named in the message

bool uguale(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }
bool uguale(Punto a, Punto b) { return uguale(a.x, b.x) && uguale(a.y, b.y); }

bool intero(const Tracciato& t, size_t i, Asse a, int16_t v) {
  return t.tipo(i, a) == TipoCoordinata::intera && t.intero(i, a) == v;
}

bool di_tipo(const Tracciato& t, size_t i, TipoCoordinata tipo) {
  return t.tipo(i, Asse::x) == tipo && t.tipo(i, Asse::y) == tipo;
}

Punto punto_di(const Tracciato& t, size_t i) {
  return {t.valore(i, Asse::x), t.valore(i, Asse::y)};
}

// The curvatures a point may come from, in the order they are tried after the one of the metre
// before: the straight (0), then every class to the right and to the left.
constexpr double kProve[] = {0.0,
                             kCurvature[0],
                             -kCurvature[0],
                             kCurvature[1],
                             -kCurvature[1],
                             kCurvature[2],
                             -kCurvature[2],
                             kCurvature[3],
                             -kCurvature[3],
                             kCurvature[4],
                             -kCurvature[4],
                             kCurvature[5],
                             -kCurvature[5]};

Punto passo(Punto penultimo, Punto ultimo, double k) {
  return k == 0.0 ? passo_retto(penultimo, ultimo) : passo_curvo(penultimo, ultimo, k);
}

// The curvature that gives `punto` after `penultimo` and `ultimo`, trying `prima` first.
std::optional<double> curvatura(Punto penultimo, Punto ultimo, Punto punto, double prima) {
  if (uguale(passo(penultimo, ultimo, prima), punto)) return prima;
  for (double k : kProve) {
    if (k != prima && uguale(passo(penultimo, ultimo, k), punto)) return k;
  }
  return std::nullopt;
}

CurvaSorgente curva(int64_t primo, int64_t ultimo, double k) {
  CurvaSorgente c;
  c.posizione = static_cast<int32_t>(primo - 1);
  c.lunghezza = static_cast<int32_t>(ultimo - primo + 1);
  c.destra = k > 0;
  for (int i = 0; i < 6; ++i) {
    if (kCurvature[i] == (k > 0 ? k : -k)) c.classe = i + 1;
  }
  return c;
}

// Points of one kind, the first few of them by number, to be named in one problem.
struct Punti {
  std::vector<int64_t> primi;
  size_t quanti = 0;

  void aggiungi(int64_t c) {
    if (quanti++ < kPuntiElencati) primi.push_back(c);
  }
  // The problem that names them, "3, 4, 5 e altri 2", at the first of them.
  void segnala(TipoProblema tipo, std::vector<Problema>& problemi) const {
    if (quanti == 0) return;
    std::string s;
    for (size_t i = 0; i < primi.size(); ++i) s += (i ? ", " : "") + std::to_string(primi[i]);
    if (quanti > kPuntiElencati) s += " e altri " + std::to_string(quanti - kPuntiElencati);
    problemi.push_back({tipo, primi.front(), {}, {std::move(s)}});
  }
};

// The two points every plan starts from, and the last two, which stay empty.
void estremi(const Tracciato& t, int64_t metri_totali, std::vector<Problema>& problemi) {
  if (!intero(t, 0, Asse::x, 0) || !intero(t, 0, Asse::y, 0) || !intero(t, 1, Asse::x, 0) ||
      !intero(t, 1, Asse::y, 1)) {
    problemi.push_back({TipoProblema::punti_iniziali, 0});
  }
  for (int64_t c = metri_totali - 1; c <= metri_totali; ++c) {
    if (!di_tipo(t, static_cast<size_t>(c), TipoCoordinata::vuota)) {
      problemi.push_back({TipoProblema::punto_finale_pieno, c, {}, {c}});
    }
  }
}

}  // namespace

CurveTracciato curve_dal_tracciato(const Tracciato& t, int32_t ultimo_tratto) {
  CurveTracciato r;
  const auto punti = static_cast<int64_t>(t.punti());
  if (punti < 5) {
    r.problemi.push_back({TipoProblema::punti_troppo_pochi, 0, {}, {punti}});
    return r;
  }
  const int64_t metri_totali = punti - 1;
  estremi(t, metri_totali, r.problemi);

  Punti non_doppi;                                 // points that are not two doubles
  Punti spiegati_no;                               // points that no step gives
  std::vector<std::pair<int64_t, int64_t>> fuori;  // curves a source cannot place
  Punto penultimo = punto_di(t, 0);
  Punto ultimo = punto_di(t, 1);
  double corrente = 0.0;  // curvature of the metre before
  int64_t inizio = 0;     // first metre of the curve in progress
  auto chiudi = [&](int64_t fino) {
    if (corrente == 0.0) return;
    const CurvaSorgente c = curva(inizio, fino, corrente);
    if (!nel_percorso(ultimo_tratto, c.posizione) || fino >= kUltimoMetroTracciato) {
      fuori.emplace_back(inizio, fino);
    } else {
      r.curve.push_back(c);
    }
  };
  for (int64_t c = 2; c <= metri_totali - 2; ++c) {
    const auto i = static_cast<size_t>(c);
    const Punto punto = punto_di(t, i);
    if (!di_tipo(t, i, TipoCoordinata::reale)) non_doppi.aggiungi(c);
    std::optional<double> k = curvatura(penultimo, ultimo, punto, corrente);
    if (!k) {
      spiegati_no.aggiungi(c);
      k = corrente;  // the curvature of the metre before goes on, from the point as stored
    }
    if (*k != corrente) {
      chiudi(c - 1);
      corrente = *k;
      inizio = c;
    }
    penultimo = ultimo;
    ultimo = punto;
  }
  chiudi(metri_totali - 2);

  non_doppi.segnala(TipoProblema::punti_non_doppi, r.problemi);
  spiegati_no.segnala(TipoProblema::punti_senza_passo, r.problemi);
  for (const auto& [da, a] : fuori) {
    r.problemi.push_back({TipoProblema::curva_fuori, da, {}, {da, a, kUltimoMetroTracciato}});
  }
  return r;
}

}  // namespace compattatore
