// The codes that the line phase and its feature routines set in the error word.
#pragma once

#include <cstdint>

namespace compattatore::codice {

inline constexpr int32_t lunghezza_fuori_campo = 1;    // route length outside 0 to 1000000
inline constexpr int32_t ripetizione_inizio = 3;       // repetition start not a multiple of 50
inline constexpr int32_t ripetizione_fine = 4;         // repetition end not a multiple of 50
inline constexpr int32_t ripetizione_codici = 5;       // repetition item without "4" or "9"
inline constexpr int32_t cartello_occupato = 6;        // indicator board on a taken stretch
inline constexpr int32_t fuori_percorso = 15;          // position outside the route
inline constexpr int32_t indicatore_occupato = 21;     // speed indicator board on a taken stretch
inline constexpr int32_t troppe_montagne = 26;         // an 81st mountain
inline constexpr int32_t troppi_cartelli = 27;         // an 81st indicator board with text
inline constexpr int32_t manca_generale = 102;         // no "[generale]" item
inline constexpr int32_t curva_errata = 103;           // curve class missing, or plan past 1000000 m

}  // namespace compattatore::codice
