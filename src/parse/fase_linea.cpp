// The line phase: reads the line source item by item into the route part of the model.
//
// The source is searched for "[generale]"; the general section then gives the route length
// (which sizes `tratti` and `tracciato`), the kilometric sections, the backgrounds and the signal
// repetition section, up to the next bracketed header. The feature section that follows gives
// gradients, curves, mountains, speed indicator boards and indicator boards with text. A keyword
// item read when nothing follows it (normally the closing "[fine]") is never interpreted.

#include <optional>
#include <string>
#include <string_view>

#include "app/esecuzione.h"
#include "model/cp1252.h"
#include "model/regole.h"
#include "parse/codici_linea.h"
#include "parse/lettore.h"
#include "parse/memo_indicatori_v_max.h"
#include "parse/memo_montagna.h"
#include "parse/memorizza_dati.h"
#include "parse/progressive_ordina.h"
#include "parse/traccia.h"

namespace compattatore {
namespace {

inline constexpr int32_t kLunghezzaMassima = 1000000;

bool contiene(std::string_view voce, std::string_view cosa) {
  return voce.find(cosa) != std::string_view::npos;
}

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

class FaseLinea {
 public:
  FaseLinea(Esecuzione& run, LettoreVoci& lettore)
      : run_(run), l_(lettore), m_(run.modello), traccia_(run.flag_linea != 0) {}

  void esegui() {
    if (!trova_generale()) return;
    if (!sezione_generale()) return;
    tra_le_sezioni();
    if (!sezione_elementi()) return;
    conclusione();
  }

 private:
  // How a feature line ended.
  enum class Seguito { avanti, fuori_percorso, fermo };

  void errore(int32_t codice, std::optional<int32_t> posizione = std::nullopt) {
    run_.imposta_errore(codice, posizione, l_.luogo());
  }

  std::string leggi() {
    m_.elemento_letto = l_.leggi_testo();
    return m_.elemento_letto;
  }

  bool trova_generale() {
    for (;;) {
      // An empty source has nothing to search: the same code as a source without the item.
      if (l_.a_fine()) {
        errore(codice::manca_generale);
        return false;
      }
      const std::string letta = leggi();
      if (l_.a_fine()) {
        errore(codice::manca_generale);
        return false;
      }
      if (contiene(cp1252::minuscole(letta), "[generale]")) return true;
    }
  }

  // Returns false when a code ends the phase.
  bool sezione_generale() {
    for (;;) {
      if (l_.a_fine()) return true;
      std::string letta = leggi();
      if (l_.a_fine()) return true;
      // Up to ten items in a row holding "-" are passed over, without looking for the end.
      for (int i = 0; i < 10 && contiene(letta, "-"); ++i) letta = leggi();
      const Parola p(letta);
      const std::string& e = p.esatta;
      const std::string& b = p.bassa;

      if (contiene(b, "percorso") && contiene(b, "lunghezza")) {
        const int32_t lunghezza = l_.leggi_i32();
        m_.elenco[voce::figure_treno].campo_2 = lunghezza;
        if (lunghezza < 0 || lunghezza > kLunghezzaMassima) {
          errore(codice::lunghezza_fuori_campo);
          return false;
        }
        m_.crea_tratti(lunghezza, traccia_);
      }
      if (contiene(e, "tre") && contiene(e, "progressiva")) leggi_sezione(voce::sezione_tre);
      if (contiene(e, "due") && contiene(e, "progressiva")) leggi_sezione(voce::sezione_due);
      if (contiene(e, "uno") && contiene(e, "progressiva")) leggi_sezione(voce::sezione_uno);
      Voce& intestazione = m_.elenco[voce::intestazione];
      if (contiene(e, "sfondo") && contiene(e, "uno")) intestazione.campo_1 = l_.leggi_i32();
      if (contiene(e, "sfondo") && contiene(e, "due")) intestazione.campo_3 = l_.leggi_i32();
      if (contiene(e, "sfondo") && contiene(e, "tre")) intestazione.campo_2 = l_.leggi_i32();
      if (contiene(e, "segnali") && contiene(e, "ripetizione") && !ripetizione(b)) return false;

      if (contiene(b, "[") && contiene(b, "]") && !inizia_con_trattino(letta)) return true;
    }
  }

  void leggi_sezione(int indice) {
    Voce& v = m_.elenco[static_cast<size_t>(indice)];
    v.campo_1 = l_.leggi_i32();
    v.campo_2 = l_.leggi_i32();
    v.campo_3 = l_.leggi_i32();
  }

  // The signal repetition section and its code count; false when a code ends the phase.
  bool ripetizione(const std::string& bassa) {
    Voce& v = m_.elenco[voce::treno];
    const int32_t inizio = l_.leggi_i32();
    const int32_t fine = l_.leggi_i32();
    v.campo_1 = inizio;
    v.campo_2 = fine;
    if (inizio % 50 != 0) {
      errore(codice::ripetizione_inizio);
      return false;
    }
    if (fine % 50 != 0) {
      errore(codice::ripetizione_fine);
      return false;
    }
    if (contiene(bassa, "4")) {
      v.campo_3 = 4;
    } else if (contiene(bassa, "9")) {
      v.campo_3 = 9;
    } else {
      errore(codice::ripetizione_codici);
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
    m_.numero_montagne = 0;
    m_.cursore_cartelli = voce::primo_cartello;
    cursore_pendenza_ = 0;
    metro_ = 2;
    // Everything after this point works on the stretches (and the plan).
    if (!m_.dimensionato()) {
      throw GuastoEsecuzione("la sezione [generale] non ha la voce \"lunghezza percorso\"");
    }
    if (traccia_) {
      m_.tracciato.x[0] = int16_t{0};
      m_.tracciato.y[0] = int16_t{0};
      m_.tracciato.x[1] = int16_t{0};
      m_.tracciato.y[1] = int16_t{1};
    }
  }

  // Returns false when a code ends the phase; true when the finishing steps follow (at the end
  // of the source, or after a position outside the route).
  bool sezione_elementi() {
    for (;;) {
      if (l_.a_fine()) return true;
      std::string letta = leggi();
      if (l_.a_fine()) return true;
      // Up to two items in a row holding "-" are passed over; the end ends the section.
      if (contiene(letta, "-")) {
        letta = leggi();
        if (l_.a_fine()) return true;
        if (contiene(letta, "-")) {
          letta = leggi();
          if (l_.a_fine()) return true;
        }
      }
      switch (elemento(Parola(letta))) {
        case Seguito::avanti: break;
        case Seguito::fuori_percorso: return true;
        case Seguito::fermo: return false;
      }
    }
  }

  // Applies every feature row that the keyword item matches, in order.
  Seguito elemento(const Parola& p) {
    const std::string& b = p.bassa;
    if (contiene(b, "pendenza")) {
      const int32_t posizione = l_.leggi_i32();
      const int32_t pendenza = l_.leggi_i32();
      if (!nel_percorso(m_.ultimo_tratto, posizione)) return fuori_percorso(posizione);
      riempi_pendenza(cinquantesimi(posizione));
      pendenza_precedente_ = pendenza;
    }
    if (traccia_ && contiene(b, "curva")) {
      const int32_t posizione = l_.leggi_i32();
      const int32_t lunghezza = l_.leggi_i32();
      if (!nel_percorso(m_.ultimo_tratto, posizione)) return fuori_percorso(posizione);
      const std::optional<double> k = curvatura(b);
      if (!k || traccia_curva(m_.tracciato, metro_, posizione, lunghezza, *k) != 0) {
        errore(codice::curva_errata);
        return Seguito::fermo;
      }
    }
    if (contiene(b, "montagna")) {
      const int32_t inizio = l_.leggi_i32();
      const int32_t fine = l_.leggi_i32();
      int32_t tipo = l_.leggi_i32();
      if (!nel_percorso(m_.ultimo_tratto, inizio)) return fuori_percorso(inizio);
      const int32_t esito = memo_montagna(m_, inizio, fine, tipo);
      // The start is in the route: a refused range is the end's fault.
      if (esito == codice::fuori_percorso) return fuori_percorso(fine);
      if (esito != 0) {
        errore(esito, inizio);
        return Seguito::fermo;
      }
    }
    if (contiene(b, "indicatori_v")) {
      int32_t n[9];
      for (int32_t& v : n) v = l_.leggi_i32();
      if (!nel_percorso(m_.ultimo_tratto, n[0])) return fuori_percorso(n[0]);
      const int32_t esito =
          memo_indicatori_v_max(m_, n[0], n[1], n[2], n[3], n[4], n[5], n[6], n[7], n[8]);
      if (esito != 0) {
        errore(esito, n[0]);
        return Seguito::fermo;
      }
    }
    if (contiene(b, "indicat") && contiene(b, "cartello")) {
      const int32_t posizione = l_.leggi_i32();
      const std::string testo = testo_entro(leggi(), "testo del cartello");
      if (!nel_percorso(m_.ultimo_tratto, posizione)) return fuori_percorso(posizione);
      const int32_t esito = cartello(posizione, testo);
      if (esito != 0) {
        errore(esito, posizione);
        return Seguito::fermo;
      }
    }
    return Seguito::avanti;
  }

  Seguito fuori_percorso(int32_t posizione) {
    errore(codice::fuori_percorso, posizione);
    return Seguito::fuori_percorso;
  }

  // Writes the previous gradient from the cursor up to stretch n (at least one stretch).
  void riempi_pendenza(int32_t n) {
    if (n <= 0) return;
    do {
      scrivi_pendenza();
    } while (cursore_pendenza_ < n);
  }

  void scrivi_pendenza() {
    m_.tratto(cursore_pendenza_).pendenza =
        entro<uint8_t>(int64_t{pendenza_precedente_} + 100, "pendenza + 100");
    ++cursore_pendenza_;
  }

  // An indicator board with its text in the next free board entry of `elenco`.
  int32_t cartello(int32_t posizione, const std::string& testo) {
    if (m_.cursore_cartelli < 1) return codice::troppi_cartelli;
    Tratto& t = m_.tratto(tratto_di(posizione));
    if (!libero(t)) return codice::cartello_occupato;
    t.oggetto = oggetto::cartello;
    t.valore_1 = entro<int16_t>(m_.cursore_cartelli, "indice del cartello");
    m_.elenco[static_cast<size_t>(m_.cursore_cartelli)].testo = testo;
    --m_.cursore_cartelli;
    return 0;
  }

  // Gradients up to the last three stretches, which keep 0; the plan straight on to the end.
  void conclusione() {
    while (cursore_pendenza_ < m_.ultimo_tratto - 2) scrivi_pendenza();
    if (traccia_) traccia_rettilineo(m_.tracciato, metro_, int64_t{m_.metri_totali} - 2);
  }

  Esecuzione& run_;
  LettoreVoci& l_;
  Modello& m_;
  const bool traccia_;
  int32_t cursore_pendenza_ = 0;
  int32_t pendenza_precedente_ = 0;
  int32_t metro_ = 2;
};

}  // namespace

void fase_linea(Esecuzione& run, LettoreVoci& lettore) { FaseLinea(run, lettore).esegui(); }

}  // namespace compattatore
