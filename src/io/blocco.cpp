#include "io/blocco.h"

#include <algorithm>

#include "io/diario.h"
#include "io/file_sicuro.h"
#include "io/piattaforma.h"
#include "io/temporanei.h"

namespace compattatore {
namespace fs = std::filesystem;
namespace pf = piattaforma;

BloccoCorsa::BloccoCorsa(const fs::path& cartella, const std::vector<std::string>& nomi,
                         const std::function<void()>& in_attesa) {
  std::vector<std::string> file;
  for (const auto& n : nomi) file.push_back(nome_blocco(n));
  if (!prendi(cartella, std::move(file), in_attesa, true)) return;
  try {
    const std::vector<std::string> da_tenere = ripara_diari(cartella, nomi);
    rimuovi_temporanei_orfani(cartella, nomi, da_tenere);
  } catch (...) {
    rilascia();
    throw;
  }
}

BloccoCorsa::BloccoCorsa(SoloBlocchi, const fs::path& cartella,
                         std::vector<std::string> file_blocco,
                         const std::function<void()>& in_attesa, bool attendi) {
  prendi(cartella, std::move(file_blocco), in_attesa, attendi);
}

bool BloccoCorsa::prendi(const fs::path& cartella, std::vector<std::string> file,
                         const std::function<void()>& in_attesa, bool attendi) {
  // Every run takes its locks in the same order, so two runs never wait for each other at once.
  std::sort(file.begin(), file.end());
  file.erase(std::unique(file.begin(), file.end()), file.end());

  bool avvisato = false;
  bool bloccabile = true;
  try {
    for (const auto& nome : file) {
      const fs::path percorso = cartella / nome;
      for (;;) {
        // A lock file this run makes is registered in the same breath, so that a signal never
        // leaves it behind; while the run waits, the file is the holder's, not this run's.
        pf::trattieni_segnali();
        pf::Maniglia m = pf::kNessunaManiglia;
        std::error_code ec = pf::apri_blocco(percorso, m);
        if (!ec) ec = pf::blocca(m, false);
        if (ec == std::errc::resource_unavailable_try_again && !attendi) {
          // Another run holds it: none is taken.
          pf::lascia_segnali();
          pf::chiudi(m);
          rilascia();
          occupato_ = true;
          return true;
        }
        if (ec == std::errc::resource_unavailable_try_again) {
          pf::lascia_segnali();
          if (!avvisato && in_attesa) in_attesa();
          avvisato = true;
          ec = pf::blocca(m, true);
          pf::trattieni_segnali();
        }
        // The run that held the lock removed its file on release: this one is no longer the lock
        // of the name, and the next open makes (or finds) the one that is.
        const bool preso = !ec && pf::e_ancora(m, percorso);
        if (preso) presi_.push_back({percorso, m, pf::registra_da_rimuovere(percorso)});
        pf::lascia_segnali();
        if (preso) break;
        pf::chiudi(m);
        if (!ec) continue;
        if (m == pf::kNessunaManiglia || !pf::blocco_non_supportato(ec)) {
          throw ErroreFile(cartella, ec);
        }
        bloccabile = false;
        pf::rimuovi(percorso);
        break;
      }
      if (!bloccabile) break;
    }
  } catch (...) {
    rilascia();
    throw;
  }
  if (!bloccabile) rilascia();
  return bloccabile;
}

BloccoCorsa::~BloccoCorsa() { rilascia(); }

void BloccoCorsa::rilascia() {
  // Removed while still held: whoever opened this file meanwhile finds it gone and starts again.
  // No signal comes between the removal and the register: a handler that removed the name once
  // more might remove the lock file of the next run.
  pf::trattieni_segnali();
  for (auto it = presi_.rbegin(); it != presi_.rend(); ++it) {
    pf::rimuovi(it->file);
    pf::dimentica(it->biglietto);
    pf::chiudi(it->maniglia);
  }
  presi_.clear();
  pf::lascia_segnali();
}

}  // namespace compattatore
