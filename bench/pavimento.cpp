// The floor of writing the output: the files a run leaves, each of the byte count given, written
// the cheapest way a durable writer can: a new temporary file beside its final name, filled from
// one buffer, flushed to the disk (fsync) and closed; then every temporary renamed over its final
// name, and the folder flushed once for the whole group, so that the new names survive a power
// cut. Any compile that writes the same files with the same guarantees must at least do this
// much, so its time is the unit the benchmark measures against.
//
// Uso: pavimento [--blocco BYTE] CARTELLA BYTE [BYTE ...]
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

// 256 KiB measured fastest here among 64 KiB, 256 KiB and 1 MiB (README, "Benchmark").
constexpr size_t kBlocco = 256 * 1024;

int fallito(const std::string& file, const char* passo) {
  std::fprintf(stderr, "pavimento: %s '%s': %s\n", passo, file.c_str(), std::strerror(errno));
  return 1;
}

bool numero(std::string_view testo, unsigned long long& valore) {
  const auto [fine, errore] = std::from_chars(testo.data(), testo.data() + testo.size(), valore);
  return errore == std::errc{} && fine == testo.data() + testo.size();
}

// Writes `byte` bytes to a new file `temporaneo`, flushed and closed.
int scrivi(const std::string& temporaneo, unsigned long long byte,
           const std::vector<char>& buffer) {
  const int fd = ::open(temporaneo.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return fallito(temporaneo, "impossibile creare");
  while (byte > 0) {
    const size_t pezzo = byte < buffer.size() ? static_cast<size_t>(byte) : buffer.size();
    const ssize_t n = ::write(fd, buffer.data(), pezzo);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return fallito(temporaneo, "impossibile scrivere");
    }
    byte -= static_cast<unsigned long long>(n);
  }
  if (::fsync(fd) != 0 && errno != EINVAL) {
    ::close(fd);
    return fallito(temporaneo, "impossibile scaricare su disco");
  }
  if (::close(fd) != 0) return fallito(temporaneo, "impossibile chiudere");
  return 0;
}

int uso(bool errore) {
  std::fprintf(errore ? stderr : stdout,
               "Uso: pavimento [--blocco BYTE] CARTELLA BYTE [BYTE ...]\n"
               "Scrive in CARTELLA un file per ogni BYTE (pavimento_1.bin, pavimento_2.bin, ...)\n"
               "lungo BYTE byte, da un buffer di BYTE byte (256 KiB se non detto): ciascuno come\n"
               "file temporaneo accanto, scaricato su disco; poi tutte le rinomine e la cartella\n"
               "scaricata su disco una volta.\n");
  return errore ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  int k = 1;
  if (argc > 1 && std::string_view(argv[1]) == "--help") return uso(false);
  unsigned long long blocco = kBlocco;
  if (argc > 2 && std::string_view(argv[1]) == "--blocco") {
    if (!numero(argv[2], blocco) || blocco == 0) return uso(true);
    k = 3;
  }
  if (argc - k < 2) return uso(true);
  std::vector<char> buffer(static_cast<size_t>(blocco));
  for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<char>(i * 31 + 7);

  const std::string cartella = argv[k];
  std::vector<std::string> finali;
  for (int i = k + 1; i < argc; ++i) {
    unsigned long long byte = 0;
    if (!numero(argv[i], byte)) {
      std::fprintf(stderr, "pavimento: '%s' non e' un numero di byte\n", argv[i]);
      return 1;
    }
    finali.push_back(cartella + "/pavimento_" + std::to_string(finali.size() + 1) + ".bin");
    if (scrivi(finali.back() + ".nuovo", byte, buffer) != 0) return 1;
  }
  for (const std::string& finale : finali) {
    if (::rename((finale + ".nuovo").c_str(), finale.c_str()) != 0) {
      return fallito(finale, "impossibile rinominare");
    }
  }
  const int f = ::open(cartella.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (f < 0) return fallito(cartella, "impossibile aprire");
  if (::fsync(f) != 0 && errno != EINVAL) {
    ::close(f);
    return fallito(cartella, "impossibile scaricare su disco");
  }
  ::close(f);
  return 0;
}
