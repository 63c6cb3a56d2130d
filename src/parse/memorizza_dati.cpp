#include "parse/memorizza_dati.h"

#include <optional>

#include "io/file_sicuro.h"
#include "io/sistema.h"
#include "model/cp1252.h"
#include "parse/fasi.h"
#include "parse/lettore.h"

namespace compattatore {
namespace fs = std::filesystem;

void memorizza_dati(Modello& m, Segnalatore& errori, const NomiScenario& nomi,
                    const Sorgenti& sorgenti, bool con_tracciato) {
  auto dopo_lettura = [&sorgenti](const fs::path& file) {
    if (sorgenti.cancella_dopo_lettura) cancella(file);  // a source already deleted is no error
  };
  std::optional<LettoreVoci> linea;
  std::optional<LettoreVoci> treno;
  const LettoreVoci* attivo = nullptr;
  try {
    m.elenco[voce::intestazione].testo = cp1252::da_utf8(nomi.nome());
    m.elenco[voce::treno].testo = cp1252::da_utf8(nomi.treno());

    if (!esiste(sorgenti.linea)) {
      errori.segnala(Codice::manca_linea, std::nullopt, Luogo{sorgenti.linea.string(), 0, {}});
      return;
    }
    linea.emplace(leggi_file(sorgenti.linea), sorgenti.linea.string());
    attivo = &*linea;
    const EsitoLinea esito = fase_linea(m, errori, *linea, OpzioniLinea{con_tracciato});
    dopo_lettura(sorgenti.linea);
    const Codice dopo_linea = errori.codice_errore();
    if (dopo_linea != Codice::nessuno && dopo_linea != Codice::fuori_percorso) return;

    attivo = nullptr;
    treno.emplace(leggi_file(sorgenti.treno), sorgenti.treno.string());
    attivo = &*treno;
    fase_treno(m, errori, *treno, OpzioniTreno{esito.cursore_cartelli});
    dopo_lettura(sorgenti.treno);
  } catch (const std::exception& e) {
    dopo_lettura(sorgenti.linea);
    dopo_lettura(sorgenti.treno);
    errori.segnala(Codice::guasto_lettura, std::nullopt, attivo ? attivo->luogo() : Luogo{},
                   e.what());
  }
}

void memorizza_testi(Modello& m, Segnalatore& errori, const TestiSorgenti& testi,
                     bool con_tracciato) {
  LettoreVoci linea(testi.linea, testi.file_linea);
  LettoreVoci treno(testi.treno, testi.file_treno);
  const LettoreVoci* attivo = &linea;
  try {
    const EsitoLinea esito = fase_linea(m, errori, linea, OpzioniLinea{con_tracciato});
    const Codice dopo_linea = errori.codice_errore();
    if (dopo_linea != Codice::nessuno && dopo_linea != Codice::fuori_percorso) return;
    attivo = &treno;
    fase_treno(m, errori, treno, OpzioniTreno{esito.cursore_cartelli});
  } catch (const std::exception& e) {
    errori.segnala(Codice::guasto_lettura, std::nullopt, attivo->luogo(), e.what());
  }
}

}  // namespace compattatore
