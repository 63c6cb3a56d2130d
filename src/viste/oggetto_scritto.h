// What the object of a stretch is in the author's words: the keyword whose line wrote it, where
// that line put it (viste/posizioni.h), and the values of the line that the stretch keeps, each
// named, measured and ordered as the table of source fields has it:
//
//   segnale a 46400 m: sx 2, s1 4, s2 1, s3 1, rapp 0, dx 2, d1 2, d2 1, d3 1, tempo 0 s
//   rallentamento (inizio) a 46350 m: v 80 km/h, l 1950 m, f_tt 1, f_ta 0, d_v 80
//
// The values come from the decoder (viste/descrizione.h): a signal's packed values taken apart,
// a slowdown's length from the end its start is paired with, a speed board's two sides.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/modello.h"
#include "model/parole.h"
#include "viste/descrizione.h"

namespace compattatore {

/// One value of a keyword line as a stretch keeps it: its row and its number, in the row's unit.
struct ValoreDellOggetto {
  const RigaValore* riga;
  int64_t valore;
};

struct OggettoScritto {
  uint8_t oggetto;               // the stretch's `oggetto`
  std::optional<Chiave> chiave;  // nothing for a kind the model does not know
  std::string parte;             // which part of a slowdown ("inizio", "preavviso 2"), or ""
  int64_t posizione;             // where the source puts it (viste/posizioni.h)
  std::vector<ValoreDellOggetto> valori;
  std::optional<int> voce;  // the entry of a board's text or of a stopping point's station
  std::string testo;        // that text, or that station's name (UTF-8)

  /// The value of `v`, when the stretch keeps it.
  std::optional<int64_t> valore(ValoreChiave v) const;
};

/// The object of stretch `s` of `tratti` in the author's words (`r` is their description);
/// nothing for a free stretch.
std::optional<OggettoScritto> oggetto_scritto(const Descrizione& r, std::span<const Tratto> tratti,
                                              int32_t s);

/// The keyword as an author writes it ("segnale", "indicatori_vmax"), UTF-8.
std::string forma_chiave(Chiave c);

/// "segnale a 46400 m: sx 2, s1 4, ..."; "oggetto 9 sconosciuto: nessuna riga dei sorgenti lo
/// scrive" for a kind the model does not know.
std::string testo_oggetto(const OggettoScritto& o);

/// "v 80 km/h": a value with its name and unit.
std::string testo_valore(const ValoreDellOggetto& v);

}  // namespace compattatore
