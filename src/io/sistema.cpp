#include "io/sistema.h"

#include <system_error>

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

bool stesso_file(const fs::path& a, const fs::path& b) { return piattaforma::stesso_file(a, b); }

void cancella(const fs::path& p) {
  std::error_code ec;
  fs::remove(p, ec);
}

void consiglia_pagine_grandi(std::span<std::byte> m) {
  piattaforma::consiglia_pagine_grandi(m.data(), m.size());
}

}  // namespace compattatore
