// The diagnostics of a compile or a check as one JSON document, for editors and scripts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/diagnostica.h"
#include "model/riepilogo.h"
#include "run/esecuzione.h"

namespace compattatore {

/// The document printed by `--formato json`:
///   {"comando", "stato", "codice_errore", "posizione_errore" (null when none was recorded),
///    "errori", "avvisi", "diagnostiche": [{"file", "riga", "colonna", "gravita", "codice",
///    "messaggio", "rimedio", "posizione", "tratto", "testo_riga", "note": [...]}],
///    "file_scritti": [...], "riepilogo": {...} or null}
/// Absent places and figures are null; texts are UTF-8.
std::string documento_json(const std::string& comando, const Resoconto& resoconto,
                           const RisultatoPercorso& r, int stato,
                           const std::vector<std::string>& scritti,
                           const std::optional<Riepilogo>& riepilogo);

}  // namespace compattatore
