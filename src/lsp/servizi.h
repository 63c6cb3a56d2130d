// What the editor asks of an open source, answered from the table of source fields and the last
// check of its scenario: hover, completion, outline, quick fixes and the way from an item to the
// item of the other source on the same stretch. Each answer is the protocol's result object.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "lsp/analisi.h"
#include "lsp/testo.h"
#include "lsp/voci.h"

namespace compattatore::lsp {

/// What the item at `p` is: for a keyword its whole line, for a value its meaning, unit, range
/// and what will be stored. Null where there is nothing to say.
nlohmann::json hover(const TestoDocumento& testo, TipoSorgente tipo, Posizione p);

/// The keywords and headers that can be written at `p`, each with a snippet of its values.
nlohmann::json completamento(const TestoDocumento& testo, TipoSorgente tipo, Posizione p);

/// Sections, and in them stations, signals, slowdowns, curves, mountains and boards.
nlohmann::json simboli(const TestoDocumento& testo, TipoSorgente tipo);

/// Quick fixes on the lines of `dove`: a keyword the check suggests in place of a mistyped one,
/// a decimal comma, a quote left open. `analisi` is the last check (nullptr when none).
nlohmann::json azioni(const std::string& uri, const TestoDocumento& testo, TipoSorgente tipo,
                      Estensione dove, const Analisi* analisi);

/// From the item at `p` to the item of the other source that takes the same stretch, or that
/// a diagnostic links to it.
nlohmann::json definizione(const std::string& uri, const TestoDocumento& testo, TipoSorgente tipo,
                           Posizione p, const Analisi* analisi);

}  // namespace compattatore::lsp
