// Every code the run can set in the error word: its name, its number, what is wrong and what the
// author should change, one row each. Code sets codes by name (`Codice::fuori_percorso`); the
// number is what the error word holds and what the author sees.
#pragma once

#include <cstdint>
#include <ostream>
#include <span>

namespace compattatore {

// clang-format off
#define COMPATTATORE_CODICI(X)                                                                     \
  X(lunghezza_fuori_campo, 1,                                                                      \
    "la lunghezza del percorso è fuori dai limiti (da 0 a 1000000 m)",                            \
    "correggi la riga \"lunghezza percorso\" del file della linea")                                \
  X(progressiva_non_multipla, 2,                                                                   \
    "l'inizio o il valore di una progressiva chilometrica non è multiplo di 50 m",                \
    "nel file della linea porta inizio e valore delle righe \"progressiva chilometrica\" a "      \
    "multipli di 50")                                                                              \
  X(ripetizione_inizio, 3,                                                                         \
    "l'inizio della ripetizione segnali non è multiplo di 50 m",                                  \
    "porta il primo numero della riga \"ripetizione segnali\" a un multiplo di 50")                \
  X(ripetizione_fine, 4,                                                                           \
    "la fine della ripetizione segnali non è multipla di 50 m",                                   \
    "porta il secondo numero della riga \"ripetizione segnali\" a un multiplo di 50")              \
  X(ripetizione_codici, 5,                                                                         \
    "la riga della ripetizione segnali non dice né 4 né 9 codici",                               \
    "scrivi \"4\" o \"9\" nella parola chiave, come in \"ripetizione segnali 9 codici\"")          \
  X(cartello_occupato, 6,                                                                          \
    "un cartello indicatore cade su un tratto già occupato",                                      \
    "sposta il cartello di almeno 50 m, lontano da indicatori di velocità e altri cartelli")      \
  X(abbattimento_occupato, 7,                                                                      \
    "un cambio o taglio di codice (\"abbattimento\") cade su un tratto già occupato",             \
    "sposta l'abbattimento di almeno 50 m, lontano da segnali, rallentamenti e punti di fermata")  \
  X(stazione_non_multipla, 8,                                                                      \
    "la posizione della stazione non è multipla di 50 m",                                         \
    "porta la posizione della stazione a un multiplo di 50")                                       \
  X(marciapiede_non_multiplo, 9,                                                                   \
    "la lunghezza del marciapiede della stazione non è multipla di 100 m",                        \
    "porta il terzo numero della riga \"stazione\" a un multiplo di 100")                          \
  X(troppe_stazioni, 10,                                                                           \
    "troppe stazioni: le voci delle stazioni raggiungono quelle dei testi dei cartelli",           \
    "togli stazioni o cartelli indicatori: insieme non possono superare 78")                       \
  X(segnale_senza_marcatore, 11,                                                                   \
    "prima di un segnale che precede un avviso di rallentamento non c'è un tratto libero per il " \
    "segno di codice",                                                                             \
    "lascia libero uno dei due tratti (100 m) prima del segnale")                                  \
  X(finestra_senza_marcatore, 12,                                                                  \
    "prima dell'inizio di un rallentamento non c'è un tratto libero per un segno di codice",      \
    "lascia libero un tratto in ciascuna delle finestre 250-350 m, 550-650 m e 900-1000 m prima " \
    "dell'inizio")                                                                                 \
  X(rallentamento_senza_marcatore, 13,                                                             \
    "dentro un rallentamento, o prima del primo segnale dopo la sua fine, non c'è un tratto "     \
    "libero per un segno di codice",                                                               \
    "lascia liberi i tratti ogni 400 m dentro il rallentamento e i due prima del segnale che lo "  \
    "segue")                                                                                       \
  X(fuori_percorso, 15,                                                                            \
    "la posizione è fuori dal percorso, o l'oggetto uscirebbe dal percorso",                      \
    "tieni la posizione tra 0 e la lunghezza del percorso + 6900 m (+ 6200 m per le stazioni), "  \
    "con tutto l'oggetto: i preavvisi di un segnale (400 m prima), la fine di un rallentamento, " \
    "il punto di fermata")                                                                         \
  X(segnale_occupato, 16,                                                                          \
    "il segnale cade su un tratto già occupato",                                                  \
    "sposta il segnale di almeno 50 m, lontano da stazioni, rallentamenti e altri oggetti")        \
  X(avviso_occupato, 17,                                                                           \
    "il cartello di avviso del rallentamento (1200 m prima dell'inizio) cade su un tratto già "   \
    "occupato",                                                                                    \
    "sposta il rallentamento, o l'oggetto che occupa il tratto 1200 m prima del suo inizio")       \
  X(inizio_rallentamento_occupato, 18,                                                             \
    "l'inizio del rallentamento cade su un tratto già occupato",                                  \
    "sposta l'inizio del rallentamento di almeno 50 m")                                            \
  X(fine_rallentamento_occupata, 19,                                                               \
    "la fine del rallentamento cade su un tratto già occupato",                                   \
    "cambia la lunghezza del rallentamento di almeno 50 m")                                        \
  X(preavvisi_occupati, 20,                                                                        \
    "i quattro tratti (200 m) prima del cartello di avviso del rallentamento non sono liberi",     \
    "sposta il rallentamento o gli oggetti nei 200 m prima del suo avviso, o metti 0 al quinto "   \
    "numero")                                                                                      \
  X(indicatore_occupato, 21,                                                                       \
    "l'indicatore di velocità massima cade su un tratto già occupato",                            \
    "sposta l'indicatore di almeno 50 m")                                                          \
  X(stazioni_vicine, 22,                                                                           \
    "la stazione comincia meno di 350 m dopo la fine della stazione precedente",                   \
    "allontana le stazioni, accorcia i marciapiedi, o metti le stazioni in ordine di posizione")   \
  X(fermata_troppo_vicina, 24,                                                                     \
    "la stazione è troppo vicina all'inizio della linea per il suo punto di fermata",             \
    "sposta la stazione più avanti o allunga il marciapiede")                                     \
  X(guasto_lettura, 25,                                                                            \
    "errore durante la lettura",                                                                   \
    "correggi la riga indicata: un numero troppo grande per il suo campo (per esempio un tipo di " \
    "stazione oltre 255, un'ora oltre 32767, una velocità oltre 1277 km/h), numeri mancanti "     \
    "alla fine del file, un file del treno mancante, nessuna \"lunghezza percorso\"")              \
  X(troppe_montagne, 26,                                                                           \
    "più di 80 montagne",                                                                         \
    "unisci o togli righe \"montagna\": al massimo 80")                                            \
  X(troppi_cartelli, 27,                                                                           \
    "più di 80 cartelli indicatori",                                                              \
    "togli righe \"cartello_indicatore\": al massimo 80")                                          \
  X(carattere_fuori_codifica, 28,                                                                  \
    "un carattere del file sorgente (UTF-8) non esiste in Windows-1252: il file non è letto",      \
    "sostituisci il carattere (le lettere accentate, ° e € ci sono) o salva il file in "           \
    "Windows-1252")                                                                                \
  X(utf8_non_valido, 29,                                                                           \
    "il file sorgente non è UTF-8 valido: il file non è letto",                                    \
    "salva il file in UTF-8, o fallo leggere così com'è con --codifica cp1252")                     \
  X(manca_linea, 101,                                                                              \
    "il file della linea non esiste",                                                              \
    "controlla il nome e la cartella del file della linea")                                        \
  X(manca_generale, 102,                                                                           \
    "il file della linea non contiene \"[generale]\", o ne è l'ultima voce",                      \
    "comincia il file con una riga \"[generale]\" e chiudilo con \"[fine]\"")                      \
  X(curva_errata, 103,                                                                             \
    "una curva non ha la classe da 1 a 6 (come in \"curvad4\"), o il tracciato supera 1000000 m",  \
    "scrivi la classe nella parola chiave della curva e controlla posizione e lunghezza")          \
  X(campo_riservato_1, 1250,                                                                       \
    "campo riservato occupato: un oggetto sul tratto 1, all'inizio del percorso, ha un primo "     \
    "valore",                                                                                      \
    "sposta l'oggetto più avanti: un oggetto puntuale oltre i primi 25 m, un abbattimento oltre " \
    "75 m")                                                                                        \
  X(campo_riservato_2, 1251,                                                                       \
    "campo riservato occupato: un oggetto sul tratto 1, all'inizio del percorso, ha un secondo "   \
    "valore",                                                                                      \
    "sposta l'oggetto più avanti: un oggetto puntuale oltre i primi 25 m, un abbattimento oltre " \
    "75 m")
// clang-format on

/// A code of the error word. `nessuno` (0) is the word of a run without error.
enum class Codice : int32_t {
  nessuno = 0,
#define COMPATTATORE_VOCE_ENUM(nome, numero, significato, rimedio) nome = numero,
  COMPATTATORE_CODICI(COMPATTATORE_VOCE_ENUM)
#undef COMPATTATORE_VOCE_ENUM
};

/// The number the error word holds for `c`.
constexpr int32_t numero(Codice c) { return static_cast<int32_t>(c); }

/// A code written as its number.
inline std::ostream& operator<<(std::ostream& out, Codice c) { return out << numero(c); }

/// One row of the table of codes.
struct RigaCodice {
  Codice codice;
  const char* nome;         // the name in code, as in `Codice`
  const char* significato;  // what is wrong, in Italian
  const char* rimedio;      // what the author should change
};

/// All rows, in ascending order of number.
std::span<const RigaCodice> tabella_codici();

/// The row of the code numbered `numero`, or nullptr for a number the run never sets.
const RigaCodice* cerca_codice(int32_t numero);
/// The row of `c` (never nullptr for a code of the table).
const RigaCodice& riga_codice(Codice c);

}  // namespace compattatore
