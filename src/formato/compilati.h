// The byte layouts of the three compiled files: little-endian, packed, no header or trailer.
// Each writer hands its file over in pieces of at most kPezzo bytes, encoded straight from the
// model: no copy of a whole file is ever held.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/modello.h"

namespace compattatore {

/// The largest piece a writer hands over.
inline constexpr size_t kPezzo = 256 * 1024;

/// Receives the bytes of a compiled file, one piece after another, in file order.
using Pezzi = std::function<void(std::string_view)>;

/// `<nome>_linea.dat`: coordinate 0 of every point, then coordinate 1; each a 16-bit tag
/// (0 empty, 2 16-bit integer, 5 double) and its payload.
void scrivi_tracciato(const Tracciato& tracciato, const Pezzi& uscita);

/// `<nome>_<treno>.sim`: the 87 entries of `elenco`, each 34 bytes plus its text.
void scrivi_elenco(const Elenco& elenco, const Pezzi& uscita);

/// `<nome>_<treno>.dat`: the stretches 0 to `ultimo_tratto`, 15 bytes each.
void scrivi_tratti(const std::vector<Tratto>& tratti, const Pezzi& uscita);

// The same files whole, in memory.
std::string byte_tracciato(const Tracciato& tracciato);
std::string byte_elenco(const Elenco& elenco);
std::string byte_tratti(const std::vector<Tratto>& tratti);

}  // namespace compattatore
