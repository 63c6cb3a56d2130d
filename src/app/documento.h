// The diagnostics of a compile or a check as one JSON document, for editors and scripts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/diagnostica.h"
#include "app/rapporto.h"
#include "model/riepilogo.h"
#include "run/esecuzione.h"

namespace compattatore {

/// The document printed by `--formato json`:
///   {"comando", "stato", "codice_errore", "posizione_errore" (null when none was recorded),
///    "errori", "avvisi", "diagnostiche": [{"file", "riga", "colonna", "gravita", "codice",
///    "messaggio", "rimedio", "posizione", "tratto", "valore" (the value concerned: as written,
///    as stored, its field's range and unit; null when none), "testo_riga", "note": [...]}],
///    "file_scritti": [...], "riepilogo": {...} or null}
/// Absent places and figures are null; texts are UTF-8. "messaggio_finale" is added when the run
/// ended with a message of its own (nothing written, no train to drive), or with `fallimento`: a
/// failure after the run (a page not written), which makes the status 1.
std::string documento_json(const std::string& comando, const Conclusione& c,
                           const RisultatoPercorso& r, const std::vector<std::string>& scritti,
                           const std::optional<Riepilogo>& riepilogo,
                           const std::string& fallimento = "");

/// The document of a command that stopped before its run (a usage error, a source missing, a
/// folder that is not there): the same fields, status 1, no code, no diagnostic, nothing written,
/// and `messaggio` as "messaggio_finale".
std::string documento_fallito(const std::string& comando, const std::string& messaggio);

/// A command that stops before its run: in JSON the document of `documento_fallito` on `out`,
/// in text the usage error of `errore_uso` on `err`. Returns kUscitaFallita.
int fallisci(Formato formato, std::ostream& out, std::ostream& err, const std::string& comando,
             const std::string& messaggio);

}  // namespace compattatore
