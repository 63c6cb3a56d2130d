// What of a compiled scenario no source line gives back, and what the author should know about
// the sources rebuilt: one row per kind, with the part of the files its place is in and its text.
// A problem is a kind, a place (entry, stretch, plan point) and the values its text names; the
// line printed is built from its row.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "model/segnalazione.h"

namespace compattatore {

/// The part of the files a problem is in: it says how the place is printed and where the problem
/// goes in the list (entries, then the route plan, then stretches by number, then the rest).
enum class Parte {
  nessuna,       // no place: the text stands alone
  voce,          // "voce N", with the entry's text when the problem names it: "voce N (testo)"
  sezioni,       // the three kilometric sections, "voci 81-83"
  intestazione,  // the check codes, "voce 85 e tratto 1"
  tracciato,     // the route plan as a whole, "tracciato"
  punti,         // named points of the plan: "tracciato, " and the points, in the text
  tratto,        // "tratto N (M m)"
  tratti,        // the stretch file as a whole, "tratti"
  montagne,      // the mountain lines, "montagne"
  cartelli,      // the board lines, "cartelli"
  preavvisi,     // the order of stations and signals, "preavvisi"
};

// Each kind: its name, the part of its place, its text after the place ({} stands for each value
// in turn). The last two are warnings: the sources give the files, but the author should know.
// clang-format off
#define COMPATTATORE_PROBLEMI_DECOMPILA(X)                                                         \
  X(nessun_tratto, tratti, "il file non ne ha nessuno")                                            \
  X(lunghezza_fuori_campo, voce, "lunghezza del percorso {} m, fuori da 0-{}")                     \
  X(lunghezza_altri_tratti, voce,                                                                  \
    "la lunghezza {} m vuole i tratti 0-{}, il file dei tratti ne ha 0-{}")                        \
  X(punti_per_lunghezza, tracciato, "{} punti, la lunghezza {} m ne vuole {}")                     \
  X(sezioni_disordinate, sezioni,                                                                  \
    "nessuna riga \"progressiva chilometrica\" dà queste sezioni una volta ordinate")              \
  X(ripetizione_senza_riga, voce,                                                                  \
    "ripetizione dei segnali da {} a {} m con {} codici: nessuna riga la dà (inizio e fine "       \
    "multipli di 50, codici 4 o 9, 0 solo con fine 0)")                                            \
  X(punti_troppo_pochi, tracciato, "{} punti, troppo pochi per un percorso")                       \
  X(punti_iniziali, punti,                                                                         \
    "punti 0 e 1: non sono gli interi (0, 0) e (0, 1) da cui parte ogni tracciato")                \
  X(punto_finale_pieno, punti,                                                                     \
    "punto {}: ha un valore, ma gli ultimi due punti restano sempre vuoti")                        \
  X(punti_non_doppi, punti,                                                                        \
    "punti {}: non sono numeri in doppia precisione come ogni punto calcolato")                    \
  X(punti_senza_passo, punti,                                                                      \
    "punti {}: nessun rettilineo e nessuna curva danno questi punti da quelli prima")              \
  X(curva_fuori, punti,                                                                            \
    "punti {}-{}: una curva che una linea non può mettere (inizio oltre il percorso o oltre il "   \
    "metro {})")                                                                                   \
  X(pendenza_in_coda, tratto, "pendenza {} negli ultimi tre tratti, che nessuna riga scrive")      \
  X(velocita_in_coda, tratto, "velocita {} negli ultimi due tratti, che nessuna riga scrive")      \
  X(aderenza_in_coda, tratto, "aderenza {} negli ultimi due tratti, che nessuna riga scrive")      \
  X(segno_montagna_mancante, tratto, "manca il segno di montagna che la sua montagna mette")       \
  X(montagna_fuori, tratto, "montagna che inizia dove nessuna riga la può mettere")                \
  X(montagna_attaccata, tratto,                                                                    \
    "montagna di tipo {} a meno di 150 m dalla fine della precedente, che nessuna riga dà "        \
    "(prende il tipo 3)")                                                                          \
  X(troppe_montagne, montagne, "{} righe, ma un sorgente ne tiene al massimo {}")                  \
  X(segno_montagna_solo, tratto, "segno di montagna fuori da ogni montagna")                       \
  X(fuori_percorso, tratto, "{} dove nessuna riga lo può mettere (fuori dal percorso)")            \
  X(troppi_cartelli, cartelli, "{}, ma un sorgente ne tiene al massimo {}")                        \
  X(cartello_altra_voce, tratto,                                                                   \
    "cartello con il testo della voce {}, ma il cartello {} di un sorgente prende la voce {}")     \
  X(testo_non_riscrivibile, voce,                                                                  \
    "nessuna voce di un sorgente dà questo testo (un a capo, un byte nullo o non definito in "     \
    "Windows-1252, o virgolette in un testo che va scritto tra virgolette)")                       \
  X(troppe_stazioni, voce, "con {} cartelli un sorgente ha al massimo {} stazioni")                \
  X(stazione_non_multipla, voce, "stazione a {} m, non multiplo di 50")                            \
  X(zona_senza_marciapiede, voce,                                                                  \
    "la zona {}-{} m non viene da nessuna lunghezza di marciapiede (multipla di 100)")             \
  X(flag_4_azzerato, voce,                                                                         \
    "flag_4 {} che un sorgente azzera (marciapiede sotto 600 m o prima stazione)")                 \
  X(flag_3_azzerato, voce, "flag_3 {} che un sorgente azzera nella prima stazione")                \
  X(fermata_mancante, tratto, "qui andrebbe la fermata di {}, ma c'è {}")                          \
  X(segnale_senza_preavvisi, tratto, "segnale senza i quattro tratti di preavviso prima di lui")   \
  X(preavviso_senza_fonte, tratto, "preavviso {} che nessun segnale e nessuna stazione scrive")    \
  X(preavviso_diverso, tratto,                                                                     \
    "preavviso {} che nessun segnale e nessuna stazione qui intorno scrive")                       \
  X(preavvisi_senza_ordine, preavvisi,                                                             \
    "nessun ordine di stazioni e segnali dà i byte di preavviso del file")                         \
  X(fine_senza_inizio, tratto, "fine di un rallentamento senza il suo inizio")                     \
  X(senza_rallentamento, tratto, "{} senza il suo rallentamento")                                  \
  X(avviso_mancante, tratto, "manca l'avviso del rallentamento che inizia sul tratto {}")          \
  X(oggetto_senza_riga, tratto, "oggetto {} ({}) che nessuna riga dei sorgenti mette qui")         \
  X(senza_lunghezza, nessuna, "i sorgenti ricostruiti non danno la lunghezza del percorso")        \
  X(campo_riservato, nessuna, "i sorgenti ricostruiti danno l'errore {} ({})")                     \
  X(codice_ricompilando, nessuna, "compilando i sorgenti ricostruiti: {}")                         \
  X(tratti_in_numero_diverso, tratti, "il file ne ha 0-{}, i sorgenti ricostruiti 0-{}")           \
  X(codici_di_controllo, intestazione,                                                             \
    "i valori fissi e i codici di controllo non sono quelli di nome \"{}\" e treno \"{}\" (il "    \
    "simulatore rifiuta questi file); i sorgenti ricostruiti danno quelli giusti")                 \
  X(tratto_diverso, tratto, "nel file {}; dai sorgenti ricostruiti {}")                            \
  X(altri_tratti_diversi, nessuna, "e altri {} tratti diversi")                                    \
  X(voce_diversa, voce, "nel file {}; dai sorgenti ricostruiti {}")                                \
  X(punti_diversi, tracciato,                                                                      \
    "{} punti diversi da quelli dei sorgenti ricostruiti, il primo è il punto {}")                 \
  X(tracciato_di_altra_lunghezza, tracciato,                                                       \
    "{} punti diversi da quelli dei sorgenti ricostruiti")                                         \
  X(senza_tracciato, nessuna,                                                                      \
    "senza il tracciato il sorgente della linea non ha curve: compilato senza tracciato "          \
    "(--senza-tracciato) dà gli stessi file")                                                      \
  X(codice_come_nei_file, nessuna, "compilando i sorgenti ricostruiti: {} (come per i file letti)")
// clang-format on

/// A kind of problem or warning of the decompiler.
enum class TipoProblema {
#define COMPATTATORE_VOCE_ENUM(nome, parte, testo) nome,
  COMPATTATORE_PROBLEMI_DECOMPILA(COMPATTATORE_VOCE_ENUM)
#undef COMPATTATORE_VOCE_ENUM
};

/// One row of the table.
struct RigaProblema {
  TipoProblema tipo;
  const char* nome;   // the identifier, as written in the table
  Parte parte;        // where its place is
  const char* testo;  // what follows the place; {} for each value
};

/// All rows, in the order of the table.
std::span<const RigaProblema> tabella_problemi();
const RigaProblema& riga_problema(TipoProblema t);

/// A field in which a stretch or an entry of the files differs from the one the rebuilt sources
/// give, both values as printed ("3", or a text in quotes).
struct DifferenzaCampo {
  std::string nome;
  std::string nel_file;
  std::string dai_sorgenti;
  bool operator==(const DifferenzaCampo&) const = default;
};

/// One problem or warning: its kind, its place, and the variable parts of its text.
struct Problema {
  using Valore = std::variant<int64_t, std::string>;

  TipoProblema tipo;
  /// The entry, the stretch or the first plan point named; 0 for the other parts.
  int64_t numero = 0;
  /// An entry's text (UTF-8), when the place names it.
  std::string nome{};
  /// The values the text names, in its order; the differing fields and the code of a compile, when
  /// the kind has them, come after.
  std::vector<Valore> valori{};
  std::vector<DifferenzaCampo> diversi{};
  std::optional<Segnalazione> codice{};

  Parte parte() const { return riga_problema(tipo).parte; }
};

/// The line printed for `p` (UTF-8): its place, then its text with the values.
std::string testo_problema(const Problema& p);

/// How an entry is named in a text: "voce N", and " (testo)" when `nome` is not empty.
std::string testo_voce(int64_t numero, const std::string& nome);

/// A compile's code as a problem's text names it: where in the rebuilt sources, the code and its
/// meaning, the detail and the position.
std::string testo_segnalazione(const Segnalazione& s);

/// The problems found while reading a model, with the places they name: a place that has a problem
/// is not compared again. The list goes in the order of the files once `ordina` is called.
class ElencoProblemi {
 public:
  void aggiungi(Problema p);
  /// Entries first (by number), then the plan, then stretches by number, then the rest; problems
  /// of one place keep the order they were found in.
  void ordina();
  bool tratto_segnalato(int64_t s) const;
  bool voce_segnalata(int64_t i) const;
  bool tracciato_segnalato() const { return tracciato_; }
  size_t size() const { return problemi_.size(); }
  std::vector<Problema> consegna() { return std::move(problemi_); }

 private:
  std::vector<Problema> problemi_;
  std::set<int64_t> tratti_, voci_;
  bool tracciato_ = false;
};

}  // namespace compattatore
