// Messages for the scenario author: one per code, warning or note, with its exact place.
#pragma once

#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "model/segnalazione.h"

namespace compattatore {

/// The text of one diagnostic with its notes:
///   FILE:RIGA:COLONNA: errore N: <what is wrong>: <detail> (posizione P m)
///       <the source line as written>
///       <a caret under the item, and ~ under the rest of it>
///       aiuto: <what to change, from the row of the code or warning>
///   FILE:RIGA:COLONNA: nota: <what occupies the stretch>
///       ...
/// A warning reads "avviso: <message> [name]", a note "nota: <message>". The place is shortened
/// to what was recorded (FILE:RIGA:, FILE:, or nothing), and so is the bracket at the end (no
/// position when none was recorded; the stretch for the codes of the code-marker pass).
std::string messaggio_errore(const Segnalazione& s);

/// `testo` (UTF-8) with nothing that a terminal would obey: control characters as ^[ (ESC), ^M
/// (CR), ^I (tab), ^? (DEL); C1 controls as <U+009B>; bytes that are not UTF-8 as \xNN.
std::string visibile(std::string_view testo);

/// A source line (Windows-1252 bytes) as shown under a message: in UTF-8, control characters
/// as ^X, tabs kept.
std::string riga_visibile(std::string_view riga);

/// How the diagnostics of a command are given.
enum class Formato {
  testo,  // each on standard error the moment it comes
  json,   // all of them in one JSON document at the end, on standard output
};

/// The diagnostics of one run: printed as they come (text) or kept (JSON), and counted.
class Resoconto {
 public:
  Resoconto(std::ostream& err, Formato formato) : err_(err), formato_(formato) {}

  void ricevi(const Segnalazione& s);
  /// An observer for `Esecuzione` that hands every diagnostic to this collector.
  std::function<void(const Segnalazione&)> osservatore() {
    return [this](const Segnalazione& s) { ricevi(s); };
  }

  int errori() const { return errori_; }
  int avvisi() const { return avvisi_; }
  Formato formato() const { return formato_; }
  /// Every diagnostic received, in order (kept in JSON form only).
  const std::vector<Segnalazione>& tutte() const { return tutte_; }

  /// "1 errore e 2 avvisi": what the run found, or "" when nothing.
  std::string conteggio() const;
  /// Whether a warning of kind `a` was received.
  bool ricevuto(Avviso a) const { return visti_.contains(a); }

 private:
  std::ostream& err_;
  Formato formato_;
  int errori_ = 0;
  int avvisi_ = 0;
  std::vector<Segnalazione> tutte_;
  std::set<Avviso> visti_;
};

/// An observer for `Esecuzione` that prints every message on `err`.
std::function<void(const Segnalazione&)> stampa_su(std::ostream& err);

}  // namespace compattatore
