// Signals back to lines: their values as the decoder takes them apart into the items that form
// them, with the approach base that agrees with the approach bytes before them.
#include "decompilatore/treno.h"
#include "model/regole.h"

namespace compattatore {
namespace {

FontePreavvisi segnale(const SegnaleLetto& g) {
  const int64_t s = g.tratto;
  // A line's time of 1 to 100 is kept as 101: a stored 1 to 100 is the low byte of 257 to 356.
  const int64_t tempo = g.tempo == 0 ? 0 : g.tempo <= 100 ? g.tempo + 256 : g.tempo;
  FontePreavvisi f;
  f.chiave = s;
  f.riga = riga(Chiave::segnale, {posizione_oggetto<int64_t>(s), g.sx, g.aspetti[0], g.aspetti[1],
                                  g.aspetti[2], g.rapp, g.dx, g.d[0], g.d[1], g.d[2], tempo});
  for (int64_t b = 1; b <= kPreavvisi; ++b) {
    f.scritture.emplace_back(s - 2 * b, bassi<uint8_t>(int64_t{g.base} * 10 + b));
  }
  return f;
}

}  // namespace

std::vector<FontePreavvisi> segnali_treno(Ricostruzione& r) {
  std::vector<FontePreavvisi> fonti;
  for (const SegnaleLetto& g : r.letto().segnali) {
    r.spiega(g.tratto);
    if (g.tratto < 2 * kPreavvisi) {
      r.problema_tratto(g.tratto, TipoProblema::segnale_senza_preavvisi);
      continue;
    }
    if (!r.nel_percorso_o_segnala(g.tratto, 100, "segnale")) continue;
    fonti.push_back(segnale(g));
  }
  return fonti;
}

}  // namespace compattatore
