#include "viste/posizioni.h"

#include <algorithm>
#include <iterator>

#include "model/modello.h"

namespace compattatore {

std::optional<Chiave> chiave_dell_oggetto(uint8_t o) {
  switch (o) {
    case oggetto::segnale:
      return Chiave::segnale;
    case oggetto::fine_rallentamento:
    case oggetto::inizio_rallentamento:
    case oggetto::avviso_rallentamento:
    case oggetto::preavviso_rallentamento:
      return Chiave::rallentamento;
    case oggetto::indicatore_velocita:
      return Chiave::indicatori_vmax;
    case oggetto::fermata:
      return Chiave::stazione;
    case oggetto::segno_montagna:
      return Chiave::montagna;
    case oggetto::cambio_codice:
    case oggetto::taglio_codice:
      return Chiave::abbattimento;
    case oggetto::cartello:
      return Chiave::cartello_indicatore;
    default:
      return std::nullopt;
  }
}

int64_t posizione_scritta(Chiave c, int32_t s) {
  for (const RigaValore& v : valori(c)) {
    if (v.lettura != ModoLettura::posizione) continue;
    switch (v.memoria) {
      case Memoria::tratto_piu_uno:
        return posizione_oggetto<int64_t>(s);
      case Memoria::tratto_meno_uno:
        return inizio_tratto<int64_t>(int64_t{s} + 1);
      default:
        return inizio_tratto<int64_t>(s);
    }
  }
  return inizio_tratto<int64_t>(s);
}

int64_t posizione_dell_oggetto(uint8_t o, int32_t s) {
  const std::optional<Chiave> c = chiave_dell_oggetto(o);
  return c ? posizione_scritta(*c, s) : inizio_tratto<int64_t>(s);
}

bool campo_di_profilo(const RigaCampo<Tratto>& c) {
  return std::any_of(std::begin(kCampiDiProfilo), std::end(kCampiDiProfilo),
                     [&c](CampoTratto p) { return &riga_campo(p) == &c; });
}

const char* nome_parte(ParteDelPercorso p) {
  switch (p) {
    case ParteDelPercorso::percorso:
      return "percorso";
    case ParteDelPercorso::coda:
      return "coda";
    case ParteDelPercorso::senza_profilo:
      return "senza_profilo";
  }
  return "";
}

PartiPercorso parti_percorso(std::optional<int64_t> lunghezza, int32_t ultimo_tratto) {
  PartiPercorso p;
  // Without the stretches, those that the route length gives.
  if (ultimo_tratto < 0 && lunghezza && *lunghezza > 0) {
    ultimo_tratto = static_cast<int32_t>((*lunghezza + kCodaPercorso) / kMetriTratto);
  }
  p.ultimo = ultimo_tratto;
  const int64_t tratti = int64_t{ultimo_tratto} + 1;
  p.lunghezza = lunghezza
                    ? *lunghezza
                    : std::max<int64_t>(inizio_tratto<int64_t>(ultimo_tratto) - kCodaPercorso, 0);
  // The first stretch that starts at or after the route length, within the array.
  const int64_t coda = p.lunghezza <= 0 ? 0 : (p.lunghezza + kMetriTratto - 1) / kMetriTratto;
  p.primo_coda = static_cast<int32_t>(std::clamp<int64_t>(coda, 0, tratti));
  p.primo_senza_profilo =
      static_cast<int32_t>(std::clamp<int64_t>(tratti - kTrattiSenzaProfilo, p.primo_coda, tratti));
  return p;
}

std::vector<TrattaInParte> in_parti(const std::vector<Tratta>& tratte, const PartiPercorso& p) {
  std::vector<TrattaInParte> r;
  for (const Tratta& t : tratte) {
    int32_t da = t.primo;
    for (const int32_t confine : {p.primo_coda, p.primo_senza_profilo, t.ultimo + 1}) {
      if (confine <= da || confine > t.ultimo + 1) continue;
      r.push_back({da, confine - 1, t.valore, p.parte(da)});
      da = confine;
    }
  }
  return r;
}

}  // namespace compattatore
