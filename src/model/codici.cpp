#include "model/codici.h"

#include <algorithm>
#include <iterator>

namespace compattatore {
namespace {

constexpr RigaCodice kRighe[] = {
#define COMPATTATORE_VOCE_RIGA(nome, numero, significato, rimedio) \
  {Codice::nome, #nome, significato, rimedio},
    COMPATTATORE_CODICI(COMPATTATORE_VOCE_RIGA)
#undef COMPATTATORE_VOCE_RIGA
};

constexpr bool in_ordine() {
  for (size_t i = 1; i < std::size(kRighe); ++i) {
    if (numero(kRighe[i - 1].codice) >= numero(kRighe[i].codice)) return false;
  }
  return true;
}
static_assert(in_ordine(), "the table of codes is kept in ascending order of number");

}  // namespace

std::span<const RigaCodice> tabella_codici() { return kRighe; }

const RigaCodice* cerca_codice(int32_t n) {
  const auto* it = std::find_if(std::begin(kRighe), std::end(kRighe),
                                [n](const RigaCodice& r) { return numero(r.codice) == n; });
  return it == std::end(kRighe) ? nullptr : it;
}

const RigaCodice& riga_codice(Codice c) {
  static constexpr RigaCodice kNessuno{Codice::nessuno, "nessuno", "nessun errore", ""};
  const RigaCodice* r = cerca_codice(numero(c));
  return r ? *r : kNessuno;
}

}  // namespace compattatore
