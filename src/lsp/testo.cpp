#include "lsp/testo.h"

#include <algorithm>

#include "model/cp1252.h"

namespace compattatore::lsp {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// The length of the character at byte `i` of `s` (1 for a byte that starts no valid sequence),
// and its UTF-16 units.
size_t carattere_a(std::string_view s, size_t i, int& unita) {
  char32_t cp = 0;
  const size_t n = cp1252::sequenza_utf8(s, i, cp);
  if (n == 0) {
    unita = 1;
    return 1;
  }
  unita = cp >= 0x10000 ? 2 : 1;
  return n;
}

}  // namespace

size_t caratteri(std::string_view utf8) {
  size_t n = 0;
  int unita = 0;
  for (size_t i = 0; i < utf8.size(); ++n) i += carattere_a(utf8, i, unita);
  return n;
}

size_t byte_del_carattere(std::string_view utf8, size_t n) {
  size_t i = 0;
  int unita = 0;
  for (size_t c = 0; c < n && i < utf8.size(); ++c) i += carattere_a(utf8, i, unita);
  return std::min(i, utf8.size());
}

TestoDocumento TestoDocumento::da_byte(std::string byte) {
  if (byte.starts_with(kBom)) return TestoDocumento(byte.substr(kBom.size()));
  if (cp1252::sembra_utf8(byte)) return TestoDocumento(std::move(byte));
  return TestoDocumento(cp1252::a_utf8(byte));
}

void TestoDocumento::indicizza() {
  inizi_.assign(1, 0);
  for (size_t i = 0; i < testo_.size(); ++i) {
    const char c = testo_[i];
    if (c == '\n' || (c == '\r' && (i + 1 >= testo_.size() || testo_[i + 1] != '\n'))) {
      inizi_.push_back(i + 1);
    }
  }
}

std::string_view TestoDocumento::riga(size_t r) const {
  if (r >= inizi_.size()) return {};
  const size_t inizio = inizi_[r];
  size_t fine = r + 1 < inizi_.size() ? inizi_[r + 1] : testo_.size();
  while (fine > inizio && (testo_[fine - 1] == '\n' || testo_[fine - 1] == '\r')) --fine;
  return std::string_view(testo_).substr(inizio, fine - inizio);
}

int TestoDocumento::utf16(size_t r, size_t colonna) const {
  const std::string_view s = riga(r);
  int u = 0;
  size_t i = 0;
  for (size_t c = 0; c < colonna && i < s.size(); ++c) {
    int unita = 0;
    i += carattere_a(s, i, unita);
    u += unita;
  }
  return u;
}

size_t TestoDocumento::colonna(size_t r, int unita_cercate) const {
  const std::string_view s = riga(r);
  int u = 0;
  size_t i = 0;
  size_t c = 0;
  while (i < s.size()) {
    int unita = 0;
    const size_t n = carattere_a(s, i, unita);
    if (u + unita > unita_cercate) break;
    u += unita;
    i += n;
    ++c;
  }
  return c;
}

Posizione TestoDocumento::dentro(Posizione p) const {
  if (p.riga < 0) return {0, 0};
  const size_t ultima = inizi_.size() - 1;
  if (static_cast<size_t>(p.riga) > ultima) {
    const size_t r = ultima;
    return {static_cast<int>(r), utf16(r, caratteri(riga(r)))};
  }
  const auto r = static_cast<size_t>(p.riga);
  const size_t c = colonna(r, std::max(p.carattere, 0));
  return {p.riga, utf16(r, c)};
}

size_t TestoDocumento::offset(Posizione p) const {
  const Posizione q = dentro(p);
  const auto r = static_cast<size_t>(q.riga);
  return inizi_[r] + byte_del_carattere(riga(r), colonna(r, q.carattere));
}

void TestoDocumento::sostituisci(Posizione da, Posizione a, std::string_view nuovo) {
  size_t inizio = offset(da);
  size_t fine = offset(a);
  if (fine < inizio) std::swap(inizio, fine);
  testo_.replace(inizio, fine - inizio, nuovo);
  indicizza();
}

}  // namespace compattatore::lsp
