// The test helpers that ask the system on Windows: temporary folders, SHA-256 (the system's CNG),
// the built program run as a process of its own.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
// After windows.h, which it needs.
#include <bcrypt.h>

#include <map>
#include <mutex>
#include <random>
#include <stdexcept>

#include "support/supporto.h"

namespace prova {
namespace fs = std::filesystem;

namespace {

std::wstring utf16(const std::string& testo) {
  if (testo.empty()) return {};
  const int n =
      ::MultiByteToWideChar(CP_UTF8, 0, testo.data(), static_cast<int>(testo.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, testo.data(), static_cast<int>(testo.size()), w.data(), n);
  return w;
}

// One argument of a command line, written so that the program's start-up code reads it back as
// it was: quoted, with its quotes and the backslashes before them escaped.
std::wstring tra_virgolette(const std::wstring& a) {
  if (!a.empty() && a.find_first_of(L" \t\n\v\"") == std::wstring::npos) return a;
  std::wstring r = L"\"";
  size_t barre = 0;
  for (const wchar_t c : a) {
    if (c == L'\\') {
      ++barre;
      continue;
    }
    r.append(c == L'"' ? 2 * barre + 1 : barre, L'\\');
    barre = 0;
    r += c;
  }
  r.append(2 * barre, L'\\');
  r += L'"';
  return r;
}

// The processes avvia_programma started, by number, until attendi_processo has waited for them.
std::mutex processi_mutex;
std::map<int, HANDLE> processi;

HANDLE file_ereditabile(const fs::path& file) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  const HANDLE h = ::CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 &sa, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("impossibile creare " + file.string());
  return h;
}

// Starts `programma` with `argomenti` in `cartella`, its output going to the files `out` and
// `err`; returns the process and its number.
PROCESS_INFORMATION avvia(const fs::path& programma, const std::vector<std::string>& argomenti,
                          const fs::path& cartella, const fs::path& out, const fs::path& err) {
  const fs::path eseguibile = fs::absolute(programma).make_preferred();
  std::wstring riga = tra_virgolette(eseguibile.native());
  for (const auto& a : argomenti) riga += L" " + tra_virgolette(utf16(a));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = INVALID_HANDLE_VALUE;
  si.hStdOutput = file_ereditabile(out);
  si.hStdError = file_ereditabile(err);
  PROCESS_INFORMATION pi{};
  // The handles are inheritable only from their creation to here: no other child gets them.
  const BOOL avviato = ::CreateProcessW(eseguibile.c_str(), riga.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, cartella.c_str(), &si, &pi);
  ::CloseHandle(si.hStdOutput);
  ::CloseHandle(si.hStdError);
  if (!avviato) throw std::runtime_error("impossibile avviare " + eseguibile.string());
  ::CloseHandle(pi.hThread);
  return pi;
}

int attendi(HANDLE h) {
  ::WaitForSingleObject(h, INFINITE);
  DWORD uscita = 0;
  const bool letto = ::GetExitCodeProcess(h, &uscita) != 0;
  ::CloseHandle(h);
  return letto ? static_cast<int>(uscita) : -1000;
}

}  // namespace

CartellaTemporanea::CartellaTemporanea() {
  std::random_device rd;
  std::uniform_int_distribution<unsigned> cifra(0, 35);
  static constexpr char kCifre[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  for (int tentativo = 0; tentativo < 100; ++tentativo) {
    std::string nome = "compattatore-prova-";
    for (int i = 0; i < 6; ++i) nome += kCifre[cifra(rd)];
    const fs::path p = fs::temp_directory_path() / nome;
    if (fs::create_directory(p)) {
      percorso_ = p;
      return;
    }
  }
  throw std::runtime_error("nessuna cartella temporanea");
}

std::string sha256(const std::string& byte) {
  unsigned char d[32];
  BCRYPT_ALG_HANDLE algoritmo = nullptr;
  BCRYPT_HASH_HANDLE calcolo = nullptr;
  const bool fatto =
      BCRYPT_SUCCESS(
          ::BCryptOpenAlgorithmProvider(&algoritmo, BCRYPT_SHA256_ALGORITHM, nullptr, 0)) &&
      BCRYPT_SUCCESS(::BCryptCreateHash(algoritmo, &calcolo, nullptr, 0, nullptr, 0, 0)) &&
      BCRYPT_SUCCESS(::BCryptHashData(calcolo,
                                      reinterpret_cast<PUCHAR>(const_cast<char*>(byte.data())),
                                      static_cast<ULONG>(byte.size()), 0)) &&
      BCRYPT_SUCCESS(::BCryptFinishHash(calcolo, d, sizeof d, 0));
  if (calcolo != nullptr) ::BCryptDestroyHash(calcolo);
  if (algoritmo != nullptr) ::BCryptCloseAlgorithmProvider(algoritmo, 0);
  if (!fatto) throw std::runtime_error("SHA-256 non calcolato");
  static const char* cifre = "0123456789abcdef";
  std::string h;
  for (const unsigned char b : d) {
    h += cifre[b >> 4];
    h += cifre[b & 0xF];
  }
  return h;
}

Risultato esegui_programma(const std::vector<std::string>& argomenti, const fs::path& cartella,
                           bool /*senza_privilegi*/, const fs::path& programma) {
  const fs::path out_file = cartella.parent_path() / (cartella.filename().string() + ".out");
  const fs::path err_file = cartella.parent_path() / (cartella.filename().string() + ".err");
  Risultato r;
  r.stato = attendi(avvia(programma, argomenti, cartella, out_file, err_file).hProcess);
  r.out = leggi(out_file);
  r.err = leggi(err_file);
  fs::remove(out_file);
  fs::remove(err_file);
  return r;
}

std::vector<Risultato> esegui_insieme(const std::vector<std::vector<std::string>>& righe,
                                      const fs::path& cartella) {
  CartellaTemporanea uscite;
  std::vector<HANDLE> figli;
  for (size_t i = 0; i < righe.size(); ++i) {
    const std::string n = std::to_string(i);
    figli.push_back(avvia(COMPATTATORE_ESEGUIBILE, righe[i], cartella, uscite / (n + ".out"),
                          uscite / (n + ".err"))
                        .hProcess);
  }
  std::vector<Risultato> risultati;
  for (size_t i = 0; i < figli.size(); ++i) {
    Risultato r;
    r.stato = attendi(figli[i]);
    r.out = leggi(uscite / (std::to_string(i) + ".out"));
    r.err = leggi(uscite / (std::to_string(i) + ".err"));
    risultati.push_back(std::move(r));
  }
  return risultati;
}

int avvia_programma(const std::vector<std::string>& argomenti, const fs::path& cartella,
                    const fs::path& out, const fs::path& err) {
  const PROCESS_INFORMATION pi = avvia(COMPATTATORE_ESEGUIBILE, argomenti, cartella, out, err);
  const int pid = static_cast<int>(pi.dwProcessId);
  const std::lock_guard<std::mutex> tenuta(processi_mutex);
  processi[pid] = pi.hProcess;
  return pid;
}

int avvia_programma(const std::vector<std::string>& argomenti, const fs::path& cartella) {
  return avvia_programma(argomenti, cartella, "NUL", "NUL");
}

int attendi_processo(int pid) {
  HANDLE h = nullptr;
  {
    const std::lock_guard<std::mutex> tenuta(processi_mutex);
    const auto it = processi.find(pid);
    if (it == processi.end()) return -1000;
    h = it->second;
    processi.erase(it);
  }
  return attendi(h);
}

void uccidi(int pid) {
  const std::lock_guard<std::mutex> tenuta(processi_mutex);
  const auto it = processi.find(pid);
  if (it != processi.end()) ::TerminateProcess(it->second, 1);
}

int processo_terminato() {
  CartellaTemporanea d;
  const PROCESS_INFORMATION pi =
      avvia(COMPATTATORE_ESEGUIBILE, {"--version"}, d.percorso(), "NUL", "NUL");
  attendi(pi.hProcess);
  return static_cast<int>(pi.dwProcessId);
}

int questo_processo() { return static_cast<int>(::GetCurrentProcessId()); }

}  // namespace prova
