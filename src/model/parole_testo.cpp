// The table of source fields as text: a line's layout, the README's field reference and the
// keyword block of the fuzz dictionary.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "model/cp1252.h"
#include "model/italiano.h"
#include "model/parole.h"

namespace compattatore {
namespace {

// A keyword with more values than this has them in a table of their own.
constexpr size_t kValoriInRiga = 12;

// A whole number as the reference writes it: a minus sign for a negative one.
std::string numero(int64_t n) {
  return n < 0 ? "\xE2\x88\x92" + std::to_string(-n) : std::to_string(n);
}

std::string codice(Codice c) { return "codice " + std::to_string(compattatore::numero(c)); }

std::string memoria(const RigaValore& v) {
  const std::string nome = v.nome;
  switch (v.memoria) {
    case Memoria::come_scritto:
      return "memorizzato come scritto";
    case Memoria::bassi_8:
      return "ne sono memorizzati gli 8 bit bassi";
    case Memoria::bassi_16:
      return "ne sono memorizzati i 16 bit bassi";
    case Memoria::quinti:
      return "memorizzato diviso per 5, arrotondato";
    case Memoria::piu_cento:
      return "memorizzato + 100 in un byte";
    case Memoria::tratto_piu_uno:
      return "sul tratto " + nome + " / 50 + 1";
    case Memoria::tratto:
      return "sul tratto " + nome + " / 50";
    case Memoria::tratto_meno_uno:
      return "fino al tratto " + nome + " / 50 \xE2\x88\x92 1";
    case Memoria::non_memorizzato:
      return "non memorizzato";
    case Memoria::composto:
    case Memoria::testo:
      break;
  }
  return "";
}

// What a value must keep to for it to be meant, beyond its range.
std::string senso(Senso s) {
  const std::string massima = std::to_string(kVelocitaMassimaTreno);
  switch (s) {
    case Senso::qualsiasi:
    case Senso::parola_nulla:
      break;
    case Senso::velocita:
      return "un avviso a 0 o meno e oltre " + massima;
    case Senso::velocita_o_nulla:
      return "0 per nessuna, un avviso sotto 0 e oltre " + massima;
    case Senso::lunghezza:
      return "un avviso a 0 o meno";
    case Senso::fine:
      return "un avviso se non viene dopo l'inizio";
    case Senso::fine_o_nulla:
      return "un avviso se non è 0 e non viene dopo l'inizio";
    case Senso::ore:
      return "un avviso sotto 0";
    case Senso::minuti:
      return "un avviso fuori da 0 a 59";
    case Senso::tempo_segnale:
      return "un avviso quando non è memorizzato come scritto";
    case Senso::tipo_montagna:
      return "un avviso per un tipo diverso da " + elenco(kTipiMontagna);
  }
  return "";
}

}  // namespace

std::string descrizione(const RigaValore& v) {
  std::string d = v.significato;
  if (*v.unita != '\0') d += std::string(" (") + v.unita + ")";
  auto aggiungi = [&d](const std::string& parte, const char* tra = ", ") {
    if (!parte.empty()) d += tra + parte;
  };
  const Intervallo& i = v.intervallo;
  // Beyond its range a value sets its code; one without a code is stored with a warning.
  const std::string oltre =
      " (" + (v.codice == Codice::nessuno ? std::string("un avviso oltre") : codice(v.codice)) +
      ")";
  if (v.lettura == ModoLettura::posizione) {
    aggiungi("da 0 alla lunghezza del percorso + " + numero(i.massimo) + " m" + oltre);
  } else if (v.lettura != ModoLettura::testo &&
             (i.minimo != kInteri32.minimo || i.massimo != kInteri32.massimo)) {
    if (i.minimo == kInteri32.minimo) {
      aggiungi("fino a " + numero(i.massimo) + oltre);
    } else {
      aggiungi((i.massimo == i.minimo + 1 ? "" : "da ") + numero(i.minimo) +
               (i.massimo == i.minimo + 1 ? " o " : " a ") + numero(i.massimo) + oltre);
    }
  }
  if (v.multiplo.passo != 0) {
    aggiungi("multiplo di " + std::to_string(v.multiplo.passo) + " (" +
             (v.multiplo.codice == Codice::nessuno ? std::string("un avviso altrimenti")
                                                   : codice(v.multiplo.codice)) +
             ")");
  }
  aggiungi(senso(v.senso));
  aggiungi(memoria(v));
  aggiungi(v.regola, "; ");
  return d;
}

namespace {

std::string in_codice(const std::string& s) { return "`" + s + "`"; }

// The longest run of whole words that `a` and `b` begin with, with the blank after it.
size_t prefisso_comune(const std::string& a, const std::string& b) {
  size_t fine = 0;
  for (size_t i = 0; i < a.size() && i < b.size() && a[i] == b[i]; ++i) {
    if (a[i] == ' ') fine = i + 1;
  }
  return fine;
}

// The other spellings of a line, shortened to what differs from the first: "(also `due`, `tre`)".
std::string anche(const std::string& prima, const std::vector<std::string>& altre,
                  const char* come) {
  if (altre.empty()) return "";
  std::string s = std::string(" (") + come + " ";
  for (size_t i = 0; i < altre.size(); ++i) {
    if (i > 0) s += ", ";
    s += in_codice(cp1252::a_utf8(altre[i].substr(prefisso_comune(prima, altre[i]))));
  }
  return s + ")";
}

// The curve classes and their radii.
std::string classi_curva() {
  std::string s = "`d` gira a destra, `s` a sinistra; la cifra è la classe: ";
  for (size_t i = 0; i < std::size(kCurvature); ++i) {
    const double raggio = 1.0 / kCurvature[i];
    const auto intero = std::llround(raggio);
    if (i > 0) s += ", ";
    s += std::to_string(i + 1) + (i == 0 ? " raggio " : " ");
    if (std::abs(raggio - static_cast<double>(intero)) > 1e-6) s += "circa ";
    s += std::to_string(intero) + " m";
  }
  return s + " (" + codice(Codice::curva_errata) + " senza)";
}

// The meaning cell of a keyword row.
std::string significato(const RigaChiave& r) {
  const std::span<const RigaValore> vv = valori(r.chiave);
  std::string d = r.significato;
  if (vv.size() > kValoriInRiga) {
    d += "; le sue " + std::to_string(vv.size()) + " voci sono più sotto";
  } else {
    std::string elenco;
    for (const RigaValore& v : vv) {
      if (!elenco.empty()) elenco += "; ";
      elenco += "*" + std::string(v.nome) + "* " + descrizione(v);
    }
    d += d.empty() || elenco.empty() ? elenco : ": " + elenco;
  }
  auto frase = [&d](const std::string& f) {
    if (!f.empty()) d += (d.empty() ? "" : ". ") + f;
  };
  if (r.variante == Variante::curva) frase(classi_curva());
  frase(r.nota);
  if (r.maiuscole == Maiuscole::contano) frase("Solo in minuscolo");
  if (r.variante == Variante::nessuna && r.altra_forma != nullptr) {
    frase("Si accetta anche " + in_codice(cp1252::a_utf8(r.altra_forma)));
  }
  return d;
}

// The spelling a line of `r` shows.
std::string forma_mostrata(const RigaChiave& r) {
  return r.variante == Variante::curva ? forma_curva(false, 4) : r.forma;
}

std::string valori_in_numero(const RigaChiave& r) {
  const std::span<const RigaValore> vv = valori(r.chiave);
  if (vv.empty()) return "\xE2\x80\x94";
  if (vv.back().lettura == ModoLettura::testo) {
    return std::to_string(vv.size() - 1) + " + " + vv.back().nome;
  }
  return std::to_string(vv.size());
}

// The table of one source: keywords and headers in the order of the table, headers that add
// nothing folded into the one before, keywords that differ only in spelling in one line.
std::string tabella_sorgente(bool linea) {
  std::string t = "| Riga | Valori | Significato, unità, campo |\n|---|---|---|\n";
  const RigaChiave* gruppo = nullptr;  // the first row of the line being gathered
  std::vector<std::string> altre;      // the spellings folded into it
  auto chiudi = [&] {
    if (gruppo == nullptr) return;
    const bool intestazione = gruppo->genere == Genere::intestazione;
    std::string riga_t = in_codice(cp1252::a_utf8(schema_riga(*gruppo)));
    if (gruppo->variante == Variante::codici) altre.push_back(gruppo->altra_forma);
    if (!intestazione) {
      riga_t += anche(forma_mostrata(*gruppo), altre,
                      gruppo->variante == Variante::codici ? "o" : "anche");
    }
    std::string s = significato(*gruppo);
    if (intestazione && !altre.empty()) {
      s += "; " + in_codice(gruppo->forma);
      for (const std::string& altra : altre) s += ", " + in_codice(altra);
      s += " sono le solite";
    }
    t += "| " + riga_t + " | " + valori_in_numero(*gruppo) + " | " + s + " |\n";
    gruppo = nullptr;
    altre.clear();
  };
  for (const RigaChiave& r : kRigheChiavi) {
    if ((r.ambito == Ambito::treno) == linea) continue;
    const bool unisci = gruppo != nullptr && gruppo->genere == r.genere &&
                        (r.genere == Genere::intestazione ? *r.significato == '\0'
                                                          : significato(*gruppo) == significato(r));
    if (unisci) {
      altre.push_back(r.forma);
      continue;
    }
    chiudi();
    gruppo = &r;
  }
  chiudi();
  return t;
}

}  // namespace

std::string schema_riga(const RigaChiave& r) {
  std::string s = forma_mostrata(r);
  const std::span<const RigaValore> vv = valori(r.chiave);
  for (size_t i = 0; i < vv.size(); ++i) {
    s += i == 0 || r.separatore == ',' ? ", " : " ";
    s += vv[i].nome;
  }
  return s;
}

std::vector<std::string> riferimento_campi() {
  std::vector<std::string> tabelle{tabella_sorgente(true), tabella_sorgente(false)};
  for (const RigaChiave& r : kRigheChiavi) {
    const std::span<const RigaValore> vv = valori(r.chiave);
    if (vv.size() <= kValoriInRiga) continue;
    std::string t = "| Voce | Nome | Significato, unità, campo |\n|---|---|---|\n";
    for (size_t i = 0; i < vv.size(); ++i) {
      t += "| " + std::to_string(i + 1) + " | " + vv[i].nome + " | " + descrizione(vv[i]) + " |\n";
    }
    tabelle.push_back(std::move(t));
  }
  return tabelle;
}

std::string dizionario_parole() {
  std::vector<std::string> tutte;
  for (const RigaChiave& r : kRigheChiavi) {
    std::vector<std::string> f = forme(r);
    if (r.altra_forma != nullptr) f.emplace_back(r.altra_forma);
    for (std::string& forma : f) {
      if (std::find(tutte.begin(), tutte.end(), forma) == tutte.end()) tutte.push_back(forma);
    }
  }
  std::string s;
  for (const std::string& forma : tutte) {
    s += '"';
    for (const char c : forma) {
      const auto u = static_cast<unsigned char>(c);
      if (u < 0x20 || u >= 0x7F || c == '"' || c == '\\') {
        char hex[5];
        std::snprintf(hex, sizeof hex, "\\x%02X", u);
        s += hex;
      } else {
        s += c;
      }
    }
    s += "\"\n";
  }
  return s;
}

}  // namespace compattatore
