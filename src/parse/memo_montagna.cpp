#include "parse/memo_montagna.h"

#include "model/regole.h"

namespace compattatore {

Codice memo_montagna(Modello& m, Montagne& montagne, int32_t inizio, int32_t fine, int32_t& tipo) {
  if (!m.dimensionato()) throw GuastoEsecuzione("montagna prima della lunghezza del percorso");
  if (inizio < 0 || fine < 0) return Codice::fuori_percorso;
  // The first stretch is inizio / 50 without the + 1 of a point object.
  const int32_t primo = entro<int32_t>(arrotonda(static_cast<double>(inizio) / 50.0), "tratto");
  const int32_t ultimo =
      entro<int32_t>(arrotonda(static_cast<double>(fine) / 50.0 - 1.0), "tratto");
  if (primo <= ultimo && ultimo > m.ultimo_tratto()) return Codice::fuori_percorso;
  if (montagne.numero >= kMaxMontagne) return Codice::troppe_montagne;

  bool segni = false;
  if (tipo > 10) {
    tipo -= 10;
    segni = true;
  }
  const int32_t n = ++montagne.numero;
  const auto i_n = static_cast<size_t>(n);
  montagne.inizio[i_n] = inizio;
  montagne.fine[i_n] = fine;
  if (n > 1 && int64_t{montagne.inizio[i_n]} - montagne.fine[i_n - 1] <= 150) tipo = 3;

  int32_t conta = 0;
  for (int32_t i = primo; i <= ultimo; ++i) {
    Tratto& t = m.tratto(i);
    ++conta;
    t.montagna = bassi<uint8_t>(tipo);
    if (segni && conta % 4 == 0 && t.oggetto == oggetto::libero) {
      t.oggetto = oggetto::segno_montagna;
    }
  }
  return Codice::nessuno;
}

}  // namespace compattatore
