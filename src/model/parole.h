// Every field of the two sources, one row each: the keywords and section headers an author writes
// (where each is read, how an item is recognised as it, how it is spelt) and, for every keyword,
// the values it reads (name, meaning, unit, range, how the value is stored and where). The parser
// recognises keywords from these rows, the suggestions and the fuzz dictionary list their
// spellings, the README's field reference is written from them, and a writer of sources takes
// the keywords from them (`riga(Chiave::sfondo_uno).forma`, `forma_curva`).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/campi.h"
#include "model/codici.h"
#include "model/modello.h"
#include "model/ruoli_voci.h"

namespace compattatore {

/// The part of a source in which a keyword is read.
enum class Ambito {
  linea_generale,  // the line source, from "[generale]" to the next header
  linea_elementi,  // the line source, after that header
  treno,           // the train source, after "[generale]"
};

/// What a row is.
enum class Genere {
  parola,        // a keyword, followed by its values
  intestazione,  // a section header, alone on its line
};

/// Whether the letter case of an item counts in a keyword's tests.
enum class Maiuscole {
  ignorate,  // the item is compared in lower case
  contano,   // the item is compared as written
};

/// A keyword whose spelling carries something more than the keyword.
enum class Variante {
  nessuna,
  codici,  // the digit 4 or 9 is the number of codes: `altra_forma` is the spelling with 4
  curva,   // side and class: "curva", then "d" (right) or "s" (left), then the class digit; read
           // only when the route plan is computed
};

/// Curvature in radians per metre of the curve classes 1 to 6 (index 0 is class 1): radii of
/// 10000, 5000, 2500, 1000, 500 and about 333 m. A curve to the left has the negative value. The
/// line phase's curve items and the decompiler's curve finder both take them from here.
inline constexpr double kCurvature[] = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};

/// How the reader takes a value.
enum class ModoLettura {
  i32,        // a number into 32 bits
  i16,        // a number into 16 bits
  u8,         // a number into one unsigned byte
  posizione,  // a number into 32 bits, metres from the route start, put to the range rule
  testo,      // a text item, to the next comma or the line end
};

/// The values an author keeps to. For a position, `massimo` counts from the route length: the
/// position may reach the route length + `massimo` (the range rule).
struct Intervallo {
  int64_t minimo = 0;
  int64_t massimo = 0;
};
constexpr Intervallo da_a(int64_t minimo, int64_t massimo) { return {minimo, massimo}; }
inline constexpr Intervallo kInteri32{INT32_MIN, INT32_MAX};
inline constexpr Intervallo kInteri16{INT16_MIN, INT16_MAX};
inline constexpr Intervallo kByte{0, UINT8_MAX};
inline constexpr Intervallo kNessunNumero{0, 0};  // a text
/// A code value: any number up to the 16-bit limit (below 1 a code cut).
inline constexpr Intervallo kCodici{INT32_MIN, INT16_MAX};
/// A position: 0 to the route length + `oltre` metres.
constexpr Intervallo fino_a_linea_piu(int64_t oltre) { return {0, oltre}; }

/// A value that must be a multiple of `passo` (any value when 0), and the code set otherwise.
struct Multiplo {
  int32_t passo = 0;
  Codice codice = Codice::nessuno;
};
constexpr Multiplo multiplo_di(int32_t passo, Codice codice) { return {passo, codice}; }
inline constexpr Multiplo kQualsiasi{};

/// The fastest a train runs, km/h: a speed above it cannot be meant.
inline constexpr int64_t kVelocitaMassimaTreno = 400;

/// What a value means, for the values stored as written that cannot be meant: each kind has its
/// warning.
enum class Senso {
  qualsiasi,         // every value it keeps to can be meant
  velocita,          // a speed: above 0, up to kVelocitaMassimaTreno
  velocita_o_nulla,  // the same, or 0 for none
  lunghezza,         // a length: above 0
  fine,              // the end of what the line's first value starts: after it
  fine_o_nulla,      // the same, or 0 for none
  ore,               // hours of a time of day: 0 or more
  minuti,            // minutes or seconds of a time of day: 0 to 59
  parola_nulla,      // a word (`AC`) reads 0 on purpose
  tipo_montagna,     // a mountain type: one of kTipiMontagna
  tempo_segnale,     // a signal's time: 0 or 101 to 255, kept only when the signal's kind is 2
};

/// The mountain types an author writes: 1 and 2, and 11 and 12 for the same with mountain signs.
/// The others within the field are stored but mean nothing (3 is the compactor's own, for a
/// mountain that follows the previous one closely).
inline constexpr int64_t kTipiMontagna[] = {1, 2, 11, 12};

/// How a value reaches the model.
enum class Memoria {
  come_scritto,     // stored as written, in the width it is read into
  bassi_8,          // its low 8 bits are stored
  bassi_16,         // its low 16 bits are stored
  quinti,           // divided by 5, rounded half to even, into one byte
  piu_cento,        // + 100, into one byte
  tratto_piu_uno,   // a position: gives stretch value / 50 + 1, rounded half to even
  tratto,           // a position: gives stretch value / 50, rounded half to even
  tratto_meno_uno,  // a position: gives stretch value / 50 − 1, rounded half to even
  composto,         // combined with other values of its line (the rule says how)
  non_memorizzato,  // used, never stored
  testo,            // stored as text
};

/// The table of the model a value goes to.
enum class TabellaModello { nessuna, elenco, tratti, tracciato };

/// Where a value goes: a field of an entry of `elenco` (of a fixed entry, of the station's entry
/// or of the board's entry), named by its role in the entry (model/ruoli_voci.h); a field of the
/// stretches of `tratti` (model/campi.h); or the route plan.
struct Dove {
  static constexpr int kStazione = -1;  // the entry of the station being read
  static constexpr int kCartello = -2;  // the next free board entry, from 80 down
  TabellaModello tabella = TabellaModello::nessuna;
  int indice = 0;                    // for `elenco`
  std::optional<RuoloVoce> ruolo;    // for `elenco`
  std::optional<CampoTratto> campo;  // for `tratti`
};
constexpr Dove in_elenco(int indice, RuoloVoce ruolo) {
  return {TabellaModello::elenco, indice, ruolo, std::nullopt};
}
constexpr Dove in_stazione(RuoloVoce ruolo) { return in_elenco(Dove::kStazione, ruolo); }
constexpr Dove in_cartello(RuoloVoce ruolo) { return in_elenco(Dove::kCartello, ruolo); }
constexpr Dove in_tratti(CampoTratto campo) {
  return {TabellaModello::tratti, 0, std::nullopt, campo};
}
inline constexpr Dove kTracciato{TabellaModello::tracciato, 0, std::nullopt, std::nullopt};
inline constexpr Dove kDaNessunaParte{};

// Rows of keywords and headers, in the order an author meets them; within a section the keyword
// tests run in the order of `prova` (1 first). Columns:
//   name, section, kind, test order, letter case, what the item must contain (one or two
//   strings, "" for none), the spelling an author writes (the canonical one), another spelling
//   read as it without a warning, variant, what separates its values on a line, meaning, note.
// clang-format off
#define COMPATTATORE_PAROLE(X)                                                                     \
  X(generale_linea, linea_generale, intestazione, 0, ignorate, "[generale]", "", "[generale]",     \
    nullptr, nessuna, ',', "apre la sezione generale; ciò che la precede è ignorato", "")      \
  X(lunghezza_percorso, linea_generale, parola, 1, ignorate, "percorso", "lunghezza",              \
    "lunghezza percorso", nullptr, nessuna, ',', "",                                               \
    "Il percorso ha (L + 7000) / 50 + 1 tratti")                                                \
  COMPATTATORE_PAROLA_PROGRESSIVA(X, progressiva_uno, 4, "uno")                                    \
  COMPATTATORE_PAROLA_PROGRESSIVA(X, progressiva_due, 3, "due")                                    \
  COMPATTATORE_PAROLA_PROGRESSIVA(X, progressiva_tre, 2, "tre")                                    \
  X(sfondo_uno, linea_generale, parola, 5, contano, "sfondo", "uno", "sfondo uno", nullptr,        \
    nessuna, ',', "", "")                                                                          \
  X(sfondo_due, linea_generale, parola, 6, contano, "sfondo", "due", "sfondo due", nullptr,        \
    nessuna, ',', "", "")                                                                          \
  X(sfondo_tre, linea_generale, parola, 7, contano, "sfondo", "tre", "sfondo tre", nullptr,        \
    nessuna, ',', "", "")                                                                          \
  X(ripetizione_segnali, linea_generale, parola, 8, contano, "segnali", "ripetizione",             \
    "ripetizione segnali 9 codici", "ripetizione segnali 4 codici", codici, ',',                   \
    "la sezione di ripetizione dei segnali",                                                               \
    "La cifra 4 o 9 nella parola chiave è il numero dei codici (codice 5 se non c'è nessuna "      \
    "delle due); fine 0 vuol dire nessuna ripetizione")                                                                               \
  X(curve, linea_elementi, intestazione, 0, ignorate, "[curve]", "", "[curve]", nullptr, nessuna,  \
    ',', "ogni intestazione tra parentesi quadre chiude la sezione generale", "")                                      \
  X(pendenze, linea_elementi, intestazione, 0, ignorate, "[pendenze]", "", "[pendenze]", nullptr,  \
    nessuna, ',', "", "")                                                                          \
  X(montagne, linea_elementi, intestazione, 0, ignorate, "[montagne]", "", "[montagne]", nullptr,  \
    nessuna, ',', "", "")                                                                          \
  X(cartelli, linea_elementi, intestazione, 0, ignorate, "[cartelli]", "", "[cartelli]", nullptr,  \
    nessuna, ',', "", "")                                                                          \
  X(indicazioni, linea_elementi, intestazione, 0, ignorate, "[indicazioni]", "", "[indicazioni]",  \
    nullptr, nessuna, ',', "", "")                                                                 \
  X(pendenza, linea_elementi, parola, 1, ignorate, "pendenza", "", "pendenza", nullptr, nessuna,   \
    ',', "",                                                                                       \
    "Da P in poi, fino alla riga di pendenza dopo; prima della prima pendenza il percorso è in piano")       \
  X(curva, linea_elementi, parola, 2, ignorate, "curva", "", "curva", nullptr, curva, ',',         \
    "una curva",                                                                                     \
    "Le curve danno forma solo al tracciato `NOME_linea.dat`, e con `--senza-tracciato` sono "       \
    "saltate")                                                                         \
  X(montagna, linea_elementi, parola, 3, ignorate, "montagna", "", "montagna", nullptr, nessuna,   \
    ',', "un tratto di montagna",                                                                     \
    "Una montagna che comincia al più 150 m dopo la fine della precedente diventa di tipo 3. Al "     \
    "più 80 (codice 26)")                                                                                   \
  X(indicatori_vmax, linea_elementi, parola, 4, ignorate, "indicatori_v", "", "indicatori_vmax",   \
    nullptr, nessuna, ',', "un indicatore di velocità massima",                                              \
    "Le velocità sono multipli di 5; i valori vuoti valgono 0; ogni coppia *vXs* · 20 + *vXd* / 5 "  \
    "deve stare in 16 bit (codice 25)")            \
  X(cartello_indicatore, linea_elementi, parola, 5, ignorate, "indicat", "cartello",               \
    "cartello_indicatore", nullptr, nessuna, ',', "un cartello indicatore",                            \
    "Al più 80 cartelli (codice 27); cartelli e stazioni si dividono 78 voci")                   \
  X(fine_linea, linea_elementi, intestazione, 0, ignorate, "[fine]", "", "[fine]", nullptr,        \
    nessuna, ',', "l'ultima riga", "")                                                             \
  X(generale_treno, treno, intestazione, 0, ignorate, "[generale]", "", "[generale]", nullptr,     \
    nessuna, ',', "apre il file del treno; senza, non si legge nulla (avviso)", "")             \
  X(aderenze, treno, intestazione, 0, ignorate, "[aderenze]", "", "[aderenze]", nullptr, nessuna,  \
    ',', "ogni altra intestazione tra parentesi quadre è saltata", "")                                          \
  X(vel_limite, treno, intestazione, 0, ignorate, "[vel_limite]", "", "[vel_limite]", nullptr,     \
    nessuna, ',', "", "")                                                                          \
  X(stazioni, treno, intestazione, 0, ignorate, "[stazioni]", "", "[stazioni]", nullptr, nessuna,  \
    ',', "", "")                                                                                   \
  X(rallentamenti, treno, intestazione, 0, ignorate, "[rallentamenti]", "", "[rallentamenti]",     \
    nullptr, nessuna, ',', "", "")                                                                 \
  X(segnali, treno, intestazione, 0, ignorate, "[segnali]", "", "[segnali]", nullptr, nessuna,     \
    ',', "", "")                                                                                   \
  X(codici, treno, intestazione, 0, ignorate, "[codici]", "", "[codici]", nullptr, nessuna, ',',   \
    "", "")                                                                                        \
  X(numero_vetture, treno, parola, 2, ignorate, "vetture", "", "numero vetture", nullptr, nessuna, \
    ',', "", "")                                                                                   \
  X(percentuale_massa_frenata, treno, parola, 1, ignorate, "frenata", "massa",                     \
    "percentuale massa frenata", nullptr, nessuna, ',', "", "")                                    \
  X(sabbia, treno, parola, 6, ignorate, "sabbia", "", "sabbia", nullptr, nessuna, ',', "", "")     \
  X(orologio, treno, parola, 5, ignorate, "orologio", "", "orologio", nullptr, nessuna, ' ',       \
    "l'orologio alla partenza, i valori separati da spazi", "")                                         \
  X(aderenza, treno, parola, 4, ignorate, "aderenza", "", "aderenza", nullptr, nessuna, ',', "",   \
    "Da P in poi, fino alla riga di aderenza dopo; in ordine di posizione crescente")                    \
  X(velocita, treno, parola, 3, ignorate, "velocit", "", "velocita", "velocit\xE0", nessuna, ',',  \
    "",                                                                                            \
    "Da P in poi, fino alla riga di velocità dopo; in ordine di posizione crescente. Una velocità " \
    "fuori dal campo è segnalata sulla riga dove è scritta *v*")                                          \
  X(stazione, treno, parola, 10, ignorate, "stazione", "", "stazione", nullptr, nessuna, ',',      \
    "una stazione", "")                                                                               \
  X(rallentamento, treno, parola, 8, ignorate, "rallentamento", "", "rallentamento", nullptr,      \
    nessuna, ',', "un rallentamento",                                                                    \
    "Il suo cartello di preavviso sta 1200 m prima di *x* (nessuno se *x* ≤ 1500). Codici da 17 a "  \
    "20 se i suoi tratti sono occupati")                                                                         \
  X(segnale, treno, parola, 7, ignorate, "segnale", "", "segnale", nullptr, nessuna, ',',          \
    "un segnale", "")                                                                                \
  X(abbattimento, treno, parola, 9, ignorate, "abbattimento", "", "abbattimento", nullptr,         \
    nessuna, ',', "un punto di codice", "")                                                              \
  X(fine_treno, treno, intestazione, 0, ignorate, "[fine]", "", "[fine]", nullptr, nessuna, ',',   \
    "l'ultima riga", "")

// A kilometric section line: "progressiva chilometrica " and `numero` ("uno", "due", "tre").
#define COMPATTATORE_PAROLA_PROGRESSIVA(X, nome, prova, numero)                                    \
  X(nome, linea_generale, parola, prova, contano, numero, "progressiva",                           \
    "progressiva chilometrica " numero, nullptr, nessuna, ',',                                     \
    "una sezione chilometrica (sistema di progressive)",                                                      \
    "Fino a tre sezioni, ordinate per inizio; due con lo stesso inizio, il più grande, le "          \
    "cancellano tutte e tre")
// clang-format on

/// A row of the table of keywords and headers, by name.
enum class Chiave {
#define COMPATTATORE_VOCE_ENUM(nome, ...) nome,
  COMPATTATORE_PAROLE(COMPATTATORE_VOCE_ENUM)
#undef COMPATTATORE_VOCE_ENUM
};

// The values each keyword reads, in the order it reads them, grouped by keyword in the order of
// the keywords. Columns:
//   keyword, name, how it is read, range, code beyond the range (nessuno: stored as `memoria`
//   says, with a warning), multiple, what it means (for the values stored as written that cannot
//   be meant), how it is stored, unit, where it goes, meaning, rule.
// clang-format off
#define COMPATTATORE_VALORI(X)                                                                     \
  X(lunghezza_percorso, L, i32, da_a(0, 1000000), lunghezza_fuori_campo, kQualsiasi, qualsiasi,    \
    come_scritto, "m", in_elenco(voce::figure_treno, RuoloVoce::figure_treno_lunghezza),           \
    "lunghezza del percorso", "")                                                                            \
  COMPATTATORE_VALORI_PROGRESSIVA(X, progressiva_uno, voce::sezione_uno)                           \
  COMPATTATORE_VALORI_PROGRESSIVA(X, progressiva_due, voce::sezione_due)                           \
  COMPATTATORE_VALORI_PROGRESSIVA(X, progressiva_tre, voce::sezione_tre)                           \
  COMPATTATORE_VALORI_SFONDO(X, sfondo_uno)                                                        \
  COMPATTATORE_VALORI_SFONDO(X, sfondo_due)                                                        \
  COMPATTATORE_VALORI_SFONDO(X, sfondo_tre)                                                        \
  X(ripetizione_segnali, inizio, i32, kInteri32, nessuno,                                          \
    multiplo_di(50, Codice::ripetizione_inizio), qualsiasi, come_scritto, "m",                     \
    in_elenco(voce::treno, RuoloVoce::treno_ripetizione_inizio), "inizio", "")                      \
  X(ripetizione_segnali, fine, i32, kInteri32, nessuno, multiplo_di(50, Codice::ripetizione_fine), \
    fine_o_nulla, come_scritto, "m", in_elenco(voce::treno, RuoloVoce::treno_ripetizione_fine),    \
    "fine", "")                                                                                     \
  X(pendenza, P, posizione, fino_a_linea_piu(6900), fuori_percorso, kQualsiasi, qualsiasi, tratto, \
    "m", in_tratti(CampoTratto::pendenza), "posizione", "")                                         \
  X(pendenza, G, i32, da_a(-100, 155), guasto_lettura, kQualsiasi, qualsiasi, piu_cento,           \
    "per mille", in_tratti(CampoTratto::pendenza), "pendenza con segno", "")                          \
  X(curva, P, posizione, fino_a_linea_piu(6900), fuori_percorso, kQualsiasi, qualsiasi, composto,  \
    "m", kTracciato, "inizio", "")                                                                  \
  X(curva, N, i32, kInteri32, nessuno, kQualsiasi, lunghezza, composto, "m", kTracciato, "lunghezza", \
    "")                                                                                            \
  X(montagna, inizio, posizione, fino_a_linea_piu(6900), fuori_percorso, kQualsiasi, qualsiasi,    \
    tratto, "m", in_tratti(CampoTratto::montagna), "inizio", "")                                    \
  X(montagna, fine, i32, kInteri32, fuori_percorso, kQualsiasi, fine, tratto_meno_uno, "m",        \
    in_tratti(CampoTratto::montagna), "fine", "il suo ultimo tratto deve stare nel percorso (codice 15)")   \
  X(montagna, tipo, i32, da_a(1, 12), nessuno, kQualsiasi, tipo_montagna, composto, "",              \
    in_tratti(CampoTratto::montagna), "tipo",                                                      \
    "1 o 2, oppure 11 e 12 per gli stessi con un segno di montagna ogni 200 m dove il binario è "   \
    "libero; ne sono memorizzati gli 8 bit bassi")                                                                   \
  X(indicatori_vmax, P, posizione, fino_a_linea_piu(6900), fuori_percorso, kQualsiasi, qualsiasi,  \
    tratto_piu_uno, "m", in_tratti(CampoTratto::oggetto), "posizione", "")                          \
  COMPATTATORE_VALORI_LATO(X, s, "primo", (da_a(0, 1635)), 5, velocita)                           \
  COMPATTATORE_VALORI_LATO(X, d, "secondo", (da_a(0, 495)), 0, velocita_o_nulla)                    \
  X(cartello_indicatore, P, posizione, fino_a_linea_piu(6900), fuori_percorso, kQualsiasi,         \
    qualsiasi, tratto_piu_uno, "m", in_tratti(CampoTratto::oggetto), "posizione", "")               \
  X(cartello_indicatore, testo, testo, kNessunNumero, nessuno, kQualsiasi, qualsiasi, testo, "",   \
    in_cartello(RuoloVoce::cartello_testo),                                                        \
    "da uno a tre testi tra parentesi, come `(Ponte Fiume)(Tevere)`",                               \
    "fino alla fine della riga (una virgola chiude il testo)")                                                  \
  X(numero_vetture, n, i32, kInteri32, nessuno, kQualsiasi, qualsiasi, come_scritto, "",           \
    in_elenco(voce::figure_treno, RuoloVoce::figure_treno_vetture), "numero delle vetture", "")          \
  X(percentuale_massa_frenata, n, i32, kInteri32, nessuno, kQualsiasi, qualsiasi, come_scritto,    \
    "%", in_elenco(voce::figure_treno, RuoloVoce::figure_treno_massa_frenata),                     \
    "percentuale di massa frenata", "")                                                                  \
  X(sabbia, n, i16, kInteri16, guasto_lettura, kQualsiasi, qualsiasi, come_scritto, "",            \
    in_elenco(voce::treno, RuoloVoce::treno_sabbia), "quantità di sabbia", "")                          \
  X(orologio, ore, i16, kInteri16, guasto_lettura, kQualsiasi, ore, come_scritto, "h",             \
    in_elenco(voce::treno, RuoloVoce::treno_ore), "ore", "")                                     \
  X(orologio, minuti, i16, kInteri16, guasto_lettura, kQualsiasi, minuti, come_scritto, "min",     \
    in_elenco(voce::treno, RuoloVoce::treno_minuti), "minuti", "")                                \
  X(orologio, secondi, i16, kInteri16, guasto_lettura, kQualsiasi, minuti, come_scritto, "s",      \
    in_elenco(voce::treno, RuoloVoce::treno_secondi), "secondi", "")                               \
  X(aderenza, P, posizione, fino_a_linea_piu(6900), fuori_percorso, kQualsiasi, qualsiasi, tratto, \
    "m", in_tratti(CampoTratto::aderenza), "posizione", "")                                         \
  X(aderenza, a, i32, kByte, nessuno, kQualsiasi, qualsiasi, bassi_8, "",                          \
    in_tratti(CampoTratto::aderenza), "aderenza", "l'esempio usa da 70 a 100")                    \
  X(velocita, P, posizione, fino_a_linea_piu(6900), fuori_percorso, kQualsiasi, qualsiasi, tratto, \
    "m", in_tratti(CampoTratto::velocita), "posizione", "")                                         \
  X(velocita, v, i32, da_a(0, 1277), guasto_lettura, kQualsiasi, velocita, quinti, "km/h",         \
    in_tratti(CampoTratto::velocita), "velocità massima", "")                                           \
  X(stazione, P, posizione, fino_a_linea_piu(6200), fuori_percorso,                                \
    multiplo_di(50, Codice::stazione_non_multipla), qualsiasi, come_scritto, "m",                  \
    in_stazione(RuoloVoce::stazione_posizione), "posizione",                                       \
    "stazioni in ordine crescente, ogni zona almeno 350 m dopo la fine della precedente (codice "  \
    "22)")                                                                                         \
  X(stazione, tipo, u8, kByte, guasto_lettura, kQualsiasi, qualsiasi, come_scritto, "",            \
    in_stazione(RuoloVoce::stazione_tipo), "tipo di stazione",                                         \
    "i tipi 5 e 6 hanno una zona da P − L a P + 150, 7 e 8 da P − L a P + L, gli altri da P − L/2 "  \
    "a P + L/2; i tipi sotto 25 hanno un punto di fermata alla fine della zona (e, salvo 5 e 6, "   \
    "quattro segni di avvicinamento prima); da 25 in su (un bivio, una fermata senza sosta) né "   \
    "l'uno né gli altri")                                                                                 \
  X(stazione, L, i32, kInteri32, nessuno, multiplo_di(100, Codice::marciapiede_non_multiplo),      \
    lunghezza, non_memorizzato, "m", kDaNessunaParte, "lunghezza del marciapiede", "")                       \
  X(stazione, opzione, u8, kByte, guasto_lettura, kQualsiasi, qualsiasi, come_scritto, "",         \
    in_stazione(RuoloVoce::stazione_opzione), "opzione", "")                                        \
  X(stazione, flag_4, u8, kByte, guasto_lettura, kQualsiasi, qualsiasi, come_scritto, "",          \
    in_stazione(RuoloVoce::stazione_flag_4), "indicatore 4",                                             \
    "azzerato se L è sotto 600, e nella prima stazione")                                       \
  X(stazione, flag_3, u8, kByte, guasto_lettura, kQualsiasi, qualsiasi, come_scritto, "",          \
    in_stazione(RuoloVoce::stazione_flag_3), "indicatore 3",                                             \
    "diverso da 0 allunga la zona di 50 m (tipi diversi da 5 a 8); azzerato per i tipi da 5 a 8 e "  \
    "nella prima stazione")                                                                           \
  X(stazione, intero_1, i16, kInteri16, guasto_lettura, kQualsiasi, qualsiasi, come_scritto, "",   \
    in_stazione(RuoloVoce::stazione_intero_1), "intero 1", "")                                    \
  X(stazione, intero_2, i16, kInteri16, guasto_lettura, kQualsiasi, qualsiasi, come_scritto, "",   \
    in_stazione(RuoloVoce::stazione_intero_2), "intero 2", "")                                    \
  X(stazione, flag_1, u8, kByte, guasto_lettura, kQualsiasi, qualsiasi, come_scritto, "",          \
    in_stazione(RuoloVoce::stazione_flag_1), "indicatore 1", "")                                         \
  X(stazione, intero_3, i16, kInteri16, guasto_lettura, kQualsiasi, qualsiasi, come_scritto, "",   \
    in_stazione(RuoloVoce::stazione_intero_3), "intero 3", "")                                    \
  X(stazione, intero_4, i16, kInteri16, guasto_lettura, kQualsiasi, qualsiasi, come_scritto, "",   \
    in_stazione(RuoloVoce::stazione_intero_4), "intero 4", "")                                    \
  X(stazione, intero_5, i16, kInteri16, guasto_lettura, kQualsiasi, qualsiasi, come_scritto, "",   \
    in_stazione(RuoloVoce::stazione_intero_5), "intero 5", "")                                    \
  X(stazione, sosta, u8, kByte, guasto_lettura, kQualsiasi, qualsiasi, come_scritto, "s",          \
    in_stazione(RuoloVoce::stazione_sosta), "tempo di sosta", "")                                       \
  X(stazione, ore, i32, kInteri32, nessuno, kQualsiasi, ore, composto, "h",                        \
    in_stazione(RuoloVoce::stazione_orario), "ore dell'orario", "")                                \
  X(stazione, minuti, i32, kInteri32, nessuno, kQualsiasi, minuti, composto, "min",                \
    in_stazione(RuoloVoce::stazione_orario), "minuti dell'orario", "")                              \
  X(stazione, secondi, i32, kInteri32, nessuno, kQualsiasi, minuti, composto, "s",                 \
    in_stazione(RuoloVoce::stazione_orario), "secondi dell'orario",                                  \
    "(ore · 60 + minuti) · 60 + secondi entro 32 bit (codice 25)")                                 \
  X(stazione, nome, testo, kNessunNumero, nessuno, kQualsiasi, qualsiasi, testo, "",               \
    in_stazione(RuoloVoce::stazione_nome), "il nome della stazione",                                   \
    "fino alla fine della riga (una virgola lo chiude); ammessi spazi, punti, `-` e `°`")                      \
  X(rallentamento, x, posizione, fino_a_linea_piu(6900), fuori_percorso, kQualsiasi, qualsiasi,    \
    tratto_piu_uno, "m", in_tratti(CampoTratto::oggetto), "inizio", "")                             \
  X(rallentamento, v, i32, kInteri16, nessuno, kQualsiasi, velocita, bassi_16, "km/h",             \
    in_tratti(CampoTratto::valore_1), "velocità", "sul cartello di preavviso, sull'inizio e sulla fine")      \
  X(rallentamento, l, i32, kInteri32, nessuno, kQualsiasi, lunghezza, non_memorizzato, "m",        \
    kDaNessunaParte, "lunghezza", "la fine sta sul tratto (x + l) / 50 + 1")                         \
  X(rallentamento, f_tt, i32, kInteri16, nessuno, kQualsiasi, qualsiasi, bassi_16, "",             \
    in_tratti(CampoTratto::valore_3), "treno intero",                                               \
    "1: da rispettare con tutto il treno (0 altrimenti); sull'inizio e sulla fine")               \
  X(rallentamento, f_ta, i32, kInteri32, nessuno, kQualsiasi, qualsiasi, non_memorizzato, "",      \
    kDaNessunaParte, "segni",                                                                      \
    "diverso da 0: i quattro tratti (200 m) prima del cartello di preavviso sono segnati")                       \
  X(rallentamento, d_v, i32, kInteri16, nessuno, kQualsiasi, qualsiasi, bassi_16, "",              \
    in_tratti(CampoTratto::valore_2), "secondo valore",                                              \
    "diverso da 0: memorizzato sul cartello di preavviso, sull'inizio e sulla fine")                                   \
  X(segnale, P, posizione, fino_a_linea_piu(6900), fuori_percorso, kQualsiasi, qualsiasi,          \
    tratto_piu_uno, "m", in_tratti(CampoTratto::oggetto), "posizione",                             \
    "almeno 350 m dall'inizio del percorso, per i suoi segni di avvicinamento 400 m prima")                 \
  X(segnale, sx, i32, da_a(1, 2), nessuno, kQualsiasi, qualsiasi, composto, "",                    \
    in_tratti(CampoTratto::valore_4), "tipo",                                                      \
    "memorizzato come *rapp* · 10 + *sx* · 3 + *dx*, e nei segni di avvicinamento")                          \
  COMPATTATORE_VALORE_ASPETTO(X, s1, 7, valore_1, "primo aspetto", "memorizzato come *s1* · 10 + *d1*")    \
  COMPATTATORE_VALORE_ASPETTO(X, s2, 7, valore_2, "secondo aspetto", "memorizzato come *s2* · 10 + *d2*")   \
  COMPATTATORE_VALORE_ASPETTO(X, s3, 7, valore_3, "terzo aspetto", "memorizzato come *s3* · 10 + *d3*")    \
  X(segnale, rapp, i32, da_a(0, 2), nessuno, kQualsiasi, qualsiasi, composto, "",                  \
    in_tratti(CampoTratto::valore_4), "ripetizione", "le decine di *rapp* · 10 + *sx* · 3 + *dx*")   \
  X(segnale, dx, i32, da_a(0, 2), nessuno, kQualsiasi, qualsiasi, composto, "",                    \
    in_tratti(CampoTratto::valore_4), "tipo, aggiunto",                                               \
    "aggiunto a *rapp* · 10 + *sx* · 3, e nei segni di avvicinamento")                                  \
  COMPATTATORE_VALORE_ASPETTO(X, d1, 3, valore_1, "primo aspetto, unità", "aggiunto a *s1* · 10")     \
  COMPATTATORE_VALORE_ASPETTO(X, d2, 3, valore_2, "secondo aspetto, unità", "aggiunto a *s2* · 10")    \
  COMPATTATORE_VALORE_ASPETTO(X, d3, 3, valore_3, "terzo aspetto, unità", "aggiunto a *s3* · 10")     \
  X(segnale, tempo, i32, da_a(0, 255), nessuno, kQualsiasi, tempo_segnale, composto, "s",              \
    in_tratti(CampoTratto::tempo_segnale), "tempo",                                                 \
    "tenuto solo se *sx* è 2: 0, o da 101 a 255 (da 1 a 100 diventa 101); ne sono memorizzati gli " \
    "8 bit bassi")                                                                                      \
  X(abbattimento, P, posizione, fino_a_linea_piu(6900), fuori_percorso, kQualsiasi, qualsiasi,     \
    tratto, "m", in_tratti(CampoTratto::oggetto), "posizione", "")                                  \
  X(abbattimento, c, i32, kCodici, nessuno, kQualsiasi, parola_nulla, bassi_16, "",              \
    in_tratti(CampoTratto::valore_1), "codice",                                                      \
    "un cambio di codice a *c* (1 o più, per esempio 270), o un abbattimento del codice se *c* è "   \
    "sotto 1 o non è un numero (`AC`)")

// The three values of a kilometric section line, into the entry `indice`.
#define COMPATTATORE_VALORI_PROGRESSIVA(X, chiave, indice)                                         \
  X(chiave, inizio, i32, kInteri32, nessuno, multiplo_di(50, Codice::progressiva_non_multipla),    \
    qualsiasi, come_scritto, "m", in_elenco(indice, RuoloVoce::sezione_km_inizio),                 \
    "la posizione sul percorso dove comincia", "")                                                      \
  X(chiave, valore, i32, kInteri32, nessuno, multiplo_di(50, Codice::progressiva_non_multipla),    \
    qualsiasi, come_scritto, "m", in_elenco(indice, RuoloVoce::sezione_km_progressiva),            \
    "la progressiva in quel punto", "")                                                              \
  X(chiave, verso, i32, kInteri32, nessuno, kQualsiasi, qualsiasi, come_scritto, "",               \
    in_elenco(indice, RuoloVoce::sezione_km_verso), "verso",                                   \
    "1 aggiunge 100 m alla progressiva, ogni altro valore la lascia")

// The background value of a "sfondo" line, into its field of the header entry.
#define COMPATTATORE_VALORI_SFONDO(X, chiave)                                                      \
  X(chiave, n, i32, kInteri32, nessuno, kQualsiasi, qualsiasi, come_scritto, "",                   \
    in_elenco(voce::intestazione, RuoloVoce::intestazione_##chiave),                               \
    "valore di sfondo per il simulatore", "")

// The speeds of the three train ranks and the stripes on one side of a speed indicator board:
// the speeds within `intervallo`, multiples of `passo` (any when 0), as `senso` says.
#define COMPATTATORE_VALORI_LATO(X, lato, quale, intervallo, passo, senso)                         \
  COMPATTATORE_VELOCITA_LATO(X, va##lato, valore_1, "A", quale, intervallo, passo, senso)          \
  COMPATTATORE_VELOCITA_LATO(X, vb##lato, valore_2, "B", quale, intervallo, passo, senso)          \
  COMPATTATORE_VELOCITA_LATO(X, vc##lato, valore_3, "C", quale, intervallo, passo, senso)          \
  X(indicatori_vmax, strisce##lato, i32, da_a(0, 9), nessuno, kQualsiasi, qualsiasi, composto, "", \
    in_tratti(CampoTratto::valore_4), "strisce sul " quale " lato", "")
#define COMPATTATORE_VELOCITA_LATO(X, nome, campo, rango, quale, intervallo, passo, senso)         \
  X(indicatori_vmax, nome, i32, intervallo, nessuno, multiplo_di(passo, Codice::nessuno), senso,   \
    composto, "km/h", in_tratti(CampoTratto::campo),                                               \
    "velocità del rango " rango " sul " quale " lato", "")

// One digit of a signal's aspect, 0 to `massimo`: the tens (s) or units (d) of `campo`.
#define COMPATTATORE_VALORE_ASPETTO(X, nome, massimo, campo, significato, regola)                  \
  X(segnale, nome, i32, da_a(0, massimo), nessuno, kQualsiasi, qualsiasi, composto, "",            \
    in_tratti(CampoTratto::campo), significato, regola)
// clang-format on

/// A value of a keyword, by name: `ValoreChiave::stazione_tipo` is the item "tipo" of "stazione".
enum class ValoreChiave {
#define COMPATTATORE_VOCE_ENUM(chiave, nome, ...) chiave##_##nome,
  COMPATTATORE_VALORI(COMPATTATORE_VOCE_ENUM)
#undef COMPATTATORE_VOCE_ENUM
};

/// One row of the table of keywords and headers.
struct RigaChiave {
  Chiave chiave;
  const char* nome;  // the row's name, as in `Chiave`
  Ambito ambito;
  Genere genere;
  int prova;  // the order of its test within its section, from 1 (0 for a header)
  Maiuscole maiuscole;
  const char* contiene[2];  // what an item must contain to be read as it ("" for none)
  const char* forma;        // the spelling an author writes (Windows-1252)
  const char* altra_forma;  // another spelling read without a warning, or nullptr
  Variante variante;
  char separatore;          // between its values on a line
  const char* significato;  // what the line is (Italian, UTF-8), or ""
  const char* nota;         // what more there is to say of the whole line, or ""
};

/// One row of the table of values.
struct RigaValore {
  ValoreChiave valore;
  Chiave chiave;     // the keyword that reads it
  const char* nome;  // as the field reference writes it
  ModoLettura lettura;
  Intervallo intervallo;
  Codice codice;  // set for a value beyond `intervallo`; nessuno when it is stored as `memoria`
  Multiplo multiplo;
  Senso senso;
  Memoria memoria;
  const char* unita;  // "m", "km/h", ...; "" for a pure number
  Dove dove;
  const char* significato;  // Italian, UTF-8
  const char* regola;       // what more the value does, or ""
};

inline constexpr RigaChiave kRigheChiavi[] = {
#define COMPATTATORE_VOCE_RIGA(nome, ambito, genere, prova, maiuscole, c1, c2, forma, altra,  \
                               variante, separatore, significato, nota)                       \
  {Chiave::nome, #nome, Ambito::ambito, Genere::genere,     prova,      Maiuscole::maiuscole, \
   {c1, c2},     forma, altra,          Variante::variante, separatore, significato,          \
   nota},
    COMPATTATORE_PAROLE(COMPATTATORE_VOCE_RIGA)
#undef COMPATTATORE_VOCE_RIGA
};

inline constexpr RigaValore kRigheValori[] = {
#define COMPATTATORE_VOCE_RIGA(chiave, nome, lettura, intervallo, codice, multiplo, senso, \
                               memoria, unita, dove, significato, regola)                  \
  {ValoreChiave::chiave##_##nome,                                                          \
   Chiave::chiave,                                                                         \
   #nome,                                                                                  \
   ModoLettura::lettura,                                                                   \
   intervallo,                                                                             \
   Codice::codice,                                                                         \
   multiplo,                                                                               \
   Senso::senso,                                                                           \
   Memoria::memoria,                                                                       \
   unita,                                                                                  \
   dove,                                                                                   \
   significato,                                                                            \
   regola},
    COMPATTATORE_VALORI(COMPATTATORE_VOCE_RIGA)
#undef COMPATTATORE_VOCE_RIGA
};

/// The row of `c`.
constexpr const RigaChiave& riga(Chiave c) { return kRigheChiavi[static_cast<size_t>(c)]; }
/// The row of `v`.
constexpr const RigaValore& riga(ValoreChiave v) { return kRigheValori[static_cast<size_t>(v)]; }

/// The longest route in metres: the range of "lunghezza percorso" (code 1 beyond).
inline constexpr int32_t kLunghezzaPercorsoMassima =
    static_cast<int32_t>(riga(ValoreChiave::lunghezza_percorso_L).intervallo.massimo);

/// The values `c` reads, in order (none for a header).
std::span<const RigaValore> valori(Chiave c);

/// The value `scritto`, read as `v`, as the model holds it, in the value's unit: itself, its low
/// bits, or a speed to the nearest 5 km/h. Nothing for a value combined with others, used but
/// never stored, or a text.
std::optional<int64_t> memorizzato(const RigaValore& v, int64_t scritto);

/// The keywords of `ambito` in the order of their tests.
std::span<const RigaChiave* const> in_ordine_di_prova(Ambito ambito);

/// Whether the keyword item `esatta` (`bassa` in lower case) is read as `r`: it contains what
/// the row asks, compared with the row's letter case.
bool corrisponde(const RigaChiave& r, std::string_view esatta, std::string_view bassa);

/// The class (1 to 6) of a curve item in lower case: the first of the digits 1 to 6 it holds.
std::optional<int> classe_curva(std::string_view bassa);
/// The spelling of a curve to the left or right of class `classe` (1 to 6): "curvad4".
std::string forma_curva(bool sinistra, int classe);

/// The spelling that the item `bassa`, read as `r`, is taken for: the canonical one, or the one
/// its variant picks (the digit 4 for the number of codes, side and class for a curve). Nothing
/// for a curve without a class.
std::optional<std::string> forma_letta(const RigaChiave& r, std::string_view bassa);

/// Every spelling an author may write for `r`, canonical first: one, or the two of a number of
/// codes, or the twelve of a curve (right before left, by class).
std::vector<std::string> forme(const RigaChiave& r);

/// The line as an author writes it: the keyword and the names of its values.
std::string schema_riga(const RigaChiave& r);

/// What the value `v` is, its unit, range, multiple, storage and rule, as the field reference
/// writes it (Italian, Markdown).
std::string descrizione(const RigaValore& v);

/// The README's field reference (Markdown, UTF-8): the table of the line source, the table of
/// the train source, then a table of the values of each keyword that reads too many of them to
/// describe on its line (the station).
std::vector<std::string> riferimento_campi();

/// The keyword block of the fuzz dictionary: every spelling of every row, one per line, quoted.
std::string dizionario_parole();

}  // namespace compattatore
