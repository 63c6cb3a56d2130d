// The io layer's system calls on POSIX systems (Linux, the BSDs, macOS).

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__linux__)
#include <sys/inotify.h>
#endif

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "io/guasti.h"
#include "io/piattaforma.h"

namespace compattatore::piattaforma {
namespace fs = std::filesystem;

namespace {

std::error_code ultimo_errore() { return {errno, std::generic_category()}; }

// Every counted system call goes through here: in a build with tests the seam of io/guasti.h may
// make it fail first (returning -1 with errno set, as the system would).
#if defined(COMPATTATORE_GUASTI)
#define COMPATTATORE_SISTEMA(tipo, chiamata) \
  (guasti::scatta(guasti::Chiamata::tipo) ? -1 : (chiamata))
#else
#define COMPATTATORE_SISTEMA(tipo, chiamata) (chiamata)
#endif

// A call that changed the disk, for a recording of the seam (io/guasti.h); nothing otherwise.
#if defined(COMPATTATORE_GUASTI)
#define COMPATTATORE_ANNOTA(...)                                        \
  do {                                                                  \
    if (guasti::registrando()) guasti::annota(operazione(__VA_ARGS__)); \
  } while (0)
using Op = guasti::Operazione::Tipo;
guasti::Operazione operazione(Op tipo, std::string percorso, std::string altro = {},
                              std::intptr_t maniglia = -1, std::int64_t posizione = 0,
                              std::string dati = {}) {
  return {tipo, std::move(percorso), std::move(altro), maniglia, posizione, std::move(dati)};
}
#else
#define COMPATTATORE_ANNOTA(...) \
  do {                           \
  } while (0)
#endif

// A call the system interrupted for a signal (EINTR) is made again, with the same arguments.
#define COMPATTATORE_RIPETUTA(tipo, chiamata)              \
  [&] {                                                    \
    for (;;) {                                             \
      const auto r = COMPATTATORE_SISTEMA(tipo, chiamata); \
      if (r >= 0 || errno != EINTR) return r;              \
    }                                                      \
  }()

int fd(Maniglia m) { return static_cast<int>(m); }

// The register of files to remove on a signal. The handler may run at any moment, so it reads
// only lock-free atomics; the paths are copied into memory of their own before they are
// published, and freed only after they have been taken off.
struct Posto {
  std::atomic<char*> percorso{nullptr};
  std::atomic<pid_t> proprietario{0};
};
constexpr int kPosti = 128;
Posto registro[kPosti];
static_assert(std::atomic<char*>::is_always_lock_free && std::atomic<pid_t>::is_always_lock_free);

constexpr int kSegnali[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGXFSZ};

extern "C" void al_segnale(int segnale) {
  const int errno_salvato = errno;
  const pid_t io = ::getpid();
  for (Posto& p : registro) {
    char* f = p.percorso.load();
    if (f != nullptr && p.proprietario.load() == io) ::unlink(f);
  }
  // Then the signal does what it would have done: usually, end the process.
  struct sigaction predefinita {};
  predefinita.sa_handler = SIG_DFL;
  sigemptyset(&predefinita.sa_mask);
  ::sigaction(segnale, &predefinita, nullptr);
  ::raise(segnale);
  errno = errno_salvato;
}

void installa_gestori() {
  for (const int s : kSegnali) {
    struct sigaction attuale {};
    if (::sigaction(s, nullptr, &attuale) != 0) continue;
    // A signal the process ignores (nohup) or handles itself is left as it is.
    if ((attuale.sa_flags & SA_SIGINFO) != 0 || attuale.sa_handler != SIG_DFL) continue;
    struct sigaction nostra {};
    nostra.sa_handler = al_segnale;
    sigemptyset(&nostra.sa_mask);
    for (const int altro : kSegnali) sigaddset(&nostra.sa_mask, altro);
    nostra.sa_flags = SA_RESTART;
    ::sigaction(s, &nostra, nullptr);
  }
}

}  // namespace

std::error_code crea_esclusivo(const fs::path& file, Maniglia& m) {
  const int f = COMPATTATORE_RIPETUTA(
      apri, ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (f < 0) return ultimo_errore();
  m = f;
  COMPATTATORE_ANNOTA(Op::crea, file.string(), {}, m);
  return {};
}

std::error_code scrivi(Maniglia m, std::string_view dati) {
  const char* p = dati.data();
  size_t resto = dati.size();
  while (resto > 0) {
    const ssize_t n = COMPATTATORE_SISTEMA(scrivi, ::write(fd(m), p, resto));
    if (n < 0) {
      if (errno == EINTR) continue;
      return ultimo_errore();
    }
    COMPATTATORE_ANNOTA(Op::scrivi, {}, {}, m, ::lseek(fd(m), 0, SEEK_CUR) - n,
                        std::string(p, static_cast<size_t>(n)));
    p += n;
    resto -= static_cast<size_t>(n);
  }
  return {};
}

std::error_code imposta_permessi(Maniglia m, fs::perms permessi) {
  if (::fchmod(fd(m), static_cast<mode_t>(permessi)) != 0) return ultimo_errore();
  return {};
}

std::error_code chiudi_su_disco(Maniglia m) {
  std::error_code e;
  // A file system that cannot flush (EINVAL) has nothing to flush to.
  if (COMPATTATORE_RIPETUTA(sincronizza, ::fsync(fd(m))) == 0) {
    COMPATTATORE_ANNOTA(Op::salva_file, {}, {}, m);
  } else if (errno != EINVAL) {
    e = ultimo_errore();
  }
  if (::close(fd(m)) != 0 && !e && errno != EINTR) e = ultimo_errore();
  return e;
}

void chiudi(Maniglia m) {
  if (m != kNessunaManiglia) ::close(fd(m));
}

void sincronizza_cartella(const fs::path& cartella) {
  const int f = COMPATTATORE_RIPETUTA(
      apri, ::open(cartella.empty() ? "." : cartella.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (f < 0) return;
  if (COMPATTATORE_RIPETUTA(sincronizza, ::fsync(f)) == 0) {
    COMPATTATORE_ANNOTA(Op::salva_cartella, cartella.string());
  }
  ::close(f);
}

std::error_code sostituisci(const fs::path& da, const fs::path& a) {
  if (COMPATTATORE_RIPETUTA(rinomina, ::rename(da.c_str(), a.c_str())) != 0) {
    return ultimo_errore();
  }
  COMPATTATORE_ANNOTA(Op::rinomina, da.string(), a.string());
  return {};
}

std::error_code collega(const fs::path& esistente, const fs::path& nuovo) {
  if (COMPATTATORE_RIPETUTA(
          collega, ::linkat(AT_FDCWD, esistente.c_str(), AT_FDCWD, nuovo.c_str(), 0)) != 0) {
    return ultimo_errore();
  }
  COMPATTATORE_ANNOTA(Op::collega, esistente.string(), nuovo.string());
  return {};
}

std::error_code rimuovi(const fs::path& file) {
  if (COMPATTATORE_RIPETUTA(rimuovi, ::unlink(file.c_str())) != 0) return ultimo_errore();
  COMPATTATORE_ANNOTA(Op::rimuovi, file.string());
  return {};
}

bool stesso_file(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  const bool uguali = fs::equivalent(a, b, ec);  // device and file number of both
  return !ec && uguali;
}

std::error_code apri_lettura(const fs::path& file, Maniglia& m) {
  const int f = COMPATTATORE_RIPETUTA(apri, ::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (f < 0) return ultimo_errore();
  m = f;
  return {};
}

std::error_code leggi(Maniglia m, char* dove, std::size_t quanti, std::size_t& letti) {
  const ssize_t n = COMPATTATORE_RIPETUTA(leggi, ::read(fd(m), dove, quanti));
  if (n < 0) return ultimo_errore();
  letti = static_cast<std::size_t>(n);
  return {};
}

void chiudi_lettura(Maniglia m) { chiudi(m); }

std::error_code voci_cartella(const fs::path& cartella, std::vector<fs::path>& voci) {
  DIR* d = nullptr;
  do {
    d = COMPATTATORE_SISTEMA(elenca, 0) < 0 ? nullptr : ::opendir(cartella.c_str());
  } while (d == nullptr && errno == EINTR);
  if (d == nullptr) return ultimo_errore();
  errno = 0;
  while (const dirent* v = ::readdir(d)) {
    const std::string_view n = v->d_name;
    if (n != "." && n != "..") voci.push_back(cartella / n);
    errno = 0;
  }
  const std::error_code e = errno != 0 ? ultimo_errore() : std::error_code{};
  ::closedir(d);
  return e;
}

std::error_code apri_blocco(const fs::path& file, Maniglia& m) {
  int f = COMPATTATORE_RIPETUTA(apri, ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
  if (f < 0) {
    const std::error_code e = ultimo_errore();
    // A lock file another user left behind may be readable only; flock does not need more (a
    // file system that emulates flock with byte-range locks does, hence write access first).
    if (e == std::errc::permission_denied) {
      f = COMPATTATORE_RIPETUTA(apri, ::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    }
    if (f < 0) return e;
  }
  m = f;
  COMPATTATORE_ANNOTA(Op::crea_se_manca, file.string(), {}, m);
  return {};
}

std::error_code blocca(Maniglia m, bool attendi) {
  // flock belongs to the open file, not the process: two runs in one process exclude each other
  // too, and closing another descriptor of the same file releases nothing.
  for (;;) {
    if (COMPATTATORE_SISTEMA(blocca, ::flock(fd(m), LOCK_EX | (attendi ? 0 : LOCK_NB))) == 0) {
      return {};
    }
    if (errno == EINTR) continue;
    if (errno == EWOULDBLOCK)
      return std::make_error_code(std::errc::resource_unavailable_try_again);
    return ultimo_errore();
  }
}

bool blocco_non_supportato(std::error_code e) {
  return e == std::errc::no_lock_available || e == std::errc::operation_not_supported ||
         e == std::errc::function_not_supported;
}

bool e_ancora(Maniglia m, const fs::path& file) {
  struct stat aperto {};
  struct stat nominato {};
  if (::fstat(fd(m), &aperto) != 0 || ::stat(file.c_str(), &nominato) != 0) return false;
  return aperto.st_dev == nominato.st_dev && aperto.st_ino == nominato.st_ino;
}

namespace {
void installa_una_volta() {
  static std::once_flag installati;
  std::call_once(installati, installa_gestori);
}
}  // namespace

int registra_da_rimuovere(const fs::path& file) {
  installa_una_volta();
  char* copia = ::strdup(file.c_str());
  if (copia == nullptr) return -1;
  for (int i = 0; i < kPosti; ++i) {
    char* vuoto = nullptr;
    if (registro[i].percorso.compare_exchange_strong(vuoto, copia)) {
      registro[i].proprietario.store(::getpid());
      return i;
    }
  }
  std::free(copia);
  return -1;
}

namespace {
thread_local sigset_t maschera_di_prima;
}

void trattieni_segnali() {
  installa_una_volta();
  sigset_t trattenuti;
  sigemptyset(&trattenuti);
  for (const int s : kSegnali) sigaddset(&trattenuti, s);
  ::pthread_sigmask(SIG_BLOCK, &trattenuti, &maschera_di_prima);
}

void lascia_segnali() { ::pthread_sigmask(SIG_SETMASK, &maschera_di_prima, nullptr); }

void dimentica(int biglietto) {
  if (biglietto < 0 || biglietto >= kPosti) return;
  std::free(registro[biglietto].percorso.exchange(nullptr));
}

namespace {
// The interrupt under a watch: a flag, and a pipe whose one byte wakes the wait.
std::atomic<bool> interrotto{false};
std::atomic<int> sveglia_scrivi{-1};
int sveglia_leggi = -1;
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);

extern "C" void all_interruzione(int /*segnale*/) {
  const int errno_salvato = errno;
  interrotto.store(true);
  const char uno = 1;
  if (const int f = sveglia_scrivi.load(); f >= 0) (void)!::write(f, &uno, 1);
  errno = errno_salvato;
}

void non_bloccante(int f) {
  ::fcntl(f, F_SETFL, ::fcntl(f, F_GETFL) | O_NONBLOCK);
  ::fcntl(f, F_SETFD, FD_CLOEXEC);
}
}  // namespace

void intercetta_interruzione() {
  static std::once_flag fatto;
  std::call_once(fatto, [] {
    int estremi[2];
    if (::pipe(estremi) == 0) {
      non_bloccante(estremi[0]);
      non_bloccante(estremi[1]);
      sveglia_leggi = estremi[0];
      sveglia_scrivi.store(estremi[1]);
    }
    struct sigaction nostra {};
    nostra.sa_handler = all_interruzione;
    sigemptyset(&nostra.sa_mask);
    nostra.sa_flags = SA_RESTART;
    for (const int s : {SIGINT, SIGTERM}) ::sigaction(s, &nostra, nullptr);
  });
}

bool interruzione_arrivata() { return interrotto.load(); }

Maniglia apri_notizie(const std::vector<fs::path>& cartelle) {
#if defined(__linux__)
  const int f = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (f < 0) return kNessunaManiglia;
  constexpr uint32_t kCosa = IN_CREATE | IN_DELETE | IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_FROM |
                             IN_MOVED_TO | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
  for (const fs::path& c : cartelle) {
    if (::inotify_add_watch(f, c.c_str(), kCosa) < 0) {
      ::close(f);
      return kNessunaManiglia;
    }
  }
  return f;
#else
  (void)cartelle;
  return kNessunaManiglia;
#endif
}

bool attendi_notizie(Maniglia m, int ms, const std::vector<fs::path>& nomi) {
  pollfd attese[2];
  nfds_t n = 0;
  if (m != kNessunaManiglia) attese[n++] = {fd(m), POLLIN, 0};
  if (sveglia_leggi >= 0) attese[n++] = {sveglia_leggi, POLLIN, 0};
  if (interrotto.load()) return false;
  if (::poll(attese, n, ms) <= 0) return false;
  alignas(8) char buffer[4096];
  if (sveglia_leggi >= 0) {
    while (::read(sveglia_leggi, buffer, sizeof buffer) > 0) {
    }
  }
  if (m == kNessunaManiglia || (attese[0].revents & POLLIN) == 0) return false;
  bool nostra = false;
#if defined(__linux__)
  for (;;) {
    const ssize_t letti = ::read(fd(m), buffer, sizeof buffer);
    if (letti <= 0) break;
    for (ssize_t i = 0; i < letti;) {
      inotify_event e;
      std::memcpy(&e, buffer + i, sizeof e);
      const std::string_view nome(buffer + i + sizeof e, ::strnlen(buffer + i + sizeof e, e.len));
      if (nome.empty() || (e.mask & IN_Q_OVERFLOW) != 0) nostra = true;
      for (const fs::path& n : nomi) nostra = nostra || n.native() == nome;
      i += static_cast<ssize_t>(sizeof e + e.len);
    }
  }
#else
  (void)nomi;
#endif
  return nostra;
}

void chiudi_notizie(Maniglia m) {
  if (m != kNessunaManiglia) ::close(fd(m));
}

long id_processo() { return static_cast<long>(::getpid()); }

bool processo_vivo(long id) {
  if (id <= 0) return false;
  return ::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
}

fs::path cartella_eseguibile() {
  std::error_code ec;
  const fs::path eseguibile = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return eseguibile.parent_path();
}

void consiglia_pagine_grandi(void* inizio, std::size_t n) {
#if defined(MADV_HUGEPAGE)
  // madvise wants whole pages: the pages that lie entirely inside the memory.
  const auto pagina = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto da = reinterpret_cast<uintptr_t>(inizio);
  const uintptr_t primo = (da + pagina - 1) / pagina * pagina;
  const uintptr_t fine = (da + n) / pagina * pagina;
  if (fine > primo) ::madvise(reinterpret_cast<void*>(primo), fine - primo, MADV_HUGEPAGE);
#else
  (void)inizio;  // no such advice on this system
  (void)n;
#endif
}

}  // namespace compattatore::piattaforma
