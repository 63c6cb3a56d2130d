// The test helpers that ask the system on POSIX systems: temporary folders, SHA-256 (OpenSSL),
// child processes.
#include <grp.h>
#include <openssl/evp.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "support/supporto.h"

namespace prova {
namespace fs = std::filesystem;

CartellaTemporanea::CartellaTemporanea() {
  std::string modello = (fs::temp_directory_path() / "compattatore-prova-XXXXXX").string();
  if (::mkdtemp(modello.data()) == nullptr) throw std::runtime_error("mkdtemp");
  percorso_ = modello;
}

std::string sha256(const std::string& byte) {
  unsigned char d[EVP_MAX_MD_SIZE];
  unsigned int n = 0;
  if (EVP_Digest(byte.data(), byte.size(), d, &n, EVP_sha256(), nullptr) != 1) {
    throw std::runtime_error("SHA-256 non calcolato");
  }
  static const char* cifre = "0123456789abcdef";
  std::string h;
  for (unsigned int i = 0; i < n; ++i) {
    h += cifre[d[i] >> 4];
    h += cifre[d[i] & 0xF];
  }
  return h;
}

namespace {
constexpr uid_t kNessuno = 65534;
bool lascia_privilegi() {
  if (::geteuid() != 0) return true;
  return ::setgroups(0, nullptr) == 0 && ::setgid(kNessuno) == 0 && ::setuid(kNessuno) == 0;
}
}  // namespace

std::optional<fs::path> sul_path(const std::string& nome) {
  const char* path = std::getenv("PATH");
  std::stringstream s(path ? path : "/usr/bin:/bin");
  std::string cartella;
  while (std::getline(s, cartella, ':')) {
    const fs::path p = fs::path(cartella) / nome;
    if (!cartella.empty() && ::access(p.c_str(), X_OK) == 0) return p;
  }
  return std::nullopt;
}

std::optional<fs::path> chromium() {
  if (const char* c = std::getenv("COMPATTATORE_CHROMIUM"); c && *c) return fs::path(c);
  for (const char* nome : {"chromium", "chromium-browser", "google-chrome"}) {
    if (auto p = sul_path(nome)) return p;
  }
  return std::nullopt;
}

int in_processo_figlio(const std::function<int()>& f, bool senza_privilegi) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (senza_privilegi && !lascia_privilegi()) ::_exit(125);
    int r = 124;
    try {
      r = f();
    } catch (...) {
    }
    ::_exit(r);
  }
  int stato = 0;
  ::waitpid(pid, &stato, 0);
  return WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
}

Risultato esegui_programma(const std::vector<std::string>& argomenti, const fs::path& cartella,
                           bool senza_privilegi, const fs::path& programma) {
  fs::path out_file = cartella.parent_path() / (cartella.filename().string() + ".out");
  fs::path err_file = cartella.parent_path() / (cartella.filename().string() + ".err");
  const pid_t pid = ::fork();
  if (pid == 0) {
    FILE* o = std::freopen(out_file.c_str(), "w", stdout);
    FILE* e = std::freopen(err_file.c_str(), "w", stderr);
    if (!o || !e) ::_exit(126);
    if (senza_privilegi && !lascia_privilegi()) ::_exit(125);
    if (::chdir(cartella.c_str()) != 0) ::_exit(126);
    std::vector<char*> argv;
    std::string eseguibile = programma.string();
    argv.push_back(eseguibile.data());
    std::vector<std::string> copia = argomenti;
    for (auto& a : copia) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(eseguibile.c_str(), argv.data());
    ::_exit(127);
  }
  int stato = 0;
  ::waitpid(pid, &stato, 0);
  Risultato r;
  r.stato = WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
  r.out = leggi(out_file);
  r.err = leggi(err_file);
  fs::remove(out_file);
  fs::remove(err_file);
  return r;
}

namespace {

// A child that runs the built program in `cartella`, its output going to `out` and `err`.
pid_t figlio_programma(const std::vector<std::string>& argomenti, const fs::path& cartella,
                       const char* out, const char* err) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  if (!std::freopen(out, "w", stdout) || !std::freopen(err, "w", stderr)) ::_exit(126);
  if (::chdir(cartella.c_str()) != 0) ::_exit(126);
  std::vector<std::string> copia = argomenti;
  std::string eseguibile = COMPATTATORE_ESEGUIBILE;
  std::vector<char*> argv{eseguibile.data()};
  for (auto& a : copia) argv.push_back(a.data());
  argv.push_back(nullptr);
  ::execv(eseguibile.c_str(), argv.data());
  ::_exit(127);
}

}  // namespace

std::vector<Risultato> esegui_insieme(const std::vector<std::vector<std::string>>& righe,
                                      const fs::path& cartella) {
  CartellaTemporanea uscite;
  std::vector<pid_t> figli;
  for (size_t i = 0; i < righe.size(); ++i) {
    const std::string n = std::to_string(i);
    figli.push_back(figlio_programma(righe[i], cartella, (uscite / (n + ".out")).c_str(),
                                     (uscite / (n + ".err")).c_str()));
  }
  std::vector<Risultato> risultati;
  for (size_t i = 0; i < figli.size(); ++i) {
    Risultato r;
    r.stato = attendi_processo(figli[i]);
    r.out = leggi(uscite / (std::to_string(i) + ".out"));
    r.err = leggi(uscite / (std::to_string(i) + ".err"));
    risultati.push_back(std::move(r));
  }
  return risultati;
}

int avvia_programma(const std::vector<std::string>& argomenti, const fs::path& cartella) {
  return figlio_programma(argomenti, cartella, "/dev/null", "/dev/null");
}

int avvia_programma(const std::vector<std::string>& argomenti, const fs::path& cartella,
                    const fs::path& out, const fs::path& err) {
  return figlio_programma(argomenti, cartella, fs::absolute(out).c_str(),
                          fs::absolute(err).c_str());
}

int attendi_processo(int pid) {
  int stato = 0;
  if (::waitpid(pid, &stato, 0) != pid) return -1000;
  if (WIFSIGNALED(stato)) return -WTERMSIG(stato);
  return WIFEXITED(stato) ? WEXITSTATUS(stato) : -1000;
}

int processo_terminato() {
  const pid_t morto = ::fork();
  if (morto == 0) ::_exit(0);
  ::waitpid(morto, nullptr, 0);
  return morto;
}

int questo_processo() { return ::getpid(); }

void uccidi(int pid) { ::kill(pid, SIGKILL); }

}  // namespace prova
