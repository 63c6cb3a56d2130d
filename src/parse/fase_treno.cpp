// The train phase: train figures, speed and adhesion profiles, stations, code change and cut
// points, signals and slowdowns, read from the train source into the model.

#include <climits>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/cp1252.h"
#include "model/parole.h"
#include "model/regole.h"
#include "parse/fase.h"
#include "parse/fasi.h"
#include "parse/lettore.h"
#include "parse/memo_rallentamento.h"
#include "parse/memo_segnale.h"

namespace compattatore {
namespace {

// The range rule's margin for a station: its position may reach the route length + the value's
// limit.
constexpr auto kMargineStazione =
    static_cast<int32_t>(kCodaPercorso - riga(ValoreChiave::stazione_P).intervallo.massimo);

class FaseTreno : Fase {
 public:
  FaseTreno(Modello& m, Segnalatore& errori, LettoreVoci& lettore, const OpzioniTreno& opzioni)
      : Fase(m, errori, lettore, opzioni.origini),
        cursore_cartelli_(opzioni.cursore_cartelli),
        progressive_(opzioni.progressive) {}

  void esegui() {
    if (!trova_generale()) {
      passi_finali();
      avvisi_taciuti();
      return;
    }
    const Seguito s = ciclo();
    if (s != Seguito::ferma) passi_finali();
    if (s == Seguito::avanti) {
      controlla_fine();
      if (cursore_stazioni_ == 1) {
        avviso_file(Avviso::senza_stazioni,
                    "il file del treno non ha stazioni: il treno non ha fermate né orario");
      }
    }
    avvisi_taciuti();
  }

 private:
  // Everything before the header is passed over; without a header nothing is read, and a
  // warning says so (at an item that looks like a slip for it, when there is one).
  bool trova_generale() {
    std::optional<Posto> simile;
    bool vuoto = true;
    while (!lettore_.a_fine()) {
      const std::string letta = leggi();
      if (contiene(cp1252::minuscole(letta), riga(Chiave::generale_treno).forma)) return true;
      if (!letta.empty()) vuoto = false;
      if (!simile && lettore_.prima_della_riga() && quasi_generale(letta)) {
        simile = lettore_.posto();
      }
    }
    if (simile) {
      avviso(Avviso::senza_generale, *simile,
             "questa voce non è [generale]: senza [generale] il file del treno non è letto");
    } else {
      avviso_file(Avviso::senza_generale,
                  vuoto ? "il file del treno è vuoto: nessun dato del treno è letto"
                        : "il file del treno non ha la riga [generale]: nessun dato del treno "
                          "è letto");
    }
    return false;
  }

  Seguito ciclo() {
    while (!lettore_.a_fine()) {
      std::string letta = leggi();
      // The last item of the source is never interpreted as a keyword.
      if (lettore_.a_fine()) {
        ultima_voce(letta);
        return Seguito::avanti;
      }
      // Items with a dash are passed over, at most two in a row.
      if (!salta_trattini(letta, 2, true)) return Seguito::avanti;
      const Seguito s = parole_chiave(parola(letta));
      if (s != Seguito::avanti) return s;
    }
    return Seguito::avanti;
  }

  /// Every test is made on the same item, in the order of the tests; each one that matches reads
  /// its numbers.
  Seguito parole_chiave(const Parola& p) {
    const Lette lette = leggi_come(p, Ambito::treno);
    if (lette.chiavi.empty()) {
      sconosciuta(p, Ambito::treno);
      return Seguito::avanti;
    }
    return leggi_parole(p, lette, [&](Chiave c) { return leggi_parola(c, p); });
  }

  Seguito leggi_parola(Chiave c, const Parola& p) {
    switch (c) {
      case Chiave::percentuale_massa_frenata:
        m_.elenco[voce::figure_treno].campo_1 =
            valore(ValoreChiave::percentuale_massa_frenata_n).valore;
        return Seguito::avanti;
      case Chiave::numero_vetture:
        m_.elenco[voce::figure_treno].campo_3 = valore(ValoreChiave::numero_vetture_n).valore;
        return Seguito::avanti;
      case Chiave::velocita:
        return velocita();
      case Chiave::aderenza:
        return aderenza();
      case Chiave::orologio: {
        Voce& t = m_.elenco[voce::treno];
        t.intero_3 = static_cast<int16_t>(valore(ValoreChiave::orologio_ore).valore);
        t.intero_4 = static_cast<int16_t>(valore(ValoreChiave::orologio_minuti).valore);
        t.intero_5 = static_cast<int16_t>(valore(ValoreChiave::orologio_secondi).valore);
        return Seguito::avanti;
      }
      case Chiave::sabbia:
        m_.elenco[voce::treno].intero_1 =
            static_cast<int16_t>(valore(ValoreChiave::sabbia_n).valore);
        return Seguito::avanti;
      case Chiave::segnale:
        return segnale(p);
      case Chiave::rallentamento:
        return rallentamento(p);
      case Chiave::abbattimento:
        return abbattimento(p);
      case Chiave::stazione:
        return stazione(p);
      default:
        throw std::logic_error(std::string("nessuna lettura per ") + riga(c).nome);
    }
  }

  /// The speed limit of a stretch: km/h in units of 5, rounded; a value outside 0 to 255 is the
  /// run-time fault, at the item where that speed was written.
  void riempi_velocita(int32_t fino, std::optional<int32_t> arresto = std::nullopt) {
    velocita_.riempi(
        fino,
        [this](int32_t s, int32_t kmh) {
          const int64_t quinti = arrotonda(static_cast<double>(kmh) / 5.0);
          if (quinti < 0 || quinti > 255) {
            non_entra(velocita_.origine);
          }
          m_.tratto(s).velocita = static_cast<uint8_t>(quinti);
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
    const Numero p = valore(ValoreChiave::velocita_P);
    const Numero kmh = valore(ValoreChiave::velocita_v);
    if (!nel_percorso(m_.ultimo_tratto(), p.valore)) return fuori_percorso(p);
    oltre_la_linea(p);
    const int32_t n = cinquantesimi(p.valore);
    if (n > 0) riempi_velocita(n, m_.ultimo_tratto());
    velocita_.valore = kmh.valore;
    velocita_.origine = kmh;
    return Seguito::avanti;
  }

  // The same for the adhesion; a fill past the last stretch is the run-time fault.
  Seguito aderenza() {
    const Numero p = valore(ValoreChiave::aderenza_P);
    const Numero a = valore(ValoreChiave::aderenza_a);
    if (!nel_percorso(m_.ultimo_tratto(), p.valore)) return fuori_percorso(p);
    oltre_la_linea(p);
    const int32_t n = cinquantesimi(p.valore);
    if (n > 0) riempi_aderenza(n);
    aderenza_.valore = a.valore;
    aderenza_.origine = a;
    return Seguito::avanti;
  }

  /// After a signal or a slowdown: a code of the routine, or one already standing from the line
  /// phase, stops the phase with the line's position.
  Seguito dopo_routine(Codice codice, const Numero& posizione, int64_t tratto) {
    if (codice == Codice::fuori_percorso) return fuori_percorso(posizione);
    if (codice != Codice::nessuno) {
      occupato(codice, posizione, tratto);
      return Seguito::ferma;
    }
    if (const Codice prima = errori_.codice_errore(); prima != Codice::nessuno) {
      errore(prima, posizione.posto, posizione.valore,
             "il codice " + std::to_string(compattatore::numero(prima)) +
                 " del file della linea è ancora nella parola d'errore: la lettura del treno si "
                 "ferma al primo segnale o rallentamento");
      return Seguito::ferma;
    }
    return Seguito::avanti;
  }

  Seguito segnale(const Parola& p) {
    Segnale s;
    const std::span<const RigaValore> righe = valori(Chiave::segnale);
    const Numero posizione = valore(righe[0].valore);
    s.posizione = posizione.valore;
    size_t i = 1;
    for (int32_t* campo :
         {&s.sx, &s.s1, &s.s2, &s.s3, &s.rapp, &s.dx, &s.d1, &s.d2, &s.d3, &s.tempo}) {
      *campo = valore(righe[i++].valore).valore;
    }
    if (!nel_percorso(m_.ultimo_tratto(), s.posizione)) return fuori_percorso(posizione);
    oltre_la_linea(posizione);
    const int32_t tratto = tratto_di(s.posizione);
    const Codice esito = memo_segnale(m_, s);
    if (esito == Codice::nessuno) origine(tratto, p.posto);
    return dopo_routine(esito, posizione, tratto);
  }

  Seguito rallentamento(const Parola& p) {
    Rallentamento r;
    const std::span<const RigaValore> righe = valori(Chiave::rallentamento);
    const Numero x = valore(righe[0].valore);
    r.x = x.valore;
    r.v = valore(righe[1].valore).valore;
    const Numero l = valore(righe[2].valore);
    r.l = l.valore;
    r.f_tt = valore(righe[3].valore).valore;
    r.f_ta = valore(righe[4].valore).valore;
    r.d_v = valore(righe[5].valore).valore;
    if (!nel_percorso(m_.ultimo_tratto(), r.x)) return fuori_percorso(x);
    oltre_la_linea(x);
    const TrattiRallentamento t = tratti_rallentamento(r);
    const Codice esito = memo_rallentamento(m_, r);
    // A slowdown that starts in the route and ends outside it leaves it by its length.
    const auto fuori = [this](int64_t k) { return k < 0 || k > m_.ultimo_tratto(); };
    if (esito == Codice::fuori_percorso && !fuori(t.inizio) && fuori(t.fine)) {
      return fuori_percorso(l, x.valore);
    }
    int64_t conteso = 0;
    switch (esito) {
      case Codice::avviso_occupato:
        conteso = t.avviso;
        break;
      case Codice::inizio_rallentamento_occupato:
        conteso = t.inizio;
        break;
      case Codice::fine_rallentamento_occupata:
        conteso = t.fine;
        break;
      case Codice::preavvisi_occupati:
        for (int64_t k = 0; k <= 3; ++k) {
          if (!libero(m_.tratto(t.marcati - k))) {
            conteso = t.marcati - k;
            break;
          }
        }
        [[fallthrough]];
      case Codice::nessuno:
        // What was stored: the end, the start (which wins a shared stretch), the warning board,
        // then the marks. A slowdown whose length is not above 0 ends where it starts or before:
        // what the code-marker pass then finds on its start and end is the length's doing.
        if (r.l > 0) {
          origine(t.fine, p.posto);
          origine(t.inizio, p.posto);
        } else {
          origine(t.fine, l);
          origine(t.inizio, l);
        }
        if (t.con_avviso) origine(t.avviso, p.posto);
        if (t.con_marcati && esito == Codice::nessuno) {
          for (int64_t k = 0; k <= 3; ++k) origine(t.marcati - k, p.posto);
        }
        break;
      default:
        break;
    }
    return dopo_routine(esito, x, conteso);
  }

  // A code change point (code value 1 or more) or a code cut point (below 1, also "AC") on
  // stretch p / 50, one before the stretch of a point object.
  Seguito abbattimento(const Parola& p) {
    const Numero posizione = valore(ValoreChiave::abbattimento_P);
    const int32_t codice = valore(ValoreChiave::abbattimento_c).valore;
    if (!nel_percorso(m_.ultimo_tratto(), posizione.valore)) return fuori_percorso(posizione);
    oltre_la_linea(posizione);
    const int32_t s = cinquantesimi(posizione.valore);
    Tratto& t = m_.tratto(s);
    if (!libero(t)) {
      occupato(Codice::abbattimento_occupato, posizione, s);
      return Seguito::ferma;
    }
    if (codice < 1) {
      t.oggetto = oggetto::taglio_codice;
    } else {
      t.oggetto = oggetto::cambio_codice;
      t.valore_1 = bassi<int16_t>(codice);
    }
    origine(s, p.posto);
    return Seguito::avanti;
  }

  // A station in the next station entry of `elenco`. Its 17 items are stored the moment they are
  // read, so a station stopped by an error keeps what was read before it.
  Seguito stazione(const Parola& p) {
    // Board texts hold the entries above `cursore_cartelli_`: with 80 boards even the first
    // station has no entry of its own, and is refused before it overwrites a board text.
    if (cursore_stazioni_ > cursore_cartelli_) {
      errore(Codice::troppe_stazioni, p.posto, std::nullopt);
      return Seguito::ferma;
    }
    Voce& v = m_.elenco.at(static_cast<size_t>(cursore_stazioni_));
    const Voce prima = v;
    int32_t banchina = 0;
    Numero posizione;
    if (const Seguito s = leggi_stazione(v, posizione, banchina); s != Seguito::avanti) return s;
    zona(v, banchina);
    if (banchina < 600) v.flag_4 = 0;
    if (cursore_stazioni_ == 1) {
      v.flag_3 = 0;
      v.flag_4 = 0;
    }
    if (const Seguito s = fermata(v, prima, p, posizione); s != Seguito::avanti) return s;
    return controlli_stazione(v, p, posizione);
  }

  // The 17 items of a station line. The position is checked as soon as it is read, the platform
  // length as soon as it is read; the rest is stored as read.
  Seguito leggi_stazione(Voce& v, Numero& posizione, int32_t& banchina) {
    posizione = valore(ValoreChiave::stazione_P);
    const int32_t p = posizione.valore;
    if (p < 0) return fuori_percorso(posizione);
    v.campo_3 = p;
    if (!nel_percorso(m_.ultimo_tratto(), p, kMargineStazione)) return fuori_percorso(posizione);
    if (p % 50 != 0) {
      errore_al_valore(Codice::stazione_non_multipla, posizione, p, p);
      return Seguito::ferma;
    }
    oltre_la_linea(posizione);
    v.tipo_voce = static_cast<uint8_t>(valore(ValoreChiave::stazione_tipo).valore);
    const Numero l = valore(ValoreChiave::stazione_L);
    banchina = l.valore;
    if (banchina % 100 != 0) {
      errore_al_valore(Codice::marciapiede_non_multiplo, l, p);
      return Seguito::ferma;
    }
    auto u8 = [this](ValoreChiave c) { return static_cast<uint8_t>(valore(c).valore); };
    auto i16 = [this](ValoreChiave c) { return static_cast<int16_t>(valore(c).valore); };
    v.opzione = u8(ValoreChiave::stazione_opzione);
    v.flag_4 = u8(ValoreChiave::stazione_flag_4);
    v.flag_3 = u8(ValoreChiave::stazione_flag_3);
    v.intero_1 = i16(ValoreChiave::stazione_intero_1);
    v.intero_2 = i16(ValoreChiave::stazione_intero_2);
    v.flag_1 = u8(ValoreChiave::stazione_flag_1);
    v.intero_3 = i16(ValoreChiave::stazione_intero_3);
    v.intero_4 = i16(ValoreChiave::stazione_intero_4);
    v.intero_5 = i16(ValoreChiave::stazione_intero_5);
    v.flag_2 = u8(ValoreChiave::stazione_sosta);
    const Numero ore = valore(ValoreChiave::stazione_ore);
    const int64_t minuti = valore(ValoreChiave::stazione_minuti).valore;
    const int64_t secondi = valore(ValoreChiave::stazione_secondi).valore;
    const int64_t orario = (int64_t{ore.valore} * 60 + minuti) * 60 + secondi;
    if (orario < INT32_MIN || orario > INT32_MAX) {
      throw GuastoAlLuogo(
          "orario della stazione: " + std::to_string(orario) + " non entra nel campo",
          lettore_.luogo(LettoreVoci::da_a(ore.posto, lettore_.posto())));
    }
    v.orario = static_cast<int32_t>(orario);
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
  Seguito fermata(Voce& v, const Voce& prima, const Parola& p, const Numero& posizione) {
    const bool con_fermata = v.tipo_voce < 25;
    const bool con_preavviso = con_fermata && v.tipo_voce != 5 && v.tipo_voce != 6;
    const double fine_zona = static_cast<double>(v.campo_2) / 50.0;
    if (con_fermata && arrotonda(fine_zona - 1.0) > m_.ultimo_tratto()) {
      v = prima;
      return fuori_percorso(posizione);
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
        errore(Codice::fermata_troppo_vicina, posizione.posto, std::nullopt,
               "la zona della stazione finisce a " + std::to_string(v.campo_2) + " m");
        return Seguito::ferma;
      }
      const int64_t i = arrotonda(s);
      Tratto& t = m_.tratto(i);
      t.oggetto = oggetto::fermata;
      t.valore_1 = static_cast<int16_t>(cursore_stazioni_);
      origine(i, p.posto);
    }
    return Seguito::avanti;
  }

  // The distance from the previous station, then the next entry: it must stay below the board
  // texts.
  Seguito controlli_stazione(const Voce& v, const Parola& p, const Numero& posizione) {
    if (cursore_stazioni_ > 1) {
      const Voce& precedente = m_.elenco.at(static_cast<size_t>(cursore_stazioni_ - 1));
      if (int64_t{v.campo_1} - 350 < precedente.campo_2) {
        std::vector<Nota> note;
        if (luogo_precedente_.riga > 0) {
          note.push_back(Nota{lettore_.luogo(luogo_precedente_),
                              "la stazione precedente, la cui zona finisce a " +
                                  std::to_string(precedente.campo_2) + " m"});
        }
        errore(Codice::stazioni_vicine, posizione.posto, v.campo_3,
               "la zona comincia a " + std::to_string(v.campo_1) + " m", std::move(note));
        return Seguito::ferma;
      }
    }
    luogo_precedente_ = p.posto;
    ++cursore_stazioni_;
    if (cursore_stazioni_ >= cursore_cartelli_) {
      errore(Codice::troppe_stazioni, p.posto, std::nullopt);
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
        progressiva_non_multipla(sezione);
        return;
      }
    }
  }

  // Code 2 at the item of the line source where the faulty start or value was written. The
  // sections were reordered and a value may have 100 added since.
  void progressiva_non_multipla(const Voce& sezione) {
    for (const ProgressivaLetta& l : progressive_) {
      if (l.inizio != sezione.campo_1) continue;
      if (l.valore != sezione.campo_2 && int64_t{l.valore} + 100 != sezione.campo_2) continue;
      const bool inizio = sezione.campo_1 % 50 != 0;
      Segnalazione s{Codice::progressiva_non_multipla, std::nullopt,
                     inizio ? l.luogo_inizio : l.luogo_valore};
      s.valore = inizio ? l.scritto_inizio : l.scritto_valore;
      s.dettaglio = detto(*s.valore);
      errori_.ricevi(std::move(s));
      return;
    }
    errori_.segnala(Codice::progressiva_non_multipla, std::nullopt, Luogo{},
                    "progressiva chilometrica con inizio " + std::to_string(sezione.campo_1) +
                        " e valore " + std::to_string(sezione.campo_2) + ": non multipli di 50");
  }

  const int32_t cursore_cartelli_;  // first board entry of `elenco` taken, plus one
  const std::vector<ProgressivaLetta>& progressive_;
  int32_t cursore_stazioni_ = 1;  // next station entry of `elenco`
  Profilo velocita_;              // the speed profile, km/h
  Profilo aderenza_;              // the adhesion profile
  Posto luogo_precedente_;        // the keyword item of the last station stored
};

}  // namespace

void fase_treno(Modello& m, Segnalatore& errori, LettoreVoci& lettore,
                const OpzioniTreno& opzioni) {
  FaseTreno(m, errori, lettore, opzioni).esegui();
}

}  // namespace compattatore
