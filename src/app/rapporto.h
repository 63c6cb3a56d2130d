// The error report at the end of a run, and the exit status that goes with it.
#pragma once

#include <filesystem>
#include <functional>
#include <ostream>

#include "run/esecuzione.h"

namespace compattatore {

/// Reports how the run ended on `err` and returns the exit status: 0 when the compiled files are
/// written and `codice_errore` is 0; 2 when they are written with a code (the final code and
/// `posizione_errore` are printed); 1 when no compiled file was written.
int concludi(const RisultatoPercorso& r, std::ostream& err);

/// What a run says on `err`, once, when it begins to wait for another run that writes the same
/// files in `cartella`.
std::function<void()> avviso_attesa(std::ostream& err, const std::filesystem::path& cartella);

}  // namespace compattatore
