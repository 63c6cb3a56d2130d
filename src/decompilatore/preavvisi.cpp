#include "decompilatore/preavvisi.h"

#include <functional>
#include <map>
#include <optional>
#include <queue>

namespace compattatore {
namespace {

// Which source must come before which: an edge a → b for each of `dopo[a]`.
struct Vincoli {
  std::vector<std::vector<size_t>> dopo;
  std::vector<size_t> entranti;

  explicit Vincoli(size_t quanti) : dopo(quanti), entranti(quanti, 0) {}
  void prima_di(size_t a, size_t b) {
    dopo[a].push_back(b);
    ++entranti[b];
  }
};

uint8_t byte_scritto(const FontePreavvisi& f, int64_t s) {
  for (const auto& [k, b] : f.scritture) {
    if (k == s) return b;
  }
  return 0;
}

// Each stretch wants the source that writes its stored byte after every other that writes there.
Vincoli vincoli(Ricostruzione& r, const std::vector<FontePreavvisi>& fonti) {
  std::map<int64_t, std::vector<size_t>> per_tratto;
  for (size_t w = 0; w < fonti.size(); ++w) {
    for (const auto& [s, b] : fonti[w].scritture) per_tratto[s].push_back(w);
  }
  Vincoli v(fonti.size());
  for (size_t w = 0; w + 1 < fonti.size(); ++w) {
    if (fonti[w].stazione && fonti[w + 1].stazione) v.prima_di(w, w + 1);
  }
  for (int64_t s = 0; s <= r.ultimo(); ++s) {
    const uint8_t visto = r.t(s).preavviso;
    const auto it = per_tratto.find(s);
    if (it == per_tratto.end()) {
      if (visto != 0) r.problema_tratto(s, TipoProblema::preavviso_senza_fonte, {visto});
      continue;
    }
    std::optional<size_t> ultima;
    for (size_t w : it->second) {
      if (byte_scritto(fonti[w], s) == visto) ultima = w;
    }
    if (!ultima) {
      r.problema_tratto(s, TipoProblema::preavviso_diverso, {visto});
      continue;
    }
    for (size_t w : it->second) {
      if (byte_scritto(fonti[w], s) != visto) v.prima_di(w, *ultima);
    }
  }
  return v;
}

// Kahn's order, the earliest source first among those ready; shorter than all when there is a
// cycle.
std::vector<size_t> ordine_di_kahn(Vincoli v) {
  std::priority_queue<size_t, std::vector<size_t>, std::greater<>> pronti;
  for (size_t w = 0; w < v.entranti.size(); ++w) {
    if (v.entranti[w] == 0) pronti.push(w);
  }
  std::vector<size_t> ordine;
  while (!pronti.empty()) {
    const size_t w = pronti.top();
    pronti.pop();
    ordine.push_back(w);
    for (size_t d : v.dopo[w]) {
      if (--v.entranti[d] == 0) pronti.push(d);
    }
  }
  return ordine;
}

}  // namespace

std::vector<FontePreavvisi> ordina_preavvisi(Ricostruzione& r, std::vector<FontePreavvisi> fonti) {
  std::vector<size_t> ordine = ordine_di_kahn(vincoli(r, fonti));
  if (ordine.size() != fonti.size()) {
    r.problema(TipoProblema::preavvisi_senza_ordine);
    ordine.clear();
    for (size_t w = 0; w < fonti.size(); ++w) ordine.push_back(w);
  }
  std::vector<FontePreavvisi> ordinate;
  for (size_t w : ordine) ordinate.push_back(std::move(fonti[w]));
  return ordinate;
}

}  // namespace compattatore
