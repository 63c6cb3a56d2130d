#include "decompilatore/problemi.h"

#include <algorithm>
#include <array>

#include "model/modello.h"
#include "model/regole.h"

namespace compattatore {
namespace {

constexpr RigaProblema kRighe[] = {
#define COMPATTATORE_VOCE_RIGA(nome, parte, testo) {TipoProblema::nome, #nome, Parte::parte, testo},
    COMPATTATORE_PROBLEMI_DECOMPILA(COMPATTATORE_VOCE_RIGA)
#undef COMPATTATORE_VOCE_RIGA
};

std::string n(int64_t v) { return std::to_string(v); }

// How the place of `p` is printed, with what joins it to the text.
std::string dove(const Problema& p) {
  switch (p.parte()) {
    case Parte::nessuna:
      return "";
    case Parte::voce:
      return testo_voce(p.numero, p.nome) + ": ";
    case Parte::sezioni:
      return "voci " + n(voce::sezione_tre) + "-" + n(voce::sezione_uno) + ": ";
    case Parte::intestazione:
      return "voce " + n(voce::intestazione) + " e tratto 1: ";
    case Parte::tracciato:
      return "tracciato: ";
    case Parte::punti:
      return "tracciato, ";
    case Parte::tratto:
      return "tratto " + n(p.numero) + " (" + n(posizione_oggetto<int64_t>(p.numero)) + " m): ";
    case Parte::tratti:
      return "tratti: ";
    case Parte::montagne:
      return "montagne: ";
    case Parte::cartelli:
      return "cartelli: ";
    case Parte::preavvisi:
      return "preavvisi: ";
  }
  return "";
}

// The values of `p` as the text names them: its own, then the two lists of differing fields,
// then the code of a compile.
std::vector<std::string> parti(const Problema& p) {
  std::vector<std::string> r;
  for (const Problema::Valore& v : p.valori) {
    r.push_back(std::holds_alternative<int64_t>(v) ? n(std::get<int64_t>(v))
                                                   : std::get<std::string>(v));
  }
  if (!p.diversi.empty()) {
    std::string nel_file, dai_sorgenti;
    for (const DifferenzaCampo& c : p.diversi) {
      nel_file += (nel_file.empty() ? "" : ", ") + c.nome + " " + c.nel_file;
      dai_sorgenti += (dai_sorgenti.empty() ? "" : ", ") + c.nome + " " + c.dai_sorgenti;
    }
    r.push_back(std::move(nel_file));
    r.push_back(std::move(dai_sorgenti));
  }
  if (p.codice) r.push_back(testo_segnalazione(*p.codice));
  return r;
}

// Group of the order of the list, and the number within it.
std::pair<int, int64_t> ordine(const Problema& p) {
  switch (p.parte()) {
    case Parte::voce:
    case Parte::sezioni:
      return {0, p.numero};
    case Parte::tracciato:
    case Parte::punti:
      return {1, 0};
    case Parte::tratto:
      return {2, p.numero};
    default:
      return {3, 0};
  }
}

}  // namespace

std::span<const RigaProblema> tabella_problemi() { return kRighe; }

const RigaProblema& riga_problema(TipoProblema t) { return kRighe[static_cast<size_t>(t)]; }

std::string testo_voce(int64_t numero, const std::string& nome) {
  return "voce " + n(numero) + (nome.empty() ? "" : " (" + nome + ")");
}

std::string testo_segnalazione(const Segnalazione& s) {
  std::string d;
  if (!s.luogo.file.empty()) {
    d += s.luogo.file;
    if (s.luogo.riga > 0) d += ", riga " + n(s.luogo.riga);
    d += ": ";
  }
  d += "errore " + n(numero(s.codice)) + " (" + riga_codice(s.codice).significato + ")";
  if (!s.dettaglio.empty()) d += ": " + s.dettaglio;
  if (s.posizione) d += ", posizione " + n(*s.posizione) + " m";
  return d;
}

std::string testo_problema(const Problema& p) {
  const std::vector<std::string> valori = parti(p);
  std::string t = dove(p);
  size_t prossimo = 0;
  for (const char* c = riga_problema(p.tipo).testo; *c != '\0'; ++c) {
    if (c[0] == '{' && c[1] == '}') {
      if (prossimo < valori.size()) t += valori[prossimo++];
      ++c;
    } else {
      t += *c;
    }
  }
  return t;
}

void ElencoProblemi::aggiungi(Problema p) {
  switch (p.parte()) {
    case Parte::tratto:
      tratti_.insert(p.numero);
      break;
    case Parte::voce:
      voci_.insert(p.numero);
      break;
    case Parte::sezioni:
      for (int i = voce::sezione_tre; i <= voce::sezione_uno; ++i) voci_.insert(i);
      break;
    case Parte::tracciato:
    case Parte::punti:
      tracciato_ = true;
      break;
    default:
      break;
  }
  problemi_.push_back(std::move(p));
}

void ElencoProblemi::ordina() {
  std::stable_sort(problemi_.begin(), problemi_.end(),
                   [](const Problema& a, const Problema& b) { return ordine(a) < ordine(b); });
}

bool ElencoProblemi::tratto_segnalato(int64_t s) const { return tratti_.count(s) > 0; }

bool ElencoProblemi::voce_segnalata(int64_t i) const { return voci_.count(i) > 0; }

}  // namespace compattatore
