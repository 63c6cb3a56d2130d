// `compattatore disegna FILE... -o PERCORSO.html`: the picture of a compiled scenario's route.
#include "app/comandi.h"
#include "app/lettura.h"
#include "io/file_sicuro.h"
#include "io/sistema.h"
#include "viste/disegno.h"

namespace compattatore {

int comando_disegna(const OpzioniLette& o, std::ostream& out, std::ostream& err) {
  const auto uscita = o.percorso("uscita");
  if (!uscita) return errore_uso(err, "disegna", "manca la pagina da scrivere: -o PERCORSO.html");
  const auto s = leggi_scenario(o.operandi, "disegna", err);
  if (!s) return kUscitaFallita;
  for (const auto& [file, cosa] : {std::pair{&s->file.elenco, "l'elenco (NOME_TRENO.sim)"},
                                   {&s->file.tratti, "i tratti (NOME_TRENO.dat)"}}) {
    if (!*file) {
      return errore_uso(err, "disegna",
                        std::string("per disegnare il percorso servono ") + cosa +
                            ": non trovato accanto ai file indicati");
    }
  }
  for (TipoCompilato tipo : kTipiCompilati) {
    if (s->file[tipo] && stessa_destinazione(*uscita, *s->file[tipo])) {
      return errore_uso(err, "disegna",
                        "la pagina '" + uscita->string() + "' sostituirebbe il file compilato '" +
                            s->file[tipo]->string() + "'");
    }
  }
  try {
    scrivi_pagina(*uscita, s->modello);
  } catch (const ErroreFile& e) {
    err << "compattatore disegna: impossibile scrivere '" << e.file.string() << "': " << e.motivo
        << "\n";
    return kUscitaFallita;
  }
  out << "scritto " << uscita->string()
      << (s->file.tracciato ? "" : " (senza mappa: manca il tracciato)") << "\n";
  return kUscitaOk;
}

}  // namespace compattatore
