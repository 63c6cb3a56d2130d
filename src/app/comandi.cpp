#include "app/comandi.h"

#include <cstdint>
#include <string_view>

#include "app/diagnostica.h"
#include "app/documento.h"
#include "versione_commit.h"  // COMPATTATORE_COMMIT, written at every build

namespace compattatore {
namespace {

// No upper bound on the operands.
constexpr size_t kQuantiSiVuole = SIZE_MAX;

constexpr Opzione kOpzioniEsegui[] = {
    {"dir", "CARTELLA", "lavora in CARTELLA invece che nella cartella del programma",
     Valore::percorso},
};

// Without a command: the options of "esegui", and the version.
constexpr Opzione kOpzioniPrincipale[] = {
    {"dir", "CARTELLA", "lavora in CARTELLA invece che nella cartella del programma",
     Valore::percorso},
    {"version", nullptr, "mostra la versione"},
};

constexpr Opzione kOpzioniCompila[] = {
    {"dir", "USCITA", "cartella dei file compilati (predefinita: la cartella corrente)",
     Valore::percorso},
    {"nome", "NOME", "nome dello scenario (predefinito: dal nome del file della linea)"},
    {"treno", "TRENO", "numero del treno (predefinito: dal nome del file del treno)"},
    {"senza-tracciato", nullptr, "non calcola e non scrive il tracciato (NOME_linea.dat)",
     Valore::testo, "no-plan"},
    {"codifica", "CODIFICA", "legge i sorgenti come cp1252 o utf-8 (predefinita: riconosciuta)",
     Valore::testo, nullptr, 0, "cp1252 utf-8"},
    {"formato", "FORMATO", "testo (predefinito) o json: i messaggi come un documento JSON",
     Valore::testo, nullptr, 0, "testo json"},
    {"avvisi-come-errori", nullptr, "un avviso fa finire con stato 2"},
    {"disegna", "PERCORSO.html", "scrive anche il disegno del percorso (vedi 'disegna')",
     Valore::percorso, nullptr, 0, "*.html"},
    {"osserva", nullptr, "compila di nuovo a ogni modifica dei sorgenti, fino a Ctrl+C"},
};

constexpr Opzione kOpzioniVerifica[] = {
    {"nome", "NOME", "nome dello scenario (predefinito: dal nome del file della linea)"},
    {"treno", "TRENO", "numero del treno (predefinito: dal nome del file del treno)"},
    {"senza-tracciato", nullptr, "non calcola il tracciato"},
    {"codifica", "CODIFICA", "legge i sorgenti come cp1252 o utf-8 (predefinita: riconosciuta)",
     Valore::testo, nullptr, 0, "cp1252 utf-8"},
    {"formato", "FORMATO", "testo (predefinito) o json: i messaggi come un documento JSON",
     Valore::testo, nullptr, 0, "testo json"},
    {"avvisi-come-errori", nullptr, "un avviso fa finire con stato 2"},
};

constexpr Opzione kOpzioniEsempio[] = {
    {"sovrascrivi", nullptr, "sostituisce i due file se ci sono già"},
};

constexpr Opzione kOpzioniCodici[] = {
    {"markdown", nullptr, "stampa la tabella dei codici come nel README"},
};

constexpr Opzione kOpzioniMostra[] = {
    {"tratti", "A-B", "mostra ogni campo dei tratti da A a B, uno per riga"},
    {"json", nullptr, "stampa tutto come un documento JSON"},
};

constexpr Opzione kOpzioniDisegna[] = {
    {"uscita", "PERCORSO.html", "la pagina da scrivere", Valore::percorso, "output", 'o', "*.html"},
    {"osserva", nullptr, "ridisegna a ogni modifica dei file compilati, fino a Ctrl+C"},
};

constexpr Opzione kOpzioniDecompila[] = {
    {"dir", "CARTELLA", "cartella dove scrivere i due sorgenti (deve esistere)", Valore::percorso},
    {"nome", "NOME", "nome dello scenario (predefinito: quello nei file compilati)"},
    {"treno", "TRENO", "numero del treno (predefinito: quello nei file compilati)"},
    {"sovrascrivi", nullptr, "sostituisce i sorgenti con lo stesso nome già in CARTELLA"},
};

// What the shell's completion offers for the operands of a command that reads compiled files.
constexpr const char* kFileCompilati = "*.sim,*.dat";

// The exit statuses of a run: of the embedded scenario, and of an author's own.
constexpr const char* kStatoEsegui =
    "Stato d'uscita: 0 compilato senza errori; 2 file compilati scritti con un codice\n"
    "d'errore; 1 nessun file compilato scritto.\n";
constexpr const char* kStatoCompila =
    "Stato d'uscita: 0 compilato senza errori; 2 file compilati scritti con un codice\n"
    "d'errore, o senza un treno da guidare (il file del treno è vuoto, non ha\n"
    "[generale] o stazioni, ha righe del file della linea o è il file della linea), o\n"
    "con un avviso con --avvisi-come-errori; 1 nessun file compilato scritto.\n";

const Comando kComandi[] = {
    {"esegui", "run", "", "compila lo scenario incorporato (il comando predefinito)",
     "Compila lo scenario incorporato (Viterbo - Orte - Roma, treno 3349).\n"
     "Scrive nella cartella del programma, o in CARTELLA con --dir, i tre documenti\n"
     "per il macchinista e i tre file compilati.\n",
     kOpzioniEsegui, comando_esegui, 0, 0, nullptr},
    {"compila", "compile", "LINEA TRENO", "compila i file sorgente di uno scenario dell'autore",
     "Compila uno scenario scritto dall'autore: LINEA è il file della linea, TRENO il file del\n"
     "treno. Scrive in USCITA i tre file compilati NOME_linea.dat, NOME_TRENO.sim e\n"
     "NOME_TRENO.dat. I due file sorgente non vengono né cancellati né modificati.\n"
     "\n"
     "NOME e TRENO vengono dai nomi dei file, NOME_linea.txt e NOME_TRENO-.txt, se non sono\n"
     "dati con le opzioni.\n"
     "\n"
     "Ogni errore e ogni avviso è stampato quando si presenta, nella forma\n"
     "  FILE:RIGA:COLONNA: errore N: descrizione (posizione P m)\n"
     "  FILE:RIGA:COLONNA: avviso: descrizione [nome]\n"
     "seguita dalla riga del sorgente e da un segno sotto la voce. Gli avvisi dicono\n"
     "ciò che il formato lascia passare (parole sbagliate, valori mancanti o in più,\n"
     "numeri arrotondati) e non cambiano i file compilati.\n"
     "\n"
     "Un sorgente UTF-8 (con BOM, o con lettere accentate in UTF-8) è convertito in\n"
     "Windows-1252 prima della lettura; --codifica sceglie la codifica.\n"
     "\n"
     "Con --osserva, dopo la prima compilazione attende che un sorgente cambi e compila di\n"
     "nuovo: per ogni compilazione, dopo i messaggi, una riga con l'ora, l'esito (ok,\n"
     "avvisi N, errore N) e ciò che lo scenario contiene. La pagina di --disegna si\n"
     "ricarica da sé nel browser. Ctrl+C finisce (stato 0).\n",
     kOpzioniCompila, comando_compila, 2, 2,
     "servono due file: il file della linea e il file del treno", kUscitaFallita,
     "*_linea.txt *-.txt"},
    {"verifica", nullptr, "LINEA TRENO",
     "controlla i file sorgente di uno scenario senza scrivere nulla",
     "Fa tutta la compilazione di 'compila', con ogni errore e ogni avviso, ma non scrive\n"
     "nessun file. Lo stato d'uscita è quello che 'compila' darebbe.\n",
     kOpzioniVerifica, comando_verifica, 2, 2,
     "servono due file: il file della linea e il file del treno", kUscitaFallita,
     "*_linea.txt *-.txt"},
    {"esempio", nullptr, "CARTELLA", "scrive i sorgenti dello scenario incorporato, da modello",
     "Scrive in CARTELLA (creata se manca) i due file sorgente dello scenario incorporato,\n"
     "Viterbo_Orte_Roma_Via_Linea_Cintura_linea.txt e ..._3349-.txt, in Windows-1252:\n"
     "un modello da cui partire. I file restano: nessuno li cancella.\n",
     kOpzioniEsempio, comando_esempio, 1, 1, "serve la cartella in cui scrivere i due file",
     kUscitaFallita, "/"},
    {"codici", nullptr, "", "elenca i codici d'errore, il loro significato e cosa cambiare",
     "Elenca ogni codice d'errore, cosa significa e cosa cambiare.\n", kOpzioniCodici,
     comando_codici, 0, 0, nullptr},
    {"mostra", nullptr, "FILE...", "mostra cosa contengono i file compilati di uno scenario",
     "Mostra cosa contengono i file compilati di uno scenario: percorso, progressive\n"
     "chilometriche, orario, segnali, rallentamenti, punti di codice, montagne, cartelli, le\n"
     "figure del treno e i profili; ricalcola i codici di controllo da nome e treno e dice se\n"
     "sono validi (il simulatore rifiuta uno scenario con codici sbagliati).\n"
     "\n"
     "FILE è uno dei tre file compilati (NOME_linea.dat, NOME_TRENO.sim, NOME_TRENO.dat):\n"
     "gli altri dello stesso scenario sono cercati accanto a lui per nome. Si possono dare\n"
     "anche tutti e tre, oppure una cartella che contiene un solo scenario.\n"
     "\n"
     "Stato d'uscita: 0 mostrato; 1 file mancante, illeggibile o guasto (il messaggio dice\n"
     "il file, il byte e cosa ci si aspettava).\n",
     kOpzioniMostra, comando_mostra, 1, kQuantiSiVuole, "manca il file compilato da mostrare",
     kUscitaFallita, kFileCompilati},
    {"confronta",
     nullptr,
     "A B",
     "confronta campo per campo due file compilati",
     "Confronta campo per campo due file compilati dello stesso tipo, come diff: per ogni\n"
     "tratto, voce o punto del tracciato che cambia, il campo, il valore in A e quello in B.\n"
     "\n"
     "A e B sono due file (NOME_linea.dat, NOME_TRENO.sim o NOME_TRENO.dat), oppure due\n"
     "cartelle: allora si confrontano i file compilati con lo stesso nome, e un file che sta\n"
     "in una sola delle due è una differenza. Una cartella accanto a un file sta per il file\n"
     "con lo stesso nome dentro di lei.\n"
     "\n"
     "Stato d'uscita: 0 uguali; 1 diversi; 2 file illeggibili o guasti, o argomenti che non\n"
     "si possono confrontare.\n",
     {},
     comando_confronta,
     2,
     2,
     "servono due file o due cartelle da confrontare",
     2,
     kFileCompilati},
    {"disegna", nullptr, "FILE...", "disegna il percorso di uno scenario compilato (HTML)",
     "Scrive una pagina HTML con il disegno del percorso di uno scenario compilato: la mappa\n"
     "del tracciato con stazioni e segnali, e il profilo lungo il percorso (pendenza,\n"
     "velocità massima, aderenza, stazioni, segnali, rallentamenti, codici, cartelli,\n"
     "montagne) sulla distanza in km con la progressiva chilometrica. La pagina non usa rete\n"
     "né script: si apre con qualunque browser e si stampa su A4 orizzontale.\n"
     "\n"
     "FILE come per 'mostra': uno dei file compilati, gli altri cercati accanto a lui, o una\n"
     "cartella con un solo scenario. Servono l'elenco (.sim) e i tratti (.dat); senza il\n"
     "tracciato (NOME_linea.dat) la mappa manca e resta il profilo.\n"
     "\n"
     "Con --osserva la pagina è disegnata di nuovo a ogni modifica dei file compilati (per\n"
     "esempio da 'compila --osserva'), con una riga per volta, e si ricarica da sé nel\n"
     "browser: per questo porta un piccolo script, che legge il file PERCORSO.html.versione.js\n"
     "scritto accanto a lei. Ctrl+C finisce (stato 0).\n"
     "\n"
     "Stato d'uscita: 0 pagina scritta; 1 file mancanti, guasti, o pagina non scritta.\n",
     kOpzioniDisegna, comando_disegna, 1, kQuantiSiVuole, "manca il file compilato da disegnare",
     kUscitaFallita, kFileCompilati},
    {"decompila", nullptr, "FILE...",
     "riscrive i sorgenti di uno scenario compilato, che ridanno gli stessi file",
     "Riscrive i due file sorgente di uno scenario compilato, NOME_linea.txt e\n"
     "NOME_TRENO-.txt, in CARTELLA. Compilati con 'compattatore compila' danno gli stessi\n"
     "file compilati, byte per byte: il comando lo verifica compilandoli in memoria.\n"
     "\n"
     "FILE è uno dei file compilati (NOME_linea.dat, NOME_TRENO.sim, NOME_TRENO.dat): gli\n"
     "altri dello stesso scenario sono cercati accanto a lui per nome; oppure una cartella\n"
     "con un solo scenario. Servono l'elenco e i tratti. Le curve vengono dal tracciato:\n"
     "senza NOME_linea.dat il sorgente della linea non ha curve, e si ricompila con\n"
     "'compattatore compila --senza-tracciato'.\n"
     "\n"
     "Ciò che la compilazione ricava da sé non è riscritto: marcatori di codice,\n"
     "preavvisi, zone e fermate delle stazioni, avvisi e tratti marcati dei rallentamenti,\n"
     "segni di montagna, codici di controllo. NOME e TRENO vengono dall'elenco; con altri\n"
     "NOME o TRENO i file compilati avranno un'altra identità e altri codici di controllo.\n"
     "\n"
     "Stato d'uscita: 0 sorgenti scritti, che ridanno i file; 2 sorgenti scritti, ma una\n"
     "parte dei file non viene da nessun sorgente (file modificati a mano, o compilati con\n"
     "un errore che ha lasciato un oggetto a metà): il messaggio dice cosa e dove (tratto,\n"
     "voce o punto del tracciato); 1 nessun sorgente scritto.\n",
     kOpzioniDecompila, comando_decompila, 1, kQuantiSiVuole,
     "manca il file compilato da decompilare", kUscitaFallita, kFileCompilati},
    {"lsp",
     nullptr,
     "",
     "server del linguaggio per gli editor, su standard input e output",
     "Il server del linguaggio (Language Server Protocol) per gli editor: legge e scrive\n"
     "messaggi JSON-RPC su standard input e output, e non scrive nessun file. Mentre l'autore\n"
     "scrive, controlla i due sorgenti di uno scenario (NOME_linea.txt e NOME_TRENO-.txt nella\n"
     "stessa cartella; un file aperto e non salvato vale più di quello sul disco) e manda gli\n"
     "errori e gli avvisi di 'verifica' sotto ogni voce; spiega ogni voce al passaggio del\n"
     "puntatore, completa le parole chiave, dà lo schema delle sezioni e le correzioni rapide.\n"
     "L'editor lo avvia da sé: vedi \"Editors\" nel README.\n"
     "\n"
     "Stato d'uscita: 0 dopo 'shutdown' ed 'exit'; 1 se l'ingresso finisce prima.\n",
     {},
     comando_lsp,
     0,
     0,
     nullptr},
    {"ripara",
     nullptr,
     "CARTELLA",
     "finisce o rimette com'erano i file lasciati a metà da un'esecuzione interrotta",
     "Ripara CARTELLA dopo un'esecuzione uccisa a metà (un arresto del sistema, un kill -9):\n"
     "un gruppo di file che stava sostituendo viene completato con i file nuovi, già scritti\n"
     "per intero, oppure rimesso com'era; poi toglie i file temporanei e i file di blocco\n"
     "rimasti. Ogni esecuzione fa lo stesso, all'inizio, per i file che scrive; 'ripara' lo fa\n"
     "per tutta la cartella senza scrivere nient'altro. Se un'altra esecuzione sta scrivendo\n"
     "nella cartella, attende che finisca.\n"
     "\n"
     "Stato d'uscita: 0 riparata (o niente da riparare); 1 cartella illeggibile.\n",
     {},
     comando_ripara,
     1,
     1,
     "serve la cartella da riparare",
     kUscitaFallita,
     "/"},
};

// The program without a command: "esegui", with the version besides.
const Comando kPrincipale = {"", nullptr, "",     "", "", kOpzioniPrincipale, comando_esegui,
                             0,  0,       nullptr};

void aiuto_generale(std::ostream& out) {
  out << "Uso: compattatore [COMANDO] [opzioni]\n"
         "\n"
      << kPresentazione
      << "\n"
         "Comandi:\n";
  for (const auto& c : kComandi) {
    std::string nome = c.nome;
    if (c.alias) nome += " (" + std::string(c.alias) + ")";
    out << "  " << nome << std::string(nome.size() < 18 ? 18 - nome.size() : 1, ' ')
        << c.descrizione << "\n";
  }
  out << "\nSenza COMANDO, come 'esegui'.\n"
      << aiuto_opzioni(kPrincipale.opzioni)
      << "\n'compattatore COMANDO --help' mostra l'aiuto di un comando.\n\n"
      << kStatoEsegui;
}

}  // namespace

const char* const kPresentazione =
    "Il compattatore di scenari: dai due file sorgente di uno scenario scrive i file\n"
    "compilati che il simulatore carica. Senza COMANDO esegue 'esegui'.\n";

std::span<const Comando> comandi() { return kComandi; }

const Comando& comando_principale() { return kPrincipale; }

const char* stato_uscita(const Comando& c) {
  if (c.esegui == comando_esegui) return kStatoEsegui;
  if (c.esegui == comando_compila || c.esegui == comando_verifica) return kStatoCompila;
  return "";
}

std::string uso(const Comando& c) {
  std::string u = "Uso: compattatore " + std::string(c.nome) + " ";
  if (*c.operandi) u += std::string(c.operandi) + " ";
  return u + "[opzioni]\n";
}

void aiuto_comando(std::ostream& out, const Comando& c) {
  out << uso(c) << "\n" << c.spiegazione << "\n" << aiuto_opzioni(c.opzioni);
  if (*stato_uscita(c)) out << "\n" << stato_uscita(c);
}

namespace {

int lancia(const Comando& c, std::span<const std::string> args, const std::string& nome,
           std::ostream& out, std::ostream& err) {
  // Under "--formato json" even a command line that cannot be read gets its document.
  const Formato formato =
      valore_scritto(args, c.opzioni, "formato") == "json" ? Formato::json : Formato::testo;
  const auto uso_errato = [&](const std::string& messaggio) {
    fallisci(formato, out, err, nome, messaggio);
    return c.stato_uso;
  };
  auto letto = leggi_opzioni(args, c.opzioni);
  if (const auto* e = std::get_if<std::string>(&letto)) return uso_errato(*e);
  const OpzioniLette& o = std::get<OpzioniLette>(letto);
  if (o.aiuto) {
    if (nome.empty()) {
      aiuto_generale(out);
    } else {
      aiuto_comando(out, c);
    }
    return kUscitaOk;
  }
  if (o.presente("version")) {
    out << "compattatore " << COMPATTATORE_VERSIONE << "\n"
        << "commit " << COMPATTATORE_COMMIT << "\n"
        << "costruito per " << COMPATTATORE_SISTEMA << "\n";
    return kUscitaOk;
  }
  if (o.operandi.size() < c.operandi_minimi) return uso_errato(c.se_mancano);
  if (o.operandi.size() > c.operandi_massimi) {
    if (c.operandi_minimi == c.operandi_massimi && c.se_mancano) return uso_errato(c.se_mancano);
    return uso_errato("argomento inatteso '" + o.operandi[c.operandi_massimi].string() + "'");
  }
  return c.esegui(o, out, err);
}

}  // namespace

int errore_uso(std::ostream& err, const std::string& comando, const std::string& messaggio) {
  const std::string chi = comando.empty() ? "compattatore" : "compattatore " + comando;
  // The message may hold what the user typed: nothing of it reaches the terminal raw.
  err << chi << ": " << visibile(messaggio) << "\n"
      << "Usa '" << chi << " --help' per l'uso"
      << (comando.empty() ? " dei comandi" : " del comando") << ".\n";
  return kUscitaFallita;
}

int principale(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err) {
  const std::span<const std::string> args(argomenti);
  // Not in the help: what the packages are made with.
  if (args.size() == 1 && args[0] == "--man") {
    out << pagina_man();
    return kUscitaOk;
  }
  if (args.size() == 1 && args[0] == "--completamento-bash") {
    out << completamento_bash();
    return kUscitaOk;
  }
  if (args.empty() || (!args[0].empty() && args[0][0] == '-')) {
    return lancia(kPrincipale, args, "", out, err);
  }
  for (const auto& c : kComandi) {
    if (args[0] == c.nome || (c.alias && args[0] == c.alias)) {
      return lancia(c, args.subspan(1), c.nome, out, err);
    }
  }
  std::vector<std::string> nomi;
  for (const auto& c : kComandi) {
    nomi.emplace_back(c.nome);
    if (c.alias) nomi.emplace_back(c.alias);
  }
  std::string messaggio = "comando sconosciuto '" + args[0] + "'";
  if (auto vicino = forse_intendevi(args[0], nomi))
    messaggio += "; forse intendevi '" + *vicino + "'?";
  return errore_uso(err, "", messaggio);
}

}  // namespace compattatore
