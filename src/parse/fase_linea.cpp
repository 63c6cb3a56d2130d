// The line phase: reads the line source item by item into the route part of the model.
//
// The source is searched for "[generale]"; the general section then gives the route length
// (which sizes `tratti` and `tracciato`), the kilometric sections, the backgrounds and the signal
// repetition section, up to the next bracketed header. The feature section that follows gives
// gradients, curves, mountains, speed indicator boards and indicator boards with text. A keyword
// item read when nothing follows it (normally the closing "[fine]") is never interpreted.

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "io/sistema.h"
#include "model/cp1252.h"
#include "model/regole.h"
#include "parse/fase.h"
#include "parse/fasi.h"
#include "parse/lettore.h"
#include "parse/memo_indicatori_v_max.h"
#include "parse/memo_montagna.h"
#include "parse/progressive_ordina.h"
#include "parse/traccia.h"

namespace compattatore {
namespace {

inline constexpr int32_t kLunghezzaMassima = 1000000;

// A keyword item: `esatta` as read (for the tests where letter case matters) and `bassa` in
// lower case (for the others; every keyword is written in lower case).
struct Parola {
  std::string esatta;
  std::string bassa;
  explicit Parola(std::string v) : esatta(std::move(v)), bassa(cp1252::minuscole(esatta)) {}
};

// Curvature of a curve item: the first of the digits 1 to 6 it holds gives the class, an "s"
// turns it to the left.
std::optional<double> curvatura(const std::string& bassa) {
  static constexpr struct {
    char cifra;
    double k;
  } kClassi[] = {{'1', 0.0001}, {'2', 0.0002}, {'3', 0.0004},
                 {'4', 0.001},  {'5', 0.002},  {'6', 0.003}};
  for (const auto& c : kClassi) {
    if (bassa.find(c.cifra) != std::string::npos) return contiene(bassa, "s") ? -c.k : c.k;
  }
  return std::nullopt;
}

class FaseLinea : Fase {
 public:
  FaseLinea(Modello& m, Segnalatore& errori, LettoreVoci& lettore, const OpzioniLinea& opzioni)
      : Fase(m, errori, lettore),
        traccia_(opzioni.con_tracciato),
        taglio_(opzioni.taglio_percorso) {}

  EsitoLinea esegui() {
    if (trova_generale() && sezione_generale()) {
      tra_le_sezioni();
      if (sezione_elementi()) conclusione();
    }
    return {cursore_cartelli_};
  }

 private:
  bool trova_generale() {
    for (;;) {
      // An empty source has nothing to search: the same code as a source without the item.
      if (lettore_.a_fine()) {
        errore(Codice::manca_generale);
        return false;
      }
      const std::string letta = leggi();
      if (lettore_.a_fine()) {
        errore(Codice::manca_generale);
        return false;
      }
      if (contiene(cp1252::minuscole(letta), "[generale]")) return true;
    }
  }

  // Returns false when a code ends the phase.
  bool sezione_generale() {
    for (;;) {
      if (lettore_.a_fine()) return true;
      std::string letta = leggi();
      if (lettore_.a_fine()) return true;
      // Up to ten items in a row holding "-" are passed over, without looking for the end.
      salta_trattini(letta, 10, false);
      const Parola p(letta);
      const std::string& e = p.esatta;
      const std::string& b = p.bassa;

      if (contiene(b, "percorso") && contiene(b, "lunghezza")) {
        const int32_t lunghezza = lettore_.leggi_i32();
        m_.elenco[voce::figure_treno].campo_2 = lunghezza;
        if (lunghezza < 0 || lunghezza > kLunghezzaMassima) {
          errore(Codice::lunghezza_fuori_campo);
          return false;
        }
        m_.crea_tratti(std::min(lunghezza, taglio_), traccia_);
        if (traccia_) consiglia_pagine_grandi(m_.tracciato.memoria());
      }
      if (contiene(e, "tre") && contiene(e, "progressiva")) leggi_sezione(voce::sezione_tre);
      if (contiene(e, "due") && contiene(e, "progressiva")) leggi_sezione(voce::sezione_due);
      if (contiene(e, "uno") && contiene(e, "progressiva")) leggi_sezione(voce::sezione_uno);
      Voce& intestazione = m_.elenco[voce::intestazione];
      if (contiene(e, "sfondo") && contiene(e, "uno")) intestazione.campo_1 = lettore_.leggi_i32();
      if (contiene(e, "sfondo") && contiene(e, "due")) intestazione.campo_3 = lettore_.leggi_i32();
      if (contiene(e, "sfondo") && contiene(e, "tre")) intestazione.campo_2 = lettore_.leggi_i32();
      if (contiene(e, "segnali") && contiene(e, "ripetizione") && !ripetizione(b)) return false;

      if (contiene(b, "[") && contiene(b, "]") && !inizia_con_trattino(letta)) return true;
    }
  }

  void leggi_sezione(int indice) {
    Voce& v = m_.elenco[static_cast<size_t>(indice)];
    v.campo_1 = lettore_.leggi_i32();
    v.campo_2 = lettore_.leggi_i32();
    v.campo_3 = lettore_.leggi_i32();
  }

  // The signal repetition section and its code count; false when a code ends the phase.
  bool ripetizione(const std::string& bassa) {
    Voce& v = m_.elenco[voce::treno];
    const int32_t inizio = lettore_.leggi_i32();
    const int32_t fine = lettore_.leggi_i32();
    v.campo_1 = inizio;
    v.campo_2 = fine;
    if (inizio % 50 != 0) {
      errore(Codice::ripetizione_inizio);
      return false;
    }
    if (fine % 50 != 0) {
      errore(Codice::ripetizione_fine);
      return false;
    }
    if (contiene(bassa, "4")) {
      v.campo_3 = 4;
    } else if (contiene(bassa, "9")) {
      v.campo_3 = 9;
    } else {
      errore(Codice::ripetizione_codici);
      return false;
    }
    if (fine == 0) v.campo_3 = 0;
    return true;
  }

  static bool inizia_con_trattino(std::string_view voce) {
    const size_t i = voce.find_first_not_of(" \t");
    return i != std::string_view::npos && voce[i] == '-';
  }

  void tra_le_sezioni() {
    progressive_ordina(m_.elenco);
    // Everything after this point works on the stretches (and the plan).
    if (!m_.dimensionato()) {
      throw GuastoEsecuzione("la sezione [generale] non ha la voce \"lunghezza percorso\"");
    }
    if (traccia_) {
      Tracciato& t = m_.tracciato;
      t.imposta_intero(0, Asse::x, 0);
      t.imposta_intero(0, Asse::y, 0);
      t.imposta_intero(1, Asse::x, 0);
      t.imposta_intero(1, Asse::y, 1);
    }
  }

  // Returns false when a code ends the phase; true when the finishing steps follow (at the end
  // of the source, or after a position outside the route).
  bool sezione_elementi() {
    for (;;) {
      if (lettore_.a_fine()) return true;
      std::string letta = leggi();
      if (lettore_.a_fine()) return true;
      // Up to two items in a row holding "-" are passed over; the end ends the section.
      if (!salta_trattini(letta, 2, true)) return true;
      switch (elemento(Parola(letta))) {
        case Seguito::avanti:
          break;
        case Seguito::esci:
          return true;
        case Seguito::ferma:
          return false;
      }
    }
  }

  // Applies every feature row that the keyword item matches, in order.
  Seguito elemento(const Parola& p) {
    const std::string& b = p.bassa;
    if (contiene(b, "pendenza")) {
      const int32_t posizione = lettore_.leggi_i32();
      const int32_t pendenza = lettore_.leggi_i32();
      if (!nel_percorso(m_.ultimo_tratto(), posizione)) return fuori_percorso(posizione);
      const int32_t n = cinquantesimi(posizione);
      if (n > 0) riempi_pendenza(n);
      pendenza_.valore = pendenza;
    }
    if (traccia_ && contiene(b, "curva")) {
      const int32_t posizione = lettore_.leggi_i32();
      const int32_t lunghezza = lettore_.leggi_i32();
      if (!nel_percorso(m_.ultimo_tratto(), posizione)) return fuori_percorso(posizione);
      const std::optional<double> k = curvatura(b);
      if (!k || traccia_curva(m_.tracciato, metro_, posizione, lunghezza, *k) != Codice::nessuno) {
        errore(Codice::curva_errata);
        return Seguito::ferma;
      }
    }
    if (contiene(b, "montagna")) {
      const int32_t inizio = lettore_.leggi_i32();
      const int32_t fine = lettore_.leggi_i32();
      int32_t tipo = lettore_.leggi_i32();
      if (!nel_percorso(m_.ultimo_tratto(), inizio)) return fuori_percorso(inizio);
      const Codice esito = memo_montagna(m_, montagne_, inizio, fine, tipo);
      // The start is in the route: a refused range is the end's fault.
      if (esito == Codice::fuori_percorso) return fuori_percorso(fine);
      if (esito != Codice::nessuno) {
        errore(esito, inizio);
        return Seguito::ferma;
      }
    }
    if (contiene(b, "indicatori_v")) {
      int32_t n[9];
      for (int32_t& v : n) v = lettore_.leggi_i32();
      if (!nel_percorso(m_.ultimo_tratto(), n[0])) return fuori_percorso(n[0]);
      const Codice esito =
          memo_indicatori_v_max(m_, n[0], n[1], n[2], n[3], n[4], n[5], n[6], n[7], n[8]);
      if (esito != Codice::nessuno) {
        errore(esito, n[0]);
        return Seguito::ferma;
      }
    }
    if (contiene(b, "indicat") && contiene(b, "cartello")) {
      const int32_t posizione = lettore_.leggi_i32();
      const std::string testo = testo_entro(leggi(), "testo del cartello");
      if (!nel_percorso(m_.ultimo_tratto(), posizione)) return fuori_percorso(posizione);
      const Codice esito = cartello(posizione, testo);
      if (esito != Codice::nessuno) {
        errore(esito, posizione);
        return Seguito::ferma;
      }
    }
    return Seguito::avanti;
  }

  // The gradient of a stretch: the previous gradient item's value + 100.
  void scrivi_pendenza(int32_t s, int32_t pendenza) {
    m_.tratto(s).pendenza = entro<uint8_t>(int64_t{pendenza} + 100, "pendenza + 100");
  }
  void riempi_pendenza(int32_t fino) {
    pendenza_.riempi(fino, [this](int32_t s, int32_t v) { scrivi_pendenza(s, v); });
  }

  // An indicator board with its text in the next free board entry of `elenco`.
  Codice cartello(int32_t posizione, const std::string& testo) {
    if (cursore_cartelli_ < 1) return Codice::troppi_cartelli;
    Tratto& t = m_.tratto(tratto_di(posizione));
    if (!libero(t)) return Codice::cartello_occupato;
    t.oggetto = oggetto::cartello;
    t.valore_1 = entro<int16_t>(cursore_cartelli_, "indice del cartello");
    m_.elenco[static_cast<size_t>(cursore_cartelli_)].testo = testo;
    --cursore_cartelli_;
    return Codice::nessuno;
  }

  // Gradients up to the last three stretches, which keep 0; the plan straight on to the end.
  void conclusione() {
    const int32_t fino = m_.ultimo_tratto() - 2;
    if (pendenza_.cursore < fino) riempi_pendenza(fino);
    if (traccia_) traccia_rettilineo(m_.tracciato, metro_, int64_t{m_.metri_totali} - 2);
  }

  const bool traccia_;
  const int32_t taglio_;
  Profilo pendenza_;                                 // the gradient profile
  int32_t metro_ = 2;                                // next point of the route plan
  Montagne montagne_;                                // mountains stored so far
  int32_t cursore_cartelli_ = voce::primo_cartello;  // next free board entry of `elenco`
};

}  // namespace

EsitoLinea fase_linea(Modello& m, Segnalatore& errori, LettoreVoci& lettore,
                      const OpzioniLinea& opzioni) {
  return FaseLinea(m, errori, lettore, opzioni).esegui();
}

}  // namespace compattatore
