// The report at the end of a run, and the exit status that goes with it.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "app/diagnostica.h"
#include "run/esecuzione.h"

namespace compattatore {

/// What, besides the run's result, decides the end of a command.
struct Conclusione {
  const Resoconto* resoconto = nullptr;  // the diagnostics of the run, when collected
  bool avvisi_come_errori = false;       // a warning ends with status 2
};

/// Why a run that set no code still leaves no train to drive (the train source has no
/// "[generale]", holds the line's keywords, is the line source, or has no station), from the
/// warnings it gave; nothing when the scenario has its train.
std::optional<std::string> senza_treno(const Conclusione& c);

/// The exit status of a run: 0 when the compiled files are written (or, for a check, would be)
/// and `codice_errore` is 0; 2 when they are written with a code, without a train to drive, or
/// with a warning under `avvisi_come_errori`; 1 when no compiled file was written.
int stato_uscita(const RisultatoPercorso& r, const Conclusione& c = {});

/// The message that ends a run without a code but without a train to drive (what was written,
/// and why there is no train), or "" when there is none to give.
std::string fine_senza_treno(const RisultatoPercorso& r, const Conclusione& c);

/// Reports how the run ended on `err` (the final code, and `posizione_errore` when one was
/// recorded; the count of errors and warnings) and returns `stato_uscita`.
int concludi(const RisultatoPercorso& r, std::ostream& err, const Conclusione& c = {});

/// What a run says on `err`, once, when it begins to wait for another run that writes the same
/// files in `cartella`.
std::function<void()> avviso_attesa(std::ostream& err, const std::filesystem::path& cartella);

}  // namespace compattatore
