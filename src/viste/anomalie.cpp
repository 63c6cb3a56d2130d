#include "viste/anomalie.h"

#include <cstddef>

namespace compattatore {
namespace {

constexpr RigaAnomalia kRighe[] = {
#define COMPATTATORE_VOCE_RIGA(nome, testo) {Anomalia::nome, #nome, testo},
    COMPATTATORE_ANOMALIE(COMPATTATORE_VOCE_RIGA)
#undef COMPATTATORE_VOCE_RIGA
};

}  // namespace

std::span<const RigaAnomalia> tabella_anomalie() { return kRighe; }

const RigaAnomalia& riga_anomalia(Anomalia a) { return kRighe[static_cast<size_t>(a)]; }

std::string Rilievo::testo() const {
  std::string t;
  for (const char* c = riga_anomalia(anomalia).modello; *c != '\0'; ++c) {
    // "{n}" with n from 1 to 9 stands for the n-th value.
    if (c[0] == '{' && c[1] >= '1' && c[1] <= '9' && c[2] == '}') {
      const auto n = static_cast<size_t>(c[1] - '1');
      if (n < valori.size()) t += valori[n];
      c += 2;
    } else {
      t += *c;
    }
  }
  return t;
}

Rilievo rilievo_tratto(Anomalia a, int32_t tratto, int64_t valore) {
  return {a, tratto, {std::to_string(tratto), std::to_string(valore)}};
}

}  // namespace compattatore
