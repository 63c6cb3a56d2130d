#include "app/riga_comando.h"

#include <algorithm>
#include <filesystem>
#include <span>

#include "app/avvio.h"
#include "io/sistema.h"
#include "model/codici.h"
#include "app/compila.h"

namespace compattatore {
namespace fs = std::filesystem;

namespace {

using Argomenti = std::span<const std::string>;

struct Comando {
  const char* nome;
  const char* descrizione;
  int (*esegui)(Argomenti, std::ostream&, std::ostream&);
};

int errore_uso(std::ostream& err, const std::string& messaggio) {
  err << "compattatore: " << messaggio << "\n"
      << "Usa 'compattatore --help' per l'elenco dei comandi e delle opzioni.\n";
  return kUscitaFallita;
}

constexpr const char* kAiutoEsegui =
    "Uso: compattatore [--dir CARTELLA]\n"
    "\n"
    "Compila lo scenario incorporato (Viterbo - Orte - Roma, treno 3349).\n"
    "Scrive nella cartella del programma, o in CARTELLA con --dir, i tre documenti\n"
    "per il macchinista e i tre file compilati.\n"
    "\n"
    "Opzioni:\n"
    "  --dir CARTELLA  lavora in CARTELLA invece che nella cartella del programma\n"
    "  --help          mostra questo aiuto\n"
    "  --version       mostra la versione\n"
    "\n"
    "Stato d'uscita: 0 compilato senza errori; 2 file compilati scritti con un codice\n"
    "d'errore; 1 nessun file compilato scritto.\n";

int esegui(Argomenti args, std::ostream& out, std::ostream& err) {
  fs::path cartella = cartella_programma();
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      out << kAiutoEsegui;
      return kUscitaOk;
    }
    if (a == "--dir") {
      if (i + 1 >= args.size()) return errore_uso(err, "--dir vuole il nome di una cartella");
      cartella = args[++i];
    } else if (a.rfind("--dir=", 0) == 0) {
      cartella = a.substr(6);
    } else {
      return errore_uso(err, "argomento sconosciuto '" + a + "'");
    }
  }
  if (!e_cartella(cartella)) {
    return errore_uso(err, "la cartella '" + cartella.string() + "' non esiste");
  }
  return esegui_incorporato(cartella, out, err);
}

int elenca_codici(Argomenti args, std::ostream& out, std::ostream& err) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    out << "Uso: compattatore codici\n\nElenca ogni codice d'errore, cosa significa e cosa cambiare.\n";
    return kUscitaOk;
  }
  if (!args.empty()) return errore_uso(err, "codici non vuole argomenti");
  for (const RigaCodice& c : tabella_codici()) {
    out << numero(c.codice) << "\t" << c.significato << "\n\t-> " << c.rimedio << "\n";
  }
  return kUscitaOk;
}

const Comando kComandi[] = {
    {"run", "compila lo scenario incorporato (il comando predefinito)", esegui},
    {"compile", "compila i file sorgente di uno scenario dell'autore", comando_compila},
    {"codici", "elenca i codici d'errore, il loro significato e cosa cambiare", elenca_codici},
};

// Edit distance, for "did you mean" on a mistyped command.
size_t distanza(const std::string& a, const std::string& b) {
  std::vector<size_t> riga(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) riga[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonale = riga[0];
    riga[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t sopra = riga[j];
      riga[j] = std::min({riga[j] + 1, riga[j - 1] + 1, diagonale + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonale = sopra;
    }
  }
  return riga[b.size()];
}

void aiuto_generale(std::ostream& out) {
  out << kAiutoEsegui << "\nComandi:\n";
  for (const auto& c : kComandi) {
    const std::string nome = c.nome;
    out << "  " << nome << std::string(10 - nome.size(), ' ') << c.descrizione << "\n";
  }
  out << "\n'compattatore COMANDO --help' mostra l'aiuto di un comando.\n";
}

}  // namespace

int principale(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err) {
  Argomenti args(argomenti);
  if (!args.empty()) {
    if (args[0] == "--version") {
      out << "compattatore " << COMPATTATORE_VERSIONE << "\n";
      return kUscitaOk;
    }
    if (args[0] == "--help" || args[0] == "-h") {
      aiuto_generale(out);
      return kUscitaOk;
    }
    for (const auto& c : kComandi) {
      if (args[0] == c.nome) return c.esegui(args.subspan(1), out, err);
    }
    if (args[0].empty() || args[0][0] != '-') {
      std::string messaggio = "comando sconosciuto '" + args[0] + "'";
      for (const auto& c : kComandi) {
        if (distanza(args[0], c.nome) <= 2) messaggio += "; forse intendevi '" + std::string(c.nome) + "'?";
      }
      return errore_uso(err, messaggio);
    }
  }
  return esegui(args, out, err);
}

}  // namespace compattatore
