// The printer of rebuilt sources: sections of rows with their columns aligned, texts as the item
// that reads back as them, and the bytes of a source file.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace compattatore {

/// One row of a section: its keyword, its numbers, and an optional text that ends the line.
struct Riga {
  std::string parola;
  std::vector<std::string> celle;
  std::optional<std::string> testo;  // UTF-8, quoted already when it has to be
};

/// A row of `parola` and `numeri`.
Riga riga(std::string parola, std::initializer_list<int64_t> numeri);

/// Appends a section to `out`: its header, then its rows, every column right-aligned to its
/// widest cell.
void sezione(std::vector<std::string>& out, const char* intestazione,
             const std::vector<Riga>& righe);

/// A general value: the keyword and its numbers, each after a comma and four blanks.
std::string valore_generale(const std::string& parola, std::initializer_list<int64_t> numeri);

/// A text (Windows-1252 bytes) as the item that reads back as it (UTF-8): quoted when the reader
/// would drop its blanks or cut it at a comma. Nothing when no item reads back as it.
std::optional<std::string> voce_testo(const std::string& byte);

/// The bytes of a source file with lines `righe` (UTF-8): Windows-1252, every line followed by
/// CR LF.
std::string byte_sorgente(const std::vector<std::string>& righe);

}  // namespace compattatore
