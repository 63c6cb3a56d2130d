#include "model/ruoli_voci.h"

#include <cstddef>
#include <stdexcept>
#include <string>

namespace compattatore {
namespace {

constexpr RigaRuolo kRighe[] = {
#define COMPATTATORE_VOCE_RIGA(gruppo, nome, campo, fattore, spostamento, unita, significato) \
  {RuoloVoce::gruppo##_##nome, GruppoVoci::gruppo, #nome,      CampoVoce::campo,              \
   {fattore, spostamento},     Unita::unita,       significato},
    COMPATTATORE_RUOLI_VOCE(COMPATTATORE_VOCE_RIGA)
#undef COMPATTATORE_VOCE_RIGA
};

}  // namespace

std::span<const RigaRuolo> tabella_ruoli() { return kRighe; }

const RigaRuolo& riga_ruolo(RuoloVoce r) { return kRighe[static_cast<size_t>(r)]; }

const RigaRuolo* ruolo_del_campo(GruppoVoci g, CampoVoce c) {
  for (const RigaRuolo& r : kRighe) {
    if (r.gruppo == g && r.campo == c) return &r;
  }
  return nullptr;
}

int64_t numero(const Elenco& e, RuoloVoce r) {
  const RigaRuolo& riga = riga_ruolo(r);
  const IntervalloVoci voci = voci_del_gruppo(riga.gruppo);
  if (voci.prima != voci.ultima) {
    throw std::invalid_argument(std::string("il ruolo ") + riga.nome + " non è di una sola voce");
  }
  return numero(e[static_cast<size_t>(voci.prima)], r);
}

}  // namespace compattatore
