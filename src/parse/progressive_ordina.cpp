#include "parse/progressive_ordina.h"

#include "model/regole.h"

namespace compattatore {
namespace {

struct Sezione {
  int32_t inizio = 0;       // campo_1: start on the route
  int32_t progressiva = 0;  // campo_2: chainage value at that start
  int32_t verso = 0;        // campo_3
};

Sezione leggi(const Voce& v) { return {v.campo_1, v.campo_2, v.campo_3}; }

void scrivi(Voce& v, const Sezione& s) {
  v.campo_1 = s.inizio;
  v.campo_2 = s.progressiva;
  v.campo_3 = s.verso;
}

}  // namespace

void progressive_ordina(Elenco& elenco) {
  const Sezione t = leggi(elenco[voce::sezione_tre]);
  const Sezione d = leggi(elenco[voce::sezione_due]);
  const Sezione u = leggi(elenco[voce::sezione_uno]);
  Sezione r81, r82, r83;
  auto assegna = [&](const Sezione& a, const Sezione& b, const Sezione& c) {
    r81 = a;
    r82 = b;
    r83 = c;
  };

  if (int64_t{t.inizio} + d.inizio + u.inizio == 0) {
    // Every section starts at the origin: the chainage values decide, the last rule winning.
    if (t.progressiva > 0) assegna(t, d, u);
    if (d.progressiva > 0) assegna(d, t, u);
    if (u.progressiva > 0) assegna(u, d, t);
  } else if (t.inizio > d.inizio && t.inizio > u.inizio) {
    if (d.inizio > u.inizio)
      assegna(t, d, u);
    else
      assegna(t, u, d);
  } else if (d.inizio > t.inizio && d.inizio > u.inizio) {
    if (t.inizio > u.inizio)
      assegna(d, t, u);
    else
      assegna(d, u, t);
  } else if (u.inizio > t.inizio && u.inizio > d.inizio) {
    if (t.inizio > d.inizio)
      assegna(u, t, d);
    else
      assegna(u, d, t);
  }
  // Otherwise no start is strictly the greatest: all three stay cleared.

  scrivi(elenco[voce::sezione_tre], r81);
  scrivi(elenco[voce::sezione_due], r82);
  scrivi(elenco[voce::sezione_uno], r83);
  for (int i : {voce::sezione_tre, voce::sezione_due, voce::sezione_uno}) {
    Voce& v = elenco[static_cast<size_t>(i)];
    if (v.campo_3 == 1) v.campo_2 = entro<int32_t>(int64_t{v.campo_2} + 100, "progressiva");
  }
}

}  // namespace compattatore
