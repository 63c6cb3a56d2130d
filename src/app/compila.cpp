#include "app/compila.h"

#include <filesystem>
#include <vector>

#include "app/avvio.h"
#include "app/diagnostica.h"
#include "app/rapporto.h"
#include "io/file_sicuro.h"
#include "io/sistema.h"
#include "model/nomi_scenario.h"
#include "run/esecuzione.h"

namespace compattatore {
namespace fs = std::filesystem;

namespace {

constexpr const char* kAiuto =
    "Uso: compattatore compile LINEA TRENO [--dir USCITA] [--nome NOME] [--treno TRENO] [--no-plan]\n"
    "\n"
    "Compila uno scenario scritto dall'autore: LINEA e' il file della linea, TRENO il file del\n"
    "treno. Scrive in USCITA (predefinita: la cartella corrente) i tre file compilati\n"
    "NOME_linea.dat, NOME_TRENO.sim e NOME_TRENO.dat. I due file sorgente non vengono ne'\n"
    "cancellati ne' modificati.\n"
    "\n"
    "NOME e TRENO vengono dai nomi dei file, NOME_linea.txt e NOME_TRENO-.txt, se non sono\n"
    "dati con le opzioni.\n"
    "\n"
    "Opzioni:\n"
    "  --dir USCITA   cartella dei file compilati\n"
    "  --nome NOME    nome dello scenario\n"
    "  --treno TRENO  numero del treno\n"
    "  --no-plan      non calcola e non scrive il tracciato (NOME_linea.dat)\n"
    "  --help         mostra questo aiuto\n"
    "\n"
    "Ogni errore trovato e' stampato quando si presenta, nella forma\n"
    "  FILE:RIGA: errore N: descrizione (posizione P m)\n"
    "seguita dalla riga del sorgente. Stato d'uscita: 0 compilato senza errori; 2 file\n"
    "compilati scritti con un codice d'errore; 1 nessun file compilato scritto.\n";

int errore_uso(std::ostream& err, const std::string& messaggio) {
  err << "compattatore compile: " << messaggio << "\n"
      << "Usa 'compattatore compile --help' per l'uso del comando.\n";
  return kUscitaFallita;
}

// A source must be a readable regular file holding text.
std::optional<std::string> sorgente_non_valida(const fs::path& file) {
  if (!esiste(file)) return "il file '" + file.string() + "' non esiste";
  if (!e_file(file)) return "'" + file.string() + "' non è un file";
  std::string contenuto;
  try {
    contenuto = leggi_file(file);
  } catch (const ErroreFile& e) {
    return "impossibile leggere '" + file.string() + "': " + e.motivo;
  }
  if (contenuto.find('\0') != std::string::npos) {
    return "'" + file.string() + "' non è un file di testo (contiene byte nulli)";
  }
  return std::nullopt;
}

}  // namespace

int comando_compila(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> posizionali;
  std::optional<std::string> nome, treno;
  fs::path uscita = ".";
  bool con_tracciato = true;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      out << kAiuto;
      return kUscitaOk;
    } else if (a == "--dir" || a == "--nome" || a == "--treno") {
      if (i + 1 >= args.size()) return errore_uso(err, a + " vuole un valore");
      const std::string& v = args[++i];
      if (a == "--dir") uscita = v;
      if (a == "--nome") nome = v;
      if (a == "--treno") treno = v;
    } else if (a == "--no-plan") {
      con_tracciato = false;
    } else if (a.size() > 1 && a[0] == '-') {
      return errore_uso(err, "opzione sconosciuta '" + a + "'");
    } else {
      posizionali.push_back(a);
    }
  }
  if (posizionali.size() != 2) {
    return errore_uso(err, "servono due file: il file della linea e il file del treno");
  }
  const fs::path linea = posizionali[0];
  const fs::path file_treno = posizionali[1];

  for (const fs::path& f : {linea, file_treno}) {
    if (auto e = sorgente_non_valida(f)) return errore_uso(err, *e);
  }
  if (!nome) nome = NomiScenario::nome_da_file_linea(linea.string());
  if (!nome) {
    return errore_uso(err, "non ricavo il nome dello scenario da '" + linea.filename().string() +
                               "': il file della linea si chiama NOME_linea.txt, oppure usa --nome");
  }
  if (auto e = NomiScenario::difetto("nome dello scenario", *nome)) return errore_uso(err, *e);
  if (!treno) treno = NomiScenario::treno_da_file_treno(file_treno.string(), *nome);
  if (!treno) {
    return errore_uso(err, "non ricavo il numero del treno da '" + file_treno.filename().string() +
                               "': il file del treno si chiama " + *nome +
                               "_TRENO-.txt, oppure usa --treno");
  }
  std::string difetto;
  std::optional<NomiScenario> nomi = NomiScenario::crea(*nome, *treno, &difetto);
  if (!nomi) return errore_uso(err, difetto);
  if (!e_cartella(uscita)) {
    return errore_uso(err, "la cartella '" + uscita.string() + "' non esiste");
  }

  Esecuzione run = Esecuzione::dell_autore(*nomi, uscita, linea, file_treno, con_tracciato,
                                           stampa_su(err));
  const RisultatoPercorso r = run.esegui();
  if (r.esito == Esito::scritto) {
    if (con_tracciato) out << "scritto " << run.file(FileScenario::tracciato).string() << "\n";
    out << "scritto " << run.file(FileScenario::elenco).string() << "\n";
    out << "scritto " << run.file(FileScenario::tratti).string() << "\n";
  }
  return concludi(r, err);
}

}  // namespace compattatore
