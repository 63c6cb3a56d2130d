#include "sources/scenario.h"

#include "io/sistema.h"
#include "sources/testo.h"

namespace compattatore {
namespace fs = std::filesystem;

void dati_linea(const fs::path& cartella, const NomiScenario& nomi) {
  scrivi_testo(cartella / percorso_utf8(nomi.file(FileScenario::sorgente_linea)), tabella_linea(),
               Durata::provvisoria);
}

void dati_treno(const fs::path& cartella, const NomiScenario& nomi) {
  scrivi_testo(cartella / percorso_utf8(nomi.file(FileScenario::sorgente_treno)), tabella_treno(),
               Durata::provvisoria);
}

void dati_note(const fs::path& cartella, const NomiScenario& nomi) {
  scrivi_testo(cartella / percorso_utf8(nomi.file(FileScenario::note)), tabella_note());
}

void dati_rallentamenti(const fs::path& cartella, const NomiScenario& nomi) {
  scrivi_testo(cartella / percorso_utf8(nomi.file(FileScenario::rallentamenti)),
               tabella_rallentamenti());
}

void dati_scheda(const fs::path& cartella, const NomiScenario& nomi) {
  scrivi_testo(cartella / percorso_utf8(nomi.file(FileScenario::scheda)), tabella_scheda());
}

}  // namespace compattatore
