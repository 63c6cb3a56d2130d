#include "app/diagnostica.h"

#include <algorithm>
#include <cstdio>

#include "model/cp1252.h"
#include "model/italiano.h"

namespace compattatore {
namespace {

constexpr size_t kLarghezzaRiga = 100;         // the longest part of a source line shown
constexpr size_t kMarginePrima = 40;           // characters kept before the item in a longer line
constexpr std::string_view kRientro = "    ";  // before the source line, the caret, the remedy

bool controllo(unsigned char b) { return b < 0x20 || b == 0x7F; }

// ^@ .. ^_ for the C0 controls, ^? for DEL.
std::string con_cappuccio(unsigned char b) {
  return std::string{'^', b == 0x7F ? '?' : static_cast<char>(b + 0x40)};
}

// Columns that byte `b` of a source line takes once shown.
size_t larghezza(unsigned char b) { return b != '\t' && controllo(b) ? 2 : 1; }

std::string luogo_testo(const Luogo& l) {
  if (l.file.empty()) return "";
  std::string t = visibile(l.file);
  if (l.riga > 0) {
    t += ":" + std::to_string(l.riga);
    if (l.colonna > 0) t += ":" + std::to_string(l.colonna);
  }
  return t + ": ";
}

// The source line of `l` and, when a column was recorded, the caret line under it.
std::string riga_e_segno(const Luogo& l) {
  if (l.riga <= 0) return "";
  const std::string_view riga = l.testo;
  const size_t colonna = l.colonna > 0 ? static_cast<size_t>(l.colonna - 1) : 0;
  // A long line is shown around the item.
  size_t inizio = 0;
  if (riga.size() > kLarghezzaRiga && colonna > kLarghezzaRiga - kMarginePrima) {
    inizio = colonna - kMarginePrima;
  }
  const std::string_view parte = riga.substr(inizio, kLarghezzaRiga);
  const bool tagliata_prima = inizio > 0;
  const bool tagliata_dopo = inizio + parte.size() < riga.size();

  std::string m(kRientro);
  if (tagliata_prima) m += "...";
  m += riga_visibile(parte);
  if (tagliata_dopo) m += "...";
  m += "\n";
  if (l.colonna <= 0 || colonna < inizio || colonna > riga.size()) return m;

  std::string segno(kRientro);
  if (tagliata_prima) segno += "   ";
  const size_t dentro = colonna - inizio;
  for (size_t i = 0; i < dentro && i < parte.size(); ++i) {
    const auto b = static_cast<unsigned char>(parte[i]);
    segno += b == '\t' ? std::string("\t") : std::string(larghezza(b), ' ');
  }
  const size_t fine =
      std::min(parte.size(), dentro + static_cast<size_t>(std::max(l.lunghezza, 1)));
  for (size_t i = dentro; i < std::max(fine, dentro + 1); ++i) {
    const size_t w = i < parte.size() ? larghezza(static_cast<unsigned char>(parte[i])) : 1;
    segno += i == dentro ? "^" + std::string(w - 1, '~') : std::string(w, '~');
  }
  return m + segno + "\n";
}

// What the author should change for `s`: the remedy of its code or warning ("" for a note).
const char* rimedio(const Segnalazione& s) {
  switch (s.gravita) {
    case Gravita::errore:
      return riga_codice(s.codice).rimedio;
    case Gravita::avviso:
      return riga_avviso(s.avviso).rimedio;
    case Gravita::nota:
      return "";
  }
  return "";
}

}  // namespace

std::string visibile(std::string_view testo) {
  std::string out;
  out.reserve(testo.size());
  size_t i = 0;
  while (i < testo.size()) {
    char32_t cp = 0;
    const size_t n = cp1252::sequenza_utf8(testo, i, cp);
    if (n == 0) {
      char esa[8];
      std::snprintf(esa, sizeof esa, "\\x%02X", static_cast<unsigned char>(testo[i]));
      out += esa;
      i += 1;
      continue;
    }
    if (cp < 0x80 && controllo(static_cast<unsigned char>(cp))) {
      out += con_cappuccio(static_cast<unsigned char>(cp));
    } else if (cp >= 0x80 && cp < 0xA0) {
      out += "<" + cp1252::codice_unicode(cp) + ">";
    } else {
      out.append(testo.substr(i, n));
    }
    i += n;
  }
  return out;
}

std::string riga_visibile(std::string_view riga) {
  std::string out;
  out.reserve(riga.size());
  for (const char c : riga) {
    const auto b = static_cast<unsigned char>(c);
    if (b != '\t' && controllo(b)) {
      out += con_cappuccio(b);
    } else {
      out += cp1252::a_utf8(std::string_view(&c, 1));
    }
  }
  return out;
}

std::string messaggio_errore(const Segnalazione& s) {
  std::string m = luogo_testo(s.luogo);
  switch (s.gravita) {
    case Gravita::errore:
      m += "errore " + std::to_string(numero(s.codice)) + ": " + riga_codice(s.codice).significato;
      if (!s.dettaglio.empty()) m += ": " + visibile(s.dettaglio);
      m += tra_parentesi(s);
      break;
    case Gravita::avviso:
      m += "avviso: " + visibile(s.dettaglio) + tra_parentesi(s);
      if (s.avviso != Avviso::nessuno) {
        m += " [" + std::string(riga_avviso(s.avviso).etichetta) + "]";
      }
      break;
    case Gravita::nota:
      m += "nota: " + visibile(s.dettaglio) + tra_parentesi(s);
      break;
  }
  m += "\n" + riga_e_segno(s.luogo);
  if (const char* r = rimedio(s); *r) m += std::string(kRientro) + "aiuto: " + r + "\n";
  for (const Nota& n : s.note) {
    m += luogo_testo(n.luogo) + "nota: " + visibile(n.testo) + "\n" + riga_e_segno(n.luogo);
  }
  return m;
}

void Resoconto::ricevi(const Segnalazione& s) {
  if (s.gravita == Gravita::errore) ++errori_;
  if (s.gravita == Gravita::avviso) ++avvisi_;
  if (s.avviso != Avviso::nessuno) visti_.insert(s.avviso);
  if (formato_ == Formato::json) {
    tutte_.push_back(s);
  } else {
    err_ << messaggio_errore(s) << std::flush;
  }
}

std::string Resoconto::conteggio() const {
  if (errori_ > 0 && avvisi_ > 0) {
    return quanti(errori_, "errore", "errori") + " e " + quanti(avvisi_, "avviso", "avvisi");
  }
  if (errori_ > 0) return quanti(errori_, "errore", "errori");
  if (avvisi_ > 0) return quanti(avvisi_, "avviso", "avvisi");
  return "";
}

std::function<void(const Segnalazione&)> stampa_su(std::ostream& err) {
  return [&err](const Segnalazione& s) { err << messaggio_errore(s) << std::flush; };
}

}  // namespace compattatore
