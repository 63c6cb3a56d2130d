#include "decompilatore/profili.h"

#include <algorithm>

#include "model/regole.h"

namespace compattatore {

void profilo(Ricostruzione& r, CampoTratto campo, const std::vector<Tratta>& tratte, Chiave parola,
             FineProfilo fine, TipoProblema in_coda, std::vector<Riga>& out) {
  const RigaCampo<Tratto>& c = riga_campo(campo);
  const int64_t zero = c.in_unita(0);
  const int64_t u = r.ultimo();
  for (const Tratta& t : tratte) {
    if (t.valore != zero) {
      for (int64_t s = std::max<int64_t>(t.primo, u - fine.coda + 1); s <= t.ultimo; ++s) {
        r.problema_tratto(s, in_coda, {c.scala.grezzo(t.valore).value_or(0)});
      }
    }
    if (t.primo <= u - 3) out.push_back(riga(parola, {int64_t{t.primo} * kMetriTratto, t.valore}));
    if (fine.riga_in_coda && t.valore != zero && t.primo <= u - 2 && t.ultimo >= u - 2) {
      out.push_back(riga(parola, {(u - 2) * kMetriTratto, t.valore}));
    }
  }
}

}  // namespace compattatore
