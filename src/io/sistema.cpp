#include "io/sistema.h"

#include <system_error>

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

}  // namespace compattatore
