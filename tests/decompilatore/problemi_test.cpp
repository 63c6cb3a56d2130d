// The line printed for a problem of the decompiler: its place, then the text of its row with the
// values, the differing fields and the code of a compile.
#include "decompilatore/problemi.h"

#include <gtest/gtest.h>

namespace compattatore {
namespace {

Segnalazione codice_8() {
  Segnalazione s;
  s.codice = Codice::stazione_non_multipla;
  s.posizione = 1025;
  s.luogo.file = "sorgente del treno";
  s.luogo.riga = 11;
  return s;
}

TEST(ProblemiDecompila, UnaRigaPerOgniParteDelFile) {
  using P = TipoProblema;
  const struct {
    Problema problema;
    const char* atteso;
  } casi[] = {
      {{P::oggetto_senza_riga, 100, {}, {7, "sconosciuto"}},
       "tratto 100 (4950 m): oggetto 7 (sconosciuto) che nessuna riga dei sorgenti mette qui"},
      {{P::flag_4_azzerato, 2, "Beta", {1}},
       "voce 2 (Beta): flag_4 1 che un sorgente azzera (marciapiede sotto 600 m o prima "
       "stazione)"},
      {{P::voce_diversa, 40, {}, {}, {{"intero_3", "9", "0"}, {"testo", "\"x\"", "\"\""}}},
       "voce 40: nel file intero_3 9, testo \"x\"; dai sorgenti ricostruiti intero_3 0, testo "
       "\"\""},
      {{P::punti_senza_passo, 2100, {}, {"2100, 2101, 2102"}},
       "tracciato, punti 2100, 2101, 2102: nessun rettilineo e nessuna curva danno questi punti "
       "da quelli prima"},
      {{P::punti_per_lunghezza, 0, {}, {19001, 14000, 21001}},
       "tracciato: 19001 punti, la lunghezza 14000 m ne vuole 21001"},
      {{P::sezioni_disordinate, 81},
       "voci 81-83: nessuna riga \"progressiva chilometrica\" dà queste sezioni una volta "
       "ordinate"},
      {{P::codici_di_controllo, 0, {}, {"Prova", "1"}},
       "voce 85 e tratto 1: i valori fissi e i codici di controllo non sono quelli di nome "
       "\"Prova\" e treno \"1\" (il simulatore rifiuta questi file); i sorgenti ricostruiti danno "
       "quelli giusti"},
      {{P::troppe_montagne, 0, {}, {81, 80}},
       "montagne: 81 righe, ma un sorgente ne tiene al massimo 80"},
      {{P::codice_ricompilando, 0, {}, {}, {}, codice_8()},
       "compilando i sorgenti ricostruiti: sorgente del treno, riga 11: errore 8 (la posizione "
       "della stazione non è multipla di 50 m), posizione 1025 m"},
  };
  for (const auto& c : casi) EXPECT_EQ(testo_problema(c.problema), c.atteso);
}

// A place with a problem is not compared again: the list keeps which stretches, entries and plan
// it names, and puts entries, the plan, stretches by number and the rest in that order.
TEST(ProblemiDecompila, ElencoInOrdineDeiFile) {
  using P = TipoProblema;
  ElencoProblemi e;
  e.aggiungi({P::preavvisi_senza_ordine});
  e.aggiungi({P::fine_senza_inizio, 30});
  e.aggiungi({P::pendenza_in_coda, 12, {}, {5}});
  e.aggiungi({P::punti_iniziali, 0});
  e.aggiungi({P::sezioni_disordinate, 81});
  e.aggiungi({P::flag_3_azzerato, 1, {}, {1}});
  e.aggiungi({P::fine_senza_inizio, 12});
  EXPECT_TRUE(e.tratto_segnalato(12));
  EXPECT_FALSE(e.tratto_segnalato(13));
  EXPECT_TRUE(e.voce_segnalata(83));
  EXPECT_FALSE(e.voce_segnalata(84));
  EXPECT_TRUE(e.tracciato_segnalato());
  e.ordina();
  std::vector<std::pair<P, int64_t>> ordine;
  for (const Problema& p : e.consegna()) ordine.emplace_back(p.tipo, p.numero);
  EXPECT_EQ(ordine, (std::vector<std::pair<P, int64_t>>{{P::flag_3_azzerato, 1},
                                                        {P::sezioni_disordinate, 81},
                                                        {P::punti_iniziali, 0},
                                                        {P::pendenza_in_coda, 12},
                                                        {P::fine_senza_inizio, 12},
                                                        {P::fine_senza_inizio, 30},
                                                        {P::preavvisi_senza_ordine, 0}}));
}

}  // namespace
}  // namespace compattatore
