// What the fields of the entries with a fixed meaning hold: the header entries of the table (81 to
// 83 the kilometric sections, 84 the train and route figures, 85 the scenario header, 86 the train
// header), a station (entries from 1 upwards) and a board text (entries from 80 downwards). One
// row per field that a role uses: X(gruppo, nome, campo, fattore, spostamento, unita,
// significato), where `campo` is the entry's field (model/righe_campi.h) and the scale and unit
// are those of the role (an entry's `orario` is a time for a station, a check code in entry 85).
// The views read entries through these rows; the fields a role leaves out hold nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "model/campi.h"
#include "model/modello.h"

namespace compattatore {

// clang-format off
#define COMPATTATORE_RUOLI_VOCE(X)                                                                 \
  X(sezione_km, inizio, campo_1, 1, 0, metri,                                                      \
    "dove comincia la sezione sul percorso")                                                       \
  X(sezione_km, progressiva, campo_2, 1, 0, metri,                                                 \
    "progressiva all'inizio della sezione (con verso 1, 100 in più del valore scritto)")           \
  X(sezione_km, verso, campo_3, 1, 0, nessuna,                                                     \
    "1: la progressiva decresce lungo il percorso; altrimenti cresce")                             \
  X(figure_treno, massa_frenata, campo_1, 1, 0, percento,                                          \
    "percentuale di massa frenata del treno")                                                      \
  X(figure_treno, lunghezza, campo_2, 1, 0, metri,                                                 \
    "lunghezza del percorso")                                                                      \
  X(figure_treno, vetture, campo_3, 1, 0, nessuna,                                                 \
    "numero di vetture del treno")                                                                 \
  X(intestazione, sfondo_uno, campo_1, 1, 0, nessuna,                                              \
    "valore di \"sfondo uno\"")                                                                    \
  X(intestazione, sfondo_tre, campo_2, 1, 0, nessuna,                                              \
    "valore di \"sfondo tre\" (nel secondo campo: l'ordine è incrociato)")                         \
  X(intestazione, sfondo_due, campo_3, 1, 0, nessuna,                                              \
    "valore di \"sfondo due\" (nel terzo campo: l'ordine è incrociato)")                           \
  X(intestazione, nome, testo, 1, 0, nessuna,                                                      \
    "nome dello scenario")                                                                         \
  X(intestazione, valore_fisso, intero_1, 1, 0, nessuna,                                           \
    "valore fisso 610")                                                                            \
  X(intestazione, codice_gara_st, orario, 1, 0, nessuna,                                           \
    "codice di controllo dell'elenco, da treno e nome")                                            \
  X(treno, ripetizione_inizio, campo_1, 1, 0, metri,                                               \
    "inizio della ripetizione segnali")                                                            \
  X(treno, ripetizione_fine, campo_2, 1, 0, metri,                                                 \
    "fine della ripetizione segnali")                                                              \
  X(treno, codici_ripetizione, campo_3, 1, 0, nessuna,                                             \
    "codici della ripetizione segnali: 4, 9, o 0 senza ripetizione")                               \
  X(treno, treno, testo, 1, 0, nessuna,                                                            \
    "numero del treno")                                                                            \
  X(treno, sabbia, intero_1, 1, 0, nessuna,                                                        \
    "quantità di sabbia")                                                                          \
  X(treno, ore, intero_3, 1, 0, nessuna,                                                           \
    "ore dell'orologio alla partenza")                                                             \
  X(treno, minuti, intero_4, 1, 0, nessuna,                                                        \
    "minuti dell'orologio alla partenza")                                                          \
  X(treno, secondi, intero_5, 1, 0, nessuna,                                                       \
    "secondi dell'orologio alla partenza")                                                         \
  X(stazione, tipo, tipo_voce, 1, 0, nessuna,                                                      \
    "tipo della stazione (sotto 25 con punto di fermata)")                                         \
  X(stazione, inizio_zona, campo_1, 1, 0, metri,                                                   \
    "inizio della zona di stazione")                                                               \
  X(stazione, fine_zona, campo_2, 1, 0, metri,                                                     \
    "fine della zona di stazione")                                                                 \
  X(stazione, posizione, campo_3, 1, 0, metri,                                                     \
    "posizione della stazione, multipla di 50 m")                                                  \
  X(stazione, opzione, opzione, 1, 0, nessuna,                                                     \
    "quarto valore della riga \"stazione\", com'è scritto")                                        \
  X(stazione, flag_4, flag_4, 1, 0, nessuna,                                                       \
    "quinto valore della riga; 0 con un marciapiede sotto 600 m e nella prima stazione")           \
  X(stazione, flag_3, flag_3, 1, 0, nessuna,                                                       \
    "sesto valore della riga: se non è 0 la zona si allunga di 50 m; 0 nella prima stazione")      \
  X(stazione, intero_1, intero_1, 1, 0, nessuna,                                                   \
    "settimo valore della riga, com'è scritto")                                                    \
  X(stazione, intero_2, intero_2, 1, 0, nessuna,                                                   \
    "ottavo valore della riga, com'è scritto")                                                     \
  X(stazione, flag_1, flag_1, 1, 0, nessuna,                                                       \
    "nono valore della riga, com'è scritto")                                                       \
  X(stazione, intero_3, intero_3, 1, 0, nessuna,                                                   \
    "decimo valore della riga, com'è scritto")                                                     \
  X(stazione, intero_4, intero_4, 1, 0, nessuna,                                                   \
    "undicesimo valore della riga, com'è scritto")                                                 \
  X(stazione, intero_5, intero_5, 1, 0, nessuna,                                                   \
    "dodicesimo valore della riga, com'è scritto")                                                 \
  X(stazione, sosta, flag_2, 1, 0, secondi,                                                        \
    "tempo di sosta")                                                                              \
  X(stazione, orario, orario, 1, 0, secondi_del_giorno,                                            \
    "orario della stazione (0: nessun orario)")                                                    \
  X(stazione, nome, testo, 1, 0, nessuna,                                                          \
    "nome della stazione")                                                                         \
  X(cartello, testo, testo, 1, 0, nessuna,                                                         \
    "testo del cartello indicatore")
// clang-format on

/// The entries that share a role.
enum class GruppoVoci : uint8_t {
  stazione,      // 1 upwards, in the order of the train source
  cartello,      // 80 downwards, in the order of the line source
  sezione_km,    // 81, 82, 83
  figure_treno,  // 84
  intestazione,  // 85
  treno,         // 86
};

/// The first and last entry a group may take (stations and boards share 1 to 80).
struct IntervalloVoci {
  int prima;
  int ultima;
};
constexpr IntervalloVoci voci_del_gruppo(GruppoVoci g) {
  switch (g) {
    case GruppoVoci::stazione:
      return {1, voce::primo_cartello - 1};
    case GruppoVoci::cartello:
      return {1, voce::primo_cartello};
    case GruppoVoci::sezione_km:
      return {voce::sezione_tre, voce::sezione_uno};
    case GruppoVoci::figure_treno:
      return {voce::figure_treno, voce::figure_treno};
    case GruppoVoci::intestazione:
      return {voce::intestazione, voce::intestazione};
    case GruppoVoci::treno:
      return {voce::treno, voce::treno};
  }
  return {0, -1};
}

/// A field of an entry in its role: `RuoloVoce::figure_treno_lunghezza`, ...
enum class RuoloVoce : uint8_t {
#define COMPATTATORE_VOCE_ENUM(gruppo, nome, ...) gruppo##_##nome,
  COMPATTATORE_RUOLI_VOCE(COMPATTATORE_VOCE_ENUM)
#undef COMPATTATORE_VOCE_ENUM
};

/// One row of the table of roles.
struct RigaRuolo {
  RuoloVoce ruolo;
  GruppoVoci gruppo;
  const char* nome;         // as the views spell it ("lunghezza", "sfondo_due")
  CampoVoce campo;          // the entry's field that holds it
  Scala scala;              // stored number to the author's unit
  Unita unita;              // the author's unit
  const char* significato;  // in Italian
};

/// All rows, in the order of the table.
std::span<const RigaRuolo> tabella_ruoli();
/// The row of `r`.
const RigaRuolo& riga_ruolo(RuoloVoce r);
/// The role of field `c` in an entry of group `g`, or nullptr when the group does not use it.
const RigaRuolo* ruolo_del_campo(GruppoVoci g, CampoVoce c);

/// The group whose roles the fields of entry `i` have. Entries 1 to 79 are read as a station's
/// (a board's entry holds nothing but its text); nothing for entry 0.
std::optional<GruppoVoci> gruppo_della_voce(size_t i);
/// The group's name as the views spell it ("stazione", "sezione_km").
const char* nome_gruppo(GruppoVoci g);
/// The field of an entry that a numeric row of kCampiVoce names (the rows skip the text).
CampoVoce campo_della_riga(const RigaCampo<Voce>& c);

/// The stored number of a numeric role in the entry `v`.
inline int64_t numero(const Voce& v, RuoloVoce r) {
  return riga_campo(riga_ruolo(r).campo).valore(v);
}
/// The stored number of a numeric role of entry 84, 85 or 86 (a group of one entry);
/// std::invalid_argument for a role that several entries share.
int64_t numero(const Elenco& e, RuoloVoce r);

}  // namespace compattatore
