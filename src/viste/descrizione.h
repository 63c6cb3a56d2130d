// What a compiled scenario holds, read from its model in the terms an author knows: stations,
// signals, slowdowns, code points, mountains, boards, profiles and the kilometric chainage. This is
// the one decoder of the stretches: the commands that show a compiled scenario (text, JSON, the
// picture of the route) start here, and so does the decompiler.
//
// How objects spread over several stretches are put together:
//
// - A signal's packed values are taken apart as the train phase packs them: `valore_k` =
//   s_k·10 + d_k for the ranks 1 to 3, `valore_4` = rapp·10 + sx·3 + dx, and the approach bytes
//   (sx·3 + dx)·10 + b on the stretches s − 2b, b = 1 to 4. The approach base sx·3 + dx is the
//   number from 0 to 639 with the units of `valore_4` whose approach bytes agree with most of the
//   four on the stretches (the smallest on a tie): past 639 the low byte repeats. A signal with a
//   time (`tempo_segnale` not 0) has sx 2; otherwise sx and dx are the base's thirds.
// - A slowdown is paired by its start. Each start, in stretch order, takes the nearest end after
//   it that is not taken yet and has the same three values (speed, d_v, f_tt); the starts still
//   alone then take the nearest free end before them with the same values. A start without an
//   end is what a slowdown of length 0 leaves (its start overwrites its end); an end that no start
//   takes is a slowdown of its own. The warning board of a start on stretch i is the stretch
//   i − 24 (1200 m before) when it is a warning board with the same speed and d_v and i is at
//   least 31 (a start past 1500 m; on stretch 31 from 1500 m exactly there is none); a warning
//   board no start takes is a slowdown of its own. The slowdown is marked when the four stretches
//   before its board, counting back, are marks 1 to 4 (`valore_1` k, `valore_2` k too when d_v is
//   not 0). A mark that stands before no marked slowdown's board is a stray mark.
// - A station's stopping point is the stretch whose `fermata` object names the station's entry
//   (the last one, when several do); every stopping point is listed too, with the entry it names.
// - A mountain is a run of stretches with the same non-zero `montagna` byte; its markers are the
//   `segno_montagna` objects inside the run.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/cp1252.h"
#include "model/formatta.h"
#include "model/modello.h"
#include "model/oggetti.h"
#include "model/regole.h"
#include "viste/anomalie.h"

namespace compattatore {

/// "H:MM:SS" of a time in seconds since midnight.
std::string ora(int32_t secondi);

/// Stretches from a slowdown's warning board to its start (1200 m).
inline constexpr int32_t kTrattiAvvisoInizio = 24;
/// The first start stretch that can have a warning board.
inline constexpr int32_t kPrimoInizioConAvviso = 31;
/// Marks before a warning board, and approach bytes before a signal (every second stretch).
inline constexpr int32_t kPreavvisi = 4;

/// One kilometric section: from `inizio` on the route, the chainage runs down (`verso` 1) or up
/// from `progressiva`.
struct SezioneKm {
  int voce;             // 81, 82 or 83
  int32_t inizio;       // campo_1, metres on the route
  int32_t progressiva;  // campo_2 as stored (100 more than in the source when verso is 1)
  int32_t verso;        // campo_3
};

struct Stazione {
  int voce;          // index in elenco
  std::string nome;  // UTF-8
  uint8_t tipo;
  int32_t posizione;  // campo_3
  int32_t inizio_zona;
  int32_t fine_zona;
  int32_t orario;                         // seconds since midnight; 0 when the station has no time
  uint8_t sosta;                          // flag_2, seconds
  std::optional<int32_t> tratto_fermata;  // the stretch with `fermata` pointing at this entry
};

struct SegnaleLetto {
  int32_t tratto;
  int aspetti[3];  // s1, s2, s3
  int d[3];        // d1, d2, d3
  int base;        // the approach base sx·3 + dx (see the top of this file)
  int concordi;    // how many of the four approach bytes agree with `base` (0 to 4)
  int rapp;
  int sx;
  int dx;
  uint8_t tempo;  // `tempo_segnale`, the low 8 bits of the signal time
};

/// A slowdown as its stretches show it; a part not found is empty.
struct RallentamentoLetto {
  std::optional<int32_t> avviso;  // warning board stretch
  std::optional<int32_t> inizio;
  std::optional<int32_t> fine;
  int16_t velocita;  // km/h (valore_1)
  int16_t d_v;       // valore_2
  int16_t f_tt;      // valore_3
  bool segnalato;    // the stretches avviso − 1 to avviso − 4 are its marks
};

/// A stretch with a `fermata` object, and the entry it names.
struct PuntoFermata {
  int32_t tratto;
  int voce;
};

struct PuntoCodice {
  int32_t tratto;
  bool taglio;  // `taglio_codice`; otherwise `cambio_codice` with `codice`
  int16_t codice;
};

struct Montagna {
  int32_t primo;  // first and last stretch of the run of equal `montagna` bytes
  int32_t ultimo;
  uint8_t tipo;
  std::vector<int32_t> segni;  // the stretches of its `segno_montagna` markers
};

struct Cartello {
  int32_t tratto;
  int voce;           // elenco index of its text
  std::string testo;  // UTF-8
};

struct IndicatoreVelocita {
  int32_t tratto;
  int16_t valori[3];  // ranks A, B, C: (first side / 5) * 100 + second side / 5
  int16_t strisce;    // strisce sinistra * 10 + strisce destra

  /// The first and the second side's speed of rank k (0 to 2), km/h.
  int prima(int k) const { return valori[k] / 100 * 5; }
  int seconda(int k) const { return valori[k] % 100 * 5; }
  int strisce_sinistra() const { return strisce / 10; }
  int strisce_destra() const { return strisce % 10; }
};

/// A run of stretches with the same value of one profile byte.
struct Tratta {
  int32_t primo;
  int32_t ultimo;
  int valore;  // in the author's unit
};

struct Descrizione {
  int32_t lunghezza = 0;  // route length L (elenco 84), 0 without the table
  int32_t ultimo_tratto = -1;
  std::vector<SezioneKm> sezioni;  // the sections present, by start
  int32_t massa_frenata = 0;
  int32_t vetture = 0;
  int16_t sabbia = 0;
  int16_t orologio[3] = {0, 0, 0};
  int32_t sfondi[3] = {0, 0, 0};  // "sfondo uno", "due", "tre"
  int32_t ripetizione_inizio = 0;
  int32_t ripetizione_fine = 0;
  int32_t codici_ripetizione = 0;
  std::vector<Stazione> stazioni;
  std::vector<SegnaleLetto> segnali;
  std::vector<RallentamentoLetto> rallentamenti;  // by start (or board + 24, or end)
  /// `preavviso_rallentamento` marks that no marked slowdown takes, by stretch.
  std::vector<int32_t> preavvisi_rallentamento_sparsi;
  std::vector<PuntoFermata> fermate;  // every stopping point, by stretch
  std::vector<PuntoCodice> punti_codice;
  std::vector<Montagna> montagne;
  std::vector<int32_t> segni_sparsi;  // `segno_montagna` objects outside every mountain
  std::vector<Cartello> cartelli;
  std::vector<IndicatoreVelocita> indicatori;
  std::vector<Tratta> pendenze;  // per mille (pendenza − 100)
  std::vector<Tratta> velocita;  // km/h (velocita × 5)
  std::vector<Tratta> aderenze;
  std::vector<Rilievo> avvisi;  // what no compile writes: unknown kinds, dangling indices
};

/// The summary of the stretches `tratti` and of the table `elenco`; without the table (nullptr)
/// stations, boards' texts and figures stay empty. The stretches are taken as given: stretch 1
/// carries the two header values beside its object.
Descrizione descrivi(std::span<const Tratto> tratti, const Elenco* elenco);

/// The summary of `m`; without the table (`con_elenco` false) as above.
inline Descrizione descrivi(const Modello& m, bool con_elenco) {
  return descrivi(m.tratti, con_elenco ? &m.elenco : nullptr);
}

/// The chainage in metres at route position `posizione`, as the author wrote it: from the
/// section with the greatest start not after `posizione`, running down for `verso` 1 (the value
/// in the source minus the position) and up otherwise. Nothing before the first section or
/// without sections.
std::optional<int64_t> progressiva(const Descrizione& r, int64_t posizione);

/// "km 39+050" for a chainage in metres (a minus sign before negative ones).
std::string km(int64_t metri);

}  // namespace compattatore
