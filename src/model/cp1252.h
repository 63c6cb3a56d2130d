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

/// Where UTF-8 text stops being convertible: the first sequence that is not valid UTF-8 (a stray
/// or truncated sequence, an overlong form, a surrogate, a value above U+10FFFF), or the first
/// character that Windows-1252 cannot hold.
struct Inciampo {
  size_t byte = 0;           // offset of the sequence
  size_t lunghezza = 1;      // its bytes
  bool utf8_valido = false;  // true: valid UTF-8, but no byte in the code page for `carattere`
  char32_t carattere = 0;    // that character, when the sequence is valid
};

/// The first stumble of `utf8` on its way to Windows-1252, or nothing when `da_utf8` converts it
/// all. Checks UTF-8 strictly, whatever `da_utf8` accepts.
std::optional<Inciampo> primo_inciampo(std::string_view utf8);

/// `byte` is strictly valid UTF-8 and holds at least one multi-byte sequence (a text that is
/// plain ASCII reads the same in both encodings).
bool sembra_utf8(std::string_view byte);

/// The strictly valid UTF-8 sequence that begins at byte `i` of `s`: its length (1 to 4) with its
/// code point in `cp`, or 0 when no valid sequence begins there.
size_t sequenza_utf8(std::string_view s, size_t i, char32_t& cp);

/// "U+03A9": a character's code point as the Unicode standard writes it.
std::string codice_unicode(char32_t cp);

/// Windows-1252 bytes converted to UTF-8 (for messages); the five undefined bytes become U+FFFD.
std::string a_utf8(std::string_view byte);

/// Lower case of one byte by the code page's rules: A-Z and the accented capitals.
unsigned char minuscola(unsigned char c);

/// Windows-1252 text with every byte lower-cased by `minuscola`.
std::string minuscole(std::string_view byte);

}  // namespace compattatore::cp1252

namespace compattatore {

/// A Windows-1252 text of a compiled file as UTF-8 safe to print on a terminal or in a page:
/// control characters (which no source can hold, but a damaged file can) become U+FFFD.
std::string testo_leggibile(std::string_view byte);

}  // namespace compattatore
