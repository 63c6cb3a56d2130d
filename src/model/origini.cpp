#include "model/origini.h"

#include "model/modello.h"

namespace compattatore {

std::string nome_oggetto(uint8_t o) {
  switch (o) {
    case oggetto::libero:
      return "niente";
    case oggetto::segnale:
      return "un segnale";
    case oggetto::fine_rallentamento:
      return "la fine di un rallentamento";
    case oggetto::inizio_rallentamento:
      return "l'inizio di un rallentamento";
    case oggetto::avviso_rallentamento:
      return "il cartello di avviso di un rallentamento";
    case oggetto::preavviso_rallentamento:
      return "un tratto di preavviso di un rallentamento";
    case oggetto::indicatore_velocita:
      return "un indicatore di velocità massima";
    case oggetto::fermata:
      return "il punto di fermata di una stazione";
    case oggetto::segno_montagna:
      return "un segno di montagna";
    case oggetto::cambio_codice:
      return "un cambio di codice";
    case oggetto::taglio_codice:
      return "un taglio di codice";
    case oggetto::cartello:
      return "un cartello indicatore";
    default:
      return "un oggetto di tipo " + std::to_string(o);
  }
}

Nota nota_occupato(const Origini* origini, int32_t tratto, uint8_t o) {
  const Origine* da = origini != nullptr ? origini->di(tratto) : nullptr;
  std::string testo = "il tratto " + std::to_string(tratto) + " è occupato da " + nome_oggetto(o);
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
