// The keywords of the two sources as an author writes them, for the warnings about lines that
// the parsers pass over or read as a keyword they only contain.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace compattatore {

/// The part of a source in which a keyword is read.
enum class Ambito {
  linea_generale,  // the line source, from "[generale]" to the next header
  linea_elementi,  // the line source, after that header
  treno,           // the train source, after "[generale]"
};

/// Why the first item `voce` of a line, which matched no keyword of `ambito`, is worth a warning:
/// the message (what the item is not, and the keyword it is nearest to), or nothing for an empty
/// item or a section header of that source.
std::optional<std::string> parola_sconosciuta(std::string_view voce, Ambito ambito);

/// For the search of "[generale]": `voce` looks like a mistyped "[generale]".
bool quasi_generale(std::string_view voce);

}  // namespace compattatore
