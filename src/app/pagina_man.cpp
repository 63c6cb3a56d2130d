// The manual page compattatore(1), written from the table of commands: the same texts as the
// help of each command, in roff (the man macros), so that the two never disagree.
#include <algorithm>
#include <sstream>
#include <string>
#include <string_view>

#include "app/comandi.h"

namespace compattatore {
namespace {

// `testo` as roff text: backslashes and hyphens escaped, and a line that would begin with a
// control character kept as text.
std::string roff(std::string_view testo) {
  std::string r;
  bool inizio = true;
  for (const char c : testo) {
    if (inizio && (c == '.' || c == '\'')) r += "\\&";
    if (c == '\\') {
      r += "\\e";
    } else if (c == '-') {
      r += "\\-";
    } else {
      r += c;
    }
    inizio = c == '\n';
  }
  return r;
}

// A text of the help, its paragraphs apart and its indented lines (examples) kept as written.
std::string paragrafi(std::string_view testo) {
  std::string r;
  bool a_capo = false;  // inside lines kept as written
  size_t i = 0;
  while (i < testo.size()) {
    size_t fine = testo.find('\n', i);
    if (fine == std::string_view::npos) fine = testo.size();
    const std::string_view riga = testo.substr(i, fine - i);
    i = fine + 1;
    const bool rientrata = riga.starts_with("  ");
    if (rientrata != a_capo) {
      r += rientrata ? ".PP\n.RS\n.nf\n" : ".fi\n.RE\n";
      a_capo = rientrata;
      if (!rientrata && !riga.empty()) r += ".PP\n";
    }
    if (riga.empty()) {
      if (!a_capo) r += ".PP\n";
      continue;
    }
    r += roff(rientrata ? riga.substr(2) : riga) + "\n";
  }
  if (a_capo) r += ".fi\n.RE\n";
  return r;
}

std::string opzione(const Opzione& o) {
  std::string r = ".TP\n";
  if (o.corta != 0) r += "\\fB\\-" + std::string(1, o.corta) + "\\fR, ";
  r += "\\fB\\-\\-" + roff(o.nome) + "\\fR";
  if (o.argomento != nullptr) r += " \\fI" + roff(o.argomento) + "\\fR";
  return r + "\n" + roff(o.aiuto) + "\n";
}

std::string opzioni(const Comando& c) {
  const bool corte = std::any_of(c.opzioni.begin(), c.opzioni.end(),
                                 [](const Opzione& o) { return o.corta != 0; });
  std::string r = ".PP\nOpzioni:\n";
  for (const Opzione& o : c.opzioni) r += opzione(o);
  r += std::string(".TP\n") + (corte ? "\\fB\\-h\\fR, " : "") +
       "\\fB\\-\\-help\\fR\nmostra questo aiuto\n";
  return r;
}

// The usage line of `c` without "Uso: ", its words in bold and its operands in italics.
std::string sintassi(const Comando& c) {
  std::string r = ".B compattatore";
  if (*c.nome) r += " " + std::string(c.nome);
  r += "\n";
  if (*c.operandi) r += ".I " + roff(c.operandi) + "\\&\n";  // "FILE..." ends no sentence
  return r + "[opzioni]\n";
}

}  // namespace

std::string pagina_man() {
  std::ostringstream p;
  p << ".\\\" -*- coding: UTF-8 -*-\n"
       ".TH COMPATTATORE 1 \"\" \"compattatore "
    << COMPATTATORE_VERSIONE
    << "\" \"Comandi dell'utente\"\n"
       ".nh\n"
       ".SH NOME\n"
       "compattatore \\- compattatore di scenari per un simulatore di guida ferroviaria\n"
       ".SH SINTASSI\n"
       ".B compattatore\n"
       "[\\fICOMANDO\\fR] [opzioni]\n";
  for (const Comando& c : comandi()) p << ".br\n" << sintassi(c);
  p << ".SH DESCRIZIONE\n"
    << paragrafi(kPresentazione)
    << ".PP\n\\&'compattatore COMANDO \\-\\-help' mostra l'aiuto di un comando.\n"
    << ".PP\n"
       "Ogni comando legge le sue opzioni allo stesso modo: \\fB\\-\\-dir\\fR \\fICARTELLA\\fR e\n"
       "\\fB\\-\\-dir=\\fR\\fICARTELLA\\fR valgono uguale, opzioni e operandi vanno in qualunque\n"
       "ordine, \\fB\\-\\-\\fR chiude le opzioni e basta l'inizio del nome di un'opzione, se\n"
       "nessun'altra comincia così.\n"
       ".PP\n"
       "Senza COMANDO, come 'esegui'.\n"
    << opzioni(comando_principale()) << ".SH COMANDI\n";
  for (const Comando& c : comandi()) {
    p << ".SS " << c.nome;
    if (c.alias) p << " (" << c.alias << ")";
    p << "\n" << sintassi(c) << paragrafi(std::string("\n") + c.spiegazione) << opzioni(c);
    if (*stato_uscita(c)) p << paragrafi(std::string("\n") + stato_uscita(c));
  }
  p << ".SH \"STATO D'USCITA\"\n"
       "Ogni comando dice i suoi stati d'uscita nel suo aiuto, qui sopra. Per \\fBesegui\\fR,\n"
       "\\fBcompila\\fR e \\fBverifica\\fR:\n"
       ".TP\n"
    << kUscitaOk
    << "\n"
       "i file compilati sono stati scritti (\\fBverifica\\fR: sarebbero stati scritti) senza\n"
       "codice d'errore;\n"
       ".TP\n"
    << kUscitaConCodice
    << "\n"
       "i file compilati sono stati scritti con un codice d'errore, o senza un treno da guidare,\n"
       "o con un avviso sotto \\fB\\-\\-avvisi\\-come\\-errori\\fR;\n"
       ".TP\n"
    << kUscitaFallita
    << "\n"
       "nessun file compilato è stato scritto: un errore d'uso, un file che non si può scrivere,\n"
       "un controllo dei campi riservati.\n"
       ".SH FILE\n"
       ".TP\n"
       ".IR NOME _linea.txt\n"
       "il file sorgente della linea: percorso, progressive, curve, pendenze, montagne, cartelli.\n"
       ".TP\n"
       ".IR NOME _ TRENO \\-.txt\n"
       "il file sorgente del treno: orario e stazioni, segnali, rallentamenti, profili, codici.\n"
       ".TP\n"
       ".IR NOME _linea.dat\n"
       "il tracciato compilato (manca con \\fB\\-\\-senza\\-tracciato\\fR).\n"
       ".TP\n"
       ".IR NOME _ TRENO .sim\n"
       "l'elenco compilato: 87 voci.\n"
       ".TP\n"
       ".IR NOME _ TRENO .dat\n"
       "i tratti compilati: 15 byte ogni 50 m.\n"
       ".TP\n"
       ".I /usr/share/doc/compattatore/manuale.md\n"
       "il manuale dell'autore: il primo scenario, ogni parola chiave, ogni messaggio.\n"
       ".SH ESEMPI\n"
       "Un primo scenario, partendo da quello incorporato:\n"
       ".PP\n"
       ".RS\n"
       ".nf\n"
       "compattatore esempio prova\n"
       "cd prova\n"
       "compattatore verifica Viterbo_Orte_Roma_Via_Linea_Cintura_linea.txt "
       "Viterbo_Orte_Roma_Via_Linea_Cintura_3349\\-.txt\n"
       "compattatore compila *_linea.txt *\\-.txt \\-\\-dir uscita\n"
       "compattatore mostra uscita\n"
       "compattatore disegna uscita \\-o percorso.html\n"
       ".fi\n"
       ".RE\n"
       ".PP\n"
       "Che cosa cambia una modifica, e i sorgenti di uno scenario compilato:\n"
       ".PP\n"
       ".RS\n"
       ".nf\n"
       "compattatore confronta prima dopo\n"
       "compattatore decompila uscita \\-\\-dir sorgenti\n"
       ".fi\n"
       ".RE\n"
       ".SH \"VEDI ANCHE\"\n"
       "Il manuale dell'autore, \\fI/usr/share/doc/compattatore/manuale.md\\fR, e\n"
       "\\fBcompattatore codici\\fR per ogni codice d'errore.\n";
  return p.str();
}

}  // namespace compattatore
