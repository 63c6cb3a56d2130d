// Which source item placed the object that a stretch holds. Kept beside the model for the
// diagnostics, never compiled: the compiled bytes do not depend on it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "model/oggetti.h"
#include "model/segnalazione.h"

namespace compattatore {

/// Where the object of one stretch came from.
struct Origine {
  Luogo luogo;                            // the item that placed it (or the object it serves)
  bool dal_compattatore = false;          // a code marker of the code-marker pass
  std::optional<ValoreScritto> valore{};  // the value at `luogo`, when the item is one value
};

class Origini {
 public:
  /// The object now on stretch `tratto` was placed by the item at `luogo`.
  void metti(int32_t tratto, Luogo luogo, bool dal_compattatore = false,
             std::optional<ValoreScritto> valore = std::nullopt) {
    per_tratto_[tratto] = Origine{std::move(luogo), dal_compattatore, std::move(valore)};
  }
  /// Where the object on `tratto` came from; nullptr when nothing was recorded.
  const Origine* di(int32_t tratto) const {
    const auto it = per_tratto_.find(tratto);
    return it == per_tratto_.end() ? nullptr : &it->second;
  }
  void svuota() { per_tratto_.clear(); }

 private:
  std::unordered_map<int32_t, Origine> per_tratto_;
};

/// The note that says what occupies `tratto` and where it came from, for a stretch holding the
/// object kind `oggetto`.
Nota nota_occupato(const Origini* origini, int32_t tratto, uint8_t oggetto);

}  // namespace compattatore
