// The item reader shared by both parser phases.
//
// A source is read item by item, not line by line. Items are separated by commas and line ends
// (CR LF, LF or CR); blanks and tabs before an item are skipped. A text item runs to the next
// comma or line end (trailing blanks removed); one that begins with a double quote runs to the
// closing quote and may hold commas. A numeric item also ends at a blank, so "6   13   40" is
// three numbers. An empty or non-numeric item reads as 0; a number that does not fit its target
// width, and any read when nothing is left, is the run-time fault.
//
// Besides the values, the reader keeps where every item stood (line, column, length), so that a
// diagnostic can point at the item it concerns, and counts the items read since a keyword so that
// the phases can tell a line that lent or left values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/segnalazione.h"

namespace compattatore {

/// Where an item stood in the source: its line (from 1), column (from 1) and length in bytes,
/// and the offset of its line's first byte. A default Posto is no place.
struct Posto {
  int riga = 0;
  int colonna = 0;
  int lunghezza = 0;
  size_t inizio_riga = 0;
};

class LettoreVoci {
 public:
  /// `contenuto`: the whole file as Windows-1252 bytes; `file`: its name for messages;
  /// `avvisi`: where a quoted text left open or followed by more text is reported (nowhere when
  /// null).
  LettoreVoci(std::string contenuto, std::string file, Segnalatore* avvisi = nullptr);

  /// Nothing is left to read.
  bool a_fine() const { return pos_ >= dati_.size(); }

  /// The next item as text.
  std::string leggi_testo();

  /// The next item as a number of the given width (GuastoEsecuzione when it does not fit).
  int32_t leggi_i32();
  int16_t leggi_i16();
  uint8_t leggi_u8();

  /// Line (from 1) on which the last item read began; 0 before the first read.
  int riga() const { return voce_.riga; }
  /// The place of the last item read.
  const Posto& posto() const { return voce_; }
  /// The last item read is the first item of its line.
  bool prima_della_riga() const;
  /// The last numeric item as written (trimmed), for messages that show a value as written.
  const std::string& scritto() const { return scritto_; }
  /// The last numeric item is a word, not a number (it reads as 0); an empty item is none.
  bool parola() const { return parola_; }
  /// The last numeric item was written with a fraction or an exponent.
  bool reale() const { return reale_; }

  /// The text of line `n` (from 1) without its line end; empty when there is no such line.
  std::string_view testo_riga(int n) const;
  const std::string& file() const { return file_; }
  /// The place of the last item read, for diagnostics.
  Luogo luogo() const { return luogo(voce_); }
  /// The place `p` as a diagnostic names it; no place for a default Posto.
  Luogo luogo(const Posto& p) const;
  /// A place that covers from the start of `da` to the end of `a` when both lie on one line.
  static Posto da_a(const Posto& da, const Posto& a);

  /// Starts counting the items read after the keyword item just read.
  void segna_parola();
  /// Items read since `segna_parola`.
  int letti_dal_segno() const { return letti_; }
  /// Of those, the items that began on a later line than the keyword, and the first of them.
  int presi_dopo() const { return presi_dopo_; }
  const Posto& primo_preso_dopo() const { return primo_dopo_; }
  /// What is left on the line of the read position (neither blank nor commas only), when the
  /// read position is inside a line: the place from its first to its last visible byte.
  std::optional<Posto> resto_riga() const;

 private:
  int64_t leggi_numero(const char* cosa);
  void inizio_voce();
  std::string testo_voce();
  void fine_voce(size_t fine);
  bool fine_riga() const;
  void consuma_fine_riga();
  void consuma_delimitatore();
  std::string_view riga_da(size_t inizio) const;
  void virgolette_aperte(const Posto& apertura, bool chiusa);
  void dopo_le_virgolette(size_t da);

  std::string dati_;
  std::string file_;
  Segnalatore* avvisi_;
  size_t pos_ = 0;
  int riga_ = 1;            // line of the read position
  size_t inizio_riga_ = 0;  // offset of that line's first byte
  Posto voce_;              // the last item read
  std::string scritto_;     // the last numeric item as written
  bool parola_ = false;     // ... is a word
  bool reale_ = false;      // ... has a fraction or an exponent
  int riga_segno_ = 0;      // line of the keyword item marked by segna_parola
  int letti_ = 0;
  int presi_dopo_ = 0;
  Posto primo_dopo_;
};

}  // namespace compattatore
