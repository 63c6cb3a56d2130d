#include "model/italiano.h"

#include <array>

namespace compattatore {
namespace {

// The definite articles, longest first where one begins another ("gli" before "i"), and the
// ending each takes after a preposition: "da" + "gli" is "dagli".
struct Articolo {
  std::string_view parola;  // with what follows it: "il ", "l'"
  std::string_view unito;   // what follows the preposition's stem: "l ", "ll'"
};
constexpr std::array<Articolo, 7> kArticoli{{
    {"il ", "l "},
    {"lo ", "llo "},
    {"la ", "lla "},
    {"l'", "ll'"},
    {"gli ", "gli "},
    {"i ", "i "},
    {"le ", "lle "},
}};

// The stem each preposition takes before an article: "di" + "il" is "del", "in" + "il" "nel".
std::string_view radice(std::string_view preposizione) {
  if (preposizione == "di") return "de";
  if (preposizione == "a") return "a";
  if (preposizione == "da") return "da";
  if (preposizione == "in") return "ne";
  if (preposizione == "su") return "su";
  return {};
}

}  // namespace

std::string quanti(int64_t n, std::string_view uno, std::string_view tanti) {
  return std::to_string(n) + " " + std::string(n == 1 ? uno : tanti);
}

std::string con_preposizione(std::string_view preposizione, std::string_view parole) {
  const std::string_view r = radice(preposizione);
  if (!r.empty()) {
    for (const Articolo& a : kArticoli) {
      if (!parole.starts_with(a.parola)) continue;
      std::string unito(r);
      unito += a.unito;
      unito += parole.substr(a.parola.size());
      return unito;
    }
  }
  return std::string(preposizione) + " " + std::string(parole);
}

std::string elenco(std::span<const int64_t> numeri) {
  std::string testo;
  for (size_t i = 0; i < numeri.size(); ++i) {
    if (i > 0) testo += i + 1 == numeri.size() ? " e " : ", ";
    testo += std::to_string(numeri[i]);
  }
  return testo;
}

}  // namespace compattatore
