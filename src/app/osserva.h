// The watch of `compila --osserva` and `disegna --osserva`: the same work again at every change of
// the files it reads, one line each time, until Ctrl+C.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace compattatore {

/// One round of a watch: compiles (or draws) once, giving its diagnostics on standard error as
/// usual, and returns how it went in a few words ("ok: ...", "avvisi 2: ...", "errore 4: ...");
/// nothing after a usage error, already told, that no change of the files can mend.
using GiroOsservato = std::function<std::optional<std::string>()>;

/// Runs `giro`, then again after every change of `file` (several writes close together, or an
/// editor's save into another name and rename, count as one), printing on `out` the time of day
/// and the round's line each time. A file of `file` that is not there is told on `err`, and the
/// next round waits for it. Ends on Ctrl+C with status 0; when the folder of a file is removed, or
/// after a round that returned nothing, with status 1.
int osserva(const std::string& comando, const std::vector<std::filesystem::path>& file,
            const GiroOsservato& giro, std::ostream& out, std::ostream& err);

}  // namespace compattatore
