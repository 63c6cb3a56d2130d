#include "viste/confronto.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <string_view>
#include <type_traits>
#include <vector>

#include "formato/punti_tracciato.h"
#include "model/campi.h"
#include "model/oggetti.h"
#include "viste/descrizione.h"

namespace compattatore {
namespace {

// A text as the line shows it, between quotes.
std::string tra_virgolette(const std::string& t) { return "\"" + testo_leggibile(t) + "\""; }

// A stored number as the line shows it: a time of day with its hours, minutes and seconds, an
// object kind with its name.
template <class R>
std::string numero_campo(const RigaCampo<R>& c, int64_t v) {
  if (c.unita == Unita::secondi_del_giorno) {
    return std::to_string(v) + " (" + ora(static_cast<int32_t>(v)) + ")";
  }
  if constexpr (std::is_same_v<R, Tratto>) {
    if (&c == &riga_campo(CampoTratto::oggetto)) {
      return std::to_string(v) + " (" + sigla_oggetto(static_cast<uint8_t>(v)) + ")";
    }
  }
  return std::to_string(v);
}

template <class R, size_t N>
std::vector<CampoDiverso<R>> diversi(const RigaCampo<R> (&campi)[N], const R& a, const R& b) {
  std::vector<CampoDiverso<R>> d;
  for (const RigaCampo<R>& c : campi) {
    if (const int64_t x = c.valore(a), y = c.valore(b); x != y) d.push_back({&c, x, y});
  }
  return d;
}

template <class R>
void righe_campi(std::vector<std::string>& righe, const std::string& dove, const R& a, const R& b) {
  for (const CampoDiverso<R>& d : campi_diversi(a, b)) {
    righe.push_back(dove + " " + d.campo->nome + ": " + numero_campo(*d.campo, d.a) + " -> " +
                    numero_campo(*d.campo, d.b));
  }
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
  for (size_t i = 0; i < comuni; ++i) {
    const Tratto& x = a[i];
    const Tratto& y = b[i];
    if (x == y) continue;
    const auto s = static_cast<int32_t>(i);
    const std::string dove =
        "tratto " + std::to_string(s) + " (" + std::to_string(posizione_oggetto(s)) + " m)";
    righe_campi(righe, dove, x, y);
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
    righe_campi(righe, dove, x, y);
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
