// Times two commands in one paired run: after one untimed run of each, A and B run alternately
// (A, B, A, B, ...) the given number of times each, so that both meet the same state of the
// machine. One line per timed run on standard output:
//
//   A|B  wall_us  user_us  sys_us  maxrss_kib
//
// Wall time is measured around spawn and wait; CPU time and peak resident memory come from the
// resource usage of the finished child. The commands' own output goes to /dev/null; a command
// that does not end with status 0 stops the runs with status 1.
//
// Uso: cronometro GIRI -- COMANDO_A [ARG ...] -- COMANDO_B [ARG ...]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

extern char** environ;

namespace {

struct Misura {
  long long parete_us;
  long long utente_us;
  long long sistema_us;
  long long memoria_kib;
};

long long microsecondi(const timeval& t) {
  return static_cast<long long>(t.tv_sec) * 1000000 + t.tv_usec;
}

long long adesso_us() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

// Runs one command to its end; false when it could not start or did not end with status 0.
bool esegui(const std::vector<char*>& comando, Misura& m) {
  posix_spawn_file_actions_t azioni;
  posix_spawn_file_actions_init(&azioni);
  posix_spawn_file_actions_addopen(&azioni, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&azioni, 2, "/dev/null", O_WRONLY, 0);
  const long long inizio = adesso_us();
  pid_t pid = 0;
  const int esito = posix_spawnp(&pid, comando[0], &azioni, nullptr, comando.data(), environ);
  posix_spawn_file_actions_destroy(&azioni);
  if (esito != 0) {
    std::fprintf(stderr, "cronometro: impossibile avviare '%s': %s\n", comando[0],
                 std::strerror(esito));
    return false;
  }
  int stato = 0;
  rusage uso{};
  while (wait4(pid, &stato, 0, &uso) < 0) {
    if (errno != EINTR) {
      std::perror("cronometro: wait4");
      return false;
    }
  }
  m.parete_us = adesso_us() - inizio;
  m.utente_us = microsecondi(uso.ru_utime);
  m.sistema_us = microsecondi(uso.ru_stime);
  m.memoria_kib = uso.ru_maxrss;
  if (!WIFEXITED(stato) || WEXITSTATUS(stato) != 0) {
    std::fprintf(stderr, "cronometro: '%s' e' finito con stato %d\n", comando[0],
                 WIFEXITED(stato) ? WEXITSTATUS(stato) : 128 + WTERMSIG(stato));
    return false;
  }
  return true;
}

int uso() {
  std::fprintf(stderr, "Uso: cronometro GIRI -- COMANDO_A [ARG ...] -- COMANDO_B [ARG ...]\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6 || std::string_view(argv[2]) != "--") return uso();
  const std::string_view testo = argv[1];
  int giri = 0;
  const auto [fine, errore] = std::from_chars(testo.data(), testo.data() + testo.size(), giri);
  if (errore != std::errc{} || fine != testo.data() + testo.size() || giri < 1) return uso();

  std::vector<char*> a, b;
  std::vector<char*>* corrente = &a;
  for (int k = 3; k < argc; ++k) {
    if (std::string_view(argv[k]) == "--" && corrente == &a) {
      corrente = &b;
      continue;
    }
    corrente->push_back(argv[k]);
  }
  if (a.empty() || b.empty()) return uso();
  a.push_back(nullptr);
  b.push_back(nullptr);

  Misura m{};
  if (!esegui(a, m) || !esegui(b, m)) return 1;
  for (int g = 0; g < giri; ++g) {
    for (const auto& [nome, comando] : {std::pair{"A", &a}, std::pair{"B", &b}}) {
      if (!esegui(*comando, m)) return 1;
      std::printf("%s %lld %lld %lld %lld\n", nome, m.parete_us, m.utente_us, m.sistema_us,
                  m.memoria_kib);
    }
  }
  return 0;
}
