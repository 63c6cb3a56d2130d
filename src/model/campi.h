// The numeric fields of a stretch and of an entry, by the names the layout gives them, in the
// order they are stored: for the tools that compare or list models field by field.
#pragma once

#include <cstdint>

#include "model/modello.h"

namespace compattatore {

struct CampoTratto {
  const char* nome;
  int64_t (*valore)(const Tratto&);
};
inline constexpr CampoTratto kCampiTratto[] = {
    {"oggetto", [](const Tratto& t) -> int64_t { return t.oggetto; }},
    {"valore_1", [](const Tratto& t) -> int64_t { return t.valore_1; }},
    {"valore_2", [](const Tratto& t) -> int64_t { return t.valore_2; }},
    {"valore_3", [](const Tratto& t) -> int64_t { return t.valore_3; }},
    {"valore_4", [](const Tratto& t) -> int64_t { return t.valore_4; }},
    {"tempo_segnale", [](const Tratto& t) -> int64_t { return t.tempo_segnale; }},
    {"preavviso", [](const Tratto& t) -> int64_t { return t.preavviso; }},
    {"montagna", [](const Tratto& t) -> int64_t { return t.montagna; }},
    {"velocita", [](const Tratto& t) -> int64_t { return t.velocita; }},
    {"pendenza", [](const Tratto& t) -> int64_t { return t.pendenza; }},
    {"aderenza", [](const Tratto& t) -> int64_t { return t.aderenza; }},
};

/// Every field of an entry but its text (`testo`), which is not a number.
struct CampoVoce {
  const char* nome;
  int64_t (*valore)(const Voce&);
};
inline constexpr CampoVoce kCampiVoce[] = {
    {"tipo_voce", [](const Voce& v) -> int64_t { return v.tipo_voce; }},
    {"campo_1", [](const Voce& v) -> int64_t { return v.campo_1; }},
    {"campo_2", [](const Voce& v) -> int64_t { return v.campo_2; }},
    {"campo_3", [](const Voce& v) -> int64_t { return v.campo_3; }},
    {"opzione", [](const Voce& v) -> int64_t { return v.opzione; }},
    {"intero_1", [](const Voce& v) -> int64_t { return v.intero_1; }},
    {"intero_2", [](const Voce& v) -> int64_t { return v.intero_2; }},
    {"intero_3", [](const Voce& v) -> int64_t { return v.intero_3; }},
    {"intero_4", [](const Voce& v) -> int64_t { return v.intero_4; }},
    {"intero_5", [](const Voce& v) -> int64_t { return v.intero_5; }},
    {"flag_1", [](const Voce& v) -> int64_t { return v.flag_1; }},
    {"flag_2", [](const Voce& v) -> int64_t { return v.flag_2; }},
    {"flag_3", [](const Voce& v) -> int64_t { return v.flag_3; }},
    {"flag_4", [](const Voce& v) -> int64_t { return v.flag_4; }},
    {"orario", [](const Voce& v) -> int64_t { return v.orario; }},
};

}  // namespace compattatore
