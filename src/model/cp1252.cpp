#include "model/cp1252.h"

#include <array>
#include <cstdint>

namespace compattatore::cp1252 {
namespace {

// Code points of bytes 0x80 to 0x9F; 0 marks the five bytes the code page leaves undefined.
constexpr std::array<char32_t, 32> kAlti = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::optional<unsigned char> byte_di(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
  for (size_t i = 0; i < kAlti.size(); ++i) {
    if (kAlti[i] != 0 && kAlti[i] == cp) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

std::string esadecimale(char32_t cp) {
  static const char* cifre = "0123456789ABCDEF";
  std::string s = "U+";
  bool inizio = false;
  for (int shift = 20; shift >= 0; shift -= 4) {
    const auto c = static_cast<unsigned>((cp >> shift) & 0xF);
    if (c != 0 || shift <= 12) inizio = true;
    if (inizio) s += cifre[c];
  }
  return s;
}

void aggiungi_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The strictly valid UTF-8 sequence at `i`: its length and code point, or length 0.
size_t sequenza(std::string_view s, size_t i, char32_t& cp) {
  const auto c0 = static_cast<unsigned char>(s[i]);
  if (c0 < 0x80) {
    cp = c0;
    return 1;
  }
  size_t n = 0;
  char32_t minimo = 0;
  if (c0 >= 0xC2 && c0 <= 0xDF) {
    n = 2;
    cp = c0 & 0x1F;
    minimo = 0x80;
  } else if (c0 >= 0xE0 && c0 <= 0xEF) {
    n = 3;
    cp = c0 & 0x0F;
    minimo = 0x800;
  } else if (c0 >= 0xF0 && c0 <= 0xF4) {
    n = 4;
    cp = c0 & 0x07;
    minimo = 0x10000;
  } else {
    return 0;  // a continuation byte, an overlong lead (C0, C1) or a lead beyond U+10FFFF
  }
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    const auto ck = static_cast<unsigned char>(s[i + k]);
    if ((ck & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (ck & 0x3F);
  }
  if (cp < minimo || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

}  // namespace

std::optional<Inciampo> primo_inciampo(std::string_view utf8) {
  size_t i = 0;
  while (i < utf8.size()) {
    char32_t cp = 0;
    const size_t n = sequenza(utf8, i, cp);
    if (n == 0) return Inciampo{i, 1, false, 0};
    if (!byte_di(cp)) return Inciampo{i, n, true, cp};
    i += n;
  }
  return std::nullopt;
}

bool sembra_utf8(std::string_view byte) {
  bool multibyte = false;
  size_t i = 0;
  while (i < byte.size()) {
    char32_t cp = 0;
    const size_t n = sequenza(byte, i, cp);
    if (n == 0) return false;
    multibyte = multibyte || n > 1;
    i += n;
  }
  return multibyte;
}

std::string codice_unicode(char32_t cp) { return esadecimale(cp); }

size_t sequenza_utf8(std::string_view s, size_t i, char32_t& cp) { return sequenza(s, i, cp); }

std::string da_utf8(std::string_view utf8) {
  // Strict UTF-8: every sequence in its shortest form, no surrogate halves, nothing past
  // U+10FFFF. An overlong form would let "/" or NUL through as some other byte sequence.
  static constexpr char32_t kMinimo[] = {0, 0, 0x80, 0x800, 0x10000};
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    const auto c0 = static_cast<unsigned char>(utf8[i]);
    auto errato = [i](const char* perche = "") {
      return NonRappresentabile("testo non UTF-8 al byte " + std::to_string(i) + perche);
    };
    char32_t cp = 0;
    size_t n = 0;
    if (c0 < 0x80) {
      cp = c0;
      n = 1;
    } else if ((c0 & 0xE0) == 0xC0) {
      cp = c0 & 0x1F;
      n = 2;
    } else if ((c0 & 0xF0) == 0xE0) {
      cp = c0 & 0x0F;
      n = 3;
    } else if ((c0 & 0xF8) == 0xF0) {
      cp = c0 & 0x07;
      n = 4;
    } else {
      throw errato();
    }
    if (i + n > utf8.size()) throw NonRappresentabile("testo UTF-8 troncato");
    for (size_t k = 1; k < n; ++k) {
      const auto ck = static_cast<unsigned char>(utf8[i + k]);
      if ((ck & 0xC0) != 0x80) throw errato();
      cp = (cp << 6) | (ck & 0x3F);
    }
    if (cp < kMinimo[n]) throw errato(" (forma troppo lunga)");
    if (cp >= 0xD800 && cp <= 0xDFFF) throw errato(" (surrogato)");
    if (cp > 0x10FFFF) throw errato(" (oltre U+10FFFF)");
    const auto b = byte_di(cp);
    if (!b) {
      throw NonRappresentabile("il carattere " + esadecimale(cp) + " (\"" +
                               std::string(utf8.substr(i, n)) + "\") non esiste in Windows-1252");
    }
    out += static_cast<char>(*b);
    i += n;
  }
  return out;
}

std::string a_utf8(std::string_view byte) {
  std::string out;
  out.reserve(byte.size());
  for (const char ch : byte) {
    const auto b = static_cast<unsigned char>(ch);
    char32_t cp = b;
    if (b >= 0x80 && b < 0xA0) cp = kAlti[b - 0x80] != 0 ? kAlti[b - 0x80] : 0xFFFD;
    aggiungi_utf8(out, cp);
  }
  return out;
}

unsigned char minuscola(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
  switch (c) {
    case 0x8A:
      return 0x9A;  // Š
    case 0x8C:
      return 0x9C;  // Œ
    case 0x8E:
      return 0x9E;  // Ž
    case 0x9F:
      return 0xFF;  // Ÿ
    default:
      return c;
  }
}

std::string minuscole(std::string_view byte) {
  std::string r(byte);
  for (char& c : r) c = static_cast<char>(minuscola(static_cast<unsigned char>(c)));
  return r;
}

}  // namespace compattatore::cp1252

namespace compattatore {

std::string testo_leggibile(std::string_view byte) {
  std::string pulito(byte);
  for (char& c : pulito) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) c = '\x81';  // a byte the code page leaves undefined: U+FFFD
  }
  return cp1252::a_utf8(pulito);
}

}  // namespace compattatore
