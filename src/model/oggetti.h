// The names of the kinds of point object a stretch holds: one row per kind, each name in the
// three forms the program shows.
#pragma once

#include <cstdint>
#include <string>

namespace compattatore {

struct NomiOggetto {
  const char* sigla;         // one word, for JSON and summaries: "inizio_rallentamento"
  const char* nome;          // plain, for lists: "inizio rallentamento"
  const char* con_articolo;  // inside a sentence: "l'inizio di un rallentamento"
};

/// The names of the kind `oggetto`, or nullptr for a kind the model does not know.
const NomiOggetto* nomi_oggetto(uint8_t oggetto);

/// The one-word name of `oggetto`, or "sconosciuto".
const char* sigla_oggetto(uint8_t oggetto);

/// The plain name of `oggetto`, or "sconosciuto".
const char* nome_breve_oggetto(uint8_t oggetto);

/// The name of `oggetto` inside a sentence ("un segnale"), or "un oggetto di tipo N".
std::string nome_oggetto(uint8_t oggetto);

}  // namespace compattatore
