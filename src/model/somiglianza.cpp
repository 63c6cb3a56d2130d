#include "model/somiglianza.h"

#include <algorithm>
#include <vector>

namespace compattatore {

size_t distanza(std::string_view a, std::string_view b) {
  // Three rows of the table: two back for a swap, the previous one and the current one.
  std::vector<size_t> due_fa(b.size() + 1), prima(b.size() + 1), riga(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) prima[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    riga[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t sostituzione = prima[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
      riga[j] = std::min({prima[j] + 1, riga[j - 1] + 1, sostituzione});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        riga[j] = std::min(riga[j], due_fa[j - 2] + 1);
      }
    }
    std::swap(due_fa, prima);
    std::swap(prima, riga);
  }
  return prima[b.size()];
}

std::optional<std::string> forse_intendevi(std::string_view parola,
                                           std::span<const std::string> candidati) {
  std::optional<std::string> migliore;
  size_t minima = 3;
  for (const std::string& c : candidati) {
    const size_t d = distanza(parola, c);
    if (d < minima) {
      minima = d;
      migliore = c;
    }
  }
  return migliore;
}

}  // namespace compattatore
