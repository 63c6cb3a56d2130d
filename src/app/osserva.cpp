#include "app/osserva.h"

#include <ctime>

#include "app/comandi.h"
#include "app/diagnostica.h"
#include "io/sentinella.h"

namespace compattatore {
namespace fs = std::filesystem;

namespace {

std::string ora_del_giorno() {
  const std::time_t adesso = std::time(nullptr);
  char testo[16] = "";
  if (const std::tm* t = std::localtime(&adesso)) std::strftime(testo, sizeof testo, "%H:%M:%S", t);
  return testo;
}

}  // namespace

int osserva(const std::string& comando, const std::vector<fs::path>& file,
            const GiroOsservato& giro, std::ostream& out, std::ostream& err) {
  const std::string chi = "compattatore " + comando + ": ";
  Sentinella sentinella(file);
  std::string nomi;
  for (const fs::path& f : file) nomi += (nomi.empty() ? "'" : ", '") + visibile(f.string()) + "'";
  err << chi << "osservo " << nomi << " (Ctrl+C per finire)\n" << std::flush;
  for (;;) {
    const auto mancanti = sentinella.mancanti();
    for (const fs::path& f : mancanti) {
      err << chi << "'" << visibile(f.string()) << "' non c'è: attendo che torni\n";
    }
    if (mancanti.empty()) {
      const std::optional<std::string> riga = giro();
      if (!riga) return kUscitaFallita;
      out << ora_del_giorno() << " " << *riga << "\n";
    }
    out << std::flush;
    err << std::flush;
    switch (sentinella.attendi()) {
      case Sentinella::Risveglio::cambiati:
        break;
      case Sentinella::Risveglio::interrotto:
        err << chi << "fine dell'osservazione\n" << std::flush;
        return kUscitaOk;
      case Sentinella::Risveglio::cartella_sparita:
        err << chi << "la cartella '" << visibile(sentinella.cartella_sparita().string())
            << "' non c'è più: fine dell'osservazione\n"
            << std::flush;
        return kUscitaFallita;
    }
  }
}

}  // namespace compattatore
