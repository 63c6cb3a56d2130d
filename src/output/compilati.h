// The byte layouts of the three compiled files: little-endian, packed, no header or trailer.
#pragma once

#include <string>
#include <vector>

#include "model/modello.h"

namespace compattatore {

/// `<nome>_linea.dat`: coordinate 0 of every point, then coordinate 1; each a 16-bit tag
/// (0 empty, 2 16-bit integer, 5 double) and its payload.
std::string byte_tracciato(const Tracciato& tracciato);

/// `<nome>_<treno>.sim`: the 87 entries of `elenco`, each 34 bytes plus its text.
std::string byte_elenco(const Elenco& elenco);

/// `<nome>_<treno>.dat`: the stretches 0 to `ultimo_tratto`, 15 bytes each.
std::string byte_tratti(const std::vector<Tratto>& tratti);

}  // namespace compattatore
