// The train phase: train figures, speed and adhesion profiles, stations, code change and cut
// points, signals and slowdowns, read from the train source into the model.

#include <optional>
#include <string>
#include <string_view>

#include "model/cp1252.h"
#include "model/regole.h"
#include "parse/fase.h"
#include "parse/fasi.h"
#include "parse/lettore.h"
#include "parse/memo_rallentamento.h"
#include "parse/memo_segnale.h"

namespace compattatore {
namespace {

constexpr int32_t kMargineStazione = 800;

class FaseTreno : Fase {
 public:
  FaseTreno(Modello& m, Segnalatore& errori, LettoreVoci& lettore, const OpzioniTreno& opzioni)
      : Fase(m, errori, lettore), cursore_cartelli_(opzioni.cursore_cartelli) {}

  void esegui() {
    // Everything before the header is passed over; without a header nothing is read.
    while (!lettore_.a_fine()) {
      if (contiene(leggi_parola(), "[generale]")) break;
    }
    if (ciclo() == Seguito::ferma) return;
    passi_finali();
  }

 private:
  /// The next keyword item in lower case, for the tests.
  std::string leggi_parola() { return cp1252::minuscole(leggi()); }

  Seguito ciclo() {
    while (!lettore_.a_fine()) {
      std::string parola = leggi_parola();
      // The last item of the source is never interpreted as a keyword.
      if (lettore_.a_fine()) return Seguito::avanti;
      // Items with a dash are passed over, at most two in a row.
      if (!salta_trattini(parola, 2, true)) return Seguito::avanti;
      const Seguito s = parole_chiave(cp1252::minuscole(parola));
      if (s != Seguito::avanti) return s;
    }
    return Seguito::avanti;
  }

  /// Every test is made on the same item, in this order; each one that matches reads its numbers.
  Seguito parole_chiave(const std::string& p) {
    auto ha = [&p](std::string_view parola) { return p.find(parola) != std::string::npos; };
    Seguito s = Seguito::avanti;
    auto passo = [&s](bool prova, auto&& azione) {
      if (s == Seguito::avanti && prova) s = azione();
    };
    passo(ha("frenata") && ha("massa"), [&] {
      m_.elenco[voce::figure_treno].campo_1 = lettore_.leggi_i32();
      return Seguito::avanti;
    });
    passo(ha("vetture"), [&] {
      m_.elenco[voce::figure_treno].campo_3 = lettore_.leggi_i32();
      return Seguito::avanti;
    });
    passo(ha("velocit"), [&] { return velocita(); });
    passo(ha("aderenza"), [&] { return aderenza(); });
    passo(ha("orologio"), [&] {
      Voce& t = m_.elenco[voce::treno];
      t.intero_3 = lettore_.leggi_i16();
      t.intero_4 = lettore_.leggi_i16();
      t.intero_5 = lettore_.leggi_i16();
      return Seguito::avanti;
    });
    passo(ha("sabbia"), [&] {
      m_.elenco[voce::treno].intero_1 = lettore_.leggi_i16();
      return Seguito::avanti;
    });
    passo(ha("segnale"), [&] { return segnale(); });
    passo(ha("rallentamento"), [&] { return rallentamento(); });
    passo(ha("abbattimento"), [&] { return abbattimento(); });
    passo(ha("stazione"), [&] { return stazione(); });
    return s;
  }

  /// The speed limit of a stretch: km/h in units of 5, rounded; a value outside 0 to 255 is the
  /// run-time fault.
  void riempi_velocita(int32_t fino, std::optional<int32_t> arresto = std::nullopt) {
    velocita_.riempi(
        fino,
        [this](int32_t s, int32_t kmh) {
          m_.tratto(s).velocita =
              entro<uint8_t>(arrotonda(static_cast<double>(kmh) / 5.0), "velocita");
        },
        arresto);
  }
  /// The adhesion of a stretch: its low 8 bits.
  void riempi_aderenza(int32_t fino) {
    aderenza_.riempi(fino, [this](int32_t s, int32_t valore) {
      m_.tratto(s).aderenza = bassi<uint8_t>(valore);
    });
  }

  // A speed applies from stretch p / 50 up to the stretch before the next speed item's; the fill
  // stops at the last stretch.
  Seguito velocita() {
    const int32_t p = lettore_.leggi_i32();
    const int32_t kmh = lettore_.leggi_i32();
    if (!nel_percorso(m_.ultimo_tratto(), p)) return fuori_percorso(p);
    const int32_t n = cinquantesimi(p);
    if (n > 0) riempi_velocita(n, m_.ultimo_tratto());
    velocita_.valore = kmh;
    return Seguito::avanti;
  }

  // The same for the adhesion; a fill past the last stretch is the run-time fault.
  Seguito aderenza() {
    const int32_t p = lettore_.leggi_i32();
    const int32_t valore = lettore_.leggi_i32();
    if (!nel_percorso(m_.ultimo_tratto(), p)) return fuori_percorso(p);
    const int32_t n = cinquantesimi(p);
    if (n > 0) riempi_aderenza(n);
    aderenza_.valore = valore;
    return Seguito::avanti;
  }

  /// After a signal or a slowdown: a code of the routine, or one already standing from the line
  /// phase, stops the phase with the line's position.
  Seguito dopo_routine(Codice codice, int32_t posizione) {
    if (codice == Codice::fuori_percorso) return fuori_percorso(posizione);
    if (codice != Codice::nessuno) {
      errore(codice, posizione);
      return Seguito::ferma;
    }
    if (errori_.codice_errore() != Codice::nessuno) {
      errore(errori_.codice_errore(), posizione);
      return Seguito::ferma;
    }
    return Seguito::avanti;
  }

  Seguito segnale() {
    Segnale s;
    for (int32_t* campo : {&s.posizione, &s.sx, &s.s1, &s.s2, &s.s3, &s.rapp, &s.dx, &s.d1, &s.d2,
                           &s.d3, &s.tempo}) {
      *campo = lettore_.leggi_i32();
    }
    if (!nel_percorso(m_.ultimo_tratto(), s.posizione)) return fuori_percorso(s.posizione);
    return dopo_routine(memo_segnale(m_, s), s.posizione);
  }

  Seguito rallentamento() {
    Rallentamento r;
    for (int32_t* campo : {&r.x, &r.v, &r.l, &r.f_tt, &r.f_ta, &r.d_v}) {
      *campo = lettore_.leggi_i32();
    }
    if (!nel_percorso(m_.ultimo_tratto(), r.x)) return fuori_percorso(r.x);
    return dopo_routine(memo_rallentamento(m_, r), r.x);
  }

  // A code change point (code value 1 or more) or a code cut point (below 1, also "AC") on
  // stretch p / 50, one before the stretch of a point object.
  Seguito abbattimento() {
    const int32_t p = lettore_.leggi_i32();
    const int32_t codice = lettore_.leggi_i32();
    if (!nel_percorso(m_.ultimo_tratto(), p)) return fuori_percorso(p);
    Tratto& t = m_.tratto(cinquantesimi(p));
    if (!libero(t)) {
      errore(Codice::abbattimento_occupato, p);
      return Seguito::ferma;
    }
    if (codice < 1) {
      t.oggetto = oggetto::taglio_codice;
    } else {
      t.oggetto = oggetto::cambio_codice;
      t.valore_1 = bassi<int16_t>(codice);
    }
    return Seguito::avanti;
  }

  // A station in the next station entry of `elenco`. Its 17 items are stored the moment they are
  // read, so a station stopped by an error keeps what was read before it.
  Seguito stazione() {
    // Board texts hold the entries above `cursore_cartelli_`: with 80 boards even the first
    // station has no entry of its own, and is refused before it overwrites a board text.
    if (cursore_stazioni_ > cursore_cartelli_) {
      errore(Codice::troppe_stazioni);
      return Seguito::ferma;
    }
    Voce& v = m_.elenco.at(static_cast<size_t>(cursore_stazioni_));
    const Voce prima = v;
    int32_t banchina = 0;
    if (const Seguito s = leggi_stazione(v, banchina); s != Seguito::avanti) return s;
    zona(v, banchina);
    if (banchina < 600) v.flag_4 = 0;
    if (cursore_stazioni_ == 1) {
      v.flag_3 = 0;
      v.flag_4 = 0;
    }
    if (const Seguito s = fermata(v, prima); s != Seguito::avanti) return s;
    return controlli_stazione(v);
  }

  // The 17 items of a station line. The position is checked as soon as it is read, the platform
  // length as soon as it is read; the rest is stored as read.
  Seguito leggi_stazione(Voce& v, int32_t& banchina) {
    const int32_t p = lettore_.leggi_i32();
    if (p < 0) return fuori_percorso(p);
    v.campo_3 = p;
    if (!nel_percorso(m_.ultimo_tratto(), p, kMargineStazione)) return fuori_percorso(p);
    if (p % 50 != 0) {
      errore(Codice::stazione_non_multipla, p);
      return Seguito::ferma;
    }
    v.tipo_voce = lettore_.leggi_u8();
    banchina = lettore_.leggi_i32();
    if (banchina % 100 != 0) {
      errore(Codice::marciapiede_non_multiplo, p);
      return Seguito::ferma;
    }
    v.opzione = lettore_.leggi_u8();
    v.flag_4 = lettore_.leggi_u8();
    v.flag_3 = lettore_.leggi_u8();
    v.intero_1 = lettore_.leggi_i16();
    v.intero_2 = lettore_.leggi_i16();
    v.flag_1 = lettore_.leggi_u8();
    v.intero_3 = lettore_.leggi_i16();
    v.intero_4 = lettore_.leggi_i16();
    v.intero_5 = lettore_.leggi_i16();
    v.flag_2 = lettore_.leggi_u8();
    const int64_t ore = lettore_.leggi_i32();
    const int64_t minuti = lettore_.leggi_i32();
    const int64_t secondi = lettore_.leggi_i32();
    v.orario = entro<int32_t>((ore * 60 + minuti) * 60 + secondi, "orario della stazione");
    v.testo = testo_entro(lettore_.leggi_testo(), "nome della stazione");
    return Seguito::avanti;
  }

  // The station zone `campo_1` to `campo_2` around the position `campo_3`, by type.
  static void zona(Voce& v, int64_t banchina) {
    const int64_t p = v.campo_3;
    switch (v.tipo_voce) {
      case 5:
      case 6:
        v.campo_2 = entro<int32_t>(p + 150, "fine della zona di stazione");
        v.campo_1 = entro<int32_t>(p - banchina, "inizio della zona di stazione");
        v.flag_3 = 0;
        break;
      case 7:
      case 8:
        v.campo_1 = entro<int32_t>(p - banchina, "inizio della zona di stazione");
        v.campo_2 = entro<int32_t>(p + banchina, "fine della zona di stazione");
        v.flag_3 = 0;
        break;
      default: {
        const double meta = static_cast<double>(banchina) / 2.0;
        v.campo_1 = entro<int32_t>(arrotonda(static_cast<double>(p) - meta),
                                   "inizio della zona di stazione");
        v.campo_2 =
            entro<int32_t>(arrotonda(static_cast<double>(p) + meta + (v.flag_3 != 0 ? 50.0 : 0.0)),
                           "fine della zona di stazione");
        break;
      }
    }
  }

  // Types below 25 get a stopping point just inside the zone end, with approach bytes before it
  // (not for types 5 and 6). Both must fall inside the route: otherwise the station is refused
  // with nothing of it kept (`prima` is the entry as it was).
  Seguito fermata(Voce& v, const Voce& prima) {
    const bool con_fermata = v.tipo_voce < 25;
    const bool con_preavviso = con_fermata && v.tipo_voce != 5 && v.tipo_voce != 6;
    const double fine_zona = static_cast<double>(v.campo_2) / 50.0;
    if (con_fermata && arrotonda(fine_zona - 1.0) > m_.ultimo_tratto()) {
      const int32_t p = v.campo_3;
      v = prima;
      return fuori_percorso(p);
    }
    if (con_preavviso) {
      for (int k = 1; k <= 4; ++k) {
        const double s = fine_zona - k - 1.0;
        if (s > 1.0) m_.tratto(arrotonda(s)).preavviso = static_cast<uint8_t>(80 + k);
      }
    }
    if (con_fermata) {
      const double s = fine_zona - 1.0;
      if (!(s > 1.0)) {
        errore(Codice::fermata_troppo_vicina);
        return Seguito::ferma;
      }
      Tratto& t = m_.tratto(arrotonda(s));
      t.oggetto = oggetto::fermata;
      t.valore_1 = static_cast<int16_t>(cursore_stazioni_);
    }
    return Seguito::avanti;
  }

  // The distance from the previous station, then the next entry: it must stay below the board
  // texts.
  Seguito controlli_stazione(const Voce& v) {
    if (cursore_stazioni_ > 1 &&
        int64_t{v.campo_1} - 350 <
            m_.elenco.at(static_cast<size_t>(cursore_stazioni_ - 1)).campo_2) {
      errore(Codice::stazioni_vicine, v.campo_3);
      return Seguito::ferma;
    }
    ++cursore_stazioni_;
    if (cursore_stazioni_ >= cursore_cartelli_) {
      errore(Codice::troppe_stazioni);
      return Seguito::ferma;
    }
    return Seguito::avanti;
  }

  // Both profiles run on to the third stretch from the end; then the kilometric sections of the
  // line source are checked.
  void passi_finali() {
    riempi_velocita(m_.ultimo_tratto() - 2);
    riempi_aderenza(m_.ultimo_tratto() - 2);
    for (int i : {voce::sezione_tre, voce::sezione_due, voce::sezione_uno}) {
      const Voce& sezione = m_.elenco[static_cast<size_t>(i)];
      if (sezione.campo_1 % 50 != 0 || sezione.campo_2 % 50 != 0) {
        errori_.segnala(Codice::progressiva_non_multipla, std::nullopt, Luogo{},
                        "progressiva chilometrica con inizio " + std::to_string(sezione.campo_1) +
                            " e valore " + std::to_string(sezione.campo_2) +
                            ": non multipli di 50");
        return;
      }
    }
  }

  const int32_t cursore_cartelli_;  // first board entry of `elenco` taken, plus one
  int32_t cursore_stazioni_ = 1;    // next station entry of `elenco`
  Profilo velocita_;                // the speed profile, km/h
  Profilo aderenza_;                // the adhesion profile
};

}  // namespace

void fase_treno(Modello& m, Segnalatore& errori, LettoreVoci& lettore,
                const OpzioniTreno& opzioni) {
  FaseTreno(m, errori, lettore, opzioni).esegui();
}

}  // namespace compattatore
