#include "support/supporto.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace prova {
namespace fs = std::filesystem;

CartellaTemporanea::CartellaTemporanea() {
  std::string modello = (fs::temp_directory_path() / "compattatore-prova-XXXXXX").string();
  if (::mkdtemp(modello.data()) == nullptr) throw std::runtime_error("mkdtemp");
  percorso_ = modello;
}

CartellaTemporanea::~CartellaTemporanea() {
  std::error_code ec;
  // Folders made read-only by a test must become writable again to be removed.
  for (auto it = fs::recursive_directory_iterator(percorso_, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::permissions(percorso_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(percorso_, ec);
}

std::string leggi(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("impossibile leggere " + file.string());
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
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

void controlla_byte(const fs::path& cartella, std::span<const FileAtteso> attesi) {
  for (const auto& f : attesi) {
    const std::string byte = leggi(cartella / f.nome);
    EXPECT_EQ(byte.size(), f.dimensione) << f.nome;
    EXPECT_EQ(sha256(byte), f.sha256) << f.nome;
  }
}

std::string righe(const std::vector<std::string>& linee) {
  std::string s;
  for (const auto& l : linee) s += l + "\r\n";
  return s;
}

std::string sorgente_linea(const std::vector<std::string>& elementi, int32_t lunghezza,
                           const std::vector<std::string>& generale) {
  std::vector<std::string> r = {"[generale]",
                                "lunghezza percorso,    " + std::to_string(lunghezza)};
  r.insert(r.end(), generale.begin(), generale.end());
  r.push_back("[curve]");
  r.insert(r.end(), elementi.begin(), elementi.end());
  r.push_back("[fine]");
  return righe(r);
}

std::string sorgente_treno(const std::vector<std::string>& linee) {
  std::vector<std::string> r = {"[generale]"};
  r.insert(r.end(), linee.begin(), linee.end());
  r.push_back("[fine]");
  r.push_back("riferimento fine del file");
  return righe(r);
}

void scrivi(const fs::path& file, const std::string& contenuto) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << contenuto;
  if (!out) throw std::runtime_error("impossibile scrivere " + file.string());
}

std::vector<std::string> elenco_file(const fs::path& cartella) {
  std::vector<std::string> nomi;
  for (const auto& e : fs::directory_iterator(cartella))
    nomi.push_back(e.path().filename().string());
  std::sort(nomi.begin(), nomi.end());
  return nomi;
}

std::vector<std::string> righe_crlf(const std::string& byte) {
  std::vector<std::string> righe;
  size_t inizio = 0;
  while (inizio < byte.size()) {
    size_t fine = byte.find("\r\n", inizio);
    if (fine == std::string::npos) {
      ADD_FAILURE() << "riga " << righe.size() + 1 << " senza CR LF alla fine del file";
      fine = byte.size();
    }
    righe.push_back(byte.substr(inizio, fine - inizio));
    EXPECT_EQ(righe.back().find_first_of("\r\n"), std::string::npos)
        << "CR o LF isolato nella riga " << righe.size();
    inizio = fine + 2;
  }
  return righe;
}

Attesi& Attesi::u8(unsigned v) {
  b_ += static_cast<char>(v & 0xFF);
  return *this;
}
Attesi& Attesi::i16(int v) {
  const auto u = static_cast<uint16_t>(v);
  b_ += static_cast<char>(u & 0xFF);
  b_ += static_cast<char>(u >> 8);
  return *this;
}
Attesi& Attesi::i32(long long v) {
  const auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) b_ += static_cast<char>((u >> (8 * i)) & 0xFF);
  return *this;
}
Attesi& Attesi::f64(double v) {
  uint64_t u;
  std::memcpy(&u, &v, sizeof u);
  for (int i = 0; i < 8; ++i) b_ += static_cast<char>((u >> (8 * i)) & 0xFF);
  return *this;
}
Attesi& Attesi::testo(const std::string& t) {
  i16(static_cast<int>(t.size()));
  b_ += t;
  return *this;
}
Attesi& Attesi::testo_puro(const std::string& t) {
  b_ += t;
  return *this;
}
Attesi& Attesi::zeri(size_t n) {
  b_.append(n, '\0');
  return *this;
}

namespace {
constexpr uid_t kNessuno = 65534;
bool lascia_privilegi() {
  if (::geteuid() != 0) return true;
  return ::setgroups(0, nullptr) == 0 && ::setgid(kNessuno) == 0 && ::setuid(kNessuno) == 0;
}
}  // namespace

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

const fs::path& cartella_incorporata() {
  static const CartellaTemporanea cartella;
  static const bool fatto = [] {
    const Risultato r =
        esegui_programma({"--dir", cartella.percorso().string()}, cartella.percorso());
    if (r.stato != 0) throw std::runtime_error("la corsa normale non riesce: " + r.err);
    return true;
  }();
  (void)fatto;
  return cartella.percorso();
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

int attendi_processo(int pid) {
  int stato = 0;
  if (::waitpid(pid, &stato, 0) != pid) return -1000;
  if (WIFSIGNALED(stato)) return -WTERMSIG(stato);
  return WIFEXITED(stato) ? WEXITSTATUS(stato) : -1000;
}

}  // namespace prova
