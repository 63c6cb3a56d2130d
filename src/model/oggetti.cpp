#include "model/oggetti.h"

#include "model/modello.h"

namespace compattatore {

const NomiOggetto* nomi_oggetto(uint8_t o) {
  static const NomiOggetto libero{"libero", "libero", "niente"};
  static const NomiOggetto segnale{"segnale", "segnale", "un segnale"};
  static const NomiOggetto fine{"fine_rallentamento", "fine rallentamento",
                                "la fine di un rallentamento"};
  static const NomiOggetto inizio{"inizio_rallentamento", "inizio rallentamento",
                                  "l'inizio di un rallentamento"};
  static const NomiOggetto avviso{"avviso_rallentamento", "avviso di rallentamento",
                                  "il cartello di avviso di un rallentamento"};
  static const NomiOggetto preavviso{"preavviso_rallentamento", "preavviso di rallentamento",
                                     "un tratto di preavviso di un rallentamento"};
  static const NomiOggetto indicatore{"indicatore_velocita", "indicatore di velocità",
                                      "un indicatore di velocità massima"};
  static const NomiOggetto fermata{"fermata", "fermata", "il punto di fermata di una stazione"};
  static const NomiOggetto montagna{"segno_montagna", "segno di montagna", "un segno di montagna"};
  static const NomiOggetto cambio{"cambio_codice", "cambio codice", "un cambio di codice"};
  static const NomiOggetto taglio{"taglio_codice", "taglio codice", "un taglio di codice"};
  static const NomiOggetto cartello{"cartello", "cartello", "un cartello indicatore"};
  switch (o) {
    case oggetto::libero:
      return &libero;
    case oggetto::segnale:
      return &segnale;
    case oggetto::fine_rallentamento:
      return &fine;
    case oggetto::inizio_rallentamento:
      return &inizio;
    case oggetto::avviso_rallentamento:
      return &avviso;
    case oggetto::preavviso_rallentamento:
      return &preavviso;
    case oggetto::indicatore_velocita:
      return &indicatore;
    case oggetto::fermata:
      return &fermata;
    case oggetto::segno_montagna:
      return &montagna;
    case oggetto::cambio_codice:
      return &cambio;
    case oggetto::taglio_codice:
      return &taglio;
    case oggetto::cartello:
      return &cartello;
    default:
      return nullptr;
  }
}

const char* sigla_oggetto(uint8_t o) {
  const NomiOggetto* n = nomi_oggetto(o);
  return n != nullptr ? n->sigla : "sconosciuto";
}

const char* nome_breve_oggetto(uint8_t o) {
  const NomiOggetto* n = nomi_oggetto(o);
  return n != nullptr ? n->nome : "sconosciuto";
}

std::string nome_oggetto(uint8_t o) {
  const NomiOggetto* n = nomi_oggetto(o);
  return n != nullptr ? n->con_articolo : "un oggetto di tipo " + std::to_string(o);
}

}  // namespace compattatore
