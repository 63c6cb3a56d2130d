// How near two words are: the suggestion "forse intendevi ...?" for a mistyped command, option
// or keyword.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace compattatore {

/// Edit distance between `a` and `b`: insertions, deletions, substitutions and swaps of two
/// adjacent characters each count one. Once the distance is sure to reach `limite`, the count
/// stops and returns `limite`.
size_t distanza(std::string_view a, std::string_view b, size_t limite = SIZE_MAX);

/// The closest of `candidati` to `parola`, if one is within distance 2 (the first on a tie).
std::optional<std::string> forse_intendevi(std::string_view parola,
                                           std::span<const std::string> candidati);

}  // namespace compattatore
