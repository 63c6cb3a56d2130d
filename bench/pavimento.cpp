// The floor of writing the output: for each byte count given, one file of that many bytes,
// written as a new temporary file in the same folder from a small buffer, flushed to the disk
// with one fsync and renamed over its final name. Any compile that writes the same files must
// at least do this much, so its time is the unit the benchmark measures against.
//
// Uso: pavimento CARTELLA BYTE [BYTE ...]
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>

namespace {

constexpr size_t kBuffer = 64 * 1024;

int fallito(const std::string& file, const char* passo) {
  std::fprintf(stderr, "pavimento: %s '%s': %s\n", passo, file.c_str(), std::strerror(errno));
  return 1;
}

int scrivi(const std::string& finale, unsigned long long byte,
           const std::array<char, kBuffer>& buffer) {
  const std::string temporaneo = finale + ".nuovo-" + std::to_string(::getpid());
  const int fd = ::open(temporaneo.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return fallito(temporaneo, "impossibile creare");
  while (byte > 0) {
    const size_t pezzo = byte < kBuffer ? static_cast<size_t>(byte) : kBuffer;
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
  if (::rename(temporaneo.c_str(), finale.c_str()) != 0)
    return fallito(finale, "impossibile rinominare");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || std::string_view(argv[1]) == "--help") {
    std::fprintf(
        argc < 3 ? stderr : stdout,
        "Uso: pavimento CARTELLA BYTE [BYTE ...]\n"
        "Scrive in CARTELLA un file per ogni BYTE (pavimento_1.bin, pavimento_2.bin, ...)\n"
        "lungo BYTE byte: file temporaneo accanto, un fsync, una rinomina.\n");
    return argc < 3 ? 1 : 0;
  }
  std::array<char, kBuffer> buffer;
  for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<char>(i * 31 + 7);

  const std::string cartella = argv[1];
  for (int k = 2; k < argc; ++k) {
    const std::string_view testo = argv[k];
    unsigned long long byte = 0;
    const auto [fine, errore] = std::from_chars(testo.data(), testo.data() + testo.size(), byte);
    if (errore != std::errc{} || fine != testo.data() + testo.size()) {
      std::fprintf(stderr, "pavimento: '%s' non e' un numero di byte\n", argv[k]);
      return 1;
    }
    const std::string finale = cartella + "/pavimento_" + std::to_string(k - 1) + ".bin";
    if (scrivi(finale, byte, buffer) != 0) return 1;
  }
  return 0;
}
