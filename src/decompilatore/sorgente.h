// The printer of rebuilt sources: sections of rows with their columns aligned, texts as the item
// that reads back as them, and the bytes of a source file. Keywords and headers are spelt as the
// table of source fields spells them.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "model/parole.h"

namespace compattatore {

/// One row of a section: its keyword, its numbers, and an optional text that ends the line.
struct Riga {
  std::string parola;
  std::vector<std::string> celle;
  std::optional<std::string> testo;  // UTF-8, quoted already when it has to be
};

/// The spelling an author writes for `c` (UTF-8).
std::string parola(Chiave c);

/// A row of `parola` (UTF-8) and `numeri`.
Riga riga(std::string parola, std::initializer_list<int64_t> numeri);
/// A row of the keyword `c` and `numeri`.
Riga riga(Chiave c, std::initializer_list<int64_t> numeri);

/// Appends a section to `out`: its header, then its rows, every column right-aligned to its
/// widest cell.
void sezione(std::vector<std::string>& out, Chiave intestazione, const std::vector<Riga>& righe);

/// A general value of `c`, spelt `forma` (Windows-1252) when given: the keyword and a comma, then
/// its numbers, each after four blanks and, from the second on, after the keyword's separator
/// when it is not a blank.
std::string valore_generale(Chiave c, std::initializer_list<int64_t> numeri,
                            const char* forma = nullptr);

/// A text (Windows-1252 bytes) as the item that reads back as it (UTF-8): quoted when the reader
/// would drop its blanks or cut it at a comma. Nothing when no item reads back as it.
std::optional<std::string> voce_testo(const std::string& byte);

/// The bytes of a source file with lines `righe` (UTF-8): Windows-1252, every line followed by
/// CR LF.
std::string byte_sorgente(const std::vector<std::string>& righe);

}  // namespace compattatore
