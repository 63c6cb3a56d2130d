// Every kind of warning and note the run can give besides the codes of the error word: its name
// (as printed and in the JSON report) and what the author should change. A warning never touches
// the error word and never changes what is stored.
#pragma once

#include <span>

namespace compattatore {

// clang-format off
#define COMPATTATORE_AVVISI(X)                                                                     \
  X(parola_sconosciuta, "parola-sconosciuta",                                                      \
    "correggi la parola chiave, o togli la riga: ogni parola chiave è usata nei sorgenti "        \
    "d'esempio che scrive 'compattatore esempio CARTELLA'")                                        \
  X(parola_contenuta, "parola-contenuta",                                                          \
    "scrivi la parola chiave da sola come prima voce della riga; una riga di commento non deve "  \
    "contenere parole chiave")                                                                     \
  X(valori_mancanti, "valori-mancanti",                                                            \
    "scrivi sulla riga tutti i valori che la parola chiave legge")                                 \
  X(valori_in_piu, "valori-in-piu",                                                                \
    "togli i valori in più, o metti a capo la riga che segue")                                     \
  X(numero_arrotondato, "numero-arrotondato",                                                      \
    "scrivi un numero intero")                                                                     \
  X(non_numero, "non-numero",                                                                      \
    "scrivi il valore in cifre, come 12")                                                          \
  X(virgola_decimale, "virgola-decimale",                                                          \
    "per i decimali usa il punto, come 12.5: la virgola separa i valori")                          \
  X(fuori_campo, "fuori-campo",                                                                    \
    "scrivi un valore dentro il campo che il messaggio indica")                                    \
  X(velocita_nulla, "velocita-nulla",                                                              \
    "scrivi una velocità maggiore di 0 km/h")                                                      \
  X(velocita_eccessiva, "velocita-eccessiva",                                                      \
    "controlla la velocità: nessun treno corre oltre 400 km/h")                                    \
  X(lunghezza_non_positiva, "lunghezza-non-positiva",                                              \
    "scrivi una lunghezza maggiore di 0 m")                                                        \
  X(zona_rovesciata, "zona-rovesciata",                                                            \
    "scrivi una fine dopo l'inizio")                                                               \
  X(orario_impossibile, "orario-impossibile",                                                      \
    "scrivi le ore da 0 in su, i minuti e i secondi da 0 a 59")                                    \
  X(tipo_inesistente, "tipo-inesistente",                                                          \
    "scrivi il tipo 1 o 2, o 11 o 12 per lo stesso con un segno di montagna ogni 200 m: il tipo "  \
    "3 lo dà il compattatore a una montagna che comincia entro 150 m dalla fine della precedente") \
  X(tempo_del_segnale, "tempo-del-segnale",                                                        \
    "scrivi 0, o un tempo da 101 a 255 s per un segnale di tipo 2: gli altri segnali non tengono " \
    "un tempo")                                                                                    \
  X(virgolette_aperte, "virgolette-aperte",                                                        \
    "chiudi le virgolette sulla stessa riga in cui le apri")                                       \
  X(dopo_le_virgolette, "dopo-le-virgolette",                                                      \
    "metti tutto il testo dentro le virgolette, o togli le virgolette")                            \
  X(senza_generale, "senza-generale",                                                              \
    "comincia il file del treno con una riga \"[generale]\"")                                      \
  X(senza_stazioni, "senza-stazioni",                                                              \
    "aggiungi almeno una riga \"stazione\" al file del treno")                                     \
  X(parole_della_linea, "parole-della-linea",                                                      \
    "sposta la riga nel file della linea; se questo è il file della linea, dai come secondo file " \
    "il file del treno")                                                                           \
  X(senza_fine, "senza-fine",                                                                      \
    "chiudi il file con una riga \"[fine]\": l'ultima voce del file non è mai letta come parola " \
    "chiave")                                                                                      \
  X(oltre_la_linea, "oltre-la-linea",                                                              \
    "tieni la posizione entro la lunghezza del percorso")                                          \
  X(treno_non_letto, "treno-non-letto",                                                            \
    "correggi l'errore del file della linea: il file del treno è letto solo dopo")                 \
  X(stesso_file, "stesso-file",                                                                    \
    "dai come secondo file il file del treno")                                                     \
  X(altri_avvisi, "altri-avvisi",                                                                  \
    "correggi gli avvisi mostrati e compila di nuovo per vedere gli altri")                        \
  X(letto_utf8, "utf-8",                                                                           \
    "nessuno: il file è convertito prima della lettura (--codifica cp1252 lo legge com'è)")
// clang-format on

/// A kind of warning or note. `nessuno` marks a diagnostic that is an error code.
enum class Avviso {
  nessuno,
#define COMPATTATORE_VOCE_ENUM(nome, etichetta, rimedio) nome,
  COMPATTATORE_AVVISI(COMPATTATORE_VOCE_ENUM)
#undef COMPATTATORE_VOCE_ENUM
};

/// One row of the table of warnings.
struct RigaAvviso {
  Avviso avviso;
  const char* etichetta;  // the name printed after the message, "[parola-sconosciuta]"
  const char* rimedio;    // what the author should change
};

/// All rows, in the order of the table.
std::span<const RigaAvviso> tabella_avvisi();
/// The row of `a` (an empty row for `nessuno`).
const RigaAvviso& riga_avviso(Avviso a);

}  // namespace compattatore
