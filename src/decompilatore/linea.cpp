#include "decompilatore/linea.h"

#include <algorithm>
#include <array>
#include <functional>
#include <utility>

#include "decompilatore/curve_tracciato.h"
#include "model/regole.h"
#include "parse/progressive_ordina.h"

namespace compattatore {
namespace {

constexpr int32_t kLunghezzaMassima = 1000000;

// The route length, checked against the stretches and the plan points it sizes.
void lunghezza(Ricostruzione& r, SorgenteLinea& out) {
  const int32_t lunghezza = r.voce(voce::figure_treno).campo_2;
  out.generale.push_back(valore_generale("lunghezza percorso", {lunghezza}));
  if (lunghezza < 0 || lunghezza > kLunghezzaMassima) {
    r.problema_voce(voce::figure_treno, TipoProblema::lunghezza_fuori_campo,
                    {lunghezza, kLunghezzaMassima});
    return;
  }
  const int64_t metri_totali = int64_t{lunghezza} + kCodaPercorso;
  const int64_t ultimo = arrotonda(static_cast<double>(metri_totali) / kMetriTratto);
  if (ultimo != r.ultimo()) {
    r.problema_voce(voce::figure_treno, TipoProblema::lunghezza_altri_tratti,
                    {lunghezza, ultimo, r.ultimo()});
  }
  const auto punti = static_cast<int64_t>(r.modello().tracciato.punti());
  if (r.con_tracciato() && punti != metri_totali + 1) {
    r.problema(TipoProblema::punti_per_lunghezza, {punti, lunghezza, metri_totali + 1});
  }
}

// One kilometric section as a source line gives it: the stored value without the added 100.
struct Sezione {
  int64_t inizio = 0, progressiva = 0, verso = 0;
};

constexpr std::array<int, 3> kVociSezioni = {voce::sezione_tre, voce::sezione_due,
                                             voce::sezione_uno};

// Whether giving the sections `sorgente` to tre, due, uno in the order `ordine` makes the
// ordering give back the stored ones.
bool danno_le_sezioni(const Ricostruzione& r, const std::array<Sezione, 3>& sorgente,
                      const std::array<int, 3>& ordine) {
  Elenco e{};
  for (size_t j = 0; j < 3; ++j) {
    const Sezione& s = sorgente[static_cast<size_t>(ordine[j])];
    if (s.progressiva < INT32_MIN) return false;
    Voce& v = e[static_cast<size_t>(kVociSezioni[j])];
    v.campo_1 = static_cast<int32_t>(s.inizio);
    v.campo_2 = static_cast<int32_t>(s.progressiva);
    v.campo_3 = static_cast<int32_t>(s.verso);
  }
  try {
    progressive_ordina(e);
  } catch (const GuastoEsecuzione&) {
    return false;
  }
  return std::all_of(kVociSezioni.begin(), kVociSezioni.end(), [&](int i) {
    const Voce& a = e[static_cast<size_t>(i)];
    const Voce& b = r.voce(i);
    return a.campo_1 == b.campo_1 && a.campo_2 == b.campo_2 && a.campo_3 == b.campo_3;
  });
}

// The three kilometric sections as the source gives them, assigned to "uno", "due" and "tre" so
// that the ordering gives them back.
void sezioni_km(Ricostruzione& r, SorgenteLinea& out) {
  std::array<Sezione, 3> sorgente;
  for (size_t j = 0; j < 3; ++j) {
    const Voce& v = r.voce(kVociSezioni[j]);
    sorgente[j] = {v.campo_1, v.campo_2 - (v.campo_3 == 1 ? 100 : 0), v.campo_3};
  }
  std::array<int, 3> ordine = {0, 1, 2};  // which stored section goes to tre, due, uno
  bool trovato = false;
  do {
    trovato = danno_le_sezioni(r, sorgente, ordine);
  } while (!trovato && std::next_permutation(ordine.begin(), ordine.end()));
  if (!trovato) {
    ordine = {0, 1, 2};
    r.problemi().aggiungi({TipoProblema::sezioni_disordinate, voce::sezione_tre});
  }
  const char* nomi[3] = {"tre", "due", "uno"};
  for (int j = 2; j >= 0; --j) {
    const Sezione& s = sorgente[static_cast<size_t>(ordine[static_cast<size_t>(j)])];
    if (s.inizio == 0 && s.progressiva == 0 && s.verso == 0) continue;
    out.generale.push_back(valore_generale(std::string("progressiva chilometrica ") + nomi[j],
                                           {s.inizio, s.progressiva, s.verso}));
  }
}

// The signal repetition with its code count; an end of 0 gives 0 codes.
void ripetizione(Ricostruzione& r, SorgenteLinea& out) {
  const Voce& v = r.voce(voce::treno);
  const char* codici = nullptr;
  if (v.campo_3 == 9 && v.campo_2 != 0) codici = "9";
  if (v.campo_3 == 4 && v.campo_2 != 0) codici = "4";
  if (v.campo_3 == 0 && v.campo_2 == 0) codici = "9";
  if (!codici || v.campo_1 % 50 != 0 || v.campo_2 % 50 != 0) {
    r.problema_voce(voce::treno, TipoProblema::ripetizione_senza_riga,
                    {v.campo_1, v.campo_2, v.campo_3});
    return;
  }
  out.generale.push_back(valore_generale(std::string("ripetizione segnali ") + codici + " codici",
                                         {v.campo_1, v.campo_2}));
}

}  // namespace

std::vector<std::string> SorgenteLinea::righe() const {
  std::vector<std::string> l = {"[generale]"};
  l.insert(l.end(), generale.begin(), generale.end());
  sezione(l, "[curve]", curve);
  sezione(l, "[pendenze]", pendenze);
  sezione(l, "[montagne]", montagne);
  sezione(l, "[cartelli]", indicatori);
  sezione(l, "[indicazioni]", cartelli);
  l.emplace_back("[fine]");
  return l;
}

void generale_linea(Ricostruzione& r, SorgenteLinea& out) {
  lunghezza(r, out);
  sezioni_km(r, out);
  const Voce& testa = r.voce(voce::intestazione);
  out.generale.push_back(valore_generale("sfondo uno", {testa.campo_1}));
  out.generale.push_back(valore_generale("sfondo due", {testa.campo_3}));
  out.generale.push_back(valore_generale("sfondo tre", {testa.campo_2}));
  ripetizione(r, out);
}

void curve_linea(Ricostruzione& r, SorgenteLinea& out) {
  CurveTracciato c = curve_dal_tracciato(r.modello().tracciato, r.ultimo());
  for (Problema& p : c.problemi) r.problemi().aggiungi(std::move(p));
  for (const CurvaSorgente& k : c.curve) {
    out.curve.push_back(
        riga(std::string("curva") + (k.destra ? "d" : "s") + std::to_string(k.classe),
             {k.posizione, k.lunghezza}));
  }
}

// The last three stretches keep 0, as the fill leaves them.
void pendenze_linea(Ricostruzione& r, SorgenteLinea& out) {
  const int32_t u = r.ultimo();
  for (int64_t s = u - 2; s <= u; ++s) {
    if (s >= 0 && r.t(s).pendenza != 0) {
      r.problema_tratto(s, TipoProblema::pendenza_in_coda, {r.t(s).pendenza});
    }
  }
  for (int64_t s = 0; s <= u - 3; ++s) {
    if (s == 0 || r.t(s).pendenza != r.t(s - 1).pendenza) {
      out.pendenze.push_back(riga("pendenza", {s * kMetriTratto, int64_t{r.t(s).pendenza} - 100}));
    }
  }
}

// valore = first-side speed / 5 · 100 + second-side speed / 5; the second side is left empty
// when every value has none.
void indicatori_linea(Ricostruzione& r, SorgenteLinea& out) {
  for (int64_t s = 0; s <= r.ultimo(); ++s) {
    const Tratto& x = r.t(s);
    if (x.oggetto != oggetto::indicatore_velocita) continue;
    r.spiega(s);
    if (!r.nel_percorso_o_segnala(s, 100, "indicatore di velocità")) continue;
    const int16_t v[3] = {x.valore_1, x.valore_2, x.valore_3};
    Riga k = riga("indicatori_vmax", {posizione_oggetto<int64_t>(s)});
    for (int16_t a : v) k.celle.push_back(std::to_string(a / 100 * 5));
    k.celle.push_back(std::to_string(x.valore_4 / 10));
    const bool un_lato =
        std::all_of(std::begin(v), std::end(v), [](int16_t a) { return a % 100 == 0; });
    for (int16_t a : v) k.celle.push_back(un_lato ? "" : std::to_string(a % 100 * 5));
    k.celle.push_back(std::to_string(x.valore_4 % 10));
    out.indicatori.push_back(std::move(k));
  }
}

// Boards in the order of their entries, 80 downwards: the order the line phase gives them.
int cartelli_linea(Ricostruzione& r, SorgenteLinea& out) {
  std::vector<std::pair<int, int64_t>> trovati;  // entry, stretch
  for (int64_t s = 0; s <= r.ultimo(); ++s) {
    if (r.t(s).oggetto != oggetto::cartello) continue;
    r.spiega(s);
    trovati.emplace_back(r.t(s).valore_1, s);
  }
  std::sort(trovati.begin(), trovati.end(), std::greater<>());
  if (trovati.size() > static_cast<size_t>(voce::primo_cartello)) {
    r.problema(TipoProblema::troppi_cartelli,
               {static_cast<int64_t>(trovati.size()), voce::primo_cartello});
  }
  int atteso = voce::primo_cartello;
  for (const auto& [indice, s] : trovati) {
    if (indice != atteso) {
      r.problema_tratto(s, TipoProblema::cartello_altra_voce,
                        {indice, voce::primo_cartello - atteso + 1, atteso});
    }
    --atteso;
    if (!r.nel_percorso_o_segnala(s, 100, "cartello")) continue;
    std::string testo;
    if (indice >= 1 && indice <= voce::primo_cartello) {
      const std::optional<std::string> voce = voce_testo(r.voce(indice).testo);
      if (voce) {
        testo = *voce;
      } else {
        r.problema_voce(indice, TipoProblema::testo_non_riscrivibile);
      }
    }
    Riga k = riga("cartello_indicatore", {posizione_oggetto<int64_t>(s)});
    k.testo = testo;
    out.cartelli.push_back(std::move(k));
  }
  return voce::primo_cartello - static_cast<int>(trovati.size());
}

}  // namespace compattatore
