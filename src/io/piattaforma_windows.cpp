// The io layer's system calls on Windows. Names are UTF-16 at the API (std::filesystem::path holds
// them so there); errors keep the system's number, its text, and their std::errc equivalents.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "io/piattaforma.h"

namespace compattatore::piattaforma {
namespace fs = std::filesystem;

namespace {

// The system's errors: the text in the user's language, and the portable condition of each that
// the program asks about.
class CategoriaWindows final : public std::error_category {
 public:
  const char* name() const noexcept override { return "windows"; }

  std::string message(int codice) const override {
    wchar_t* testo = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
        nullptr, static_cast<DWORD>(codice), 0, reinterpret_cast<wchar_t*>(&testo), 0, nullptr);
    std::string s;
    if (n > 0 && testo != nullptr) {
      const int byte = ::WideCharToMultiByte(CP_UTF8, 0, testo, static_cast<int>(n), nullptr, 0,
                                             nullptr, nullptr);
      s.resize(static_cast<size_t>(byte));
      ::WideCharToMultiByte(CP_UTF8, 0, testo, static_cast<int>(n), s.data(), byte, nullptr,
                            nullptr);
    }
    if (testo != nullptr) ::LocalFree(testo);
    // "Access denied.\r\n" reads as "Access denied" after the program's own words.
    while (!s.empty() &&
           (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '.')) {
      s.pop_back();
    }
    if (s.empty()) s = "errore di sistema " + std::to_string(codice);
    return s;
  }

  std::error_condition default_error_condition(int codice) const noexcept override {
    switch (static_cast<DWORD>(codice)) {
      case ERROR_FILE_NOT_FOUND:
      case ERROR_PATH_NOT_FOUND:
      case ERROR_INVALID_DRIVE:
      case ERROR_BAD_NETPATH:
      case ERROR_BAD_NET_NAME:
      case ERROR_INVALID_NAME:
      case ERROR_BAD_PATHNAME:
        return std::errc::no_such_file_or_directory;
      case ERROR_ACCESS_DENIED:
      case ERROR_INVALID_ACCESS:
      case ERROR_CANNOT_MAKE:
      case ERROR_NETWORK_ACCESS_DENIED:
        return std::errc::permission_denied;
      case ERROR_PRIVILEGE_NOT_HELD:
        return std::errc::operation_not_permitted;
      case ERROR_WRITE_PROTECT:
        return std::errc::read_only_file_system;
      case ERROR_DISK_FULL:
      case ERROR_HANDLE_DISK_FULL:
        return std::errc::no_space_on_device;
      case ERROR_FILE_TOO_LARGE:
        return std::errc::file_too_large;
      case ERROR_FILE_EXISTS:
      case ERROR_ALREADY_EXISTS:
        return std::errc::file_exists;
      case ERROR_FILENAME_EXCED_RANGE:
      case ERROR_BUFFER_OVERFLOW:
        return std::errc::filename_too_long;
      case ERROR_DIRECTORY:
        return std::errc::not_a_directory;
      case ERROR_DIR_NOT_EMPTY:
        return std::errc::directory_not_empty;
      case ERROR_SHARING_VIOLATION:
      case ERROR_LOCK_VIOLATION:
      case ERROR_BUSY:
      case ERROR_USER_MAPPED_FILE:
        return std::errc::device_or_resource_busy;
      case ERROR_TOO_MANY_OPEN_FILES:
        return std::errc::too_many_files_open;
      case ERROR_NOT_ENOUGH_MEMORY:
      case ERROR_OUTOFMEMORY:
        return std::errc::not_enough_memory;
      case ERROR_INVALID_HANDLE:
        return std::errc::bad_file_descriptor;
      case ERROR_INVALID_PARAMETER:
        return std::errc::invalid_argument;
      case ERROR_NOT_SAME_DEVICE:
        return std::errc::cross_device_link;
      case ERROR_TOO_MANY_LINKS:
        return std::errc::too_many_links;
      case ERROR_CANT_RESOLVE_FILENAME:
        return std::errc::too_many_symbolic_link_levels;
      case ERROR_INVALID_FUNCTION:
        return std::errc::function_not_supported;
      case ERROR_NOT_SUPPORTED:
        return std::errc::operation_not_supported;
      case ERROR_CRC:
      case ERROR_READ_FAULT:
      case ERROR_WRITE_FAULT:
      case ERROR_GEN_FAILURE:
      case ERROR_IO_DEVICE:
        return std::errc::io_error;
      case ERROR_OPERATION_ABORTED:
        return std::errc::operation_canceled;
      default:
        return {codice, *this};
    }
  }
};

const std::error_category& categoria() {
  static const CategoriaWindows c;
  return c;
}

std::error_code errore(DWORD codice) { return {static_cast<int>(codice), categoria()}; }
std::error_code ultimo_errore() { return errore(::GetLastError()); }

HANDLE maniglia(Maniglia m) { return reinterpret_cast<HANDLE>(m); }

// The name of `file` for the API. A name whose full path is as long as MAX_PATH or longer (a long
// name, a deep folder) is made absolute and given the "\\?\" form, which has no such limit.
std::wstring nome(const fs::path& file) {
  const std::wstring& n = file.native();
  if (n.starts_with(L"\\\\?\\")) return n;
  const DWORD serve = ::GetFullPathNameW(n.c_str(), 0, nullptr, nullptr);
  if (serve == 0 || serve < MAX_PATH - 12) return n;
  std::wstring pieno(serve, L'\0');
  const DWORD scritti = ::GetFullPathNameW(n.c_str(), serve, pieno.data(), nullptr);
  if (scritti == 0 || scritti >= serve) return n;
  pieno.resize(scritti);
  if (pieno.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + pieno.substr(2);
  return L"\\\\?\\" + pieno;
}

// The last error was a name that is being removed: it is gone once its last user closes it.
bool rimozione_in_corso() {
  using Funzione = LONG(NTAPI*)();
  static const auto stato = reinterpret_cast<Funzione>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetLastNtStatus")));
  constexpr LONG kRimozioneInCorso = static_cast<LONG>(0xC0000056);  // STATUS_DELETE_PENDING
  return stato != nullptr && stato() == kRimozioneInCorso;
}

bool sola_lettura(const std::wstring& n) {
  const DWORD a = ::GetFileAttributesW(n.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY) != 0;
}

void cambia_sola_lettura(const std::wstring& n, bool si) {
  const DWORD a = ::GetFileAttributesW(n.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return;
  const DWORD nuovi = si ? (a | FILE_ATTRIBUTE_READONLY) : (a & ~DWORD{FILE_ATTRIBUTE_READONLY});
  ::SetFileAttributesW(n.c_str(), nuovi == 0 ? FILE_ATTRIBUTE_NORMAL : nuovi);
}

// Removes the name `n`. A read-only file is removed too, as on POSIX systems, where the bits of
// the file do not guard its name.
DWORD elimina(const std::wstring& n) {
  if (::DeleteFileW(n.c_str())) return ERROR_SUCCESS;
  DWORD e = ::GetLastError();
  if (e == ERROR_ACCESS_DENIED && sola_lettura(n)) {
    cambia_sola_lettura(n, false);
    if (::DeleteFileW(n.c_str())) return ERROR_SUCCESS;
    e = ::GetLastError();
    cambia_sola_lettura(n, true);
  }
  return e;
}

// A file that another program (a virus scanner, an indexer) holds for a moment without sharing
// it: try again for up to about a second. `anche_negato` counts a denied access as such a moment
// too: a file that is open anywhere (a reader, or another run looking at it) cannot be replaced.
template <typename Passo>
BOOL con_pazienza(Passo passo, bool anche_negato = false) {
  for (int tentativo = 0;; ++tentativo) {
    if (passo()) return TRUE;
    const DWORD e = ::GetLastError();
    const bool momento = e == ERROR_SHARING_VIOLATION || e == ERROR_LOCK_VIOLATION ||
                         (anche_negato && e == ERROR_ACCESS_DENIED);
    if (!momento || tentativo == 20) {
      ::SetLastError(e);
      return FALSE;
    }
    ::Sleep(static_cast<DWORD>(10 + 5 * tentativo));
  }
}

// The register of files to remove when a console event ends the process. The handler runs on a
// thread of its own: it takes `sezione`, which the steps that must not be cut in two hold too,
// and keeps it until the process is gone.
struct Sezione {
  CRITICAL_SECTION cs;
  Sezione() { ::InitializeCriticalSection(&cs); }
  void lock() { ::EnterCriticalSection(&cs); }
  void unlock() { ::LeaveCriticalSection(&cs); }
};
Sezione sezione;
constexpr int kPosti = 128;
std::wstring* registro[kPosti];

BOOL WINAPI al_segnale(DWORD /*evento*/) {
  sezione.lock();
  for (std::wstring* f : registro) {
    if (f != nullptr) elimina(*f);
  }
  // Not handled here: the next handler, the system's own, ends the process as it would have.
  // The section stays taken, so no step of the run begins meanwhile.
  return FALSE;
}

void installa_una_volta() {
  static std::once_flag installato;
  std::call_once(installato, [] { ::SetConsoleCtrlHandler(al_segnale, TRUE); });
}

bool identita(HANDLE h, BY_HANDLE_FILE_INFORMATION& i) {
  return ::GetFileInformationByHandle(h, &i) != 0;
}

// The volume and file number of the file `file` names (a link followed), or false.
bool identita(const fs::path& file, BY_HANDLE_FILE_INFORMATION& i) {
  const HANDLE h = ::CreateFileW(nome(file).c_str(), FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool letto = identita(h, i);
  ::CloseHandle(h);
  return letto;
}

bool uguali(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

}  // namespace

std::error_code crea_esclusivo(const fs::path& file, Maniglia& m) {
  // Shared for removal too: the handler of console events removes the file while it is open.
  const HANDLE h = ::CreateFileW(nome(file).c_str(), GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return ultimo_errore();
  m = reinterpret_cast<Maniglia>(h);
  return {};
}

std::error_code scrivi(Maniglia m, std::string_view dati) {
  const char* p = dati.data();
  size_t resto = dati.size();
  while (resto > 0) {
    const DWORD pezzo = static_cast<DWORD>(std::min<size_t>(resto, 1u << 30));
    DWORD scritti = 0;
    if (!::WriteFile(maniglia(m), p, pezzo, &scritti, nullptr)) return ultimo_errore();
    p += scritti;
    resto -= scritti;
  }
  return {};
}

std::error_code imposta_permessi(Maniglia m, fs::perms permessi) {
  // The one permission a Windows file carries in itself: whether it can be written.
  if ((permessi & fs::perms::owner_write) != fs::perms::none) return {};
  FILE_BASIC_INFO info{};
  if (!::GetFileInformationByHandleEx(maniglia(m), FileBasicInfo, &info, sizeof info)) {
    return ultimo_errore();
  }
  info.FileAttributes |= FILE_ATTRIBUTE_READONLY;
  info.FileAttributes &= ~DWORD{FILE_ATTRIBUTE_NORMAL};
  if (!::SetFileInformationByHandle(maniglia(m), FileBasicInfo, &info, sizeof info)) {
    return ultimo_errore();
  }
  return {};
}

std::error_code chiudi_su_disco(Maniglia m) {
  std::error_code e;
  // A device that cannot flush (ERROR_INVALID_FUNCTION) has nothing to flush to.
  if (!::FlushFileBuffers(maniglia(m)) && ::GetLastError() != ERROR_INVALID_FUNCTION) {
    e = ultimo_errore();
  }
  if (!::CloseHandle(maniglia(m)) && !e) e = ultimo_errore();
  return e;
}

void chiudi(Maniglia m) {
  if (m != kNessunaManiglia) ::CloseHandle(maniglia(m));
}

void sincronizza_cartella(const fs::path&) {
  // The renames are written through (MOVEFILE_WRITE_THROUGH): nothing is left to flush.
}

std::error_code sostituisci(const fs::path& da, const fs::path& a) {
  const std::wstring sorgente = nome(da);
  const std::wstring destinazione = nome(a);
  auto sposta = [&] {
    return ::MoveFileExW(sorgente.c_str(), destinazione.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  };
  if (con_pazienza(sposta)) return {};
  DWORD e = ::GetLastError();
  // A read-only target cannot be replaced as it stands: its name is replaced as on POSIX
  // systems, and the new file carries the bit of its own (see imposta_permessi).
  if (e == ERROR_ACCESS_DENIED && sola_lettura(destinazione)) {
    cambia_sola_lettura(destinazione, false);
    if (con_pazienza(sposta)) return {};
    const DWORD ancora = ::GetLastError();
    cambia_sola_lettura(destinazione, true);
    return errore(ancora);
  }
  // A target open elsewhere, even with all sharing, refuses the new name until it is closed.
  if (e == ERROR_ACCESS_DENIED) {
    if (con_pazienza(sposta, true)) return {};
    e = ::GetLastError();
  }
  return errore(e);
}

std::error_code collega(const fs::path& esistente, const fs::path& nuovo) {
  if (!::CreateHardLinkW(nome(nuovo).c_str(), nome(esistente).c_str(), nullptr)) {
    return ultimo_errore();
  }
  return {};
}

std::error_code rimuovi(const fs::path& file) {
  if (const DWORD e = elimina(nome(file)); e != ERROR_SUCCESS) return errore(e);
  return {};
}

// Reading goes through the C library, whose errors are the portable numbers (errno).
std::error_code apri_lettura(const fs::path& file, Maniglia& m) {
  const int f = ::_wopen(nome(file).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  if (f < 0) return {errno, std::generic_category()};
  m = f;
  return {};
}

std::error_code leggi(Maniglia m, char* dove, std::size_t quanti, std::size_t& letti) {
  const int n = ::_read(static_cast<int>(m), dove,
                        static_cast<unsigned>(std::min<std::size_t>(quanti, 1u << 30)));
  if (n < 0) return {errno, std::generic_category()};
  letti = static_cast<std::size_t>(n);
  return {};
}

void chiudi_lettura(Maniglia m) {
  if (m != kNessunaManiglia) ::_close(static_cast<int>(m));
}

std::error_code voci_cartella(const fs::path& cartella, std::vector<fs::path>& voci) {
  std::error_code ec;
  for (fs::directory_iterator it(cartella, ec), fine; !ec && it != fine; it.increment(ec)) {
    voci.push_back(it->path());
  }
  return ec;
}

std::error_code apri_blocco(const fs::path& file, Maniglia& m) {
  const std::wstring n = nome(file);
  constexpr DWORD kCondiviso = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  for (int tentativo = 0;; ++tentativo) {
    HANDLE h = ::CreateFileW(n.c_str(), GENERIC_READ | GENERIC_WRITE, kCondiviso, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      m = reinterpret_cast<Maniglia>(h);
      return {};
    }
    const DWORD e = ::GetLastError();
    if (e == ERROR_ACCESS_DENIED && rimozione_in_corso() && tentativo < 2000) {
      // The run that held the lock removed the file, and the runs that waited on it have not all
      // closed it yet: the name is free again in a moment.
      ::Sleep(5);
      continue;
    }
    if (e == ERROR_ACCESS_DENIED) {
      // A lock file that another user left may be readable only: enough to lock it.
      h = ::CreateFileW(n.c_str(), GENERIC_READ, kCondiviso, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
      if (h != INVALID_HANDLE_VALUE) {
        m = reinterpret_cast<Maniglia>(h);
        return {};
      }
    }
    return errore(e);
  }
}

std::error_code blocca(Maniglia m, bool attendi) {
  // A lock of the file's first byte. Byte-range locks belong to the open file: two runs in one
  // process exclude each other too.
  OVERLAPPED dove{};
  const DWORD modo = LOCKFILE_EXCLUSIVE_LOCK | (attendi ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
  if (::LockFileEx(maniglia(m), modo, 0, 1, 0, &dove)) return {};
  const DWORD e = ::GetLastError();
  if (e == ERROR_LOCK_VIOLATION || e == ERROR_IO_PENDING) {
    return std::make_error_code(std::errc::resource_unavailable_try_again);
  }
  return errore(e);
}

bool blocco_non_supportato(std::error_code e) {
  return e == std::errc::no_lock_available || e == std::errc::operation_not_supported ||
         e == std::errc::function_not_supported;
}

bool e_ancora(Maniglia m, const fs::path& file) {
  BY_HANDLE_FILE_INFORMATION aperto{};
  BY_HANDLE_FILE_INFORMATION nominato{};
  return identita(maniglia(m), aperto) && identita(file, nominato) && uguali(aperto, nominato);
}

bool stesso_file(const fs::path& a, const fs::path& b) {
  BY_HANDLE_FILE_INFORMATION primo{};
  BY_HANDLE_FILE_INFORMATION secondo{};
  return identita(a, primo) && identita(b, secondo) && uguali(primo, secondo);
}

void trattieni_segnali() {
  installa_una_volta();
  sezione.lock();
}

void lascia_segnali() { sezione.unlock(); }

namespace {
// The interrupt under a watch: a flag, and an event that wakes the wait.
std::atomic<bool> interrotto{false};
HANDLE sveglia = nullptr;

BOOL WINAPI all_interruzione(DWORD evento) {
  if (evento != CTRL_C_EVENT && evento != CTRL_BREAK_EVENT) return FALSE;  // the next one's
  interrotto.store(true);
  if (sveglia != nullptr) ::SetEvent(sveglia);
  return TRUE;
}
}  // namespace

void intercetta_interruzione() {
  static std::once_flag fatto;
  std::call_once(fatto, [] {
    sveglia = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // The handlers run last-installed first: this one comes before the one that removes the
    // registered files and lets the process end.
    installa_una_volta();
    ::SetConsoleCtrlHandler(all_interruzione, TRUE);
  });
}

bool interruzione_arrivata() { return interrotto.load(); }

// No notices here: the caller looks at the files every time it wakes.
Maniglia apri_notizie(const std::vector<fs::path>& /*cartelle*/) { return kNessunaManiglia; }

bool attendi_notizie(Maniglia /*m*/, int ms, const std::vector<fs::path>& /*nomi*/) {
  if (interrotto.load()) return false;
  if (sveglia != nullptr) {
    ::WaitForSingleObject(sveglia, static_cast<DWORD>(ms));
  } else {
    ::Sleep(static_cast<DWORD>(ms));
  }
  return false;
}

void chiudi_notizie(Maniglia /*m*/) {}

int registra_da_rimuovere(const fs::path& file) {
  installa_una_volta();
  auto copia = std::make_unique<std::wstring>(nome(file));
  const std::lock_guard<Sezione> tenuta(sezione);
  for (int i = 0; i < kPosti; ++i) {
    if (registro[i] == nullptr) {
      registro[i] = copia.release();
      return i;
    }
  }
  return -1;
}

void dimentica(int biglietto) {
  if (biglietto < 0 || biglietto >= kPosti) return;
  std::wstring* f = nullptr;
  {
    const std::lock_guard<Sezione> tenuta(sezione);
    f = registro[biglietto];
    registro[biglietto] = nullptr;
  }
  delete f;
}

long id_processo() { return static_cast<long>(::GetCurrentProcessId()); }

bool processo_vivo(long id) {
  if (id <= 0) return false;
  const HANDLE h = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
  if (h == nullptr) return ::GetLastError() == ERROR_ACCESS_DENIED;
  DWORD uscita = 0;
  const bool vivo = ::GetExitCodeProcess(h, &uscita) && uscita == STILL_ACTIVE;
  ::CloseHandle(h);
  return vivo;
}

fs::path cartella_eseguibile() {
  std::wstring percorso(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n =
        ::GetModuleFileNameW(nullptr, percorso.data(), static_cast<DWORD>(percorso.size()));
    if (n == 0) return {};
    if (n < percorso.size()) {
      percorso.resize(n);
      return fs::path(percorso).parent_path();
    }
    if (percorso.size() >= 32768) return {};
    percorso.resize(percorso.size() * 2);
  }
}

void consiglia_pagine_grandi(void*, std::size_t) {
  // Large pages on Windows need a privilege that a program of an author's does not hold.
}

}  // namespace compattatore::piattaforma
