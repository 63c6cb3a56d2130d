// Italian words that depend on what they stand beside: a count with its noun in the singular or
// the plural, and a preposition joined to the article of the words after it ("da" + "il punto"
// is "dal punto"). Every message that counts or names things builds its words here.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace compattatore {

/// `n` and the noun that agrees with it: "1 stazione", "0 stazioni", "2 stazioni".
std::string quanti(int64_t n, std::string_view uno, std::string_view tanti);

/// The preposition `preposizione` ("di", "a", "da", "in" or "su") before `parole`, joined to the
/// definite article `parole` begins with: "da" + "il punto di fermata" is "dal punto di
/// fermata", "di" + "l'inizio" is "dell'inizio", "su" + "i tratti" is "sui tratti". Without a
/// definite article (or for another preposition) the two stand apart: "da un segnale".
std::string con_preposizione(std::string_view preposizione, std::string_view parole);

/// The numbers as a list: "1, 2, 11 e 12"; one alone is itself, none is empty.
std::string elenco(std::span<const int64_t> numeri);

}  // namespace compattatore
