#include "parse/memorizza_dati.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "app/esecuzione.h"
#include "model/cp1252.h"
#include "output/file_sicuro.h"
#include "parse/lettore.h"

namespace compattatore {
namespace fs = std::filesystem;

namespace {

void cancella(const Esecuzione& run, const fs::path& file) {
  if (!run.cancella_sorgenti) return;
  std::error_code ec;
  fs::remove(file, ec);  // a source already deleted is no error
}


}  // namespace

void memorizza_dati(Esecuzione& run) {
  Modello& m = run.modello;
  std::optional<LettoreVoci> linea;
  std::optional<LettoreVoci> treno;
  const LettoreVoci* attivo = nullptr;
  try {
    m.elenco[voce::intestazione].testo = cp1252::da_utf8(run.nome);
    m.elenco[voce::treno].testo = cp1252::da_utf8(run.treno);

    std::error_code ec;
    if (!fs::exists(run.sorgente_linea, ec)) {
      run.imposta_errore(101, std::nullopt, Luogo{run.sorgente_linea.string(), 0, {}});
      return;
    }
    linea.emplace(leggi_file(run.sorgente_linea), run.sorgente_linea.string());
    attivo = &*linea;
    fase_linea(run, *linea);
    cancella(run, run.sorgente_linea);
    if (run.codice_errore != 0 && run.codice_errore != 15) return;

    attivo = nullptr;
    treno.emplace(leggi_file(run.sorgente_treno), run.sorgente_treno.string());
    attivo = &*treno;
    fase_treno(run, *treno);
    cancella(run, run.sorgente_treno);
  } catch (const std::exception& e) {
    cancella(run, run.sorgente_linea);
    cancella(run, run.sorgente_treno);
    run.imposta_errore(25, std::nullopt, attivo ? attivo->luogo() : Luogo{}, e.what());
  }
}

}  // namespace compattatore
