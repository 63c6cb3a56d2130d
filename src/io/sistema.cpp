#include "io/sistema.h"

#include <cstdint>
#include <system_error>

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace compattatore {
namespace fs = std::filesystem;

fs::path cartella_programma() {
  std::error_code ec;
  const fs::path eseguibile = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) return eseguibile.parent_path();
  return fs::current_path();
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
  const bool uguali = fs::equivalent(a, b, ec);
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
#if defined(MADV_HUGEPAGE)
  // madvise wants whole pages: the pages that lie entirely inside `m`.
  const auto pagina = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto inizio = reinterpret_cast<uintptr_t>(m.data());
  const uintptr_t primo = (inizio + pagina - 1) / pagina * pagina;
  const uintptr_t fine = (inizio + m.size()) / pagina * pagina;
  if (fine > primo) ::madvise(reinterpret_cast<void*>(primo), fine - primo, MADV_HUGEPAGE);
#else
  (void)m;  // no such advice on this system
#endif
}

}  // namespace compattatore
