// Stations back to lines: the platform length from the zone, the timetable from the seconds,
// and the stopping point and approach bytes each station's line places.
#include <algorithm>
#include <optional>

#include "decompilatore/treno.h"
#include "model/oggetti.h"
#include "model/regole.h"

namespace compattatore {
namespace {

// The platform length and item 6 (`flag_3`) a line gives a station's zone with, and whether the
// zone is one that a line gives.
struct Marciapiede {
  int64_t lunghezza = 0;
  int64_t flag_3 = 0;
  bool zona_giusta = true;
};

Marciapiede marciapiede(const Voce& v, int i) {
  const int64_t p = v.campo_3;
  Marciapiede m{0, v.flag_3, true};
  switch (v.tipo_voce) {
    case 5:
    case 6:
      m.lunghezza = p - v.campo_1;
      m.zona_giusta = v.campo_2 == p + 150 && v.flag_3 == 0;
      break;
    case 7:
    case 8:
      m.lunghezza = p - v.campo_1;
      m.zona_giusta = v.campo_2 == p + m.lunghezza && v.flag_3 == 0;
      break;
    default: {
      m.lunghezza = 2 * (p - v.campo_1);
      const int64_t oltre = v.campo_2 - (p + m.lunghezza / 2);
      // The first station's item 6 is cleared after it has lengthened the zone.
      if (i == 1 && v.flag_3 == 0 && oltre == 50) m.flag_3 = 1;
      m.zona_giusta = (oltre == 0 && m.flag_3 == 0) || (oltre == 50 && m.flag_3 != 0);
      break;
    }
  }
  return m;
}

// What of entry `i` no line gives.
void controlla(Ricostruzione& r, int i, const Marciapiede& m) {
  const Voce& v = r.voce(i);
  if (v.campo_3 % 50 != 0) r.problema_voce(i, TipoProblema::stazione_non_multipla, {v.campo_3});
  if (m.lunghezza % 100 != 0 || !m.zona_giusta) {
    r.problema_voce(i, TipoProblema::zona_senza_marciapiede, {v.campo_1, v.campo_2});
  }
  if (v.flag_4 != 0 && (m.lunghezza < 600 || i == 1)) {
    r.problema_voce(i, TipoProblema::flag_4_azzerato, {v.flag_4});
  }
  if (i == 1 && v.flag_3 != 0) r.problema_voce(i, TipoProblema::flag_3_azzerato, {v.flag_3});
}

// The stopping point and the approach bytes, as the train phase places them.
void fermata(Ricostruzione& r, int i, FontePreavvisi& f) {
  const Voce& v = r.voce(i);
  if (v.tipo_voce >= 25) return;
  const double fine_zona = static_cast<double>(v.campo_2) / kMetriTratto;
  const int64_t s = arrotonda(fine_zona - 1.0);
  if (s >= 0 && s <= r.ultimo()) {
    const std::vector<PuntoFermata>& fermate = r.letto().fermate;
    if (std::any_of(fermate.begin(), fermate.end(),
                    [&](const PuntoFermata& f) { return f.tratto == s && f.voce == i; })) {
      r.spiega(s);
    } else {
      r.problema_tratto(s, TipoProblema::fermata_mancante,
                        {r.nome_voce(i), nome_breve_oggetto(r.t(s).oggetto)});
    }
  }
  if (v.tipo_voce == 5 || v.tipo_voce == 6) return;
  for (int k = 1; k <= 4; ++k) {
    const double a = fine_zona - k - 1.0;
    if (a > 1.0) f.scritture.emplace_back(arrotonda(a), static_cast<uint8_t>(80 + k));
  }
}

FontePreavvisi stazione(Ricostruzione& r, int i) {
  const Voce& v = r.voce(i);
  const Marciapiede m = marciapiede(v, i);
  controlla(r, i, m);
  const std::optional<std::string> nome = voce_testo(v.testo);
  if (!nome) r.problema_voce(i, TipoProblema::testo_non_riscrivibile);
  FontePreavvisi f;
  f.stazione = true;
  f.chiave = i;
  f.riga =
      riga(Chiave::stazione, {v.campo_3, v.tipo_voce, m.lunghezza, v.opzione, v.flag_4, m.flag_3,
                              v.intero_1, v.intero_2, v.flag_1, v.intero_3, v.intero_4, v.intero_5,
                              v.flag_2, v.orario / 3600, v.orario % 3600 / 60, v.orario % 60});
  f.riga.testo = nome.value_or("");
  fermata(r, i, f);
  return f;
}

}  // namespace

std::vector<FontePreavvisi> stazioni_treno(Ricostruzione& r, int cursore) {
  int ultima = 0;
  while (ultima + 1 < cursore + 1 && !(r.voce(ultima + 1) == Voce{})) ++ultima;
  if (ultima >= cursore - 1 && ultima > 0) {
    r.problema_voce(ultima, TipoProblema::troppe_stazioni,
                    {voce::primo_cartello - cursore, cursore - 2});
  }
  std::vector<FontePreavvisi> fonti;
  for (int i = 1; i <= ultima; ++i) fonti.push_back(stazione(r, i));
  return fonti;
}

}  // namespace compattatore
