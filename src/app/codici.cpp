#include "app/codici.h"

#include <algorithm>

namespace compattatore {
namespace {

constexpr Codice kCodici[] = {
    {1, "la lunghezza del percorso è fuori dai limiti (da 0 a 1000000 m)",
     "correggi la riga \"lunghezza percorso\" del file della linea"},
    {2, "l'inizio o il valore di una progressiva chilometrica non è multiplo di 50 m",
     "nel file della linea porta inizio e valore delle righe \"progressiva chilometrica\" a multipli di 50"},
    {3, "l'inizio della ripetizione segnali non è multiplo di 50 m",
     "porta il primo numero della riga \"ripetizione segnali\" a un multiplo di 50"},
    {4, "la fine della ripetizione segnali non è multipla di 50 m",
     "porta il secondo numero della riga \"ripetizione segnali\" a un multiplo di 50"},
    {5, "la riga della ripetizione segnali non dice né 4 né 9 codici",
     "scrivi \"4\" o \"9\" nella parola chiave, come in \"ripetizione segnali 9 codici\""},
    {6, "un cartello indicatore cade su un tratto già occupato",
     "sposta il cartello di almeno 50 m, lontano da indicatori di velocità e altri cartelli"},
    {7, "un cambio o taglio di codice (\"abbattimento\") cade su un tratto già occupato",
     "sposta l'abbattimento di almeno 50 m, lontano da segnali, rallentamenti e punti di fermata"},
    {8, "la posizione della stazione non è multipla di 50 m",
     "porta la posizione della stazione a un multiplo di 50"},
    {9, "la lunghezza del marciapiede della stazione non è multipla di 100 m",
     "porta il terzo numero della riga \"stazione\" a un multiplo di 100"},
    {10, "troppe stazioni: le voci delle stazioni raggiungono quelle dei testi dei cartelli",
     "togli stazioni o cartelli indicatori: insieme non possono superare 78"},
    {11,
     "prima di un segnale che precede un avviso di rallentamento non c'è un tratto libero per il "
     "segno di codice",
     "lascia libero uno dei due tratti (100 m) prima del segnale"},
    {12, "prima dell'inizio di un rallentamento non c'è un tratto libero per un segno di codice",
     "lascia libero un tratto in ciascuna delle finestre 250-350 m, 550-650 m e 900-1000 m prima "
     "dell'inizio"},
    {13,
     "dentro un rallentamento, o prima del primo segnale dopo la sua fine, non c'è un tratto libero "
     "per un segno di codice",
     "lascia liberi i tratti ogni 400 m dentro il rallentamento e i due prima del segnale che lo segue"},
    {15, "la posizione è fuori dal percorso, o l'oggetto uscirebbe dal percorso",
     "tieni la posizione tra 0 e la lunghezza del percorso + 6900 m (+ 6200 m per le stazioni), con "
     "tutto l'oggetto: i preavvisi di un segnale (400 m prima), la fine di un rallentamento, il punto "
     "di fermata"},
    {16, "il segnale cade su un tratto già occupato",
     "sposta il segnale di almeno 50 m, lontano da stazioni, rallentamenti e altri oggetti"},
    {17, "il cartello di avviso del rallentamento (1200 m prima dell'inizio) cade su un tratto già occupato",
     "sposta il rallentamento, o l'oggetto che occupa il tratto 1200 m prima del suo inizio"},
    {18, "l'inizio del rallentamento cade su un tratto già occupato",
     "sposta l'inizio del rallentamento di almeno 50 m"},
    {19, "la fine del rallentamento cade su un tratto già occupato",
     "cambia la lunghezza del rallentamento di almeno 50 m"},
    {20, "i quattro tratti (200 m) prima del cartello di avviso del rallentamento non sono liberi",
     "sposta il rallentamento o gli oggetti nei 200 m prima del suo avviso, o metti 0 al quinto numero"},
    {21, "l'indicatore di velocità massima cade su un tratto già occupato",
     "sposta l'indicatore di almeno 50 m"},
    {22, "la stazione comincia meno di 350 m dopo la fine della stazione precedente",
     "allontana le stazioni, accorcia i marciapiedi, o metti le stazioni in ordine di posizione"},
    {24, "la stazione è troppo vicina all'inizio della linea per il suo punto di fermata",
     "sposta la stazione più avanti o allunga il marciapiede"},
    {25, "errore durante la lettura",
     "correggi la riga indicata: un numero troppo grande per il suo campo (per esempio un tipo di "
     "stazione oltre 255, un'ora oltre 32767, una velocità oltre 1277 km/h), numeri mancanti "
     "alla fine del file, un file del treno mancante, nessuna \"lunghezza percorso\""},
    {26, "più di 80 montagne", "unisci o togli righe \"montagna\": al massimo 80"},
    {27, "più di 80 cartelli indicatori", "togli righe \"cartello_indicatore\": al massimo 80"},
    {101, "il file della linea non esiste", "controlla il nome e la cartella del file della linea"},
    {102, "il file della linea non contiene \"[generale]\", o ne è l'ultima voce",
     "comincia il file con una riga \"[generale]\" e chiudilo con \"[fine]\""},
    {103,
     "una curva non ha la classe da 1 a 6 (come in \"curvad4\"), o il tracciato supera 1000000 m",
     "scrivi la classe nella parola chiave della curva e controlla posizione e lunghezza"},
    {1250, "campo riservato occupato: un oggetto sul tratto 1, all'inizio del percorso, ha un primo valore",
     "sposta l'oggetto più avanti: un oggetto puntuale oltre i primi 25 m, un abbattimento oltre 75 m"},
    {1251, "campo riservato occupato: un oggetto sul tratto 1, all'inizio del percorso, ha un secondo valore",
     "sposta l'oggetto più avanti: un oggetto puntuale oltre i primi 25 m, un abbattimento oltre 75 m"},
};

}  // namespace

std::span<const Codice> tutti_i_codici() { return kCodici; }

const Codice* cerca_codice(int32_t codice) {
  const auto* it = std::find_if(std::begin(kCodici), std::end(kCodici),
                                [codice](const Codice& c) { return c.codice == codice; });
  return it == std::end(kCodici) ? nullptr : it;
}

}  // namespace compattatore
