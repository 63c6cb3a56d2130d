// The train phase: train figures, speed and adhesion profiles, stations, code change and cut
// points, signals and slowdowns, read from the train source into the model.

#include <optional>
#include <string>
#include <string_view>

#include "app/esecuzione.h"
#include "model/cp1252.h"
#include "model/regole.h"
#include "parse/lettore.h"
#include "parse/memo_rallentamento.h"
#include "parse/memo_segnale.h"
#include "parse/memorizza_dati.h"

namespace compattatore {
namespace {

/// How the main loop goes on after a keyword.
enum class Seguito {
  continua,  // next item
  esci,      // leave the main loop; the end steps follow (code 15)
  ferma      // stop the phase at once, without the end steps
};

constexpr int32_t kMargineStazione = 800;

class FaseTreno {
 public:
  FaseTreno(Esecuzione& run, LettoreVoci& lettore)
      : run_(run), lettore_(lettore), m_(run.modello) {}

  void esegui() {
    // Everything before the header is passed over; without a header nothing is read.
    while (!lettore_.a_fine()) {
      if (leggi_parola().find("[generale]") != std::string::npos) break;
    }
    if (ciclo() == Seguito::ferma) return;
    passi_finali();
  }

 private:
  /// The next keyword item, kept in `elemento_letto`, in lower case for the tests.
  std::string leggi_parola() {
    m_.elemento_letto = lettore_.leggi_testo();
    return cp1252::minuscole(m_.elemento_letto);
  }

  Seguito ciclo() {
    while (!lettore_.a_fine()) {
      std::string parola = leggi_parola();
      // The last item of the source is never interpreted as a keyword.
      if (lettore_.a_fine()) return Seguito::continua;
      // Items with a dash are passed over, at most two in a row.
      for (int volte = 0; volte < 2 && parola.find('-') != std::string::npos; ++volte) {
        parola = leggi_parola();
        if (lettore_.a_fine()) return Seguito::continua;
      }
      const Seguito s = parole_chiave(parola);
      if (s != Seguito::continua) return s;
    }
    return Seguito::continua;
  }

  /// Every test is made on the same item, in this order; each one that matches reads its numbers.
  Seguito parole_chiave(const std::string& p) {
    auto ha = [&p](std::string_view parola) { return p.find(parola) != std::string::npos; };
    Seguito s = Seguito::continua;
    auto passo = [&s](bool prova, auto&& azione) {
      if (s == Seguito::continua && prova) s = azione();
    };
    passo(ha("frenata") && ha("massa"), [&] {
      m_.elenco[voce::figure_treno].campo_1 = lettore_.leggi_i32();
      return Seguito::continua;
    });
    passo(ha("vetture"), [&] {
      m_.elenco[voce::figure_treno].campo_3 = lettore_.leggi_i32();
      return Seguito::continua;
    });
    passo(ha("velocit"), [&] { return velocita(); });
    passo(ha("aderenza"), [&] { return aderenza(); });
    passo(ha("orologio"), [&] {
      Voce& t = m_.elenco[voce::treno];
      t.intero_3 = lettore_.leggi_i16();
      t.intero_4 = lettore_.leggi_i16();
      t.intero_5 = lettore_.leggi_i16();
      return Seguito::continua;
    });
    passo(ha("sabbia"), [&] {
      m_.elenco[voce::treno].intero_1 = lettore_.leggi_i16();
      return Seguito::continua;
    });
    passo(ha("segnale"), [&] { return segnale(); });
    passo(ha("rallentamento"), [&] { return rallentamento(); });
    passo(ha("abbattimento"), [&] { return abbattimento(); });
    passo(ha("stazione"), [&] { return stazione(); });
    return s;
  }

  void errore(int32_t codice, std::optional<int32_t> posizione) {
    run_.imposta_errore(codice, posizione, lettore_.luogo());
  }

  /// A position refused: beyond the range rule's margin from the route end, or before the route
  /// start. Code 15 with the position; the main loop ends and the end steps follow.
  Seguito fuori_percorso(int32_t posizione) {
    errore(15, posizione);
    return Seguito::esci;
  }

  /// The speed limit of a stretch: km/h in units of 5, rounded; a value outside 0 to 255 is the
  /// run-time fault.
  static uint8_t quinto(int32_t kmh) {
    return entro<uint8_t>(arrotonda(static_cast<double>(kmh) / 5.0), "velocita");
  }

  // A speed applies from stretch p / 50 up to the stretch before the next speed item's.
  Seguito velocita() {
    const int32_t p = lettore_.leggi_i32();
    const int32_t kmh = lettore_.leggi_i32();
    if (!nel_percorso(m_.ultimo_tratto, p)) return fuori_percorso(p);
    const int32_t n = cinquantesimi(p);
    if (n > 0) {
      do {
        if (cursore_velocita_ >= m_.ultimo_tratto) break;
        m_.tratto(cursore_velocita_).velocita = quinto(velocita_corrente_);
        ++cursore_velocita_;
      } while (cursore_velocita_ < n);
    }
    velocita_corrente_ = kmh;
    return Seguito::continua;
  }

  // The same for the adhesion, stored as its low 8 bits.
  Seguito aderenza() {
    const int32_t p = lettore_.leggi_i32();
    const int32_t valore = lettore_.leggi_i32();
    if (!nel_percorso(m_.ultimo_tratto, p)) return fuori_percorso(p);
    const int32_t n = cinquantesimi(p);
    if (n > 0) {
      do {
        m_.tratto(cursore_aderenza_).aderenza = bassi<uint8_t>(aderenza_corrente_);
        ++cursore_aderenza_;
      } while (cursore_aderenza_ < n);
    }
    aderenza_corrente_ = valore;
    return Seguito::continua;
  }

  /// After a signal or a slowdown: a code of the routine, or one already standing from the line
  /// phase, stops the phase with the line's position.
  Seguito dopo_routine(int32_t codice, int32_t posizione) {
    if (codice == 15) return fuori_percorso(posizione);
    if (codice != 0) {
      errore(codice, posizione);
      return Seguito::ferma;
    }
    if (run_.codice_errore > 0) {
      errore(run_.codice_errore, posizione);
      return Seguito::ferma;
    }
    return Seguito::continua;
  }

  Seguito segnale() {
    Segnale s;
    for (int32_t* campo : {&s.posizione, &s.sx, &s.s1, &s.s2, &s.s3, &s.rapp, &s.dx, &s.d1,
                           &s.d2, &s.d3, &s.tempo}) {
      *campo = lettore_.leggi_i32();
    }
    if (!nel_percorso(m_.ultimo_tratto, s.posizione)) return fuori_percorso(s.posizione);
    return dopo_routine(memo_segnale(m_, s), s.posizione);
  }

  Seguito rallentamento() {
    Rallentamento r;
    for (int32_t* campo : {&r.x, &r.v, &r.l, &r.f_tt, &r.f_ta, &r.d_v}) {
      *campo = lettore_.leggi_i32();
    }
    if (!nel_percorso(m_.ultimo_tratto, r.x)) return fuori_percorso(r.x);
    return dopo_routine(memo_rallentamento(m_, r), r.x);
  }

  // A code change point (code value 1 or more) or a code cut point (below 1, also "AC") on
  // stretch p / 50, one before the stretch of a point object.
  Seguito abbattimento() {
    const int32_t p = lettore_.leggi_i32();
    const int32_t codice = lettore_.leggi_i32();
    if (!nel_percorso(m_.ultimo_tratto, p)) return fuori_percorso(p);
    Tratto& t = m_.tratto(cinquantesimi(p));
    if (!libero(t)) {
      errore(7, p);
      return Seguito::ferma;
    }
    if (codice < 1) {
      t.oggetto = oggetto::taglio_codice;
    } else {
      t.oggetto = oggetto::cambio_codice;
      t.valore_1 = bassi<int16_t>(codice);
    }
    return Seguito::continua;
  }

  // A station: its 17 items are stored the moment they are read, so a station stopped by an
  // error keeps what was read before it.
  Seguito stazione() {
    // Board texts hold the entries above `cursore_cartelli`: with 80 boards even the first
    // station has no entry of its own, and is refused before it overwrites a board text.
    if (cursore_stazioni_ > m_.cursore_cartelli) {
      errore(10, std::nullopt);
      return Seguito::ferma;
    }
    Voce& v = m_.elenco.at(static_cast<size_t>(cursore_stazioni_));
    const Voce prima = v;

    const int32_t p = lettore_.leggi_i32();
    if (p < 0) return fuori_percorso(p);
    v.campo_3 = p;
    if (!nel_percorso(m_.ultimo_tratto, p, kMargineStazione)) return fuori_percorso(p);
    if (p % 50 != 0) {
      errore(8, p);
      return Seguito::ferma;
    }
    v.tipo_voce = lettore_.leggi_u8();
    const int32_t banchina = lettore_.leggi_i32();
    if (banchina % 100 != 0) {
      errore(9, p);
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

    // The station zone.
    const int64_t pl = p;
    const int64_t l = banchina;
    switch (v.tipo_voce) {
      case 5:
      case 6:
        v.campo_2 = entro<int32_t>(pl + 150, "fine della zona di stazione");
        v.campo_1 = entro<int32_t>(pl - l, "inizio della zona di stazione");
        v.flag_3 = 0;
        break;
      case 7:
      case 8:
        v.campo_1 = entro<int32_t>(pl - l, "inizio della zona di stazione");
        v.campo_2 = entro<int32_t>(pl + l, "fine della zona di stazione");
        v.flag_3 = 0;
        break;
      default: {
        const double meta = static_cast<double>(l) / 2.0;
        v.campo_1 = entro<int32_t>(arrotonda(static_cast<double>(pl) - meta),
                                   "inizio della zona di stazione");
        v.campo_2 = entro<int32_t>(
            arrotonda(static_cast<double>(pl) + meta + (v.flag_3 != 0 ? 50.0 : 0.0)),
            "fine della zona di stazione");
        break;
      }
    }

    // Types below 25 get a stopping point just inside the zone end, with approach bytes before
    // it (not for types 5 and 6). Both must fall inside the route: otherwise the station is
    // refused with nothing of it kept.
    const bool con_fermata = v.tipo_voce < 25;
    const bool con_preavviso = con_fermata && v.tipo_voce != 5 && v.tipo_voce != 6;
    const double fine_zona = static_cast<double>(v.campo_2) / 50.0;
    if (con_fermata && arrotonda(fine_zona - 1.0) > m_.ultimo_tratto) {
      v = prima;
      return fuori_percorso(p);
    }

    if (banchina < 600) v.flag_4 = 0;
    if (cursore_stazioni_ == 1) {
      v.flag_3 = 0;
      v.flag_4 = 0;
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
        errore(24, std::nullopt);
        return Seguito::ferma;
      }
      Tratto& t = m_.tratto(arrotonda(s));
      t.oggetto = oggetto::fermata;
      t.valore_1 = static_cast<int16_t>(cursore_stazioni_);
    }

    if (cursore_stazioni_ > 1 &&
        int64_t{v.campo_1} - 350 < m_.elenco.at(static_cast<size_t>(cursore_stazioni_ - 1)).campo_2) {
      errore(22, p);
      return Seguito::ferma;
    }

    ++cursore_stazioni_;
    if (cursore_stazioni_ >= m_.cursore_cartelli) {
      errore(10, std::nullopt);
      return Seguito::ferma;
    }
    return Seguito::continua;
  }

  // Both profiles run on to the third stretch from the end; then the kilometric sections of the
  // line source are checked.
  void passi_finali() {
    do {
      m_.tratto(cursore_velocita_).velocita = quinto(velocita_corrente_);
      ++cursore_velocita_;
    } while (cursore_velocita_ < m_.ultimo_tratto - 2);
    do {
      m_.tratto(cursore_aderenza_).aderenza = bassi<uint8_t>(aderenza_corrente_);
      ++cursore_aderenza_;
    } while (cursore_aderenza_ < m_.ultimo_tratto - 2);

    for (int i : {voce::sezione_tre, voce::sezione_due, voce::sezione_uno}) {
      const Voce& sezione = m_.elenco[static_cast<size_t>(i)];
      if (sezione.campo_1 % 50 != 0 || sezione.campo_2 % 50 != 0) {
        run_.imposta_errore(2, std::nullopt, Luogo{},
                            "progressiva chilometrica con inizio " +
                                std::to_string(sezione.campo_1) + " e valore " +
                                std::to_string(sezione.campo_2) + ": non multipli di 50");
        return;
      }
    }
  }

  Esecuzione& run_;
  LettoreVoci& lettore_;
  Modello& m_;
  int32_t cursore_stazioni_ = 1;
  int32_t cursore_velocita_ = 0;
  int32_t velocita_corrente_ = 0;
  int32_t cursore_aderenza_ = 0;
  int32_t aderenza_corrente_ = 0;
};

}  // namespace

void fase_treno(Esecuzione& run, LettoreVoci& lettore) { FaseTreno(run, lettore).esegui(); }

}  // namespace compattatore
