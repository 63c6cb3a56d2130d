#include "decompilatore/linea.h"

#include <algorithm>
#include <array>
#include <functional>
#include <utility>

#include "decompilatore/curve_tracciato.h"
#include "decompilatore/profili.h"
#include "model/cp1252.h"
#include "model/regole.h"
#include "parse/progressive_ordina.h"

namespace compattatore {
namespace {

// The route length, checked against the stretches and the plan points it sizes.
void lunghezza(Ricostruzione& r, SorgenteLinea& out) {
  const int32_t lunghezza = r.letto().lunghezza;
  out.generale.push_back(valore_generale(Chiave::lunghezza_percorso, {lunghezza}));
  if (lunghezza < 0 || lunghezza > kLunghezzaPercorsoMassima) {
    r.problema_voce(voce::figure_treno, TipoProblema::lunghezza_fuori_campo,
                    {lunghezza, kLunghezzaPercorsoMassima});
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

// The keywords of the three sections, "tre", "due", "uno".
constexpr std::array<Chiave, 3> kChiaviSezioni = {Chiave::progressiva_tre, Chiave::progressiva_due,
                                                  Chiave::progressiva_uno};

// The entry the section keyword `j` of `kChiaviSezioni` writes.
int voce_sezione(size_t j) { return valori(kChiaviSezioni[j]).front().dove.indice; }

// Whether giving the sections `sorgente` to tre, due, uno in the order `ordine` makes the
// ordering give back the stored ones.
bool danno_le_sezioni(const Ricostruzione& r, const std::array<Sezione, 3>& sorgente,
                      const std::array<int, 3>& ordine) {
  Elenco e{};
  for (size_t j = 0; j < 3; ++j) {
    const Sezione& s = sorgente[static_cast<size_t>(ordine[j])];
    if (s.progressiva < INT32_MIN) return false;
    Voce& v = e[static_cast<size_t>(voce_sezione(j))];
    v.campo_1 = static_cast<int32_t>(s.inizio);
    v.campo_2 = static_cast<int32_t>(s.progressiva);
    v.campo_3 = static_cast<int32_t>(s.verso);
  }
  try {
    progressive_ordina(e);
  } catch (const GuastoEsecuzione&) {
    return false;
  }
  for (size_t j = 0; j < 3; ++j) {
    const Voce& a = e[static_cast<size_t>(voce_sezione(j))];
    const Voce& b = r.voce(voce_sezione(j));
    if (a.campo_1 != b.campo_1 || a.campo_2 != b.campo_2 || a.campo_3 != b.campo_3) return false;
  }
  return true;
}

// The three kilometric sections as the source gives them, assigned to "uno", "due" and "tre" so
// that the ordering gives them back.
void sezioni_km(Ricostruzione& r, SorgenteLinea& out) {
  std::array<Sezione, 3> sorgente;
  for (size_t j = 0; j < 3; ++j) {
    const Voce& v = r.voce(voce_sezione(j));
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
  for (int j = 2; j >= 0; --j) {
    const Sezione& s = sorgente[static_cast<size_t>(ordine[static_cast<size_t>(j)])];
    if (s.inizio == 0 && s.progressiva == 0 && s.verso == 0) continue;
    out.generale.push_back(valore_generale(kChiaviSezioni[static_cast<size_t>(j)],
                                           {s.inizio, s.progressiva, s.verso}));
  }
}

// The signal repetition with its code count; an end of 0 gives 0 codes.
void ripetizione(Ricostruzione& r, SorgenteLinea& out) {
  const Descrizione& d = r.letto();
  const int32_t inizio = d.ripetizione_inizio, fine = d.ripetizione_fine;
  const int32_t n = d.codici_ripetizione;
  // The keyword with 9 codes, or its other spelling with 4.
  const RigaChiave& k = riga(Chiave::ripetizione_segnali);
  const char* codici = nullptr;
  if (n == 9 && fine != 0) codici = k.forma;
  if (n == 4 && fine != 0) codici = k.altra_forma;
  if (n == 0 && fine == 0) codici = k.forma;
  if (!codici || inizio % 50 != 0 || fine % 50 != 0) {
    r.problema_voce(voce::treno, TipoProblema::ripetizione_senza_riga, {inizio, fine, n});
    return;
  }
  out.generale.push_back(valore_generale(Chiave::ripetizione_segnali, {inizio, fine}, codici));
}

}  // namespace

std::vector<std::string> SorgenteLinea::righe() const {
  std::vector<std::string> l = {parola(Chiave::generale_linea)};
  l.insert(l.end(), generale.begin(), generale.end());
  sezione(l, Chiave::curve, curve);
  sezione(l, Chiave::pendenze, pendenze);
  sezione(l, Chiave::montagne, montagne);
  sezione(l, Chiave::cartelli, indicatori);
  sezione(l, Chiave::indicazioni, cartelli);
  l.push_back(parola(Chiave::fine_linea));
  return l;
}

void generale_linea(Ricostruzione& r, SorgenteLinea& out) {
  lunghezza(r, out);
  sezioni_km(r, out);
  const int32_t(&sfondi)[3] = r.letto().sfondi;
  out.generale.push_back(valore_generale(Chiave::sfondo_uno, {sfondi[0]}));
  out.generale.push_back(valore_generale(Chiave::sfondo_due, {sfondi[1]}));
  out.generale.push_back(valore_generale(Chiave::sfondo_tre, {sfondi[2]}));
  ripetizione(r, out);
}

void curve_linea(Ricostruzione& r, SorgenteLinea& out) {
  CurveTracciato c = curve_dal_tracciato(r.modello().tracciato, r.ultimo());
  for (Problema& p : c.problemi) r.problemi().aggiungi(std::move(p));
  for (const CurvaSorgente& k : c.curve) {
    out.curve.push_back(
        riga(cp1252::a_utf8(forma_curva(!k.destra, k.classe)), {k.posizione, k.lunghezza}));
  }
}

// The last three stretches keep 0, as the fill leaves them.
void pendenze_linea(Ricostruzione& r, SorgenteLinea& out) {
  profilo(r, CampoTratto::pendenza, r.letto().pendenze, Chiave::pendenza, {3, false},
          TipoProblema::pendenza_in_coda, out.pendenze);
}

// valore = first-side speed / 5 · 100 + second-side speed / 5; the second side is left empty
// when every value has none.
void indicatori_linea(Ricostruzione& r, SorgenteLinea& out) {
  for (const IndicatoreVelocita& x : r.letto().indicatori) {
    r.spiega(x.tratto);
    if (!r.nel_percorso_o_segnala(x.tratto, 100, "indicatore di velocità")) continue;
    Riga k = riga(Chiave::indicatori_vmax, {posizione_oggetto<int64_t>(x.tratto)});
    for (int j = 0; j < 3; ++j) k.celle.push_back(std::to_string(x.prima(j)));
    k.celle.push_back(std::to_string(x.strisce_sinistra()));
    const bool un_lato = x.seconda(0) == 0 && x.seconda(1) == 0 && x.seconda(2) == 0;
    for (int j = 0; j < 3; ++j) k.celle.push_back(un_lato ? "" : std::to_string(x.seconda(j)));
    k.celle.push_back(std::to_string(x.strisce_destra()));
    out.indicatori.push_back(std::move(k));
  }
}

// Boards in the order of their entries, 80 downwards: the order the line phase gives them.
int cartelli_linea(Ricostruzione& r, SorgenteLinea& out) {
  std::vector<std::pair<int, int64_t>> trovati;  // entry, stretch
  for (const Cartello& c : r.letto().cartelli) {
    r.spiega(c.tratto);
    trovati.emplace_back(c.voce, c.tratto);
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
    Riga k = riga(Chiave::cartello_indicatore, {posizione_oggetto<int64_t>(s)});
    k.testo = testo;
    out.cartelli.push_back(std::move(k));
  }
  return voce::primo_cartello - static_cast<int>(trovati.size());
}

}  // namespace compattatore
