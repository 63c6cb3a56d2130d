// Signals back to lines: their values taken apart into the items that form them. `sx`·3 + `dx`
// is the approach base: it is chosen to agree with the approach bytes before the signal and with
// the units of `valore_4`; `sx` is 2 when the signal keeps a time.
#include "decompilatore/treno.h"
#include "model/regole.h"

namespace compattatore {
namespace {

// The approach base that `valore_4` allows and that agrees with most of the four approach bytes
// before the signal on stretch `s`.
int64_t base_preavvisi(const Ricostruzione& r, int64_t s) {
  const Tratto& x = r.t(s);
  int64_t base = 0;
  int migliori = -1;
  for (int64_t q = 0; q < 640; ++q) {
    if ((x.valore_4 - q) % 10 != 0) continue;
    int accordi = 0;
    for (int64_t b = 1; b <= 4; ++b) {
      if (r.t(s - 2 * b).preavviso == bassi<uint8_t>(q * 10 + b)) ++accordi;
    }
    if (accordi > migliori) {
      migliori = accordi;
      base = q;
    }
  }
  return base;
}

FontePreavvisi segnale(const Ricostruzione& r, int64_t s) {
  const Tratto& x = r.t(s);
  const int64_t base = base_preavvisi(r, s);
  const int64_t rapp = (x.valore_4 - base) / 10;
  int64_t sx = base / 3, dx = base % 3;
  int64_t tempo = 0;
  if (x.tempo_segnale != 0) {
    sx = 2;
    dx = base - 6;
    tempo = x.tempo_segnale <= 100 ? x.tempo_segnale + 256 : x.tempo_segnale;
  }
  FontePreavvisi f;
  f.chiave = s;
  f.riga = riga("segnale", {posizione_oggetto<int64_t>(s), sx, x.valore_1 / 10, x.valore_2 / 10,
                            x.valore_3 / 10, rapp, dx, x.valore_1 % 10, x.valore_2 % 10,
                            x.valore_3 % 10, tempo});
  for (int64_t b = 1; b <= 4; ++b) {
    f.scritture.emplace_back(s - 2 * b, bassi<uint8_t>(base * 10 + b));
  }
  return f;
}

}  // namespace

std::vector<FontePreavvisi> segnali_treno(Ricostruzione& r) {
  std::vector<FontePreavvisi> fonti;
  for (int64_t s = 0; s <= r.ultimo(); ++s) {
    if (r.t(s).oggetto != oggetto::segnale) continue;
    r.spiega(s);
    if (s < 8) {
      r.problema_tratto(s, TipoProblema::segnale_senza_preavvisi);
      continue;
    }
    if (!r.nel_percorso_o_segnala(s, 100, "segnale")) continue;
    fonti.push_back(segnale(r, s));
  }
  return fonti;
}

}  // namespace compattatore
