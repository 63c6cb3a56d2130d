// One compile of a scenario from the text of its two sources: the parse of both, the code
// markers, the reserved-field checks and the check codes, and the bytes of the compiled files.
// Every caller that has the texts calls it: the run (which reads the files first and writes the
// result), `verifica`, the decompiler's check, the tests and the fuzz targets. Reading a file and
// compiling its text are two steps; this is the second.
#pragma once

#include <climits>
#include <cstdint>
#include <optional>
#include <string>

#include "formato/compilati.h"
#include "formato/scenario_compilato.h"
#include "model/codici.h"
#include "model/modello.h"
#include "model/origini.h"
#include "model/segnalazione.h"

namespace compattatore {

/// How the bytes of a source are read.
enum class Codifica {
  automatica,  // UTF-8 when the source has a byte-order mark, or is valid UTF-8 with at least
               // one multi-byte sequence; Windows-1252 otherwise
  cp1252,      // Windows-1252, byte for byte
  utf8,        // UTF-8 (a byte-order mark is dropped)
};

/// One source as the compile receives it: the name that messages give it, and its bytes as they
/// are on disk, or why there are none. A source that is not there, or could not be read, is a
/// code only when the compile comes to it: the train source is not read when the line source
/// stops the parse.
struct Sorgente {
  enum class Stato {
    letto,       // `byte` holds the source
    mancante,    // there is no such file: code 101 for the line source, 25 for the train source
    illeggibile  // the file could not be read (`guasto` says why): code 25
  };
  std::string file;
  std::string byte{};
  Stato stato = Stato::letto;
  std::string guasto{};

  /// A source read into memory.
  static Sorgente testo(std::string file, std::string byte) {
    return {std::move(file), std::move(byte)};
  }
};

/// The scenario identity as the compiled table holds it: Windows-1252 bytes.
struct Identita {
  std::string nome;
  std::string treno;
};

struct OpzioniCompilazione {
  bool con_tracciato = true;  // compute the route plan `tracciato` (the run's `flag_linea`)
  Codifica codifica = Codifica::automatica;
  /// A route longer than this (metres) is cut to it, for a harness that must keep every compile
  /// short; the default cuts nothing.
  int32_t taglio_percorso = INT32_MAX;
};

/// Where a compile stopped.
enum class FineCompilazione {
  completa,          // the model is complete: its files can be written
  non_dimensionata,  // the parse stopped before the route length sized `tratti`: no files
  campo_riservato,   // reserved-field check 1250 or 1251 failed: no files
};

/// What a compile gives: the model, where each of its objects came from, how far it went.
struct Compilazione {
  Modello modello;
  Origini origini;  // which source item placed each object; never compiled
  FineCompilazione fine = FineCompilazione::completa;
  /// For `campo_riservato`: the failed check, at the source line of the object on stretch 1 when
  /// there is one. It is reported to the caller here, not to the error sink: the error word
  /// keeps the code the parse and the passes left.
  std::optional<Segnalazione> arresto;
  int segni_di_codice = 0;  // code markers placed by the code-marker pass
  /// The sources the parse came to (a source that was not there excepted): the plain run deletes
  /// these once read. The train source is not reached when the line source stops the parse,
  /// unless a run-time fault stopped it.
  bool letta_linea = false;
  bool letto_treno = false;

  bool completa() const { return fine == FineCompilazione::completa; }
  /// The bytes of the compiled file `tipo`, handed over piece by piece (a complete model only;
  /// the route plan only when it was computed).
  void scrivi(TipoCompilato tipo, const Pezzi& uscita) const;
  /// The same file whole, in memory.
  std::string byte(TipoCompilato tipo) const;
};

/// Compiles the sources `linea` and `treno` of the scenario `identita`. Codes go to `errori` as
/// they are set, with the place of the item they concern (a run-time fault too, as code 25);
/// warnings and notes go there too. Never throws for what the sources hold.
Compilazione compila_testi(const Identita& identita, const Sorgente& linea, const Sorgente& treno,
                           const OpzioniCompilazione& opzioni, Segnalatore& errori);

/// The steps after the parse, over a model already filled: the code-marker pass, the
/// reserved-field checks and the check codes. `modello` must have its stretches.
Compilazione completa_modello(Modello modello, Origini origini, Segnalatore& errori);

/// The bytes of a source as the parser reads them: Windows-1252. A UTF-8 source is converted
/// (with a note once, when the encoding was found rather than asked for); a character that
/// Windows-1252 cannot hold, or bytes that are not UTF-8 where UTF-8 is asked for, give a code at
/// its line and column and nothing (the source is not read).
std::optional<std::string> testo_sorgente(std::string byte, const std::string& file,
                                          Codifica codifica, Segnalatore& errori);

}  // namespace compattatore
