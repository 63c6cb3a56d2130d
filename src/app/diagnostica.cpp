#include "app/diagnostica.h"

#include "model/cp1252.h"

namespace compattatore {
namespace {
constexpr size_t kLarghezzaRiga = 100;
}

std::string messaggio_errore(const Segnalazione& s) {
  std::string m;
  const bool ha_file = !s.luogo.file.empty();
  if (ha_file) {
    m += s.luogo.file;
    if (s.luogo.riga > 0) m += ":" + std::to_string(s.luogo.riga);
    m += ": ";
  }
  m += "errore " + std::to_string(numero(s.codice)) + ": ";
  m += riga_codice(s.codice).significato;
  if (!s.dettaglio.empty()) m += ": " + s.dettaglio;
  if (s.posizione) {
    if (ha_file) {
      m += " (posizione " + std::to_string(*s.posizione) + " m)";
    } else {
      m += " (tratto " + std::to_string(*s.posizione / 50) + ", posizione " +
           std::to_string(*s.posizione) + " m)";
    }
  }
  m += "\n";
  if (s.luogo.riga > 0) {
    const std::string& riga = s.luogo.testo;
    m += "    " + cp1252::a_utf8(riga.substr(0, kLarghezzaRiga));
    m += riga.size() > kLarghezzaRiga ? "...\n" : "\n";
  }
  return m;
}

std::function<void(const Segnalazione&)> stampa_su(std::ostream& err) {
  return [&err](const Segnalazione& s) { err << messaggio_errore(s) << std::flush; };
}

}  // namespace compattatore
