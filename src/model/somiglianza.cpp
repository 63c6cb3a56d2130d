#include "model/somiglianza.h"

#include <algorithm>
#include <array>
#include <vector>

namespace compattatore {

size_t distanza(std::string_view a, std::string_view b, size_t limite) {
  // The distance is at least the difference in length.
  if ((a.size() > b.size() ? a.size() - b.size() : b.size() - a.size()) >= limite) return limite;
  // Three rows of the table: two back for a swap, the previous one and the current one.
  // Words are short: the rows live on the stack up to 64 characters, in one allocation beyond.
  const size_t n = b.size() + 1;
  std::array<size_t, 3 * 65> breve;
  std::vector<size_t> lunga;
  size_t* celle = breve.data();
  if (n > 65) {
    lunga.resize(3 * n);
    celle = lunga.data();
  }
  size_t* due_fa = celle;
  size_t* prima = celle + n;
  size_t* riga = celle + 2 * n;
  for (size_t j = 0; j <= b.size(); ++j) prima[j] = j;
  size_t minimo_prima = 0;
  for (size_t i = 1; i <= a.size(); ++i) {
    riga[0] = i;
    size_t minimo_riga = riga[0];
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t sostituzione = prima[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
      size_t d = std::min(std::min(prima[j], riga[j - 1]) + 1, sostituzione);
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d = std::min(d, due_fa[j - 2] + 1);
      }
      riga[j] = d;
      minimo_riga = std::min(minimo_riga, d);
    }
    // A cell is at least the least of the row before it, or of the row two back plus one (a
    // swap): with two rows at or past the limit, every later one is too.
    if (minimo_riga >= limite && minimo_prima >= limite) return limite;
    minimo_prima = minimo_riga;
    std::swap(due_fa, prima);
    std::swap(prima, riga);
  }
  return std::min(prima[b.size()], limite);
}

std::optional<std::string> forse_intendevi(std::string_view parola,
                                           std::span<const std::string> candidati) {
  std::optional<std::string> migliore;
  size_t minima = 3;
  for (const std::string& c : candidati) {
    // The distance is at least the difference in length: such a candidate cannot be closer.
    const size_t scarto =
        parola.size() > c.size() ? parola.size() - c.size() : c.size() - parola.size();
    if (scarto >= minima) continue;
    const size_t d = distanza(parola, c);
    if (d < minima) {
      minima = d;
      migliore = c;
    }
  }
  return migliore;
}

}  // namespace compattatore
