#include "viste/confronto.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>
#include <vector>

#include "formato/punti_tracciato.h"
#include "model/campi.h"
#include "model/oggetti.h"
#include "model/ruoli_voci.h"
#include "viste/descrizione.h"
#include "viste/oggetto_scritto.h"

namespace compattatore {
namespace {

// A text as the line shows it, between quotes.
std::string tra_virgolette(const std::string& t) { return "\"" + testo_leggibile(t) + "\""; }

// A number in a unit as the line shows it: a time of day with its hours, minutes and seconds.
std::string in_unita(int64_t v, Unita u) {
  if (u == Unita::secondi_del_giorno) {
    return std::to_string(v) + " (" + ora(static_cast<int32_t>(v)) + ")";
  }
  return std::to_string(v);
}

// "velocita: 80 -> 150 km/h (memorizzati 16 -> 30)": the two values in the author's unit, and the
// stored numbers beside them where they differ from those.
std::string differenza(const std::string& nome, const Scala& scala, Unita unita, int64_t a,
                       int64_t b) {
  const int64_t x = scala.in_unita(a);
  const int64_t y = scala.in_unita(b);
  std::string t = nome + ": " + in_unita(x, unita) + " -> " + in_unita(y, unita);
  if (unita != Unita::secondi_del_giorno && *simbolo(unita) != '\0') {
    t += std::string(" ") + simbolo(unita);
  }
  if (x != a || y != b)
    t += " (memorizzati " + std::to_string(a) + " -> " + std::to_string(b) + ")";
  return t;
}

// The values of keyword lines that field `c` of the two objects holds and that differ, in the
// author's words: " (segnale a 46400 m: d1 2 -> 3)"; nothing when the objects are of two kinds.
std::string nei_sorgenti(const std::optional<OggettoScritto>& a,
                         const std::optional<OggettoScritto>& b, CampoTratto c) {
  if (!a || !b || a->oggetto != b->oggetto || !a->chiave) return "";
  std::string diversi;
  for (const RigaValore& v : valori(*a->chiave)) {
    if (v.dove.campo != c) continue;
    const auto x = a->valore(v.valore);
    const auto y = b->valore(v.valore);
    if (x == y) continue;
    const auto n = [](const std::optional<int64_t>& z) { return z ? std::to_string(*z) : "-"; };
    diversi += (diversi.empty() ? "" : ", ") + std::string(v.nome) + " " + n(x) + " -> " + n(y);
    if (*v.unita != '\0') diversi += std::string(" ") + v.unita;
  }
  if (diversi.empty()) return "";
  std::string chi = forma_chiave(*a->chiave);
  if (!a->parte.empty()) chi += " (" + a->parte + ")";
  return " (" + chi + " a " + std::to_string(a->posizione) + " m: " + diversi + ")";
}

template <class R, size_t N>
std::vector<CampoDiverso<R>> diversi(const RigaCampo<R> (&campi)[N], const R& a, const R& b) {
  std::vector<CampoDiverso<R>> d;
  for (const RigaCampo<R>& c : campi) {
    if (const int64_t x = c.valore(a), y = c.valore(b); x != y) d.push_back({&c, x, y});
  }
  return d;
}

std::string numero(double d) {
  char b[32];
  const auto r = std::to_chars(b, b + sizeof b, d);
  return std::string(b, r.ptr);
}

// A coordinate as written: its number and kind.
std::string coordinata(const Coordinata& c) {
  if (const auto* i = std::get_if<int16_t>(&c)) return std::to_string(*i) + " (intero)";
  if (const auto* d = std::get_if<double>(&c)) return numero(*d);
  return "vuoto";
}

std::string intervallo(size_t da, size_t a) {
  return da == a ? std::to_string(da) : std::to_string(da) + "-" + std::to_string(a);
}

}  // namespace

std::vector<CampoDiverso<Tratto>> campi_diversi(const Tratto& a, const Tratto& b) {
  return diversi(kCampiTratto, a, b);
}

std::vector<CampoDiverso<Voce>> campi_diversi(const Voce& a, const Voce& b) {
  return diversi(kCampiVoce, a, b);
}

std::vector<std::string> confronta_tratti(const std::vector<Tratto>& a,
                                          const std::vector<Tratto>& b) {
  std::vector<std::string> righe;
  const size_t comuni = std::min(a.size(), b.size());
  std::optional<Descrizione> da, db;  // described at the first stretch that differs
  const RigaCampo<Tratto>& tipo = riga_campo(CampoTratto::oggetto);
  for (size_t i = 0; i < comuni; ++i) {
    if (a[i] == b[i]) continue;
    if (!da) {
      da = descrivi(a, nullptr);
      db = descrivi(b, nullptr);
    }
    const auto s = static_cast<int32_t>(i);
    const std::string dove =
        "tratto " + std::to_string(s) + " (" + std::to_string(inizio_tratto(s)) + " m) ";
    const auto ox = oggetto_scritto(*da, a, s);
    const auto oy = oggetto_scritto(*db, b, s);
    for (const CampoDiverso<Tratto>& d : campi_diversi(a[i], b[i])) {
      const RigaCampo<Tratto>& c = *d.campo;
      if (&c == &tipo) {
        const auto nome = [](int64_t o) {
          return std::to_string(o) + " (" + sigla_oggetto(static_cast<uint8_t>(o)) + ")";
        };
        righe.push_back(dove + c.nome + ": " + nome(d.a) + " -> " + nome(d.b));
      } else {
        righe.push_back(dove + differenza(c.nome, c.scala, c.unita, d.a, d.b) +
                        nei_sorgenti(ox, oy, static_cast<CampoTratto>(&c - kCampiTratto)));
      }
    }
  }
  if (a.size() != b.size()) {
    const bool in_a = a.size() > b.size();
    const size_t ultimo = (in_a ? a.size() : b.size()) - 1;
    righe.push_back((comuni == ultimo ? "tratto " : "tratti ") + intervallo(comuni, ultimo) +
                    " solo in " + (in_a ? "A" : "B") + " (A ha " + std::to_string(a.size()) +
                    " tratti, B " + std::to_string(b.size()) + ")");
  }
  return righe;
}

std::vector<std::string> confronta_elenco(const Elenco& a, const Elenco& b) {
  std::vector<std::string> righe;
  for (size_t i = 0; i < a.size(); ++i) {
    const Voce& x = a[i];
    const Voce& y = b[i];
    if (x == y) continue;
    std::string dove = "voce " + std::to_string(i);
    const std::string& nome = x.testo.empty() ? y.testo : x.testo;
    if (!nome.empty() && x.testo == y.testo) dove += " (" + testo_leggibile(nome) + ")";
    if (x.testo != y.testo) {
      righe.push_back(dove + " " + kTestoVoce.nome + ": " + tra_virgolette(x.testo) + " -> " +
                      tra_virgolette(y.testo));
    }
    // A field with a role is named by it too, and shown in the role's unit.
    const std::optional<GruppoVoci> gruppo = gruppo_della_voce(i);
    for (const CampoDiverso<Voce>& d : campi_diversi(x, y)) {
      const RigaCampo<Voce>& c = *d.campo;
      const RigaRuolo* ruolo = gruppo ? ruolo_del_campo(*gruppo, campo_della_riga(c)) : nullptr;
      std::string chi = c.nome;
      if (ruolo && std::string(ruolo->nome) != c.nome) chi += std::string(" (") + ruolo->nome + ")";
      righe.push_back(dove + " " +
                      differenza(chi, ruolo ? ruolo->scala : c.scala,
                                 ruolo ? ruolo->unita : c.unita, d.a, d.b));
    }
  }
  return righe;
}

std::vector<std::string> confronta_tracciato(const Tracciato& a, const Tracciato& b, size_t serie) {
  namespace pt = punti_tracciato;
  std::vector<std::string> righe;
  const size_t na = pt::numero(a);
  const size_t nb = pt::numero(b);
  const size_t comuni = std::min(na, nb);
  const auto diverso = [&](size_t i) { return !stesso_punto(a, b, i); };
  size_t trovate = 0;
  size_t punti = 0;
  for (size_t i = 0; i < comuni; ++i) {
    if (!diverso(i)) continue;
    size_t fine = i;
    while (fine + 1 < comuni && diverso(fine + 1)) ++fine;
    ++trovate;
    punti += fine - i + 1;
    if (trovate <= serie) {
      std::string riga = "tracciato punt" + std::string(fine == i ? "o " : "i ") +
                         intervallo(i, fine) +
                         (fine == i ? "" : " (" + std::to_string(fine - i + 1) + " punti)") + ":";
      for (int asse = 0; asse < 2; ++asse) {
        const Coordinata x = pt::coordinata(a, asse, i);
        const Coordinata y = pt::coordinata(b, asse, i);
        riga += std::string(asse == 0 ? " x " : ", y ");
        riga += stessa_coordinata(a, b, i, pt::asse_di(asse))
                    ? coordinata(x) + " uguale"
                    : coordinata(x) + " -> " + coordinata(y);
      }
      if (fine != i) riga += " (al primo punto)";
      righe.push_back(riga);
    }
    i = fine;
  }
  if (trovate > serie) {
    righe.push_back("tracciato: e altre " + std::to_string(trovate - serie) +
                    " serie di punti diversi (" + std::to_string(punti) + " punti in tutto)");
  }
  if (na != nb) {
    const bool in_a = na > nb;
    const size_t ultimo = (in_a ? na : nb) - 1;
    righe.push_back((comuni == ultimo ? "tracciato punto " : "tracciato punti ") +
                    intervallo(comuni, ultimo) + " solo in " + (in_a ? "A" : "B") + " (A ha " +
                    std::to_string(na) + " punti, B " + std::to_string(nb) + ")");
  }
  return righe;
}

}  // namespace compattatore
