#include "decompilatore/differenze.h"

#include <algorithm>
#include <optional>

#include "model/campi.h"
#include "model/cp1252.h"
#include "viste/confronto.h"

namespace compattatore {
namespace {

constexpr size_t kTrattiElencati = 20;  // differing stretches named one by one

// The numeric fields in which the record `x` of the files and `z` of the rebuilt sources differ.
template <class R>
std::vector<DifferenzaCampo> diversi(const R& x, const R& z) {
  std::vector<DifferenzaCampo> d;
  for (const CampoDiverso<R>& c : campi_diversi(x, z)) {
    d.push_back({c.campo->nome, std::to_string(c.a), std::to_string(c.b)});
  }
  return d;
}

// The check codes: they follow from the name and the train number alone.
void codici_di_controllo(Ricostruzione& r, const Modello& y) {
  const Modello& m = r.modello();
  const Voce& va = m.elenco[voce::intestazione];
  const Voce& vb = y.elenco[voce::intestazione];
  const bool con_tratto_1 = m.tratti.size() > 1 && y.tratti.size() > 1;
  if (va.intero_1 != vb.intero_1 || va.orario != vb.orario ||
      (con_tratto_1 && (m.tratti[1].valore_1 != y.tratti[1].valore_1 ||
                        m.tratti[1].valore_2 != y.tratti[1].valore_2))) {
    r.problema(TipoProblema::codici_di_controllo,
               {cp1252::a_utf8(va.testo), cp1252::a_utf8(m.elenco[voce::treno].testo)});
  }
}

// The first stretches that differ, field by field, and how many more.
void tratti(Ricostruzione& r, const Modello& y) {
  const std::vector<Tratto>& a = r.modello().tratti;
  const std::vector<Tratto>& b = y.tratti;
  size_t quanti = 0;
  for (size_t s = 0; s < std::min(a.size(), b.size()); ++s) {
    Tratto x = a[s], z = b[s];
    if (s == 1) {  // the check codes, compared above
      x.valore_1 = z.valore_1 = 0;
      x.valore_2 = z.valore_2 = 0;
    }
    if (x == z || r.problemi().tratto_segnalato(static_cast<int64_t>(s))) continue;
    if (++quanti > kTrattiElencati) continue;
    r.problemi().aggiungi(
        {TipoProblema::tratto_diverso, static_cast<int64_t>(s), {}, {}, diversi(x, z)});
  }
  if (quanti > kTrattiElencati) {
    r.problema(TipoProblema::altri_tratti_diversi,
               {static_cast<int64_t>(quanti - kTrattiElencati)});
  }
}

void voci(Ricostruzione& r, const Modello& y) {
  for (int i = 0; i < kVociElenco; ++i) {
    Voce x = r.modello().elenco[static_cast<size_t>(i)], z = y.elenco[static_cast<size_t>(i)];
    if (i == voce::intestazione) {  // the check codes, compared before
      x.intero_1 = z.intero_1 = 0;
      x.orario = z.orario = 0;
    }
    if (x == z || r.problemi().voce_segnalata(i)) continue;
    std::vector<DifferenzaCampo> d = diversi(x, z);
    if (x.testo != z.testo) {
      d.push_back({kTestoVoce.nome, "\"" + cp1252::a_utf8(x.testo) + "\"",
                   "\"" + cp1252::a_utf8(z.testo) + "\""});
    }
    r.problemi().aggiungi({TipoProblema::voce_diversa, i, {}, {}, std::move(d)});
  }
}

void tracciato(Ricostruzione& r, const Modello& y) {
  if (!r.con_tracciato() || r.problemi().tracciato_segnalato()) return;
  const Tracciato& pa = r.modello().tracciato;
  const Tracciato& pb = y.tracciato;
  int64_t quanti = 0;
  std::optional<size_t> primo;
  for (size_t c = 0; c < std::min(pa.punti(), pb.punti()); ++c) {
    if (stesso_punto(pa, pb, c)) continue;
    ++quanti;
    if (!primo) primo = c;
  }
  if (primo) {
    r.problemi().aggiungi({TipoProblema::punti_diversi,
                           static_cast<int64_t>(*primo),
                           {},
                           {quanti, static_cast<int64_t>(*primo)}});
  } else if (pa.punti() != pb.punti()) {
    r.problema(TipoProblema::tracciato_di_altra_lunghezza, {quanti});
  }
}

}  // namespace

void differenze(Ricostruzione& r, const Modello& ricompilato) {
  const size_t a = r.modello().tratti.size(), b = ricompilato.tratti.size();
  if (a != b) {
    r.problema(TipoProblema::tratti_in_numero_diverso,
               {static_cast<int64_t>(a) - 1, static_cast<int64_t>(b) - 1});
  }
  codici_di_controllo(r, ricompilato);
  tratti(r, ricompilato);
  voci(r, ricompilato);
  tracciato(r, ricompilato);
}

}  // namespace compattatore
