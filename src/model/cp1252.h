// Windows-1252, the single-byte code page of every text file and compiled text.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace compattatore::cp1252 {

/// A character that Windows-1252 cannot hold, or text that is not valid UTF-8.
struct NonRappresentabile : std::invalid_argument {
  using std::invalid_argument::invalid_argument;
};

/// UTF-8 text converted to Windows-1252 bytes. Throws NonRappresentabile naming the first
/// character that has no byte in the code page.
std::string da_utf8(std::string_view utf8);

/// Windows-1252 bytes converted to UTF-8 (for messages); the five undefined bytes become U+FFFD.
std::string a_utf8(std::string_view byte);

/// Lower case of one byte by the code page's rules: A-Z and the accented capitals.
unsigned char minuscola(unsigned char c);

/// Windows-1252 text with every byte lower-cased by `minuscola`.
std::string minuscole(std::string_view byte);

}  // namespace compattatore::cp1252
