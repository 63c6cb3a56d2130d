// Mountains back to lines: a line for every run of stretches of one type. Markers (every fourth
// stretch from the start where nothing else stands) give the type plus 10. A mountain that starts
// at most 150 m after the one before it ends gets type 3 whatever its line says: when the run is
// not of type 3 its ends are moved within their stretches, or an empty mountain goes before it.
#include <algorithm>
#include <vector>

#include "decompilatore/linea.h"
#include "model/regole.h"
#include "parse/memo_montagna.h"

namespace compattatore {
namespace {

// Whether the mountain has its markers; the markers it has are accounted for, the missing ones
// are problems.
bool segni(Ricostruzione& r, const Montagna& c) {
  const auto al_passo = [&c](int32_t s) { return (s - c.primo) % 4 == 3; };
  if (std::none_of(c.segni.begin(), c.segni.end(), al_passo)) return false;
  for (const int32_t s : c.segni) {
    if (al_passo(s)) r.spiega(s);
  }
  for (int64_t s = c.primo + 3; s <= c.ultimo; s += 4) {
    if (r.t(s).oggetto == oggetto::libero) {
      r.problema_tratto(s, TipoProblema::segno_montagna_mancante);
    }
  }
  return true;
}

// The mountain lines, with where the last one ends.
class RigheMontagne {
 public:
  RigheMontagne(Ricostruzione& r, std::vector<Riga>& righe) : r_(r), righe_(righe) {}

  void aggiungi(const Montagna& c, bool con_segni) {
    if (!nel_percorso(r_.ultimo(), static_cast<int32_t>(c.primo * kMetriTratto))) {
      r_.problema_tratto(c.primo, TipoProblema::montagna_fuori);
      return;
    }
    int64_t inizio = c.primo * kMetriTratto;
    const int64_t fine = (c.ultimo + 1) * kMetriTratto;
    if (numero_ > 0 && c.tipo != 3 && inizio - fine_prima_ <= 150) inizio = stacca(c, inizio);
    int64_t tipo = c.tipo;
    if (con_segni) {
      tipo += 10;
    } else if (tipo > 10) {
      tipo -= 256;  // the same byte, without markers
    }
    righe_.push_back(riga(Chiave::montagna, {inizio, fine, tipo}));
    ++numero_;
    fine_prima_ = fine;
    ultimo_prima_ = c.ultimo;
  }

  int righe() const { return numero_; }

 private:
  // A run that starts at most 150 m after the line before it ends: the latest start and the
  // earliest end that still round to the same stretches, or an empty mountain between them.
  int64_t stacca(const Montagna& c, int64_t inizio) {
    const int64_t inizio_tardi = inizio + (c.primo % 2 == 0 ? 25 : 24);
    const int64_t fine_presto = ultimo_prima_ * kMetriTratto + (ultimo_prima_ % 2 == 0 ? 25 : 26);
    if (inizio_tardi - fine_presto > 150) {
      righe_.back().celle[1] = std::to_string(fine_presto);
      return inizio_tardi;
    }
    if (inizio > 150) {
      righe_.push_back(riga(Chiave::montagna, {0, 0, 0}));
      ++numero_;
    } else {
      r_.problema_tratto(c.primo, TipoProblema::montagna_attaccata, {c.tipo});
    }
    return inizio;
  }

  Ricostruzione& r_;
  std::vector<Riga>& righe_;
  int numero_ = 0;            // lines written, the empty ones too
  int64_t fine_prima_ = 0;    // end of the line before
  int64_t ultimo_prima_ = 0;  // its last stretch
};

}  // namespace

void montagne_linea(Ricostruzione& r, SorgenteLinea& out) {
  RigheMontagne righe(r, out.montagne);
  for (const Montagna& c : r.letto().montagne) righe.aggiungi(c, segni(r, c));
  if (righe.righe() > kMaxMontagne) {
    r.problema(TipoProblema::troppe_montagne, {righe.righe(), kMaxMontagne});
  }
  for (const int32_t s : r.letto().segni_sparsi) {
    r.problema_tratto(s, TipoProblema::segno_montagna_solo);
  }
}

}  // namespace compattatore
