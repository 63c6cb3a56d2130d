#include "viste/confronto.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

#include "formato/punti_tracciato.h"
#include "model/campi.h"
#include "viste/descrizione.h"

namespace compattatore {
namespace {

template <class T>
std::string testo(T v) {
  if constexpr (std::is_same_v<T, std::string>) {
    return "\"" + testo_leggibile(v) + "\"";
  } else {
    return std::to_string(+v);  // 8-bit fields as numbers
  }
}

template <class T>
void campo(std::vector<std::string>& righe, const std::string& dove, const char* nome, const T& a,
           const T& b) {
  if (a != b) righe.push_back(dove + " " + nome + ": " + testo(a) + " -> " + testo(b));
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
    if (x.oggetto != y.oggetto) {
      righe.push_back(dove + " oggetto: " + testo(x.oggetto) + " (" + sigla_oggetto(x.oggetto) +
                      ") -> " + testo(y.oggetto) + " (" + sigla_oggetto(y.oggetto) + ")");
    }
    // The first field, oggetto, is shown above with its name.
    for (const CampoTratto& c : std::span(kCampiTratto).subspan(1)) {
      campo(righe, dove, c.nome, c.valore(x), c.valore(y));
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
    campo(righe, dove, "testo", x.testo, y.testo);
    for (const CampoVoce& c : kCampiVoce) {
      const int64_t va = c.valore(x);
      const int64_t vb = c.valore(y);
      if (va == vb) continue;
      if (std::string_view(c.nome) == "orario") {
        righe.push_back(dove + " orario: " + std::to_string(va) + " (" + ora(x.orario) + ") -> " +
                        std::to_string(vb) + " (" + ora(y.orario) + ")");
      } else {
        campo(righe, dove, c.nome, va, vb);
      }
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
