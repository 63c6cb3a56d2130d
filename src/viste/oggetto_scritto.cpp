#include "viste/oggetto_scritto.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "model/cp1252.h"
#include "model/formatta.h"
#include "model/oggetti.h"
#include "viste/posizioni.h"

namespace compattatore {
namespace {

// The item of `v` (sorted by stretch) on stretch `s`, or nullptr.
template <class T>
const T* sul_tratto(const std::vector<T>& v, int32_t s) {
  const auto i =
      std::lower_bound(v.begin(), v.end(), s, [](const T& x, int32_t t) { return x.tratto < t; });
  return i != v.end() && i->tratto == s ? &*i : nullptr;
}

// The slowdown that has stretch `s` as its warning board, start or end.
const RallentamentoLetto* rallentamento_su(const Descrizione& r, int32_t s) {
  for (const RallentamentoLetto& ra : r.rallentamenti) {
    if (ra.avviso == s || ra.inizio == s || ra.fine == s) return &ra;
  }
  return nullptr;
}

// Adds the values `v`, in the order given (the table's).
void metti(OggettoScritto& o, std::initializer_list<std::pair<ValoreChiave, int64_t>> v) {
  for (const auto& [chiave, n] : v) o.valori.push_back({&riga(chiave), n});
}

void segnale(OggettoScritto& o, const Descrizione& r, int32_t s) {
  const SegnaleLetto* g = sul_tratto(r.segnali, s);
  if (!g) return;
  metti(o, {{ValoreChiave::segnale_sx, g->sx},
            {ValoreChiave::segnale_s1, g->aspetti[0]},
            {ValoreChiave::segnale_s2, g->aspetti[1]},
            {ValoreChiave::segnale_s3, g->aspetti[2]},
            {ValoreChiave::segnale_rapp, g->rapp},
            {ValoreChiave::segnale_dx, g->dx},
            {ValoreChiave::segnale_d1, g->d[0]},
            {ValoreChiave::segnale_d2, g->d[1]},
            {ValoreChiave::segnale_d3, g->d[2]},
            {ValoreChiave::segnale_tempo, g->tempo}});
}

// A slowdown's values as the stretch `s` keeps them: the speed and d_v on all three, f_tt on the
// start and the end; the length where start and end are paired, f_ta where the board is known.
void rallentamento(OggettoScritto& o, const Descrizione& r, const Tratto& t, int32_t s) {
  if (t.oggetto == oggetto::preavviso_rallentamento) {
    o.parte = "preavviso " + std::to_string(t.valore_1);
    return;
  }
  const bool avviso = t.oggetto == oggetto::avviso_rallentamento;
  o.parte = avviso ? "avviso" : t.oggetto == oggetto::inizio_rallentamento ? "inizio" : "fine";
  const RallentamentoLetto* ra = rallentamento_su(r, s);
  metti(o, {{ValoreChiave::rallentamento_v, t.valore_1}});
  if (ra && ra->inizio && ra->fine) {
    metti(o, {{ValoreChiave::rallentamento_l, int64_t{*ra->fine - *ra->inizio} * kMetriTratto}});
  }
  if (!avviso) metti(o, {{ValoreChiave::rallentamento_f_tt, t.valore_3}});
  if (ra && ra->avviso && ra->inizio) {
    metti(o, {{ValoreChiave::rallentamento_f_ta, ra->segnalato ? 1 : 0}});
  }
  metti(o, {{ValoreChiave::rallentamento_d_v, t.valore_2}});
}

void indicatore(OggettoScritto& o, const Descrizione& r, int32_t s) {
  const IndicatoreVelocita* iv = sul_tratto(r.indicatori, s);
  if (!iv) return;
  metti(o, {{ValoreChiave::indicatori_vmax_vas, iv->prima(0)},
            {ValoreChiave::indicatori_vmax_vbs, iv->prima(1)},
            {ValoreChiave::indicatori_vmax_vcs, iv->prima(2)},
            {ValoreChiave::indicatori_vmax_strisces, iv->strisce_sinistra()},
            {ValoreChiave::indicatori_vmax_vad, iv->seconda(0)},
            {ValoreChiave::indicatori_vmax_vbd, iv->seconda(1)},
            {ValoreChiave::indicatori_vmax_vcd, iv->seconda(2)},
            {ValoreChiave::indicatori_vmax_strisced, iv->strisce_destra()}});
}

void cartello(OggettoScritto& o, const Descrizione& r, int32_t s) {
  if (const Cartello* c = sul_tratto(r.cartelli, s)) {
    o.voce = c->voce;
    o.testo = c->testo;
  }
}

void fermata(OggettoScritto& o, const Descrizione& r, const Tratto& t) {
  o.parte = "punto di fermata";
  o.voce = t.valore_1;
  for (const Stazione& st : r.stazioni) {
    if (st.voce == t.valore_1) o.testo = st.nome;
  }
}

}  // namespace

std::optional<int64_t> OggettoScritto::valore(ValoreChiave v) const {
  for (const ValoreDellOggetto& x : valori) {
    if (x.riga == &riga(v)) return x.valore;
  }
  return std::nullopt;
}

std::optional<OggettoScritto> oggetto_scritto(const Descrizione& r, std::span<const Tratto> tratti,
                                              int32_t s) {
  const Tratto& t = tratti[static_cast<size_t>(s)];
  if (t.oggetto == oggetto::libero) return std::nullopt;
  OggettoScritto o{t.oggetto, chiave_dell_oggetto(t.oggetto),
                   "",        posizione_dell_oggetto(t.oggetto, s),
                   {},        std::nullopt,
                   ""};
  switch (t.oggetto) {
    case oggetto::segnale:
      segnale(o, r, s);
      break;
    case oggetto::fine_rallentamento:
    case oggetto::inizio_rallentamento:
    case oggetto::avviso_rallentamento:
    case oggetto::preavviso_rallentamento:
      rallentamento(o, r, t, s);
      break;
    case oggetto::indicatore_velocita:
      indicatore(o, r, s);
      break;
    case oggetto::fermata:
      fermata(o, r, t);
      break;
    case oggetto::segno_montagna:
      o.parte = "segno";
      break;
    case oggetto::cambio_codice:
    case oggetto::taglio_codice:
      o.parte = t.oggetto == oggetto::taglio_codice ? "taglio" : "cambio";
      metti(o, {{ValoreChiave::abbattimento_c, t.valore_1}});
      break;
    case oggetto::cartello:
      cartello(o, r, s);
      break;
    default:
      break;
  }
  return o;
}

std::string forma_chiave(Chiave c) { return cp1252::a_utf8(riga(c).forma); }

std::string testo_valore(const ValoreDellOggetto& v) {
  std::string t = std::string(v.riga->nome) + " " + std::to_string(v.valore);
  if (*v.riga->unita != '\0') t += std::string(" ") + v.riga->unita;
  return t;
}

std::string testo_oggetto(const OggettoScritto& o) {
  if (!o.chiave) {
    return "oggetto " + std::to_string(o.oggetto) +
           " sconosciuto: nessuna riga dei sorgenti scrive questo tipo";
  }
  std::string t = forma_chiave(*o.chiave);
  if (!o.parte.empty()) t += " (" + o.parte + ")";
  t += " a " + std::to_string(o.posizione) + " m";
  std::string resto;
  for (const ValoreDellOggetto& v : o.valori)
    resto += (resto.empty() ? "" : ", ") + testo_valore(v);
  if (o.voce) {
    resto += (resto.empty() ? "" : ", ") + formatta("voce %d", *o.voce);
    if (!o.testo.empty()) resto += " " + o.testo;
  }
  return resto.empty() ? t : t + ": " + resto;
}

}  // namespace compattatore
