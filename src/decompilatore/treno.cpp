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
  sezione(l, Chiave::stazioni, gruppo);
  sezione(l, Chiave::rallentamenti, t.rallentamenti);
  bool prima = true;
  while (k < t.punti.size() || prima) {
    const bool stazione = k < t.punti.size() && t.punti[k].stazione;
    gruppo.clear();
    while (k < t.punti.size() && t.punti[k].stazione == stazione) {
      gruppo.push_back(t.punti[k++].riga);
    }
    sezione(l, stazione ? Chiave::stazioni : Chiave::segnali, gruppo);
    prima = false;
  }
}

}  // namespace

std::vector<std::string> SorgenteTreno::righe() const {
  std::vector<std::string> l = {parola(Chiave::generale_treno)};
  l.insert(l.end(), generale.begin(), generale.end());
  sezione(l, Chiave::aderenze, aderenze);
  sezione(l, Chiave::vel_limite, velocita);
  sezioni_punti(l, *this);
  std::map<int64_t, Riga> codici = abbattimenti;
  for (int64_t s : marcatori_scritti) {
    codici[s] = riga(Chiave::abbattimento, {s * kMetriTratto, kValoreMarcatore});
  }
  std::vector<Riga> gruppo;
  for (auto& [s, k] : codici) gruppo.push_back(k);
  sezione(l, Chiave::codici, gruppo);
  l.push_back(parola(Chiave::fine_treno));
  return l;
}

void generale_treno(Ricostruzione& r, SorgenteTreno& out) {
  const Descrizione& d = r.letto();
  out.generale.push_back(valore_generale(Chiave::numero_vetture, {d.vetture}));
  out.generale.push_back(valore_generale(Chiave::percentuale_massa_frenata, {d.massa_frenata}));
  out.generale.push_back(valore_generale(Chiave::sabbia, {d.sabbia}));
  out.generale.push_back(
      valore_generale(Chiave::orologio, {d.orologio[0], d.orologio[1], d.orologio[2]}));
}

void profili_treno(Ricostruzione& r, SorgenteTreno& out) {
  // The fill at the end of the train phase stops before the last three stretches unless a line
  // stands at the first of them.
  const FineProfilo fine{2, true};
  profilo(r, CampoTratto::aderenza, r.letto().aderenze, Chiave::aderenza, fine,
          TipoProblema::aderenza_in_coda, out.aderenze);
  profilo(r, CampoTratto::velocita, r.letto().velocita, Chiave::velocita, fine,
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
    Riga k = riga(Chiave::abbattimento, {s * kMetriTratto});
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
