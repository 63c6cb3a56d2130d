#include "viste/scheda.h"

#include <algorithm>

#include "formato/punti_tracciato.h"
#include "model/campi.h"
#include "model/cp1252.h"
#include "model/parole.h"
#include "model/regole.h"
#include "model/ruoli_voci.h"
#include "post/codici_gara.h"

namespace compattatore {
namespace {

// "voce 85 orario": where a role of a header entry is stored.
std::string dove_ruolo(RuoloVoce r) {
  const RigaRuolo& riga = riga_ruolo(r);
  return "voce " + std::to_string(voci_del_gruppo(riga.gruppo).prima) + " " +
         riga_campo(riga.campo).nome;
}

// "tratto 1 valore_2": stretch 1 holds the check code of the stretches and a fixed value.
std::string dove_tratto_1(CampoTratto c) { return std::string("tratto 1 ") + riga_campo(c).nome; }

}  // namespace

bool ControlloCodici::validi() const {
  return std::all_of(valori.begin(), valori.end(),
                     [](const ValoreControllo& v) { return v.valido(); });
}

std::optional<ControlloCodici> controlla_codici(const ScenarioCompilato& s) {
  if (!s.con_elenco) return std::nullopt;
  const Elenco& e = s.modello.elenco;
  const Tratto* t1 = s.modello.tratti.size() > 1 ? &s.modello.tratti[1] : nullptr;
  const auto in_tratto_1 = [t1](CampoTratto c) {
    return t1 ? std::optional<int32_t>(static_cast<int32_t>(riga_campo(c).valore(*t1)))
              : std::nullopt;
  };
  const auto in_elenco = [&e](RuoloVoce r) {
    return std::optional<int32_t>(static_cast<int32_t>(numero(e, r)));
  };
  ControlloCodici c;
  c.chiave = cp1252::a_utf8(chiave_gara(e));
  const char* fisso = "valore fisso";
  c.valori = {
      {riga_ruolo(RuoloVoce::intestazione_codice_gara_st).nome,
       dove_ruolo(RuoloVoce::intestazione_codice_gara_st),
       in_elenco(RuoloVoce::intestazione_codice_gara_st), codice_gara_st(e)},
      {"codice_gara_og", dove_tratto_1(CampoTratto::valore_2), in_tratto_1(CampoTratto::valore_2),
       codice_gara_og(e)},
      {fisso, dove_ruolo(RuoloVoce::intestazione_valore_fisso),
       in_elenco(RuoloVoce::intestazione_valore_fisso), kFissoIntestazione},
      {fisso, dove_tratto_1(CampoTratto::valore_1), in_tratto_1(CampoTratto::valore_1),
       kFissoTratto},
  };
  return c;
}

IdentitaLetta identita(const ScenarioCompilato& s, const Descrizione& r) {
  IdentitaLetta id;
  if (s.con_elenco) {
    const Modello& m = s.modello;
    id.nome = testo_leggibile(m.elenco[voce::intestazione].testo);
    id.treno = testo_leggibile(m.elenco[voce::treno].testo);
    const std::string file = s.file.elenco->filename().string();
    const std::string atteso = id.nome + "_" + id.treno + ".sim";
    if (file != atteso)
      id.avvisi.push_back({Anomalia::nome_file_diverso, std::nullopt, {file, atteso}});
    const int64_t metri_totali = int64_t{r.lunghezza} + kCodaPercorso;
    const int32_t ultimo = cinquantesimi(static_cast<double>(metri_totali));
    if (!m.tratti.empty() && r.lunghezza >= 0 && r.lunghezza <= kLunghezzaPercorsoMassima &&
        ultimo != m.ultimo_tratto()) {
      id.avvisi.push_back({Anomalia::tratti_diversi,
                           std::nullopt,
                           {std::to_string(r.lunghezza), std::to_string(ultimo),
                            std::to_string(m.ultimo_tratto())}});
    }
    const size_t punti = s.punti();
    if (punti > 0 && static_cast<int64_t>(punti) != metri_totali + 1) {
      id.avvisi.push_back(
          {Anomalia::punti_diversi,
           std::nullopt,
           {std::to_string(r.lunghezza), std::to_string(metri_totali + 1), std::to_string(punti)}});
    }
  }
  id.avvisi.insert(id.avvisi.end(), r.avvisi.begin(), r.avvisi.end());
  return id;
}

Scheda scheda(const ScenarioCompilato& s) {
  Descrizione r = descrivi(s.modello, s.con_elenco);
  IdentitaLetta id = identita(s, r);
  const PartiPercorso parti = parti_percorso(r, s.con_elenco);
  return {s, std::move(r), std::move(id), controlla_codici(s), parti};
}

}  // namespace compattatore
