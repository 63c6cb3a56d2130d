// A run: the scenario identity, where its files are, the error word and the model, and the
// sequence that takes an empty model to the three compiled files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "compilazione/compila.h"
#include "model/codici.h"
#include "model/modello.h"
#include "model/nomi_scenario.h"
#include "model/origini.h"
#include "run/parola_errore.h"

namespace compattatore {

class Sostituzione;

/// Writes the embedded scenario's two sources into `cartella` as one group, flushed: both
/// replaced, or neither (`esempio`). Throws ErroreFile.
void scrivi_sorgenti_incorporate(const std::filesystem::path& cartella);

/// The two sources of a run.
struct Sorgenti {
  std::filesystem::path linea;
  std::filesystem::path treno;
  /// Each source is deleted once read (the plain run's own files); an author's are kept.
  bool cancella_dopo_lettura = false;
  Codifica codifica = Codifica::automatica;
};

/// How a run ended.
enum class Esito {
  scritto,           // the compiled files were written (codice_errore may still hold a code)
  verificato,        // a check run: everything done but writing (codice_errore may hold a code)
  non_dimensionato,  // the parse stopped before the route length sized `tratti`: nothing written
  campo_riservato,   // reserved-field check 1250 or 1251 failed: nothing written
  scrittura_fallita  // a file could not be written: no compiled file written
};

struct RisultatoPercorso {
  Esito esito = Esito::scritto;
  std::string messaggio{};  // what stopped the run, for `non_dimensionato` and `scrittura_fallita`
  Codice codice = Codice::nessuno;  // the failed reserved-field check, for `campo_riservato`
  int32_t codice_errore = 0;        // the error word when the run ended
  int32_t posizione_errore = 0;
  bool con_posizione = false;        // a position was recorded in the error word
  int segni_di_codice = 0;           // code markers placed by the code-marker pass
  std::error_code errore_sistema{};  // the system's error, for `scrittura_fallita`
};

/// A run, created complete: nothing about it is set up afterwards.
class Esecuzione {
 public:
  using Osservatore = ParolaErrore::Osservatore;

  /// The plain run of the embedded scenario in `cartella`: its sources and documents are written
  /// there, and the sources are deleted once read.
  static Esecuzione incorporata(std::filesystem::path cartella, Osservatore osservatore = {});

  /// A run over the sources that lie in `cartella` under the names of `nomi`, deleted once read
  /// as the plain run deletes its own; `esegui` does not write them.
  static Esecuzione nella_cartella(NomiScenario nomi, std::filesystem::path cartella,
                                   Osservatore osservatore = {});

  /// An author's scenario: the sources `linea` and `treno` are read where they are and never
  /// changed; the compiled files go to `cartella` (the route plan only `con_tracciato`).
  static Esecuzione dell_autore(NomiScenario nomi, std::filesystem::path cartella,
                                std::filesystem::path linea, std::filesystem::path treno,
                                bool con_tracciato, Osservatore osservatore = {},
                                Codifica codifica = Codifica::automatica);

  /// A check of an author's scenario: the same run as `dell_autore`, every diagnostic given, and
  /// nothing written (`esegui` ends with `Esito::verificato` where the other would write).
  static Esecuzione verifica(NomiScenario nomi, std::filesystem::path linea,
                             std::filesystem::path treno, bool con_tracciato,
                             Osservatore osservatore = {},
                             Codifica codifica = Codifica::automatica);

  /// The whole run: for the embedded scenario its sources first and its documents prepared, then
  /// `memorizza_percorso`; the documents and the compiled files are replaced as one group (the
  /// documents alone when no compiled file is written). From before its first file to its end the
  /// run holds the lock of its files in the folder (see io/blocco.h); while another run holds it,
  /// the run waits, and `in_attesa` is called once when the wait begins.
  RisultatoPercorso esegui(const std::function<void()>& in_attesa = {});

  /// Clears the error word and `elenco`, reads both sources and compiles them (deleting them
  /// once read when the run does), then writes; `j` not 0 computes and writes the route plan.
  RisultatoPercorso memorizza_percorso(int32_t j);

  /// The steps after the parse, over the model as it stands: code markers, reserved-field
  /// checks, check codes, and the compiled files (the route plan only when `flag_linea` is set),
  /// replaced together. A failed reserved-field check is reported to the observer too, at the
  /// source line of the object on stretch 1.
  RisultatoPercorso completa_e_scrivi();

  const NomiScenario& nomi() const { return nomi_; }
  /// The names (without folder) of the files this run writes or removes in its folder.
  std::vector<std::string> file_della_corsa() const;
  /// Where file `f` of this run is written.
  std::filesystem::path file(FileScenario f) const;
  const Sorgenti& sorgenti() const { return sorgenti_; }
  int32_t flag_linea() const { return flag_linea_; }
  int32_t codice_errore() const { return numero(parola_.codice_errore()); }
  int32_t posizione_errore() const { return parola_.posizione_errore(); }
  Modello& modello() { return compilato_.modello; }
  const Modello& modello() const { return compilato_.modello; }
  /// Which source item placed each object of the model.
  const Origini& origini() const { return compilato_.origini; }
  /// The run writes its files (every run but a check).
  bool scrive() const { return scrive_; }

 private:
  Esecuzione(NomiScenario nomi, std::filesystem::path cartella, Sorgenti sorgenti,
             int32_t flag_linea, bool incorporata, Osservatore osservatore);
  /// `r` with the error word as it stands.
  RisultatoPercorso con_parola(RisultatoPercorso r) const;
  /// The sources read into memory, as the compile receives them.
  Sorgente sorgente_linea();
  Sorgente sorgente_treno() const;
  /// Writes the compiled files of `compilato_`, a complete compile, unless the run is a check.
  RisultatoPercorso scrivi_compilati();
  /// Replaces the documents prepared by `esegui`, alone (no compiled file is written); `r` as it
  /// was, or the failure.
  RisultatoPercorso solo_documenti(RisultatoPercorso r);

  NomiScenario nomi_;
  std::filesystem::path cartella_;  // where the compiled files (and the documents) go
  Sorgenti sorgenti_;
  int32_t flag_linea_;
  bool incorporata_;
  bool scrive_ = true;
  ParolaErrore parola_;
  Compilazione compilato_;  // the model, where its objects came from, how far the compile went
  // The documents of the embedded scenario, written to their temporaries and waiting for the
  // compiled files to join them (empty for other runs).
  std::shared_ptr<Sostituzione> documenti_;
};

}  // namespace compattatore
