#include "viste/descrizione.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "model/campi.h"
#include "model/cp1252.h"
#include "model/ruoli_voci.h"

namespace compattatore {
namespace {

using Tratti = std::span<const Tratto>;

int32_t numero_tratto(size_t s) { return static_cast<int32_t>(s); }

template <class T>
T come(int64_t v) {
  return static_cast<T>(v);
}

// Runs of equal values of one field of every stretch, from stretch 0, in the author's unit.
std::vector<Tratta> tratte(Tratti tratti, CampoTratto campo) {
  const RigaCampo<Tratto>& riga = riga_campo(campo);
  std::vector<Tratta> r;
  for (size_t s = 0; s < tratti.size(); ++s) {
    const int v = come<int>(riga.in_unita(riga.valore(tratti[s])));
    const int32_t i = numero_tratto(s);
    if (!r.empty() && r.back().valore == v && r.back().ultimo == i - 1) {
      r.back().ultimo = i;
    } else {
      r.push_back({i, i, v});
    }
  }
  return r;
}

// The stretches holding objects of kind `o`.
std::vector<int32_t> tratti_con(Tratti tratti, uint8_t o) {
  std::vector<int32_t> trovati;
  for (size_t s = 0; s < tratti.size(); ++s) {
    if (tratti[s].oggetto == o) trovati.push_back(numero_tratto(s));
  }
  return trovati;
}

const Tratto& tratto(Tratti tratti, int32_t s) { return tratti[static_cast<size_t>(s)]; }

// ---- the table

void figure(Descrizione& r, const Elenco& e) {
  const auto n = [&e](RuoloVoce ruolo) { return numero(e, ruolo); };
  r.lunghezza = come<int32_t>(n(RuoloVoce::figure_treno_lunghezza));
  r.massa_frenata = come<int32_t>(n(RuoloVoce::figure_treno_massa_frenata));
  r.vetture = come<int32_t>(n(RuoloVoce::figure_treno_vetture));
  r.sfondi[0] = come<int32_t>(n(RuoloVoce::intestazione_sfondo_uno));
  r.sfondi[1] = come<int32_t>(n(RuoloVoce::intestazione_sfondo_due));
  r.sfondi[2] = come<int32_t>(n(RuoloVoce::intestazione_sfondo_tre));
  r.ripetizione_inizio = come<int32_t>(n(RuoloVoce::treno_ripetizione_inizio));
  r.ripetizione_fine = come<int32_t>(n(RuoloVoce::treno_ripetizione_fine));
  r.codici_ripetizione = come<int32_t>(n(RuoloVoce::treno_codici_ripetizione));
  r.sabbia = come<int16_t>(n(RuoloVoce::treno_sabbia));
  r.orologio[0] = come<int16_t>(n(RuoloVoce::treno_ore));
  r.orologio[1] = come<int16_t>(n(RuoloVoce::treno_minuti));
  r.orologio[2] = come<int16_t>(n(RuoloVoce::treno_secondi));
}

// The kilometric sections present, by start.
void sezioni(Descrizione& r, const Elenco& e) {
  for (int i : {voce::sezione_uno, voce::sezione_due, voce::sezione_tre}) {
    const Voce& v = e[static_cast<size_t>(i)];
    const auto n = [&v](RuoloVoce ruolo) { return come<int32_t>(numero(v, ruolo)); };
    const SezioneKm z{i, n(RuoloVoce::sezione_km_inizio), n(RuoloVoce::sezione_km_progressiva),
                      n(RuoloVoce::sezione_km_verso)};
    if (z.inizio != 0 || z.progressiva != 0 || z.verso != 0) r.sezioni.push_back(z);
  }
  std::stable_sort(r.sezioni.begin(), r.sezioni.end(),
                   [](const SezioneKm& a, const SezioneKm& b) { return a.inizio < b.inizio; });
}

// Entries 1 to 80 hold stations from 1 upwards and board texts from 80 downwards; the boards are
// the entries that a `cartello` stretch points at.
void stazioni(Descrizione& r, const Elenco& e, Tratti tratti) {
  std::set<int> testi;
  for (const Tratto& t : tratti) {
    if (t.oggetto == oggetto::cartello) testi.insert(t.valore_1);
  }
  const IntervalloVoci voci = voci_del_gruppo(GruppoVoci::cartello);
  for (int i = voci.prima; i <= voci.ultima; ++i) {
    const Voce& v = e[static_cast<size_t>(i)];
    if (testi.count(i) || v == Voce{}) continue;
    const auto n = [&v](RuoloVoce ruolo) { return numero(v, ruolo); };
    r.stazioni.push_back({i, testo_leggibile(v.testo), come<uint8_t>(n(RuoloVoce::stazione_tipo)),
                          come<int32_t>(n(RuoloVoce::stazione_posizione)),
                          come<int32_t>(n(RuoloVoce::stazione_inizio_zona)),
                          come<int32_t>(n(RuoloVoce::stazione_fine_zona)),
                          come<int32_t>(n(RuoloVoce::stazione_orario)),
                          come<uint8_t>(n(RuoloVoce::stazione_sosta)), std::nullopt});
  }
}

// ---- the stretches

// The approach base of the signal on stretch `s`: the number from 0 to 639 with the units of
// `valore_4` whose approach bytes agree with most of those on the stretches before it.
std::pair<int, int> base_segnale(Tratti tratti, int32_t s) {
  const int16_t v4 = tratto(tratti, s).valore_4;
  int base = 0;
  int migliori = -1;
  for (int q = 0; q < 640; ++q) {
    if ((v4 - q) % 10 != 0) continue;
    int accordi = 0;
    for (int b = 1; b <= kPreavvisi; ++b) {
      const int32_t p = s - 2 * b;
      if (p >= 0 && tratto(tratti, p).preavviso == bassi<uint8_t>(q * 10 + b)) ++accordi;
    }
    if (accordi > migliori) {
      migliori = accordi;
      base = q;
    }
  }
  return {base, migliori};
}

std::vector<SegnaleLetto> segnali(Tratti tratti) {
  std::vector<SegnaleLetto> r;
  for (const int32_t s : tratti_con(tratti, oggetto::segnale)) {
    const Tratto& t = tratto(tratti, s);
    const auto [base, concordi] = base_segnale(tratti, s);
    SegnaleLetto g{
        s, {}, {}, base, concordi, (t.valore_4 - base) / 10, base / 3, base % 3, t.tempo_segnale};
    if (t.tempo_segnale != 0) {
      g.sx = 2;
      g.dx = base - 6;
    }
    const int16_t v[3] = {t.valore_1, t.valore_2, t.valore_3};
    for (int k = 0; k < 3; ++k) {
      g.aspetti[k] = v[k] / 10;
      g.d[k] = v[k] % 10;
    }
    r.push_back(g);
  }
  return r;
}

bool stessi_valori(const Tratto& a, const Tratto& b) {
  return a.valore_1 == b.valore_1 && a.valore_2 == b.valore_2 && a.valore_3 == b.valore_3;
}

// For each start, the index in `fini` of its end: the nearest free one after it with the same
// values, then for the starts still alone the nearest free one before it.
std::vector<std::optional<size_t>> fini_degli_inizi(Tratti tratti,
                                                    const std::vector<int32_t>& inizi,
                                                    const std::vector<int32_t>& fini) {
  std::vector<std::optional<size_t>> fine_di(inizi.size());
  std::vector<bool> presa(fini.size(), false);
  for (const bool dopo : {true, false}) {
    for (size_t k = 0; k < inizi.size(); ++k) {
      if (fine_di[k]) continue;
      const int32_t i = inizi[k];
      std::optional<size_t> scelta;
      for (size_t j = 0; j < fini.size(); ++j) {
        if (presa[j] || !stessi_valori(tratto(tratti, i), tratto(tratti, fini[j]))) continue;
        const bool piu_vicina =
            !scelta || (dopo ? fini[j] < fini[*scelta] : fini[j] > fini[*scelta]);
        if ((dopo ? fini[j] > i : fini[j] < i) && piu_vicina) scelta = j;
      }
      if (scelta) {
        presa[*scelta] = true;
        fine_di[k] = scelta;
      }
    }
  }
  return fine_di;
}

// The warning board of the start on stretch `i`, and whether its four marks stand before it.
void avviso_di(Tratti tratti, RallentamentoLetto& ra, int32_t i) {
  const int32_t a = i - kTrattiAvvisoInizio;
  if (i < kPrimoInizioConAvviso || a < 0) return;
  const Tratto& t = tratto(tratti, a);
  if (t.oggetto != oggetto::avviso_rallentamento || t.valore_1 != ra.velocita ||
      t.valore_2 != ra.d_v) {
    return;
  }
  ra.avviso = a;
  bool marcati = true;
  for (int32_t k = 1; k <= kPreavvisi; ++k) {
    const int32_t s = a - k;
    marcati = marcati && s >= 0 && tratto(tratti, s).oggetto == oggetto::preavviso_rallentamento &&
              tratto(tratti, s).valore_1 == k &&
              tratto(tratti, s).valore_2 == (ra.d_v != 0 ? k : 0);
  }
  ra.segnalato = marcati;
}

// The slowdowns, and the marks that none of them takes.
void rallentamenti(Descrizione& d, Tratti tratti) {
  const std::vector<int32_t> inizi = tratti_con(tratti, oggetto::inizio_rallentamento);
  const std::vector<int32_t> fini = tratti_con(tratti, oggetto::fine_rallentamento);
  const std::vector<std::optional<size_t>> fine_di = fini_degli_inizi(tratti, inizi, fini);
  std::vector<RallentamentoLetto>& r = d.rallentamenti;
  std::vector<bool> fine_presa(fini.size(), false);
  std::set<int32_t> avvisi_presi;
  for (size_t k = 0; k < inizi.size(); ++k) {
    const Tratto& t = tratto(tratti, inizi[k]);
    RallentamentoLetto ra{std::nullopt, inizi[k],   std::nullopt, t.valore_1,
                          t.valore_2,   t.valore_3, false};
    if (fine_di[k]) {
      ra.fine = fini[*fine_di[k]];
      fine_presa[*fine_di[k]] = true;
    }
    avviso_di(tratti, ra, inizi[k]);
    if (ra.avviso) avvisi_presi.insert(*ra.avviso);
    r.push_back(ra);
  }
  for (size_t j = 0; j < fini.size(); ++j) {
    if (fine_presa[j]) continue;
    const Tratto& t = tratto(tratti, fini[j]);
    r.push_back({std::nullopt, std::nullopt, fini[j], t.valore_1, t.valore_2, t.valore_3, false});
  }
  for (const int32_t a : tratti_con(tratti, oggetto::avviso_rallentamento)) {
    if (avvisi_presi.count(a)) continue;
    const Tratto& t = tratto(tratti, a);
    r.push_back({a, std::nullopt, std::nullopt, t.valore_1, t.valore_2, 0, false});
  }
  std::stable_sort(
      r.begin(), r.end(), [](const RallentamentoLetto& a, const RallentamentoLetto& b) {
        const auto primo = [](const RallentamentoLetto& x) {
          return x.inizio ? *x.inizio : x.avviso ? *x.avviso + kTrattiAvvisoInizio : *x.fine;
        };
        return primo(a) < primo(b);
      });
  std::set<int32_t> marcati;
  for (const RallentamentoLetto& ra : r) {
    if (!ra.segnalato) continue;
    for (int32_t k = 1; k <= kPreavvisi; ++k) marcati.insert(*ra.avviso - k);
  }
  for (const int32_t s : tratti_con(tratti, oggetto::preavviso_rallentamento)) {
    if (!marcati.count(s)) d.preavvisi_rallentamento_sparsi.push_back(s);
  }
}

// Every stopping point, and each station's; a stopping point of an entry that is no station is a
// finding.
void fermate(Descrizione& r, Tratti tratti, bool con_elenco) {
  for (const int32_t s : tratti_con(tratti, oggetto::fermata)) {
    const int16_t v = tratto(tratti, s).valore_1;
    r.fermate.push_back({s, v});
    const auto st = std::find_if(r.stazioni.begin(), r.stazioni.end(),
                                 [v](const Stazione& x) { return x.voce == v; });
    if (st != r.stazioni.end()) {
      st->tratto_fermata = s;
    } else if (con_elenco) {
      r.avvisi.push_back(rilievo_tratto(Anomalia::fermata_senza_stazione, s, v));
    }
  }
}

std::vector<PuntoCodice> punti_codice(Tratti tratti) {
  std::vector<PuntoCodice> r;
  for (size_t s = 0; s < tratti.size(); ++s) {
    const Tratto& t = tratti[s];
    if (t.oggetto == oggetto::cambio_codice || t.oggetto == oggetto::taglio_codice) {
      r.push_back({numero_tratto(s), t.oggetto == oggetto::taglio_codice, t.valore_1});
    }
  }
  return r;
}

// Boards with their texts; a board pointing outside entries 1 to 80 is a finding.
void cartelli(Descrizione& r, Tratti tratti, const Elenco* e) {
  const IntervalloVoci voci = voci_del_gruppo(GruppoVoci::cartello);
  for (const int32_t s : tratti_con(tratti, oggetto::cartello)) {
    const int16_t v = tratto(tratti, s).valore_1;
    if (v >= voci.prima && v <= voci.ultima) {
      r.cartelli.push_back({s, v, e ? testo_leggibile((*e)[static_cast<size_t>(v)].testo) : ""});
    } else {
      r.cartelli.push_back({s, v, ""});
      r.avvisi.push_back(rilievo_tratto(Anomalia::cartello_fuori_voci, s, v));
    }
  }
}

std::vector<IndicatoreVelocita> indicatori(Tratti tratti) {
  std::vector<IndicatoreVelocita> r;
  for (const int32_t s : tratti_con(tratti, oggetto::indicatore_velocita)) {
    const Tratto& t = tratto(tratti, s);
    r.push_back({s, {t.valore_1, t.valore_2, t.valore_3}, t.valore_4});
  }
  return r;
}

void montagne(Descrizione& r, Tratti tratti) {
  std::vector<bool> in_montagna(tratti.size(), false);
  for (const Tratta& t : tratte(tratti, CampoTratto::montagna)) {
    if (t.valore == 0) continue;
    Montagna mo{t.primo, t.ultimo, static_cast<uint8_t>(t.valore), {}};
    for (int32_t s = t.primo; s <= t.ultimo; ++s) {
      in_montagna[static_cast<size_t>(s)] = true;
      if (tratto(tratti, s).oggetto == oggetto::segno_montagna) mo.segni.push_back(s);
    }
    r.montagne.push_back(std::move(mo));
  }
  for (const int32_t s : tratti_con(tratti, oggetto::segno_montagna)) {
    if (!in_montagna[static_cast<size_t>(s)]) r.segni_sparsi.push_back(s);
  }
}

// Objects of a kind the model does not know.
void sconosciuti(Descrizione& r, Tratti tratti) {
  for (size_t s = 0; s < tratti.size(); ++s) {
    const uint8_t o = tratti[s].oggetto;
    if (nomi_oggetto(o) == nullptr) {
      r.avvisi.push_back(rilievo_tratto(Anomalia::oggetto_sconosciuto, numero_tratto(s), o));
    }
  }
}

}  // namespace

std::string ora(int32_t secondi) {
  char b[32];
  const int64_t s = secondi;
  std::snprintf(b, sizeof b, "%s%lld:%02lld:%02lld", s < 0 ? "-" : "",
                static_cast<long long>(std::abs(s) / 3600),
                static_cast<long long>(std::abs(s) / 60 % 60),
                static_cast<long long>(std::abs(s) % 60));
  return b;
}

Descrizione descrivi(std::span<const Tratto> tratti, const Elenco* elenco) {
  Descrizione r;
  r.ultimo_tratto = static_cast<int32_t>(tratti.size()) - 1;
  if (elenco) {
    figure(r, *elenco);
    sezioni(r, *elenco);
    stazioni(r, *elenco, tratti);
  }
  r.segnali = segnali(tratti);
  rallentamenti(r, tratti);
  fermate(r, tratti, elenco != nullptr);
  r.punti_codice = punti_codice(tratti);
  cartelli(r, tratti, elenco);
  r.indicatori = indicatori(tratti);
  montagne(r, tratti);
  sconosciuti(r, tratti);
  // Findings in stretch order, as the stretches are read.
  std::stable_sort(r.avvisi.begin(), r.avvisi.end(), [](const Rilievo& a, const Rilievo& b) {
    return a.tratto.value_or(-1) < b.tratto.value_or(-1);
  });
  r.pendenze = tratte(tratti, CampoTratto::pendenza);
  r.velocita = tratte(tratti, CampoTratto::velocita);
  r.aderenze = tratte(tratti, CampoTratto::aderenza);
  return r;
}

std::optional<int64_t> progressiva(const Descrizione& r, int64_t posizione) {
  const SezioneKm* sezione = nullptr;
  for (const SezioneKm& s : r.sezioni) {
    if (s.inizio <= posizione) sezione = &s;
  }
  if (!sezione) return std::nullopt;
  if (sezione->verso == 1) return int64_t{sezione->progressiva} - 100 - posizione;
  return int64_t{sezione->progressiva} + posizione;
}

std::string km(int64_t metri) {
  const int64_t a = metri < 0 ? -metri : metri;
  char b[40];
  std::snprintf(b, sizeof b, "km %s%lld+%03lld", metri < 0 ? "-" : "",
                static_cast<long long>(a / 1000), static_cast<long long>(a % 1000));
  return b;
}

}  // namespace compattatore
