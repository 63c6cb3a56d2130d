// How the phases and passes that fill the model report what they find: to a sink that they are
// given, never to the command that runs them. Errors set the error word; warnings and notes go to
// the same sink through a second door and never touch it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/avvisi.h"
#include "model/codici.h"

namespace compattatore {

/// Where in a source something was written: file, line (from 1) and the line as written
/// (Windows-1252 bytes, without its line end), then the column (from 1, in characters) and the
/// length of the item it concerns. An empty `file` means no source at all; `riga` 0 the file as a
/// whole; `colonna` 0 the line as a whole.
struct Luogo {
  std::string file{};
  int riga = 0;
  std::string testo{};
  int colonna = 0;
  int lunghezza = 0;

  bool operator==(const Luogo&) const = default;
};

/// How grave a diagnostic is.
enum class Gravita {
  errore,  // a code of the error word
  avviso,  // a warning: what the format passed over or bent, stored as it stands
  nota,    // a fact the author may want (the file was read as UTF-8), or a note of another
};

/// A note attached to a diagnostic, with its own place: what occupies a stretch, and where it
/// came from.
struct Nota {
  Luogo luogo{};
  std::string testo{};
};

/// A number as the author wrote it and as the model holds it, with the values its field takes:
/// what a diagnostic about a value shows.
struct ValoreScritto {
  std::string scritto{};                 // as written (UTF-8)
  std::optional<int64_t> memorizzato{};  // as stored, in the author's unit; none when not stored
  int64_t minimo = 0;                    // the field's range (a position's up to the route's end)
  int64_t massimo = 0;
  std::string campo{};  // its keyword and field: "'rallentamento', l"
  std::string unita{};  // "m", "km/h", ...; "" for a pure number

  bool operator==(const ValoreScritto&) const = default;
};

/// "'rallentamento', l: -400 m": the value as the author wrote it, named by its keyword and
/// field, as the message of a code about one value shows it.
inline std::string detto(const ValoreScritto& v) {
  return v.campo + ": " + v.scritto + (v.unita.empty() ? "" : " " + v.unita);
}
/// The detail of a code about the value `v`: the value as written, then `dettaglio`.
inline std::string con_valore(const ValoreScritto& v, const std::string& dettaglio) {
  return detto(v) + (dettaglio.empty() ? "" : "; " + dettaglio);
}

/// One diagnostic, as the sink receives it.
struct Segnalazione {
  Codice codice = Codice::nessuno;     // for an error
  std::optional<int32_t> posizione{};  // metres, for the codes that record one
  Luogo luogo{};
  std::string dettaglio{};  // what went wrong beyond the code's meaning; a warning's message
  std::vector<Nota> note{};
  std::optional<int32_t> tratto{};  // the stretch concerned, when there is one
  Gravita gravita = Gravita::errore;
  Avviso avviso = Avviso::nessuno;        // the kind of a warning or a note
  std::optional<ValoreScritto> valore{};  // the value concerned, as written and as stored
};

/// The sink: receives every code when it is set, and every warning and note.
class Segnalatore {
 public:
  virtual ~Segnalatore() = default;
  /// An error: sets the error word to `s.codice` (and the error position when `s` has one). A
  /// later code overwrites an earlier one in the error word, which the sink keeps.
  virtual void ricevi(Segnalazione s) = 0;
  /// The code the error word holds now (`Codice::nessuno` before any).
  virtual Codice codice_errore() const = 0;
  /// A warning or a note: leaves the error word alone. A sink that does not want them drops them.
  virtual void avvisa(Segnalazione) {}

  void segnala(Codice codice, std::optional<int32_t> posizione = std::nullopt, Luogo luogo = {},
               std::string dettaglio = {}, std::vector<Nota> note = {}) {
    ricevi(
        Segnalazione{codice, posizione, std::move(luogo), std::move(dettaglio), std::move(note)});
  }
  void segnala_avviso(Avviso avviso, Luogo luogo, std::string messaggio,
                      std::vector<Nota> note = {}, Gravita gravita = Gravita::avviso,
                      std::optional<ValoreScritto> valore = std::nullopt) {
    Segnalazione s{Codice::nessuno, std::nullopt, std::move(luogo), std::move(messaggio),
                   std::move(note)};
    s.gravita = gravita;
    s.avviso = avviso;
    s.valore = std::move(valore);
    avvisa(std::move(s));
  }
};

/// A sink that keeps every diagnostic, errors, warnings and notes, in the order they come.
class RaccoltaSegnalazioni : public Segnalatore {
 public:
  void ricevi(Segnalazione s) override {
    codice_ = s.codice;
    tutte.push_back(std::move(s));
  }
  Codice codice_errore() const override { return codice_; }
  void avvisa(Segnalazione s) override { tutte.push_back(std::move(s)); }

  std::vector<Segnalazione> tutte;

 private:
  Codice codice_ = Codice::nessuno;
};

/// " (tratto 12, posizione 500 m)": the stretch and the position a diagnostic concerns, as every
/// message shows them after its text; "" when it concerns neither. A code of the code-marker
/// pass without a place in a source still names its stretch.
inline std::string tra_parentesi(const Segnalazione& s) {
  std::string dentro;
  std::optional<int32_t> tratto = s.tratto;
  if (!tratto && s.posizione && s.luogo.file.empty()) tratto = *s.posizione / 50;
  if (tratto) dentro = "tratto " + std::to_string(*tratto);
  if (s.posizione) {
    if (!dentro.empty()) dentro += ", ";
    dentro += "posizione " + std::to_string(*s.posizione) + " m";
  }
  return dentro.empty() ? "" : " (" + dentro + ")";
}

}  // namespace compattatore
