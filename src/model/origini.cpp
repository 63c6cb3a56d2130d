#include "model/origini.h"

#include "model/italiano.h"
#include "model/modello.h"

namespace compattatore {

Nota nota_occupato(const Origini* origini, int32_t tratto, uint8_t o) {
  const Origine* da = origini != nullptr ? origini->di(tratto) : nullptr;
  std::string testo = "il tratto " + std::to_string(tratto) + " è occupato " +
                      con_preposizione("da", nome_oggetto(o));
  if (da == nullptr) return Nota{Luogo{}, testo};
  if (da->dal_compattatore) {
    testo = "il tratto " + std::to_string(tratto) +
            " è occupato da un segno di codice messo dal compattatore";
    if (!da->luogo.file.empty()) testo += " per l'oggetto scritto qui";
  } else {
    testo += ", scritto qui";
  }
  return Nota{da->luogo, testo};
}

}  // namespace compattatore
