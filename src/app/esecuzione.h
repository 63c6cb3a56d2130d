// The run object: scenario identity, error word, model, and the sequence that takes an empty
// model to the three compiled files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "model/modello.h"
#include "parse/lettore.h"

namespace compattatore {

/// One code set during the run, as the diagnostics receive it.
struct Segnalazione {
  int32_t codice = 0;
  std::optional<int32_t> posizione;  // metres, for the codes that record one
  Luogo luogo;
  std::string dettaglio;  // what went wrong, for run-time faults (code 25)
};

/// How `memorizza_percorso` ended.
enum class Esito {
  scritto,          // the compiled files were written (codice_errore may still hold a code)
  non_dimensionato, // the parse stopped before the route length sized `tratti`: nothing written
  campo_riservato,  // reserved-field check 1250 or 1251 failed: nothing written
  scrittura_fallita // a compiled file could not be written: nothing written
};

struct RisultatoPercorso {
  Esito esito = Esito::scritto;
  std::string messaggio;  // what stopped the run, for `non_dimensionato` and `scrittura_fallita`
  int32_t codice = 0;     // 1250 or 1251 for a failed reserved-field check
};

class Esecuzione {
 public:
  std::string nome;   // scenario name (UTF-8, also used in file names)
  std::string treno;  // train number
  int32_t flag_linea = 0;
  int32_t codice_errore = 0;
  int32_t posizione_errore = 0;
  Modello modello;

  /// Folder of the compiled files.
  std::filesystem::path cartella;
  /// The two sources that the parser reads.
  std::filesystem::path sorgente_linea;
  std::filesystem::path sorgente_treno;
  /// The plain run deletes the sources it wrote itself once read; an author's files are kept.
  bool cancella_sorgenti = true;
  /// Receives every code when it is set (nothing when empty).
  std::function<void(const Segnalazione&)> osservatore;

  /// Sets the error word (and `posizione_errore` when a position is given) and tells the observer.
  void imposta_errore(int32_t codice, std::optional<int32_t> posizione = std::nullopt,
                      Luogo luogo = {}, std::string dettaglio = {});

  /// The sources of the plain run: `<nome>_linea.txt` and `<nome>_<treno>-.txt` in `cartella`.
  void sorgenti_nella_cartella();

  /// Names of the compiled files in `cartella`.
  std::filesystem::path file_tracciato() const;
  std::filesystem::path file_elenco() const;
  std::filesystem::path file_tratti() const;

  /// Clears the error word and `elenco`, parses both sources, then completes and writes.
  RisultatoPercorso memorizza_percorso(int32_t j);

  /// The steps after the parse: code markers, reserved-field checks, check codes, and the
  /// compiled files (the route plan only when `flag_linea` is set).
  RisultatoPercorso completa_e_scrivi();
};

}  // namespace compattatore
