// The warnings about lines that the parsers pass over: what an item is not, and the keyword or
// header of the table it is nearest to.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/parole.h"

namespace compattatore {

/// Why the first item `voce` of a line, which matched no keyword of `ambito`, is worth a warning:
/// the message (what the item is not, and the keyword it is nearest to), or nothing for an empty
/// item or a section header of that source.
std::optional<std::string> parola_sconosciuta(std::string_view voce, Ambito ambito);

/// The item `bassa` (in lower case) holds a keyword of the line source.
bool della_linea(std::string_view bassa);

/// For the search of "[generale]": `voce` looks like a mistyped "[generale]".
bool quasi_generale(std::string_view voce);

}  // namespace compattatore
