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

std::string elenco_punti(const std::vector<int64_t>& punti, size_t quanti) {
  std::string s;
  for (size_t i = 0; i < punti.size() && i < kPuntiElencati; ++i) {
    s += (i ? ", " : "") + std::to_string(punti[i]);
  }
  if (quanti > kPuntiElencati) s += " e altri " + std::to_string(quanti - kPuntiElencati);
  return s;
}

}  // namespace

CurveTracciato curve_dal_tracciato(const Tracciato& t, int32_t ultimo_tratto) {
  CurveTracciato r;
  const auto punti = static_cast<int64_t>(t.punti());
  if (punti < 5) {
    r.problemi.push_back("tracciato: " + std::to_string(punti) +
                         " punti, troppo pochi per un percorso");
    return r;
  }
  const int64_t metri_totali = punti - 1;
  if (!intero(t, 0, Asse::x, 0) || !intero(t, 0, Asse::y, 0) || !intero(t, 1, Asse::x, 0) ||
      !intero(t, 1, Asse::y, 1)) {
    r.problemi.push_back(
        "tracciato, punti 0 e 1: non sono gli interi (0, 0) e (0, 1) da cui parte ogni tracciato");
  }
  for (int64_t c = metri_totali - 1; c <= metri_totali; ++c) {
    if (!di_tipo(t, static_cast<size_t>(c), TipoCoordinata::vuota)) {
      r.problemi.push_back("tracciato, punto " + std::to_string(c) +
                           ": ha un valore, ma gli ultimi due punti restano sempre vuoti");
    }
  }

  std::vector<int64_t> non_doppi;    // points that are not two doubles
  std::vector<int64_t> spiegati_no;  // points that no step gives
  size_t quanti_non_doppi = 0, quanti_spiegati_no = 0;
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
    if (!di_tipo(t, i, TipoCoordinata::reale)) {
      if (quanti_non_doppi++ < kPuntiElencati) non_doppi.push_back(c);
    }
    std::optional<double> k = curvatura(penultimo, ultimo, punto, corrente);
    if (!k) {
      if (quanti_spiegati_no++ < kPuntiElencati) spiegati_no.push_back(c);
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

  if (quanti_non_doppi > 0) {
    r.problemi.push_back("tracciato, punti " + elenco_punti(non_doppi, quanti_non_doppi) +
                         ": non sono numeri in doppia precisione come ogni punto calcolato");
  }
  if (quanti_spiegati_no > 0) {
    r.problemi.push_back("tracciato, punti " + elenco_punti(spiegati_no, quanti_spiegati_no) +
                         ": nessun rettilineo e nessuna curva danno questi punti da quelli prima");
  }
  for (const auto& [da, a] : fuori) {
    r.problemi.push_back("tracciato, punti " + std::to_string(da) + "-" + std::to_string(a) +
                         ": una curva che una linea non può mettere (inizio oltre il percorso o "
                         "oltre il metro " +
                         std::to_string(kUltimoMetroTracciato) + ")");
  }
  return r;
}

}  // namespace compattatore
