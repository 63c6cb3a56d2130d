#include "io/sistema.h"

#include <algorithm>
#include <system_error>

#include "io/file_sicuro.h"
#include "io/piattaforma.h"

namespace compattatore {
namespace fs = std::filesystem;

fs::path percorso_utf8(std::string_view testo) {
  return fs::path(std::u8string(testo.begin(), testo.end()));
}

fs::path cartella_programma() {
  fs::path cartella = piattaforma::cartella_eseguibile();
  if (cartella.empty()) cartella = fs::current_path();
  return cartella;
}

bool esiste(const fs::path& p) {
  std::error_code ec;
  return fs::exists(p, ec);
}

bool e_cartella(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(p, ec);
}

bool e_file(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

std::optional<uintmax_t> dimensione_file(const fs::path& p) {
  std::error_code ec;
  const uintmax_t n = fs::file_size(p, ec);
  if (ec) return std::nullopt;
  return n;
}

std::vector<fs::path> file_nella_cartella(const fs::path& cartella) {
  std::vector<fs::path> voci;
  if (const std::error_code ec = piattaforma::voci_cartella(cartella, voci)) {
    throw ErroreFile(cartella, ec);
  }
  std::vector<fs::path> file;
  for (fs::path& v : voci) {
    if (e_file(v)) file.push_back(std::move(v));
  }
  std::sort(file.begin(), file.end());
  return file;
}

bool stesso_file(const fs::path& a, const fs::path& b) { return piattaforma::stesso_file(a, b); }

bool crea_cartella(const fs::path& p) {
  std::error_code ec;
  fs::create_directories(p, ec);
  return e_cartella(p);
}

void cancella(const fs::path& p) { piattaforma::rimuovi(p); }

void consiglia_pagine_grandi(std::span<std::byte> m) {
  piattaforma::consiglia_pagine_grandi(m.data(), m.size());
}

}  // namespace compattatore
