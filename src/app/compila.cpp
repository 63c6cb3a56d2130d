// `compattatore compila LINEA TRENO`: an author's own line and train sources through the same
// run as the embedded scenario.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/comandi.h"
#include "app/diagnostica.h"
#include "app/rapporto.h"
#include "io/file_sicuro.h"
#include "io/sistema.h"
#include "model/nomi_scenario.h"
#include "run/esecuzione.h"

namespace compattatore {
namespace fs = std::filesystem;

namespace {

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

int comando_compila(const OpzioniLette& o, std::ostream& out, std::ostream& err) {
  auto errore = [&err](const std::string& m) { return errore_uso(err, "compila", m); };
  std::optional<std::string> nome = o.valore("nome");
  std::optional<std::string> treno = o.valore("treno");
  const fs::path uscita = percorso_utf8(o.valore("dir").value_or("."));
  const bool con_tracciato = !o.presente("senza-tracciato");
  const std::vector<std::string>& posizionali = o.posizionali;
  const fs::path linea = percorso_utf8(posizionali[0]);
  const fs::path file_treno = percorso_utf8(posizionali[1]);

  for (const fs::path& f : {linea, file_treno}) {
    if (auto e = sorgente_non_valida(f)) return errore(*e);
  }
  if (!nome) nome = NomiScenario::nome_da_file_linea(linea.string());
  if (!nome) {
    return errore("non ricavo il nome dello scenario da '" + linea.filename().string() +
                  "': il file della linea si chiama NOME_linea.txt, oppure usa --nome");
  }
  if (auto e = NomiScenario::difetto("nome dello scenario", *nome)) return errore(*e);
  if (!treno) treno = NomiScenario::treno_da_file_treno(file_treno.string(), *nome);
  if (!treno) {
    return errore("non ricavo il numero del treno da '" + file_treno.filename().string() +
                  "': il file del treno si chiama " + *nome + "_TRENO-.txt, oppure usa --treno");
  }
  std::string difetto;
  std::optional<NomiScenario> nomi = NomiScenario::crea(*nome, *treno, &difetto);
  if (!nomi) return errore(difetto);
  if (!e_cartella(uscita)) {
    return errore("la cartella '" + uscita.string() + "' non esiste");
  }

  Esecuzione run =
      Esecuzione::dell_autore(*nomi, uscita, linea, file_treno, con_tracciato, stampa_su(err));
  // A compiled file never replaces a source: not by the same name, nor through a link to it.
  for (const std::string& compilato : run.file_della_corsa()) {
    const fs::path destinazione = uscita / percorso_utf8(compilato);
    for (const fs::path& sorgente : {linea, file_treno}) {
      if (stesso_file(destinazione, sorgente)) {
        return errore("il file compilato '" + destinazione.string() +
                      "' sostituirebbe il sorgente '" + sorgente.string() +
                      "': scegli un'altra cartella con --dir, o un altro nome con --nome o "
                      "--treno");
      }
    }
  }
  const RisultatoPercorso r = run.esegui(avviso_attesa(err, uscita));
  if (r.esito == Esito::scritto) {
    if (con_tracciato) out << "scritto " << run.file(FileScenario::tracciato).string() << "\n";
    out << "scritto " << run.file(FileScenario::elenco).string() << "\n";
    out << "scritto " << run.file(FileScenario::tratti).string() << "\n";
  }
  return concludi(r, err);
}

}  // namespace compattatore
