#include "decompilatore/treno.h"

#include <algorithm>

#include "decompilatore/profili.h"
#include "model/oggetti.h"
#include "model/regole.h"

namespace compattatore {
namespace {

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
  const Descrizione& d = r.letto();
  out.generale.push_back(valore_generale("numero vetture", {d.vetture}));
  out.generale.push_back(valore_generale("percentuale massa frenata", {d.massa_frenata}));
  out.generale.push_back(valore_generale("sabbia", {d.sabbia}));
  out.generale.push_back("orologio,    " + std::to_string(d.orologio[0]) + "    " +
                         std::to_string(d.orologio[1]) + "    " + std::to_string(d.orologio[2]));
}

void profili_treno(Ricostruzione& r, SorgenteTreno& out) {
  // The fill at the end of the train phase stops before the last three stretches unless a line
  // stands at the first of them.
  const FineProfilo fine{2, true};
  profilo(r, CampoTratto::aderenza, r.letto().aderenze, "aderenza", fine,
          TipoProblema::aderenza_in_coda, out.aderenze);
  profilo(r, CampoTratto::velocita, r.letto().velocita, "velocita", fine,
          TipoProblema::velocita_in_coda, out.velocita);
}

// Code points with the markers' value come from lines only where the marker pass puts nothing:
// the check finds them by compiling.
void codici_treno(Ricostruzione& r, SorgenteTreno& out) {
  for (const PuntoCodice& p : r.letto().punti_codice) {
    const int64_t s = p.tratto;
    r.spiega(s);
    if (!p.taglio && p.codice == kValoreMarcatore) {
      out.marcatori.push_back(s);
      continue;
    }
    if (s > r.ultimo() - 2) {
      r.problema_tratto(s, TipoProblema::fuori_percorso, {nome_breve_oggetto(r.t(s).oggetto)});
      continue;
    }
    Riga k = riga("abbattimento", {s * kMetriTratto});
    if (p.taglio) {
      k.celle.emplace_back("AC");
    } else {
      // A value of 0 or less is the low 16 bits of a value from 32768 up.
      k.celle.push_back(std::to_string(p.codice > 0 ? p.codice : int64_t{p.codice} + 65536));
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
