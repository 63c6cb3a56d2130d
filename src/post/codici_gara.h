// The two check codes that tie the compiled files to the scenario identity.
#pragma once

#include <cstdint>
#include <string>

#include "model/modello.h"

namespace compattatore {

/// The first 25 characters of the key text: `testo` of entry 86 (the train number), then `testo`
/// of entry 85 (the scenario name), lower-cased by the Windows-1252 rules, then the filler.
std::string chiave_gara(const Elenco& elenco);

/// Sum of the codes of the 25 key characters.
int16_t codice_gara_og(const Elenco& elenco);

/// Sum of i times the code of key character i, i = 1 to 25.
int32_t codice_gara_st(const Elenco& elenco);

}  // namespace compattatore
