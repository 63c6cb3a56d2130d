#include "lsp/documenti.h"

#include <cctype>
#include <cstdio>

#include "io/sistema.h"

namespace compattatore::lsp {
namespace {

int cifra_esadecimale(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool riservato(unsigned char c) {
  return !(std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/');
}

}  // namespace

std::optional<std::filesystem::path> percorso_da_uri(std::string_view uri) {
  constexpr std::string_view kSchema = "file://";
  if (uri.size() < kSchema.size()) return std::nullopt;
  for (size_t i = 0; i < kSchema.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(uri[i])) != kSchema[i]) return std::nullopt;
  }
  uri.remove_prefix(kSchema.size());
  // "file:///x" has an empty authority; "file://localhost/x" names this machine.
  const size_t barra = uri.find('/');
  if (barra == std::string_view::npos) return std::nullopt;
  uri.remove_prefix(barra);
  std::string testo;
  for (size_t i = 0; i < uri.size(); ++i) {
    if (uri[i] == '%' && i + 2 < uri.size() && cifra_esadecimale(uri[i + 1]) >= 0 &&
        cifra_esadecimale(uri[i + 2]) >= 0) {
      testo +=
          static_cast<char>(cifra_esadecimale(uri[i + 1]) * 16 + cifra_esadecimale(uri[i + 2]));
      i += 2;
    } else {
      testo += uri[i];
    }
  }
  // "/C:/cartella": a Windows drive.
  if (testo.size() >= 3 && testo[0] == '/' && std::isalpha(static_cast<unsigned char>(testo[1])) &&
      testo[2] == ':') {
    testo.erase(0, 1);
  }
  return percorso_utf8(testo).lexically_normal();
}

std::string uri_da_percorso(const std::filesystem::path& percorso) {
  std::string testo = percorso.generic_string();
  if (testo.empty() || testo[0] != '/') testo.insert(0, "/");
  std::string uri = "file://";
  for (const char c : testo) {
    const auto b = static_cast<unsigned char>(c);
    if (riservato(b) && !(c == ':' && uri.size() == 9)) {
      char esa[4];
      std::snprintf(esa, sizeof esa, "%%%02X", b);
      uri += esa;
    } else {
      uri += c;
    }
  }
  return uri;
}

void Documenti::apri(const std::string& uri, std::string testo, int versione) {
  Documento d;
  d.uri = uri;
  d.percorso = percorso_da_uri(uri).value_or(std::filesystem::path{});
  d.testo = std::make_shared<const TestoDocumento>(std::move(testo));
  d.versione = versione;
  aperti_[uri] = std::move(d);
}

Documento* Documenti::trova(const std::string& uri) {
  const auto it = aperti_.find(uri);
  return it == aperti_.end() ? nullptr : &it->second;
}

const Documento* Documenti::trova(const std::string& uri) const {
  const auto it = aperti_.find(uri);
  return it == aperti_.end() ? nullptr : &it->second;
}

const Documento* Documenti::del_file(const std::filesystem::path& percorso) const {
  for (const auto& [uri, d] : aperti_) {
    if (!d.percorso.empty() && d.percorso == percorso) return &d;
  }
  return nullptr;
}

}  // namespace compattatore::lsp
