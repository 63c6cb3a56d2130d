// The identity of a scenario, `nome` and `treno`, and the names of the eight files of a run.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace compattatore {

/// The files of one scenario.
enum class FileScenario {
  sorgente_linea,  // <nome>_linea.txt
  sorgente_treno,  // <nome>_<treno>-.txt
  note,            // <nome>_<treno>_note.txt
  rallentamenti,   // <nome>_<treno>_rallentamenti.txt
  scheda,          // <nome>_<treno>_scheda_treno.txt
  tracciato,       // <nome>_linea.dat
  elenco,          // <nome>_<treno>.sim
  tratti,          // <nome>_<treno>.dat
};

/// `nome` and `treno` of a scenario, checked once: a value that passes is safe in a file name and
/// fits the compiled table.
class NomiScenario {
 public:
  /// The names, or what is wrong with them (Italian, one line).
  static std::optional<NomiScenario> crea(std::string nome, std::string treno,
                                          std::string* difetto = nullptr);
  /// The embedded scenario: Viterbo_Orte_Roma_Via_Linea_Cintura, train 3349.
  static NomiScenario incorporato();

  /// What is wrong with `valore` as a scenario name or train number (`cosa` names it in the
  /// message), or nothing when it is fine: it must be UTF-8 that Windows-1252 holds, without
  /// control characters, and a name that Windows can give a file (no folder separator, none of
  /// <>:"|?*, no point or blank at the end, no device name such as CON or com1.txt).
  static std::optional<std::string> difetto(std::string_view cosa, const std::string& valore);

  /// `nome` from a line source named `<nome>_linea.txt` (folders ignored).
  static std::optional<std::string> nome_da_file_linea(std::string_view file);
  /// `treno` from a train source named `<nome>_<treno>-.txt` (folders ignored).
  static std::optional<std::string> treno_da_file_treno(std::string_view file,
                                                        std::string_view nome);

  const std::string& nome() const { return nome_; }
  const std::string& treno() const { return treno_; }
  /// The file name (without folder) of `f`.
  std::string file(FileScenario f) const;

 private:
  NomiScenario(std::string nome, std::string treno)
      : nome_(std::move(nome)), treno_(std::move(treno)) {}
  std::string nome_;
  std::string treno_;
};

}  // namespace compattatore
