// The order of the stations and signals of the train source. Where the approach bytes they write
// overlap, the one written last stays; the order is found from the bytes the files hold.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "decompilatore/ricostruzione.h"
#include "decompilatore/sorgente.h"

namespace compattatore {

/// A station (by its entry) or a signal (by its stretch) that writes approach bytes, with the
/// line it is written as and the bytes it writes.
struct FontePreavvisi {
  bool stazione = false;
  int64_t chiave = 0;
  Riga riga;
  std::vector<std::pair<int64_t, uint8_t>> scritture;  // stretch, approach byte
};

/// `fonti` (stations in the order of their entries, then signals by position) in the order that
/// leaves each stored approach byte last: stations keep their order, and the first of those
/// ready goes first (Kahn's order). Bytes that no source writes, and an order that cannot exist,
/// are problems; then the order given is kept.
std::vector<FontePreavvisi> ordina_preavvisi(Ricostruzione& r, std::vector<FontePreavvisi> fonti);

}  // namespace compattatore
