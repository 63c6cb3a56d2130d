#include "decompilatore/treno.h"

#include <algorithm>

#include "model/oggetti.h"
#include "model/regole.h"

namespace compattatore {
namespace {

// A profile line at 0 and at every stretch where the value changes. The fill at the end of the
// train phase stops before the last three stretches unless a line stands at the first of them.
void profilo(Ricostruzione& r, const char* parola, uint8_t Tratto::*campo, int64_t unita,
             TipoProblema in_coda, std::vector<Riga>& out) {
  const int32_t u = r.ultimo();
  for (int64_t s = std::max<int64_t>(u - 1, 0); s <= u; ++s) {
    if (r.t(s).*campo != 0) r.problema_tratto(s, in_coda, {r.t(s).*campo});
  }
  for (int64_t s = 0; s <= u - 3; ++s) {
    if (s == 0 || r.t(s).*campo != r.t(s - 1).*campo) {
      out.push_back(riga(parola, {s * kMetriTratto, unita * (r.t(s).*campo)}));
    }
  }
  if (u >= 2 && r.t(u - 2).*campo != 0) {
    out.push_back(riga(parola, {(u - 2) * kMetriTratto, unita * (r.t(u - 2).*campo)}));
  }
}

// Sections of the stations and signals in their order: a station that must follow a signal
// starts a section of its own. Stations before any signal come first, then the slowdowns.
void sezioni_punti(std::vector<std::string>& l, const SorgenteTreno& t) {
  size_t k = 0;
  std::vector<Riga> gruppo;
  while (k < t.punti.size() && t.punti[k].stazione) gruppo.push_back(t.punti[k++].riga);
  sezione(l, "[stazioni]", gruppo);
  sezione(l, "[rallentamenti]", t.rallentamenti);
  bool prima = true;
  while (k < t.punti.size() || prima) {
    const bool stazione = k < t.punti.size() && t.punti[k].stazione;
    gruppo.clear();
    while (k < t.punti.size() && t.punti[k].stazione == stazione) {
      gruppo.push_back(t.punti[k++].riga);
    }
    sezione(l, stazione ? "[stazioni]" : "[segnali]", gruppo);
    prima = false;
  }
}

}  // namespace

std::vector<std::string> SorgenteTreno::righe() const {
  std::vector<std::string> l = {"[generale]"};
  l.insert(l.end(), generale.begin(), generale.end());
  sezione(l, "[aderenze]", aderenze);
  sezione(l, "[vel_limite]", velocita);
  sezioni_punti(l, *this);
  std::map<int64_t, Riga> codici = abbattimenti;
  for (int64_t s : marcatori_scritti) {
    codici[s] = riga("abbattimento", {s * kMetriTratto, kValoreMarcatore});
  }
  std::vector<Riga> gruppo;
  for (auto& [s, k] : codici) gruppo.push_back(k);
  sezione(l, "[codici]", gruppo);
  l.emplace_back("[fine]");
  return l;
}

void generale_treno(Ricostruzione& r, SorgenteTreno& out) {
  const Voce& figure = r.voce(voce::figure_treno);
  const Voce& treno = r.voce(voce::treno);
  out.generale.push_back(valore_generale("numero vetture", {figure.campo_3}));
  out.generale.push_back(valore_generale("percentuale massa frenata", {figure.campo_1}));
  out.generale.push_back(valore_generale("sabbia", {treno.intero_1}));
  out.generale.push_back("orologio,    " + std::to_string(treno.intero_3) + "    " +
                         std::to_string(treno.intero_4) + "    " + std::to_string(treno.intero_5));
}

void profili_treno(Ricostruzione& r, SorgenteTreno& out) {
  profilo(r, "aderenza", &Tratto::aderenza, 1, TipoProblema::aderenza_in_coda, out.aderenze);
  profilo(r, "velocita", &Tratto::velocita, 5, TipoProblema::velocita_in_coda, out.velocita);
}

// Code points with the markers' value come from lines only where the marker pass puts nothing:
// the check finds them by compiling.
void codici_treno(Ricostruzione& r, SorgenteTreno& out) {
  for (int64_t s = 0; s <= r.ultimo(); ++s) {
    const Tratto& x = r.t(s);
    if (x.oggetto == oggetto::cambio_codice && x.valore_1 == kValoreMarcatore) {
      out.marcatori.push_back(s);
      r.spiega(s);
      continue;
    }
    if (x.oggetto != oggetto::taglio_codice && x.oggetto != oggetto::cambio_codice) continue;
    r.spiega(s);
    if (s > r.ultimo() - 2) {
      r.problema_tratto(s, TipoProblema::fuori_percorso, {nome_breve_oggetto(x.oggetto)});
      continue;
    }
    Riga k = riga("abbattimento", {s * kMetriTratto});
    if (x.oggetto == oggetto::taglio_codice) {
      k.celle.emplace_back("AC");
    } else {
      // A value of 0 or less is the low 16 bits of a value from 32768 up.
      k.celle.push_back(std::to_string(x.valore_1 > 0 ? x.valore_1 : int64_t{x.valore_1} + 65536));
    }
    out.abbattimenti[s] = std::move(k);
  }
}

void oggetti_rimasti(Ricostruzione& r) {
  for (int64_t s = 0; s <= r.ultimo(); ++s) {
    const uint8_t o = r.t(s).oggetto;
    if (o == oggetto::libero || r.spiegato(s) || r.problemi().tratto_segnalato(s)) continue;
    r.problema_tratto(s, TipoProblema::oggetto_senza_riga, {o, nome_breve_oggetto(o)});
  }
}

}  // namespace compattatore
