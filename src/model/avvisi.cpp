#include "model/avvisi.h"

#include <cstddef>

namespace compattatore {
namespace {

constexpr RigaAvviso kRighe[] = {
#define COMPATTATORE_VOCE_RIGA(nome, etichetta, rimedio) {Avviso::nome, etichetta, rimedio},
    COMPATTATORE_AVVISI(COMPATTATORE_VOCE_RIGA)
#undef COMPATTATORE_VOCE_RIGA
};

}  // namespace

std::span<const RigaAvviso> tabella_avvisi() { return kRighe; }

const RigaAvviso& riga_avviso(Avviso a) {
  static constexpr RigaAvviso kNessuno{Avviso::nessuno, "", ""};
  const auto i = static_cast<size_t>(a);
  return i == 0 || i > std::size(kRighe) ? kNessuno : kRighe[i - 1];
}

}  // namespace compattatore
