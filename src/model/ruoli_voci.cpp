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

std::optional<GruppoVoci> gruppo_della_voce(size_t i) {
  for (GruppoVoci g : {GruppoVoci::sezione_km, GruppoVoci::figure_treno, GruppoVoci::intestazione,
                       GruppoVoci::treno, GruppoVoci::stazione, GruppoVoci::cartello}) {
    const IntervalloVoci v = voci_del_gruppo(g);
    if (static_cast<int>(i) >= v.prima && static_cast<int>(i) <= v.ultima) return g;
  }
  return std::nullopt;
}

const char* nome_gruppo(GruppoVoci g) {
  switch (g) {
    case GruppoVoci::stazione:
      return "stazione";
    case GruppoVoci::cartello:
      return "cartello";
    case GruppoVoci::sezione_km:
      return "sezione_km";
    case GruppoVoci::figure_treno:
      return "figure_treno";
    case GruppoVoci::intestazione:
      return "intestazione";
    case GruppoVoci::treno:
      return "treno";
  }
  return "";
}

CampoVoce campo_della_riga(const RigaCampo<Voce>& c) {
  const auto i = static_cast<size_t>(&c - kCampiVoce);
  const auto testo = static_cast<size_t>(CampoVoce::testo);
  return static_cast<CampoVoce>(i < testo ? i : i + 1);
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
