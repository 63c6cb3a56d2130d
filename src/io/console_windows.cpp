// The command line and the standard streams on Windows. The command line is read in UTF-16 and
// converted to UTF-8. A console is written in UTF-16 (WriteConsoleW), which shows every character
// whatever the console's code page; a file or a pipe gets the UTF-8 bytes as they are.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
// After windows.h, which it needs.
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <streambuf>
#include <string>

#include "io/console.h"

namespace compattatore {

namespace {

std::string utf8(const wchar_t* testo) {
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, testo, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string s(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, testo, -1, s.data(), n, nullptr, nullptr);
  s.pop_back();  // the final NUL
  return s;
}

// The bytes at the end of `testo` that begin a UTF-8 character not yet complete.
size_t coda_incompleta(const char* testo, size_t n) {
  for (size_t indietro = 1; indietro <= 3 && indietro <= n; ++indietro) {
    const auto b = static_cast<unsigned char>(testo[n - indietro]);
    if ((b & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    const size_t lunghezza = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    return lunghezza > indietro ? indietro : 0;
  }
  return 0;
}

class BufferStandard final : public std::streambuf {
 public:
  explicit BufferStandard(DWORD quale) : h_(::GetStdHandle(quale)) {
    DWORD modo = 0;
    console_ = h_ != nullptr && h_ != INVALID_HANDLE_VALUE && ::GetConsoleMode(h_, &modo) != 0;
    setp(dati_, dati_ + sizeof dati_);
  }
  BufferStandard(const BufferStandard&) = delete;
  BufferStandard& operator=(const BufferStandard&) = delete;
  ~BufferStandard() override { sync(); }

 protected:
  int_type overflow(int_type c) override {
    if (sync() != 0) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }

  int sync() override {
    const size_t n = static_cast<size_t>(pptr() - pbase());
    // On a console a character cut in two waits for its other bytes (it is never longer than
    // four, and the buffer holds far more).
    const size_t resto = console_ ? coda_incompleta(dati_, n) : 0;
    const bool scritto = manda(dati_, n - resto);
    std::memmove(dati_, dati_ + (n - resto), resto);
    setp(dati_, dati_ + sizeof dati_);
    pbump(static_cast<int>(resto));
    return scritto ? 0 : -1;
  }

 private:
  bool manda(const char* p, size_t n) {
    if (n == 0) return true;
    if (console_) {
      const int lunghezza = static_cast<int>(n);
      const int caratteri = ::MultiByteToWideChar(CP_UTF8, 0, p, lunghezza, nullptr, 0);
      std::wstring testo(static_cast<size_t>(caratteri), L'\0');
      ::MultiByteToWideChar(CP_UTF8, 0, p, lunghezza, testo.data(), caratteri);
      const wchar_t* q = testo.data();
      DWORD resto = static_cast<DWORD>(testo.size());
      while (resto > 0) {
        DWORD scritti = 0;
        if (!::WriteConsoleW(h_, q, resto, &scritti, nullptr) || scritti == 0) return false;
        q += scritti;
        resto -= scritti;
      }
      return true;
    }
    while (n > 0) {
      DWORD scritti = 0;
      if (!::WriteFile(h_, p, static_cast<DWORD>(n), &scritti, nullptr) || scritti == 0) {
        return false;
      }
      p += scritti;
      n -= scritti;
    }
    return true;
  }

  HANDLE h_;
  bool console_ = false;
  char dati_[4096];
};

std::ostream& flusso(DWORD quale) {
  // Never destroyed: a message written while the program ends still has its stream.
  auto* buffer = new BufferStandard(quale);
  auto* s = new std::ostream(buffer);
  // Every message goes out whole at once, and the two streams keep their order.
  s->setf(std::ios::unitbuf);
  return *s;
}

}  // namespace

std::vector<std::string> argomenti_programma(int, char**) {
  int n = 0;
  wchar_t** argomenti = ::CommandLineToArgvW(::GetCommandLineW(), &n);
  std::vector<std::string> a;
  if (argomenti == nullptr) return a;
  for (int i = 1; i < n; ++i) a.push_back(utf8(argomenti[i]));
  ::LocalFree(argomenti);
  return a;
}

std::ostream& uscita_standard() {
  static std::ostream& s = flusso(STD_OUTPUT_HANDLE);
  return s;
}

std::ostream& errore_standard() {
  static std::ostream& s = flusso(STD_ERROR_HANDLE);
  return s;
}

std::istream& ingresso_standard() {
  // The C library's text mode would drop the CR of every CR LF.
  _setmode(_fileno(stdin), _O_BINARY);
  std::cin.tie(nullptr);
  return std::cin;
}

}  // namespace compattatore
