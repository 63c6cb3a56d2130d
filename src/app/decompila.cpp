// `compattatore decompila FILE... --dir CARTELLA`: the two sources of a compiled scenario, which
// compile back to the same files.
#include "decompilatore/decompila.h"

#include <filesystem>
#include <optional>
#include <string>
#include <tuple>

#include "app/comandi.h"
#include "app/diagnostica.h"
#include "app/lettura.h"
#include "io/file_sicuro.h"
#include "io/sistema.h"
#include "model/cp1252.h"
#include "model/italiano.h"
#include "model/nomi_scenario.h"

namespace compattatore {
namespace fs = std::filesystem;

int comando_decompila(const OpzioniLette& o, std::ostream& out, std::ostream& err) {
  auto errore = [&err](const std::string& m) { return errore_uso(err, "decompila", m); };
  const std::optional<fs::path> cartella = o.percorso("dir");
  if (!cartella) return errore("manca --dir CARTELLA, la cartella dove scrivere i due sorgenti");
  if (auto e = non_cartella(*cartella)) return errore(*e);

  std::optional<ScenarioCompilato> s = leggi_scenario(o.operandi, "decompila", err);
  if (!s) return kUscitaFallita;
  if (!s->con_elenco || s->modello.tratti.empty()) {
    err << "compattatore decompila: servono l'elenco (NOME_TRENO.sim) e i tratti (NOME_TRENO.dat)"
           " dello scenario; manca "
        << (s->con_elenco ? "il file dei tratti" : "il file dell'elenco") << "\n";
    return kUscitaFallita;
  }

  // The identity the table holds, unless the author gives another.
  const Elenco& elenco = s->modello.elenco;
  const std::string nome_nei_file = cp1252::a_utf8(elenco[voce::intestazione].testo);
  const std::string treno_nei_file = cp1252::a_utf8(elenco[voce::treno].testo);
  const std::string nome = o.valore("nome").value_or(nome_nei_file);
  const std::string treno = o.valore("treno").value_or(treno_nei_file);
  for (const auto& [cosa, valore, opzione] : {std::tuple{"nome dello scenario", nome, "nome"},
                                              std::tuple{"numero del treno", treno, "treno"}}) {
    if (auto e = NomiScenario::difetto(cosa, valore)) {
      return errore(*e + (o.presente(opzione)
                              ? ""
                              : std::string(" (nei file compilati: dai --") + opzione + ")"));
    }
  }
  const std::optional<NomiScenario> nomi = NomiScenario::crea(nome, treno);
  if (!nomi) return kUscitaFallita;  // not reached: both names were checked above

  const Decompilato d = decompila(s->modello);
  const fs::path linea = *cartella / percorso_utf8(nomi->file(FileScenario::sorgente_linea));
  const fs::path treno_file = *cartella / percorso_utf8(nomi->file(FileScenario::sorgente_treno));
  if (!o.presente("sovrascrivi")) {
    for (const fs::path& f : {linea, treno_file}) {
      if (esiste(f)) {
        return errore("'" + f.string() + "' esiste già: scegli un'altra cartella, o --sovrascrivi");
      }
    }
  }
  try {
    Sostituzione file;
    file.prepara(linea, byte_sorgente(d.linea));
    file.prepara(treno_file, byte_sorgente(d.treno));
    file.conferma();
  } catch (const ErroreFile& e) {
    err << "compattatore decompila: impossibile scrivere '" << e.file.string() << "': " << e.motivo
        << "\n";
    return kUscitaFallita;
  }
  out << "scritto " << linea.string() << "\n";
  out << "scritto " << treno_file.string() << "\n";

  if (nome != nome_nei_file || treno != treno_nei_file) {
    err << "compattatore decompila: avviso: nome e treno dei file compilati sono \""
        << visibile(nome_nei_file) << "\" e \"" << visibile(treno_nei_file)
        << "\": compilati con un altro nome, i sorgenti danno un altro elenco e altri codici di "
           "controllo\n";
  }
  for (const Problema& a : d.avvisi) {
    err << "compattatore decompila: avviso: " << visibile(testo_problema(a)) << "\n";
  }
  if (d.problemi.empty()) return kUscitaOk;
  err << "compattatore decompila: nessun sorgente dà questo dei file compilati (i sorgenti scritti "
         "hanno il resto):\n";
  // A file of another kind read as stretches gives a problem on every stretch: the first ones
  // are enough to see it.
  constexpr size_t kElencati = 50;
  for (size_t i = 0; i < d.problemi.size() && i < kElencati; ++i) {
    err << "  " << visibile(testo_problema(d.problemi[i])) << "\n";
  }
  if (d.problemi.size() > kElencati) {
    err << "  e " << quanti(static_cast<int64_t>(d.problemi.size() - kElencati), "altro", "altri")
        << "\n";
  }
  return kUscitaConCodice;
}

}  // namespace compattatore
