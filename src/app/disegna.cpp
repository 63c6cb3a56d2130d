// `compattatore disegna FILE... -o PERCORSO.html`: the picture of a compiled scenario's route; with
// `--osserva`, drawn again at every change of the compiled files.
#include "app/comandi.h"
#include "app/diagnostica.h"
#include "app/lettura.h"
#include "app/osserva.h"
#include "io/file_sicuro.h"
#include "io/sistema.h"
#include "viste/disegno.h"

namespace compattatore {
namespace {

// Reads the scenario and writes its page (under a watch, the page that reloads itself, and
// `riga` gets the line of the watch; left empty after a usage error).
int disegna(const OpzioniLette& o, const std::filesystem::path& uscita, std::ostream& out,
            std::ostream& err, std::string* riga = nullptr) {
  const auto s = leggi_scenario(o.operandi, "disegna", err);
  if (!s) {
    if (riga != nullptr) *riga = "errore: file compilati non letti";
    return kUscitaFallita;
  }
  for (const auto& [file, cosa] : {std::pair{&s->file.elenco, "l'elenco (NOME_TRENO.sim)"},
                                   {&s->file.tratti, "i tratti (NOME_TRENO.dat)"}}) {
    if (!*file) {
      return errore_uso(err, "disegna",
                        std::string("per disegnare il percorso servono ") + cosa +
                            ": non trovato accanto ai file indicati");
    }
  }
  for (TipoCompilato tipo : kTipiCompilati) {
    if (s->file[tipo] && stessa_destinazione(uscita, *s->file[tipo])) {
      return errore_uso(err, "disegna",
                        "la pagina '" + uscita.string() + "' sostituirebbe il file compilato '" +
                            s->file[tipo]->string() + "'");
    }
  }
  try {
    if (riga != nullptr) {
      scrivi_pagina_osservata(uscita, s->modello);
    } else {
      scrivi_pagina(uscita, s->modello);
    }
  } catch (const ErroreFile& e) {
    err << "compattatore disegna: impossibile scrivere '" << e.file.string() << "': " << e.motivo
        << "\n";
    if (riga != nullptr) *riga = "errore: pagina non scritta";
    return kUscitaFallita;
  }
  const std::string scritto = "scritto " + uscita.string() +
                              (s->file.tracciato ? "" : " (senza mappa: manca il tracciato)");
  if (riga != nullptr) {
    *riga = "ok: " + scritto;
  } else {
    out << scritto << "\n";
  }
  return kUscitaOk;
}

}  // namespace

int comando_disegna(const OpzioniLette& o, std::ostream& out, std::ostream& err) {
  const auto uscita = o.percorso("uscita");
  if (!uscita) return errore_uso(err, "disegna", "manca la pagina da scrivere: -o PERCORSO.html");
  if (!o.presente("osserva")) return disegna(o, *uscita, out, err);
  // The watch follows the compiled files found at its start.
  std::vector<std::filesystem::path> file;
  try {
    const auto trovati = trova_compilati(o.operandi);
    if (const auto* e = std::get_if<std::string>(&trovati)) return errore_uso(err, "disegna", *e);
    for (TipoCompilato tipo : kTipiCompilati) {
      if (const auto& f = std::get<FileCompilati>(trovati)[tipo]) file.push_back(*f);
    }
  } catch (const ErroreFile& e) {
    err << "compattatore disegna: impossibile leggere '" << e.file.string() << "': " << e.motivo
        << "\n";
    return kUscitaFallita;
  }
  return osserva(
      "disegna", file,
      [&]() -> std::optional<std::string> {
        std::string riga;
        disegna(o, *uscita, out, err, &riga);
        if (riga.empty()) return std::nullopt;
        return riga;
      },
      out, err);
}

}  // namespace compattatore
