#include "io/sistema.h"

#include <system_error>

#include "io/piattaforma.h"

namespace compattatore {
namespace fs = std::filesystem;

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

bool stesso_file(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  const bool uguali = fs::equivalent(a, b, ec);  // device and file number of both
  return !ec && uguali;
}

bool crea_cartella(const fs::path& p) {
  std::error_code ec;
  fs::create_directories(p, ec);
  return e_cartella(p);
}

void cancella(const fs::path& p) {
  std::error_code ec;
  fs::remove(p, ec);
}

void consiglia_pagine_grandi(std::span<std::byte> m) {
  piattaforma::consiglia_pagine_grandi(m.data(), m.size());
}

}  // namespace compattatore
