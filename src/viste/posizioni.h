// Where a stretch lies on the route, and where the author wrote what it holds: the one rule that
// every view follows (the summary and the stretches of `mostra`, its JSON, `confronta`, the page).
//
// - Stretch s covers the 50 m of the route from s × 50 m, its start, to s × 50 + 50 m; stretch 0
//   begins at the route start. A view names a stretch with its start: "tratto 60 (3000 m)".
// - What a keyword line writes at position P lands on the stretch that the rule of its position
//   value gives (the table of source fields, model/parole.h): gradient, speed, adhesion, mountains
//   and code points on stretch P / 50, so that they begin where their stretch begins; signals,
//   slowdowns, speed indicator boards and indicator boards on stretch P / 50 + 1. A view shows an
//   object at the position that puts it on its stretch, the one the source holds: the signal on
//   stretch 929 (46450 m) was written at 46400 m. What the compile places by itself (stopping
//   points, mountain signs, code markers) stands at its stretch's start.
// - The stretches from the route length on are the route's tail: the 7000 m that the format adds
//   beyond the end of the route. The profiles run on into it with their last value, and its last
//   three stretches no profile line fills: their bytes stay 0, which no view shows as a gradient
//   of −100 ‰, a speed of 0 km/h or an adhesion of 0.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "model/parole.h"
#include "model/regole.h"
#include "viste/descrizione.h"

namespace compattatore {

/// The last stretches of the array that no profile line fills.
inline constexpr int32_t kTrattiSenzaProfilo = 3;

/// The fields of a stretch that the profile lines fill, each from its position up to the next
/// line of its keyword, and on to the tail's last stretches.
inline constexpr CampoTratto kCampiDiProfilo[] = {CampoTratto::velocita, CampoTratto::pendenza,
                                                  CampoTratto::aderenza};
bool campo_di_profilo(const RigaCampo<Tratto>& c);

/// The keyword whose lines write objects of the kind `oggetto`: the four kinds of a slowdown come
/// from `rallentamento`, a stopping point from `stazione`, a mountain sign from `montagna`, a code
/// change or cut from `abbattimento`. Nothing for a free stretch and for a kind the model does
/// not know.
std::optional<Chiave> chiave_dell_oggetto(uint8_t oggetto);

/// The position an author writes for what keyword `c` puts on stretch `s`, by the rule of the
/// keyword's first position value; the stretch's start for a keyword placed otherwise.
int64_t posizione_scritta(Chiave c, int32_t s);

/// Where the object of kind `oggetto` on stretch `s` stands in the source: the position its
/// keyword writes it at, or the stretch's start (a kind placed by the compile, or unknown).
int64_t posizione_dell_oggetto(uint8_t oggetto, int32_t s);

/// The parts of a stretch array: the route, its tail, and in the tail the stretches no profile
/// fills.
enum class ParteDelPercorso : uint8_t {
  percorso,       // before the route length
  coda,           // the tail beyond the route's end
  senza_profilo,  // the tail's last stretches, which no profile line fills
};

/// "percorso", "coda", "senza_profilo": as the JSON names a part.
const char* nome_parte(ParteDelPercorso p);

/// Where the parts of a stretch array begin.
struct PartiPercorso {
  int64_t lunghezza = 0;   // the route length
  int32_t primo_coda = 0;  // the first stretch whose start is at or past the route length
  int32_t primo_senza_profilo = 0;
  int32_t ultimo = -1;

  ParteDelPercorso parte(int32_t s) const {
    return s >= primo_senza_profilo ? ParteDelPercorso::senza_profilo
           : s >= primo_coda        ? ParteDelPercorso::coda
                                    : ParteDelPercorso::percorso;
  }
};

/// The parts of the stretches 0 to `ultimo_tratto` of a route `lunghezza` m long; without the
/// table, which holds the length, the length the stretch count gives (the count less the tail);
/// without the stretches (`ultimo_tratto` −1), the stretches the length gives.
PartiPercorso parti_percorso(std::optional<int64_t> lunghezza, int32_t ultimo_tratto);

/// The parts of the stretches `r` describes (`con_elenco`: the table was read, with the length).
inline PartiPercorso parti_percorso(const Descrizione& r, bool con_elenco) {
  return parti_percorso(con_elenco ? std::optional<int64_t>(r.lunghezza) : std::nullopt,
                        r.ultimo_tratto);
}

/// A run of a profile within one part.
struct TrattaInParte {
  int32_t primo;
  int32_t ultimo;
  int valore;  // in the author's unit
  ParteDelPercorso parte;
};

/// The runs of a profile, each cut where a part begins.
std::vector<TrattaInParte> in_parti(const std::vector<Tratta>& tratte, const PartiPercorso& p);

}  // namespace compattatore
