#include "io/file_sicuro.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace compattatore {
namespace fs = std::filesystem;

ErroreFile::ErroreFile(fs::path f, std::string m)
    : std::runtime_error(f.string() + ": " + m), file(std::move(f)), motivo(std::move(m)) {}

namespace {

std::string motivo_errno(int e) { return std::strerror(e); }

// Opens a new temporary file beside `destinazione` with O_EXCL, so that two runs never share one.
int crea_temporaneo(const fs::path& destinazione, fs::path& temporaneo) {
  for (int tentativo = 0; tentativo < 100; ++tentativo) {
    temporaneo = destinazione;
    temporaneo += ".nuovo-" + std::to_string(::getpid()) + "-" + std::to_string(tentativo);
    const int fd = ::open(temporaneo.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

}  // namespace

Sostituzione::~Sostituzione() {
  for (const auto& p : preparati_) ::unlink(p.temporaneo.c_str());
}

void Scrittore::scrivi(const char* dati, size_t n) {
  while (n > 0) {
    const ssize_t scritti = ::write(fd_, dati, n);
    if (scritti < 0) {
      if (errno == EINTR) continue;
      throw ErroreFile(destinazione_, motivo_errno(errno));
    }
    dati += scritti;
    n -= static_cast<size_t>(scritti);
  }
}

void Sostituzione::prepara(const fs::path& destinazione, std::string_view dati, Durata durata) {
  prepara(
      destinazione, [dati](Scrittore& s) { s.scrivi(dati.data(), dati.size()); }, durata);
}

void Sostituzione::prepara(const fs::path& destinazione,
                           const std::function<void(Scrittore&)>& contenuto, Durata durata) {
  fs::path temporaneo;
  const int fd = crea_temporaneo(destinazione, temporaneo);
  if (fd < 0) throw ErroreFile(destinazione, motivo_errno(errno));
  preparati_.push_back({temporaneo, destinazione});
  try {
    Scrittore scrittore(fd, destinazione);
    contenuto(scrittore);
    if (durata == Durata::durevole && ::fsync(fd) != 0 && errno != EINVAL) {
      throw ErroreFile(destinazione, motivo_errno(errno));
    }
  } catch (...) {
    ::close(fd);
    throw;
  }
  if (::close(fd) != 0) throw ErroreFile(destinazione, motivo_errno(errno));
}

void Sostituzione::conferma() {
  while (!preparati_.empty()) {
    const auto p = preparati_.front();
    if (::rename(p.temporaneo.c_str(), p.destinazione.c_str()) != 0) {
      throw ErroreFile(p.destinazione, motivo_errno(errno));
    }
    preparati_.erase(preparati_.begin());
  }
}

void scrivi_file(const fs::path& destinazione, std::string_view dati, Durata durata) {
  Sostituzione s;
  s.prepara(destinazione, dati, durata);
  s.conferma();
}

std::string leggi_file(const fs::path& file) {
  std::error_code ec;
  if (fs::is_directory(file, ec)) throw ErroreFile(file, "è una cartella, non un file");
  std::ifstream in(file, std::ios::binary);
  if (!in) throw ErroreFile(file, motivo_errno(errno));
  std::ostringstream buf;
  buf << in.rdbuf();
  if (in.bad()) throw ErroreFile(file, "errore di lettura");
  return std::move(buf).str();
}

}  // namespace compattatore
