#include "decompilatore/ricostruzione.h"

#include <climits>

#include "model/cp1252.h"
#include "model/regole.h"

namespace compattatore {

Ricostruzione::Ricostruzione(const Modello& m)
    : m_(m),
      tratti_(m.tratti),
      ultimo_(m.ultimo_tratto()),
      con_tracciato_(!m.tracciato.vuoto()),
      spiegato_(m.tratti.size(), false) {
  if (tratti_.size() > 1) {
    tratti_[1].valore_1 = 0;
    tratti_[1].valore_2 = 0;
  }
  letto_ = descrivi(tratti_, &m.elenco);
}

void Ricostruzione::problema(TipoProblema tipo, std::vector<Problema::Valore> valori) {
  problemi_.aggiungi({tipo, 0, {}, std::move(valori)});
}

void Ricostruzione::problema_tratto(int64_t s, TipoProblema tipo,
                                    std::vector<Problema::Valore> valori) {
  problemi_.aggiungi({tipo, s, {}, std::move(valori)});
}

void Ricostruzione::problema_voce(int i, TipoProblema tipo, std::vector<Problema::Valore> valori) {
  problemi_.aggiungi({tipo, i, cp1252::a_utf8(voce(i).testo), std::move(valori)});
}

std::string Ricostruzione::nome_voce(int i) const {
  return testo_voce(i, cp1252::a_utf8(voce(i).testo));
}

bool Ricostruzione::nel_percorso_o_segnala(int64_t s, int32_t margine, const char* cosa) {
  if (s >= 1 && posizione_oggetto<int64_t>(s) <= INT32_MAX &&
      nel_percorso(ultimo_, static_cast<int32_t>(posizione_oggetto<int64_t>(s)), margine)) {
    return true;
  }
  problema_tratto(s, TipoProblema::fuori_percorso, {cosa});
  return false;
}

}  // namespace compattatore
