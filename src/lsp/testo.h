// The text of a source as an editor holds it: UTF-8, cut into lines, and the one conversion
// between the editor's places (line and UTF-16 unit, as the protocol counts) and the compile's
// (line and character).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace compattatore::lsp {

/// A place as the protocol gives it: line from 0, and UTF-16 units from the line's start.
struct Posizione {
  int riga = 0;
  int carattere = 0;
  bool operator==(const Posizione&) const = default;
};

/// A stretch of text between two places.
struct Estensione {
  Posizione inizio;
  Posizione fine;
  bool operator==(const Estensione&) const = default;
};

class TestoDocumento {
 public:
  TestoDocumento() { indicizza(); }
  /// A text received from the editor (UTF-8).
  explicit TestoDocumento(std::string utf8) : testo_(std::move(utf8)) { indicizza(); }
  /// The bytes of a file on disk, read as the compile would find their encoding: UTF-8 when
  /// they begin with the byte-order mark (dropped) or look like UTF-8, Windows-1252 otherwise.
  static TestoDocumento da_byte(std::string byte);

  const std::string& testo() const { return testo_; }
  /// Lines, counting the one after the last line end (an empty text has one line).
  size_t righe() const { return inizi_.size(); }
  /// Line `r` (from 0) without its line end; empty beyond the last.
  std::string_view riga(size_t r) const;

  /// The UTF-16 unit at which character `colonna` (from 0, in characters) of line `r` begins;
  /// the line's end for a column beyond it.
  int utf16(size_t r, size_t colonna) const;
  /// The character (from 0) of line `r` at UTF-16 unit `unita`; the line's length beyond it,
  /// and the character it falls inside when `unita` parts a surrogate pair.
  size_t colonna(size_t r, int unita) const;
  /// `p` moved into the text: a line beyond the last is the end of the text, a unit beyond a
  /// line's end that end.
  Posizione dentro(Posizione p) const;
  /// The byte offset of `p` (clamped as `dentro`).
  size_t offset(Posizione p) const;

  /// Replaces the text between `da` and `a` with `nuovo` (an incremental change).
  void sostituisci(Posizione da, Posizione a, std::string_view nuovo);

 private:
  void indicizza();
  std::string testo_;
  std::vector<size_t> inizi_;  // the byte offset of each line's first byte
};

/// Characters of a UTF-8 text (a byte that starts no valid sequence counts as one).
size_t caratteri(std::string_view utf8);
/// The byte offset of character `n` of `utf8` (its size beyond the last).
size_t byte_del_carattere(std::string_view utf8, size_t n);

}  // namespace compattatore::lsp
