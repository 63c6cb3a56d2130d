#include "io/sistema.h"

#include <algorithm>
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

std::optional<uintmax_t> dimensione_file(const fs::path& p) {
  std::error_code ec;
  const uintmax_t n = fs::file_size(p, ec);
  if (ec) return std::nullopt;
  return n;
}

std::vector<fs::path> file_nella_cartella(const fs::path& cartella) {
  std::vector<fs::path> file;
  std::error_code ec;
  for (auto it = fs::directory_iterator(cartella, ec); !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    std::error_code e;
    if (it->is_regular_file(e)) file.push_back(it->path());
  }
  std::sort(file.begin(), file.end());
  return file;
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
