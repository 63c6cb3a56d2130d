#include "app/avvio.h"

#include <unistd.h>

#include <vector>

#include "app/diagnostica.h"
#include "app/esecuzione.h"
#include "app/rapporto.h"
#include "output/file_sicuro.h"
#include "sources/scenario.h"

namespace compattatore {
namespace fs = std::filesystem;

fs::path cartella_programma() {
  std::error_code ec;
  const fs::path eseguibile = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) return eseguibile.parent_path();
  return fs::current_path();
}

int esegui_incorporato(const fs::path& cartella, std::ostream& out, std::ostream& err) {
  Esecuzione run;
  run.nome = kNomeIncorporato;
  run.treno = kTrenoIncorporato;
  run.cartella = cartella;
  run.sorgenti_nella_cartella();
  run.osservatore = stampa_su(err);
  out << "Attendere" << std::endl;
  try {
    dati_linea(cartella, run.nome, run.treno);
    dati_treno(cartella, run.nome, run.treno);
    dati_note(cartella, run.nome, run.treno);
    dati_rallentamenti(cartella, run.nome, run.treno);
    dati_scheda(cartella, run.nome, run.treno);
  } catch (const ErroreFile& e) {
    err << "compattatore: impossibile scrivere " << e.file.string() << ": " << e.motivo << "\n";
    return kUscitaFallita;
  }
  const RisultatoPercorso r = run.memorizza_percorso(1);
  return concludi(run, r, err);
}

}  // namespace compattatore
