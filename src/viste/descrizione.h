// What a compiled scenario holds, read from its model in the terms an author knows: stations,
// signals, slowdowns, code points, mountains, boards, profiles and the kilometric chainage. The
// commands that show a compiled scenario (text, JSON, the picture of the route) all start here.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/cp1252.h"
#include "model/formatta.h"
#include "model/modello.h"
#include "model/oggetti.h"
#include "model/regole.h"

namespace compattatore {

/// "H:MM:SS" of a time in seconds since midnight.
std::string ora(int32_t secondi);

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
  int rapp;
  int sx;
  int dx;
  uint8_t tempo;
};

/// A slowdown as its stretches show it; a part not found is empty.
struct RallentamentoLetto {
  std::optional<int32_t> avviso;  // warning board stretch
  std::optional<int32_t> inizio;
  std::optional<int32_t> fine;
  int16_t velocita;  // km/h (valore_1)
  int16_t d_v;       // valore_2
  int16_t f_tt;      // valore_3
  bool segnalato;    // the stretches before the warning board are marked
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
  int segni;  // `segno_montagna` markers inside it
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
};

/// A run of stretches with the same value of one profile byte.
struct Tratta {
  int32_t primo;
  int32_t ultimo;
  int valore;
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
  std::vector<RallentamentoLetto> rallentamenti;
  std::vector<PuntoCodice> punti_codice;
  std::vector<Montagna> montagne;
  std::vector<Cartello> cartelli;
  std::vector<IndicatoreVelocita> indicatori;
  std::vector<Tratta> pendenze;  // per mille (pendenza − 100)
  std::vector<Tratta> velocita;  // km/h (velocita × 5)
  std::vector<Tratta> aderenze;
  std::vector<std::string> avvisi;  // what no compile writes: unknown kinds, dangling indices
};

/// The summary of `m`; without the table (`con_elenco` false) stations, boards and figures stay
/// empty.
Descrizione descrivi(const Modello& m, bool con_elenco);

/// The chainage in metres at route position `posizione`, as the author wrote it: from the
/// section with the greatest start not after `posizione`, running down for `verso` 1 (the value
/// in the source minus the position) and up otherwise. Nothing before the first section or
/// without sections.
std::optional<int64_t> progressiva(const Descrizione& r, int64_t posizione);

/// "km 39+050" for a chainage in metres (a minus sign before negative ones).
std::string km(int64_t metri);

}  // namespace compattatore
