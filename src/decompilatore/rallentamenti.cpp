// Slowdowns back to lines. Each start is paired with its end; its warning board (24 stretches
// before a start past 1500 m) and the four marked stretches before the board tell the line's
// items apart; what the line derives is accounted for, not written.
#include <optional>

#include "decompilatore/treno.h"
#include "model/oggetti.h"
#include "model/regole.h"

namespace compattatore {
namespace {

std::vector<int64_t> con_oggetto(const Ricostruzione& r, uint8_t o) {
  std::vector<int64_t> s;
  for (int64_t k = 0; k <= r.ultimo(); ++k) {
    if (r.t(k).oggetto == o) s.push_back(k);
  }
  return s;
}

// The end of each start: the nearest end after it with the same values, then one before it.
std::vector<std::optional<int64_t>> coppie(Ricostruzione& r, const std::vector<int64_t>& inizi) {
  const std::vector<int64_t> fini = con_oggetto(r, oggetto::fine_rallentamento);
  std::vector<bool> presa(fini.size(), false);
  auto stessa = [&](int64_t a, int64_t b) {
    return r.t(a).valore_1 == r.t(b).valore_1 && r.t(a).valore_2 == r.t(b).valore_2 &&
           r.t(a).valore_3 == r.t(b).valore_3;
  };
  std::vector<std::optional<int64_t>> fine_di(inizi.size());
  for (int verso = 0; verso < 2; ++verso) {
    for (size_t k = 0; k < inizi.size(); ++k) {
      if (fine_di[k]) continue;
      std::optional<size_t> scelta;
      for (size_t j = 0; j < fini.size(); ++j) {
        if (presa[j] || !stessa(inizi[k], fini[j])) continue;
        if (verso == 0 && fini[j] > inizi[k] && (!scelta || fini[j] < fini[*scelta])) scelta = j;
        if (verso == 1 && fini[j] < inizi[k] && (!scelta || fini[j] > fini[*scelta])) scelta = j;
      }
      if (scelta) {
        presa[*scelta] = true;
        fine_di[k] = fini[*scelta];
      }
    }
  }
  for (size_t j = 0; j < fini.size(); ++j) {
    if (!presa[j]) r.problema_tratto(fini[j], TipoProblema::fine_senza_inizio);
    r.spiega(fini[j]);
  }
  return fine_di;
}

// Whether the four stretches before the warning board on `a` are marked for a slowdown whose
// board speed is `d_v`.
bool marcati(const Ricostruzione& r, int64_t a, int16_t d_v) {
  for (int64_t k = 0; k < 4; ++k) {
    const int64_t s = a - 1 - k;
    if (s < 0 || r.t(s).oggetto != oggetto::preavviso_rallentamento || r.t(s).valore_1 != k + 1 ||
        r.t(s).valore_2 != (d_v != 0 ? k + 1 : 0)) {
      return false;
    }
  }
  return true;
}

// The line of the slowdown from stretch `i` to `e`.
void rallentamento(Ricostruzione& r, int64_t i, int64_t e, std::vector<Riga>& out) {
  r.spiega(i);
  const Tratto& x = r.t(i);
  const int16_t v = x.valore_1, d_v = x.valore_2, f_tt = x.valore_3;
  // A start past stretch 31 is past 1500 m: its warning board stands 24 stretches before.
  const int64_t a = i - 24;
  const bool avviso_qui = a >= 0 && r.t(a).oggetto == oggetto::avviso_rallentamento &&
                          r.t(a).valore_1 == v && r.t(a).valore_2 == d_v;
  int64_t metri = posizione_oggetto<int64_t>(i);
  if (i == 31 && avviso_qui) metri += 10;  // just past 1500 m, still on stretch 31
  if (i > 31 && !avviso_qui) r.problema_tratto(a, TipoProblema::avviso_mancante, {i});
  int64_t f_ta = 0;
  if (i >= 31 && avviso_qui) {
    r.spiega(a);
    if (marcati(r, a, d_v)) {
      f_ta = 1;
      for (int64_t k = 0; k < 4; ++k) r.spiega(a - 1 - k);
    }
  }
  if (!r.nel_percorso_o_segnala(i, 100, "rallentamento")) return;
  out.push_back(riga("rallentamento", {metri, v, (e - i) * kMetriTratto, f_tt, f_ta, d_v}));
}

}  // namespace

void rallentamenti_treno(Ricostruzione& r, SorgenteTreno& out) {
  const std::vector<int64_t> inizi = con_oggetto(r, oggetto::inizio_rallentamento);
  const std::vector<std::optional<int64_t>> fine_di = coppie(r, inizi);
  for (size_t k = 0; k < inizi.size(); ++k) {
    rallentamento(r, inizi[k], fine_di[k].value_or(inizi[k]), out.rallentamenti);
  }
  for (int64_t s = 0; s <= r.ultimo(); ++s) {
    const uint8_t o = r.t(s).oggetto;
    if ((o == oggetto::avviso_rallentamento || o == oggetto::preavviso_rallentamento) &&
        !r.spiegato(s)) {
      r.spiega(s);
      r.problema_tratto(s, TipoProblema::senza_rallentamento, {nome_breve_oggetto(o)});
    }
  }
}

}  // namespace compattatore
