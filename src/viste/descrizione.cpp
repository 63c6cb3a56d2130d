#include "viste/descrizione.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "model/cp1252.h"

namespace compattatore {
namespace {

// Runs of equal values of one byte of every stretch, from stretch 0.
template <class F>
std::vector<Tratta> tratte(const std::vector<Tratto>& tratti, F valore) {
  std::vector<Tratta> r;
  for (size_t s = 0; s < tratti.size(); ++s) {
    const int v = valore(tratti[s]);
    const auto i = static_cast<int32_t>(s);
    if (!r.empty() && r.back().valore == v && r.back().ultimo == i - 1) {
      r.back().ultimo = i;
    } else {
      r.push_back({i, i, v});
    }
  }
  return r;
}

void leggi_elenco(Descrizione& r, const Modello& m) {
  const Elenco& e = m.elenco;
  const Voce& figure = e[voce::figure_treno];
  const Voce& testa = e[voce::intestazione];
  const Voce& treno = e[voce::treno];
  r.lunghezza = figure.campo_2;
  r.massa_frenata = figure.campo_1;
  r.vetture = figure.campo_3;
  r.sfondi[0] = testa.campo_1;
  r.sfondi[1] = testa.campo_3;  // "sfondo due" is stored in campo_3,
  r.sfondi[2] = testa.campo_2;  // "sfondo tre" in campo_2
  r.ripetizione_inizio = treno.campo_1;
  r.ripetizione_fine = treno.campo_2;
  r.codici_ripetizione = treno.campo_3;
  r.sabbia = treno.intero_1;
  r.orologio[0] = treno.intero_3;
  r.orologio[1] = treno.intero_4;
  r.orologio[2] = treno.intero_5;
  for (int i : {voce::sezione_uno, voce::sezione_due, voce::sezione_tre}) {
    const Voce& v = e[static_cast<size_t>(i)];
    if (v.campo_1 != 0 || v.campo_2 != 0 || v.campo_3 != 0) {
      r.sezioni.push_back({i, v.campo_1, v.campo_2, v.campo_3});
    }
  }
  std::stable_sort(r.sezioni.begin(), r.sezioni.end(),
                   [](const SezioneKm& a, const SezioneKm& b) { return a.inizio < b.inizio; });

  // Entries 1 to 80 hold stations from 1 upwards and board texts from 80 downwards; the boards
  // are the entries that a `cartello` stretch points at.
  std::set<int> testi;
  for (const Tratto& t : m.tratti) {
    if (t.oggetto == oggetto::cartello) testi.insert(t.valore_1);
  }
  for (int i = 1; i <= voce::primo_cartello; ++i) {
    const Voce& v = e[static_cast<size_t>(i)];
    if (testi.count(i) || v == Voce{}) continue;
    r.stazioni.push_back({i, testo_leggibile(v.testo), v.tipo_voce, v.campo_3, v.campo_1, v.campo_2,
                          v.orario, v.flag_2, std::nullopt});
  }
}

void leggi_tratti(Descrizione& r, const Modello& m, bool con_elenco) {
  const std::vector<Tratto>& tt = m.tratti;
  r.ultimo_tratto = m.ultimo_tratto();
  // Slowdown parts waiting for the rest of their slowdown.
  std::vector<int32_t> avvisi;
  std::vector<size_t> aperti;  // indices in r.rallentamenti still without an end
  for (size_t i = 0; i < tt.size(); ++i) {
    const Tratto& t = tt[i];
    const auto s = static_cast<int32_t>(i);
    switch (t.oggetto) {
      case oggetto::segnale: {
        SegnaleLetto g{s,
                       {},
                       {},
                       t.valore_4 / 10,
                       (t.valore_4 % 10) / 3,
                       t.valore_4 % 10 % 3,
                       t.tempo_segnale};
        const int16_t v[3] = {t.valore_1, t.valore_2, t.valore_3};
        for (int k = 0; k < 3; ++k) {
          g.aspetti[k] = v[k] / 10;
          g.d[k] = v[k] % 10;
        }
        r.segnali.push_back(g);
        break;
      }
      case oggetto::avviso_rallentamento:
        avvisi.push_back(s);
        break;
      case oggetto::inizio_rallentamento: {
        RallentamentoLetto ra{std::nullopt, s,          std::nullopt, t.valore_1,
                              t.valore_2,   t.valore_3, false};
        // Its warning board lies 1200 m (24 stretches) before it.
        const auto a = std::find_if(avvisi.begin(), avvisi.end(),
                                    [s](int32_t a) { return s - a >= 23 && s - a <= 25; });
        if (a != avvisi.end()) {
          ra.avviso = *a;
          ra.segnalato = *a >= 1 && tt[static_cast<size_t>(*a - 1)].oggetto ==
                                        oggetto::preavviso_rallentamento;
          avvisi.erase(a);
        }
        aperti.push_back(r.rallentamenti.size());
        r.rallentamenti.push_back(ra);
        break;
      }
      case oggetto::fine_rallentamento: {
        // The earliest open slowdown of the same speed and f_tt.
        const auto a = std::find_if(aperti.begin(), aperti.end(), [&](size_t k) {
          return r.rallentamenti[k].velocita == t.valore_1 && r.rallentamenti[k].f_tt == t.valore_3;
        });
        if (a != aperti.end()) {
          r.rallentamenti[*a].fine = s;
          aperti.erase(a);
        } else {
          r.rallentamenti.push_back(
              {std::nullopt, std::nullopt, s, t.valore_1, t.valore_2, t.valore_3, false});
        }
        break;
      }
      case oggetto::indicatore_velocita:
        r.indicatori.push_back({s, {t.valore_1, t.valore_2, t.valore_3}, t.valore_4});
        break;
      case oggetto::fermata: {
        auto st = std::find_if(r.stazioni.begin(), r.stazioni.end(),
                               [&t](const Stazione& x) { return x.voce == t.valore_1; });
        if (st != r.stazioni.end()) {
          st->tratto_fermata = s;
        } else if (con_elenco) {
          r.avvisi.push_back("tratto " + std::to_string(s) + ": punto di fermata della voce " +
                             std::to_string(t.valore_1) + ", che non è una stazione");
        }
        break;
      }
      case oggetto::cambio_codice:
      case oggetto::taglio_codice:
        r.punti_codice.push_back({s, t.oggetto == oggetto::taglio_codice, t.valore_1});
        break;
      case oggetto::cartello:
        if (t.valore_1 >= 1 && t.valore_1 <= voce::primo_cartello) {
          r.cartelli.push_back(
              {s, t.valore_1, testo_leggibile(m.elenco[static_cast<size_t>(t.valore_1)].testo)});
        } else {
          r.cartelli.push_back({s, t.valore_1, ""});
          r.avvisi.push_back("tratto " + std::to_string(s) + ": cartello con il testo della voce " +
                             std::to_string(t.valore_1) + ", fuori dalle voci 1-80");
        }
        break;
      case oggetto::libero:
      case oggetto::preavviso_rallentamento:
      case oggetto::segno_montagna:
        break;
      default:
        r.avvisi.push_back("tratto " + std::to_string(s) + ": oggetto " +
                           std::to_string(t.oggetto) + " sconosciuto");
    }
  }
  for (int32_t a : avvisi)
    r.rallentamenti.push_back({a, std::nullopt, std::nullopt, tt[static_cast<size_t>(a)].valore_1,
                               tt[static_cast<size_t>(a)].valore_2, 0, false});
  std::stable_sort(r.rallentamenti.begin(), r.rallentamenti.end(),
                   [](const RallentamentoLetto& a, const RallentamentoLetto& b) {
                     const auto primo = [](const RallentamentoLetto& x) {
                       return x.inizio ? *x.inizio : x.avviso ? *x.avviso + 24 : *x.fine;
                     };
                     return primo(a) < primo(b);
                   });

  for (const Tratta& t : tratte(tt, [](const Tratto& x) { return int{x.montagna}; })) {
    if (t.valore == 0) continue;
    Montagna mo{t.primo, t.ultimo, static_cast<uint8_t>(t.valore), 0};
    for (int32_t s = t.primo; s <= t.ultimo; ++s) {
      mo.segni += tt[static_cast<size_t>(s)].oggetto == oggetto::segno_montagna;
    }
    r.montagne.push_back(mo);
  }
  r.pendenze = tratte(tt, [](const Tratto& x) { return int{x.pendenza} - 100; });
  r.velocita = tratte(tt, [](const Tratto& x) { return int{x.velocita} * 5; });
  r.aderenze = tratte(tt, [](const Tratto& x) { return int{x.aderenza}; });
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

Descrizione descrivi(const Modello& m, bool con_elenco) {
  Descrizione r;
  if (con_elenco) leggi_elenco(r, m);
  leggi_tratti(r, m, con_elenco);
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
