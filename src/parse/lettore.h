// The item reader shared by both parser phases.
//
// A source is read item by item, not line by line. Items are separated by commas and line ends
// (CR LF, LF or CR); blanks and tabs before an item are skipped. A text item runs to the next
// comma or line end (trailing blanks removed); one that begins with a double quote runs to the
// closing quote and may hold commas. A numeric item also ends at a blank, so "6   13   40" is
// three numbers. An empty or non-numeric item reads as 0; a number that does not fit its target
// width, and any read when nothing is left, is the run-time fault.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/segnalazione.h"

namespace compattatore {

class LettoreVoci {
 public:
  /// `contenuto`: the whole file as Windows-1252 bytes; `file`: its name for messages.
  LettoreVoci(std::string contenuto, std::string file);

  /// Nothing is left to read.
  bool a_fine() const { return pos_ >= dati_.size(); }

  /// The next item as text.
  std::string leggi_testo();

  /// The next item as a number of the given width (GuastoEsecuzione when it does not fit).
  int32_t leggi_i32();
  int16_t leggi_i16();
  uint8_t leggi_u8();

  /// Line (from 1) on which the last item read began; 0 before the first read.
  int riga() const { return riga_voce_; }
  /// The text of line `n` (from 1) without its line end; empty when there is no such line.
  std::string_view testo_riga(int n) const;
  const std::string& file() const { return file_; }
  /// The place of the last item read, for error reports.
  Luogo luogo() const { return Luogo{file_, riga_voce_, std::string(testo_riga(riga_voce_))}; }

 private:
  int64_t leggi_numero(const char* cosa);
  void inizio_voce();
  bool fine_riga() const;
  void consuma_fine_riga();
  void consuma_delimitatore();

  std::string dati_;
  std::string file_;
  size_t pos_ = 0;
  int riga_ = 1;       // line of the read position
  int riga_voce_ = 0;  // line where the last item began
};

}  // namespace compattatore
