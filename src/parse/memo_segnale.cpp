#include "parse/memo_segnale.h"

#include "model/regole.h"

namespace compattatore {

Codice memo_segnale(Modello& m, const Segnale& s) {
  const int64_t ultimo = m.ultimo_tratto();
  const int64_t i = tratto_di(s.posizione);
  // The approach bytes go on i - 2 down to i - 8: all of them must be inside the array.
  if (s.posizione < 0 || i - 8 < 0 || i > ultimo) return Codice::fuori_percorso;

  Tratto& t = m.tratto(i);
  if (!libero(t)) return Codice::segnale_occupato;

  // Values are cut to their field width, as the simulator reads them.
  t.oggetto = oggetto::segnale;
  t.valore_4 = bassi<int16_t>(int64_t{s.rapp} * 10 + int64_t{s.sx} * 3 + s.dx);
  t.valore_1 = bassi<int16_t>(int64_t{s.s1} * 10 + s.d1);
  t.valore_2 = bassi<int16_t>(int64_t{s.s2} * 10 + s.d2);
  t.valore_3 = bassi<int16_t>(int64_t{s.s3} * 10 + s.d3);

  // A signal time of 1 to 100 s is raised to 101; only signals with sx 2 keep a time.
  int64_t tempo = s.tempo;
  if (tempo >= 1 && tempo <= 100) tempo = 101;
  t.tempo_segnale = s.sx == 2 ? bassi<uint8_t>(tempo) : uint8_t{0};

  // Approach bytes every 100 m before the signal, 1 nearest to it; a later signal overwrites.
  const int64_t base = (int64_t{s.sx} * 3 + s.dx) * 10;
  for (int64_t b = 1; b <= 4; ++b) {
    m.tratto(i - 2 * b).preavviso = bassi<uint8_t>(base + b);
  }
  return Codice::nessuno;
}

}  // namespace compattatore
