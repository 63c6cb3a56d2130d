// The check of a scenario while it is edited: the pair of sources found by their names in one
// folder, each taken from the editor when it is open and from the disk otherwise, compiled in
// memory with the one compile from text; and its diagnostics as the protocol gives them.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lsp/documenti.h"
#include "lsp/testo.h"
#include "model/origini.h"
#include "model/segnalazione.h"

namespace compattatore::lsp {

/// One source of the pair.
struct FileCoppia {
  std::filesystem::path percorso;
  std::string nome;                             // the file's name, as diagnostics give it
  std::string uri;                              // the editor's address when it is open
  std::shared_ptr<const TestoDocumento> testo;  // null when neither open nor on disk
  bool aperto = false;
};

/// What one compile of a pair found.
struct Analisi {
  FileCoppia linea;
  std::optional<FileCoppia> treno;
  std::vector<Segnalazione> segnalazioni;  // errors, warnings and notes, in order
  Origini origini;

  /// The file of the pair that diagnostics call `nome`, or nullptr.
  const FileCoppia* file(std::string_view nome) const;
  /// The file of the pair at `uri` (or the same path), or nullptr.
  const FileCoppia* file_uri(const std::string& uri) const;
};

/// The line source of the train source `treno`: `X_linea.txt` beside `X_T-.txt`, open or on
/// disk; the likeliest name when there is none.
std::filesystem::path linea_del_treno(const std::filesystem::path& treno, const Documenti& docs);

/// The train sources of the line source `linea`: the open ones first, then those on disk.
std::vector<std::filesystem::path> treni_della_linea(const std::filesystem::path& linea,
                                                     const Documenti& docs);

/// Compiles the pair `linea` and `treno` (none: the line alone).
Analisi analizza(const std::filesystem::path& linea,
                 const std::optional<std::filesystem::path>& treno, const Documenti& docs);

/// The diagnostics of `a` for each file of its pair that can be shown (by address), as the
/// protocol's `Diagnostic` objects: an empty list for a file with none.
std::map<std::string, nlohmann::json> diagnostiche(const Analisi& a);

/// The protocol's range of the item at `l` in `testo`.
Estensione estensione_di(const TestoDocumento& testo, const Luogo& l);

/// A place and a range as the protocol writes them.
nlohmann::json posizione_json(Posizione p);
nlohmann::json estensione_json(const Estensione& e);

/// The message of `s` as the editor shows it: what is wrong, the detail, the place in metres,
/// and on a line of its own what to change.
std::string messaggio(const Segnalazione& s);

}  // namespace compattatore::lsp
