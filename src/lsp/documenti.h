// The sources the editor has open, each with its text as last sent (which wins over the file on
// disk), and the file names behind the protocol's `file:` addresses.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "lsp/testo.h"

namespace compattatore::lsp {

/// The file a `file:` address names, or nothing for another kind of address.
std::optional<std::filesystem::path> percorso_da_uri(std::string_view uri);
/// The `file:` address of `percorso` (an absolute path).
std::string uri_da_percorso(const std::filesystem::path& percorso);

struct Documento {
  std::string uri;
  std::filesystem::path percorso;  // empty for an address that names no file
  std::shared_ptr<const TestoDocumento> testo;
  int versione = 0;
};

class Documenti {
 public:
  void apri(const std::string& uri, std::string testo, int versione);
  /// The document `uri`, to be changed (nullptr when it is not open).
  Documento* trova(const std::string& uri);
  const Documento* trova(const std::string& uri) const;
  /// The open document of the file `percorso`, or nullptr.
  const Documento* del_file(const std::filesystem::path& percorso) const;
  void chiudi(const std::string& uri) { aperti_.erase(uri); }
  const std::map<std::string, Documento>& aperti() const { return aperti_; }

 private:
  std::map<std::string, Documento> aperti_;
};

}  // namespace compattatore::lsp
