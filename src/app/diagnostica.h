// Messages for the scenario author: one per code, when it is set, with its place.
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "model/segnalazione.h"

namespace compattatore {

/// The message of one code:
///   FILE:LINE: errore N: <what is wrong> (posizione P m)
///       <the source line as written>
/// For a code of the code-marker pass, which has no source line:
///   errore N: <what is wrong> (tratto S, posizione P m)
std::string messaggio_errore(const Segnalazione& s);

/// An observer for `Esecuzione::osservatore` that prints every message on `err`.
std::function<void(const Segnalazione&)> stampa_su(std::ostream& err);

}  // namespace compattatore
