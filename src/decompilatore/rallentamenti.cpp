// Slowdowns back to lines, as the decoder pairs them: each start with its end, its warning board
// and its marked stretches. What the line derives is accounted for, not written.
#include "decompilatore/treno.h"
#include "model/oggetti.h"
#include "model/regole.h"

namespace compattatore {
namespace {

// The line of the slowdown `ra`, which has a start.
void rallentamento(Ricostruzione& r, const RallentamentoLetto& ra, std::vector<Riga>& out) {
  const int64_t i = *ra.inizio;
  r.spiega(i);
  int64_t metri = posizione_oggetto<int64_t>(i);
  // Just past 1500 m, still on the first stretch with a warning board.
  if (i == kPrimoInizioConAvviso && ra.avviso) metri += 10;
  if (i > kPrimoInizioConAvviso && !ra.avviso) {
    r.problema_tratto(i - kTrattiAvvisoInizio, TipoProblema::avviso_mancante, {i});
  }
  if (ra.avviso) {
    r.spiega(*ra.avviso);
    for (int64_t k = 1; ra.segnalato && k <= kPreavvisi; ++k) r.spiega(*ra.avviso - k);
  }
  if (!r.nel_percorso_o_segnala(i, 100, "rallentamento")) return;
  const int64_t fine = ra.fine.value_or(*ra.inizio);
  out.push_back(riga(Chiave::rallentamento, {metri, ra.velocita, (fine - i) * kMetriTratto, ra.f_tt,
                                             ra.segnalato ? 1 : 0, ra.d_v}));
}

// A board or a mark that no slowdown takes.
void senza_rallentamento(Ricostruzione& r, int64_t s) {
  r.spiega(s);
  r.problema_tratto(s, TipoProblema::senza_rallentamento, {nome_breve_oggetto(r.t(s).oggetto)});
}

}  // namespace

void rallentamenti_treno(Ricostruzione& r, SorgenteTreno& out) {
  const Descrizione& d = r.letto();
  for (const RallentamentoLetto& ra : d.rallentamenti) {
    if (!ra.fine) continue;
    if (!ra.inizio) r.problema_tratto(*ra.fine, TipoProblema::fine_senza_inizio);
    r.spiega(*ra.fine);
  }
  for (const RallentamentoLetto& ra : d.rallentamenti) {
    if (ra.inizio) rallentamento(r, ra, out.rallentamenti);
  }
  for (const RallentamentoLetto& ra : d.rallentamenti) {
    if (!ra.inizio && ra.avviso) senza_rallentamento(r, *ra.avviso);
  }
  for (const int32_t s : d.preavvisi_rallentamento_sparsi) senza_rallentamento(r, s);
}

}  // namespace compattatore
