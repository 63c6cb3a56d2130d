#include "parse/memo_rallentamento.h"

#include "model/regole.h"

namespace compattatore {

TrattiRallentamento tratti_rallentamento(const Rallentamento& r) {
  const double x = r.x;
  TrattiRallentamento t;
  t.avviso = arrotonda((x - 1200.0) / 50.0 + 1.0);
  t.inizio = arrotonda(x / 50.0 + 1.0);
  t.fine = arrotonda((x + static_cast<double>(r.l)) / 50.0 + 1.0);
  t.marcati = arrotonda((x - 1200.0) / 50.0);  // the first of the four, counting back
  // Up to 1500 m from the route start there is no room for a warning board, nor for marks.
  t.con_avviso = r.x > 1500;
  t.con_marcati = t.con_avviso && r.f_ta != 0;
  return t;
}

Codice memo_rallentamento(Modello& m, const Rallentamento& r) {
  const int64_t ultimo = m.ultimo_tratto();
  const auto [avviso, inizio, fine, marcati, con_avviso, con_marcati] = tratti_rallentamento(r);

  auto dentro = [ultimo](int64_t k) { return k >= 0 && k <= ultimo; };
  if (r.x < 0 || !dentro(inizio) || !dentro(fine) || (con_avviso && !dentro(avviso)) ||
      (con_marcati && (!dentro(marcati) || !dentro(marcati - 3)))) {
    return Codice::fuori_percorso;
  }

  if (con_avviso && !libero(m.tratto(avviso))) return Codice::avviso_occupato;
  if (!libero(m.tratto(inizio))) return Codice::inizio_rallentamento_occupato;
  if (!libero(m.tratto(fine))) return Codice::fine_rallentamento_occupata;

  const int16_t v = bassi<int16_t>(r.v);
  const int16_t d_v = bassi<int16_t>(r.d_v);
  const int16_t f_tt = bassi<int16_t>(r.f_tt);

  // Start and end may share a stretch (length 0): the start is written last and stays.
  Tratto& te = m.tratto(fine);
  te.oggetto = oggetto::fine_rallentamento;
  if (r.d_v != 0) te.valore_2 = d_v;
  Tratto& ti = m.tratto(inizio);
  ti.oggetto = oggetto::inizio_rallentamento;
  if (r.d_v != 0) ti.valore_2 = d_v;
  if (con_avviso) {
    Tratto& ta = m.tratto(avviso);
    ta.oggetto = oggetto::avviso_rallentamento;
    if (r.d_v != 0) ta.valore_2 = d_v;
    ta.valore_1 = v;
  }
  ti.valore_1 = v;
  te.valore_1 = v;
  ti.valore_3 = f_tt;
  te.valore_3 = f_tt;

  if (con_marcati) {
    for (int64_t k = 0; k <= 3; ++k) {
      if (!libero(m.tratto(marcati - k))) return Codice::preavvisi_occupati;
    }
    for (int64_t k = 0; k <= 3; ++k) {
      Tratto& t = m.tratto(marcati - k);
      t.oggetto = oggetto::preavviso_rallentamento;
      t.valore_1 = static_cast<int16_t>(k + 1);
      if (r.d_v != 0) t.valore_2 = static_cast<int16_t>(k + 1);
    }
  }
  return Codice::nessuno;
}

}  // namespace compattatore
