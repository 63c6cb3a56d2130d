// `compattatore mostra FILE...`: what a compiled scenario holds, as text or as one JSON document.
#include <optional>
#include <string>
#include <utility>

#include "app/comandi.h"
#include "app/lettura.h"
#include "viste/documento_json.h"
#include "viste/scheda.h"
#include "viste/sommario.h"

namespace compattatore {
namespace {

// "A-B" or "A": the stretches to show.
std::optional<std::pair<int32_t, int32_t>> intervallo(const std::string& testo) {
  const size_t meno = testo.find('-');
  const auto numero = [](const std::string& t) -> std::optional<int32_t> {
    if (t.empty() || t.size() > 9 || t.find_first_not_of("0123456789") != std::string::npos) {
      return std::nullopt;
    }
    return static_cast<int32_t>(std::stoi(t));
  };
  const auto a = numero(testo.substr(0, meno));
  const auto b = meno == std::string::npos ? a : numero(testo.substr(meno + 1));
  if (!a || !b || *a > *b) return std::nullopt;
  return std::pair{*a, *b};
}

}  // namespace

int comando_mostra(const OpzioniLette& o, std::ostream& out, std::ostream& err) {
  std::optional<std::pair<int32_t, int32_t>> scelti;
  if (const auto t = o.valore("tratti")) {
    scelti = intervallo(*t);
    if (!scelti) {
      return errore_uso(err, "mostra",
                        "--tratti vuole un tratto o un intervallo come 120-130, non '" + *t + "'");
    }
  }
  // No view of mostra holds the route plan: the text counts its points, the JSON document walks
  // its file again as it writes them.
  const auto s = leggi_scenario(o.operandi, "mostra", err, LetturaTracciato::solo_punti);
  if (!s) return kUscitaFallita;
  const Modello& m = s->modello;
  if (scelti) {
    if (m.tratti.empty()) {
      return errore_uso(err, "mostra",
                        "--tratti vuole il file dei tratti, che non è stato trovato");
    }
    if (scelti->second > m.ultimo_tratto()) {
      return errore_uso(err, "mostra",
                        "il tratto " + std::to_string(scelti->second) +
                            " non esiste: i tratti vanno da 0 a " +
                            std::to_string(m.ultimo_tratto()));
    }
  }
  const Scheda vista = scheda(*s);
  if (o.presente("json")) {
    const auto [primo, ultimo] = scelti.value_or(std::pair{0, m.ultimo_tratto()});
    // The plan's file is read again while the document is written.
    return leggendo("mostra", err, [&] { scrivi_documento_json(out, vista, primo, ultimo); })
               ? kUscitaOk
               : kUscitaFallita;
  }
  if (scelti) {
    stampa_tratti(out, vista, scelti->first, scelti->second);
    return kUscitaOk;
  }
  stampa_sommario(out, vista);
  return kUscitaOk;
}

}  // namespace compattatore
