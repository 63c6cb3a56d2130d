// The line phase: reads the line source item by item into the route part of the model.
//
// The source is searched for "[generale]"; the general section then gives the route length
// (which sizes `tratti` and `tracciato`), the kilometric sections, the backgrounds and the signal
// repetition section, up to the next bracketed header. The feature section that follows gives
// gradients, curves, mountains, speed indicator boards and indicator boards with text. A keyword
// item read when nothing follows it (normally the closing "[fine]") is never interpreted.

#include <algorithm>
#include <iterator>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "io/sistema.h"
#include "model/cp1252.h"
#include "model/parole.h"
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

// Curvature of a curve item: its class gives it (from the plan's table), an "s" turns it to the
// left. Nothing without a class.
std::optional<double> curvatura(const std::string& bassa) {
  const std::optional<int> c = classe_curva(bassa);
  if (!c) return std::nullopt;
  const double k = kCurvature[*c - 1];
  return contiene(bassa, "s") ? -k : k;
}

class FaseLinea : Fase {
 public:
  FaseLinea(Modello& m, Segnalatore& errori, LettoreVoci& lettore, const OpzioniLinea& opzioni)
      : Fase(m, errori, lettore, opzioni.origini),
        traccia_(opzioni.con_tracciato),
        taglio_(opzioni.taglio_percorso) {}

  EsitoLinea esegui() {
    if (trova_generale() && sezione_generale()) {
      tra_le_sezioni();
      if (sezione_elementi()) conclusione();
      if (letto_tutto_) controlla_fine();
    }
    avvisi_taciuti();
    return {cursore_cartelli_, std::move(progressive_)};
  }

 private:
  // Code 102 when the source ends before "[generale]": at that item when it is the last one, at
  // an item that looks like a slip for it, or at the file.
  bool trova_generale() {
    std::optional<Posto> simile;
    auto manca = [&](const std::string& dettaglio, std::optional<Posto> dove) {
      if (dove) {
        errore(Codice::manca_generale, *dove, std::nullopt, dettaglio);
      } else {
        errori_.segnala(Codice::manca_generale, std::nullopt, Luogo{lettore_.file(), 0, {}},
                        dettaglio);
      }
      return false;
    };
    for (;;) {
      // An empty source has nothing to search: the same code as a source without the item.
      if (lettore_.a_fine()) {
        return manca(simile ? "questa voce non è [generale]" : "il file non ha voci", simile);
      }
      const std::string letta = leggi();
      const bool trovata = contiene(cp1252::minuscole(letta), riga(Chiave::generale_linea).forma);
      if (lettore_.a_fine()) {
        if (trovata) return manca("[generale] è l'ultima voce del file", lettore_.posto());
        return manca(simile ? "questa voce non è [generale]" : "", simile);
      }
      if (trovata) {
        generale_ = lettore_.posto();
        return true;
      }
      if (!simile && lettore_.prima_della_riga() && quasi_generale(letta)) {
        simile = lettore_.posto();
      }
    }
  }

  // Returns false when a code ends the phase.
  bool sezione_generale() {
    for (;;) {
      if (lettore_.a_fine()) return true;
      std::string letta = leggi();
      if (lettore_.a_fine()) {
        ultima_voce(letta);
        letto_tutto_ = true;
        return true;
      }
      // Up to ten items in a row holding "-" are passed over, without looking for the end.
      salta_trattini(letta, 10, false);
      const Parola p = parola(letta);
      const bool intestazione =
          contiene(p.bassa, "[") && contiene(p.bassa, "]") && !inizia_con_trattino(letta);

      const Lette lette = leggi_come(p, Ambito::linea_generale);
      if (lette.forme.empty() && !intestazione) sconosciuta(p, Ambito::linea_generale);
      come_parola(p, lette.forme, lette.esatta);

      for (const Chiave c : lette.chiavi) {
        if (!leggi_generale(c, p)) return false;
      }
      if (!lette.forme.empty()) {
        dopo_i_valori(p, lette.forme.size() == 1 ? lette.forme[0] : p.esatta, true);
      }

      if (intestazione) return true;
    }
  }

  // The values of the general line `c`; false when a code ends the phase.
  bool leggi_generale(Chiave c, const Parola& p) {
    switch (c) {
      case Chiave::lunghezza_percorso: {
        const Numero l = valore(ValoreChiave::lunghezza_percorso_L);
        m_.elenco[voce::figure_treno].campo_2 = l.valore;
        if (l.valore < 0 || l.valore > kLunghezzaPercorsoMassima) {
          errore_al_valore(Codice::lunghezza_fuori_campo, l, std::nullopt);
          return false;
        }
        m_.crea_tratti(std::min(l.valore, taglio_), traccia_);
        if (traccia_) consiglia_pagine_grandi(m_.tracciato.memoria());
        return true;
      }
      case Chiave::progressiva_tre:
      case Chiave::progressiva_due:
      case Chiave::progressiva_uno:
        leggi_sezione(c);
        return true;
      case Chiave::sfondo_uno:
        m_.elenco[voce::intestazione].campo_1 = valore(ValoreChiave::sfondo_uno_n).valore;
        return true;
      case Chiave::sfondo_due:
        m_.elenco[voce::intestazione].campo_3 = valore(ValoreChiave::sfondo_due_n).valore;
        return true;
      case Chiave::sfondo_tre:
        m_.elenco[voce::intestazione].campo_2 = valore(ValoreChiave::sfondo_tre_n).valore;
        return true;
      case Chiave::ripetizione_segnali:
        return leggi_ripetizione(p);
      default:
        throw std::logic_error(std::string("nessuna lettura per ") + riga(c).nome);
    }
  }

  void leggi_sezione(Chiave c) {
    const std::span<const RigaValore> righe = valori(c);
    Voce& v = m_.elenco[static_cast<size_t>(righe.front().dove.indice)];
    const Numero inizio = valore(righe[0].valore);
    const Numero progressiva = valore(righe[1].valore);
    v.campo_1 = inizio.valore;
    v.campo_2 = progressiva.valore;
    v.campo_3 = valore(righe[2].valore).valore;
    progressive_.push_back(
        ProgressivaLetta{inizio.valore, progressiva.valore, lettore_.luogo(inizio.posto),
                         lettore_.luogo(progressiva.posto), valore_scritto(inizio, inizio.valore),
                         valore_scritto(progressiva, progressiva.valore)});
  }

  // The signal repetition section and its code count; false when a code ends the phase.
  bool leggi_ripetizione(const Parola& p) {
    Voce& v = m_.elenco[voce::treno];
    const Numero inizio = valore(ValoreChiave::ripetizione_segnali_inizio);
    const Numero fine = valore(ValoreChiave::ripetizione_segnali_fine);
    v.campo_1 = inizio.valore;
    v.campo_2 = fine.valore;
    if (inizio.valore % 50 != 0) {
      errore_al_valore(Codice::ripetizione_inizio, inizio, std::nullopt, inizio.valore);
      return false;
    }
    if (fine.valore % 50 != 0) {
      errore_al_valore(Codice::ripetizione_fine, fine, std::nullopt, fine.valore);
      return false;
    }
    if (contiene(p.bassa, "4")) {
      v.campo_3 = 4;
    } else if (contiene(p.bassa, "9")) {
      v.campo_3 = 9;
    } else {
      errore(Codice::ripetizione_codici, p.posto, std::nullopt);
      return false;
    }
    if (fine.valore == 0) v.campo_3 = 0;
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
      throw GuastoAlLuogo("la sezione [generale] non ha la voce \"lunghezza percorso\"",
                          lettore_.luogo(generale_));
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
      if (lettore_.a_fine()) {
        letto_tutto_ = true;
        return true;
      }
      std::string letta = leggi();
      if (lettore_.a_fine()) {
        ultima_voce(letta);
        letto_tutto_ = true;
        return true;
      }
      // Up to two items in a row holding "-" are passed over; the end ends the section.
      if (!salta_trattini(letta, 2, true)) {
        letto_tutto_ = true;
        return true;
      }
      switch (elemento(parola(letta))) {
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
    const Lette lette = leggi_come(p, Ambito::linea_elementi, traccia_);
    if (lette.chiavi.empty()) {
      // Curves are passed over on purpose when no route plan is computed.
      if (!corrisponde(riga(Chiave::curva), p.esatta, p.bassa)) {
        sconosciuta(p, Ambito::linea_elementi);
      }
      return Seguito::avanti;
    }
    return leggi_parole(p, lette, [&](Chiave c) { return leggi_elemento(c, p); });
  }

  Seguito leggi_elemento(Chiave c, const Parola& p) {
    switch (c) {
      case Chiave::pendenza:
        return leggi_pendenza();
      case Chiave::curva:
        return leggi_curva(p);
      case Chiave::montagna:
        return leggi_montagna();
      case Chiave::indicatori_vmax:
        return leggi_indicatore(p);
      case Chiave::cartello_indicatore:
        return leggi_cartello(p);
      default:
        throw std::logic_error(std::string("nessuna lettura per ") + riga(c).nome);
    }
  }

  Seguito leggi_pendenza() {
    const Numero posizione = valore(ValoreChiave::pendenza_P);
    const Numero pendenza = valore(ValoreChiave::pendenza_G);
    if (!nel_percorso(m_.ultimo_tratto(), posizione.valore)) return fuori_percorso(posizione);
    oltre_la_linea(posizione);
    const int32_t n = cinquantesimi(posizione.valore);
    if (n > 0) riempi_pendenza(n);
    pendenza_.valore = pendenza.valore;
    pendenza_.origine = pendenza;
    return Seguito::avanti;
  }

  Seguito leggi_curva(const Parola& p) {
    const Numero posizione = valore(ValoreChiave::curva_P);
    const Numero lunghezza = valore(ValoreChiave::curva_N);
    if (!nel_percorso(m_.ultimo_tratto(), posizione.valore)) return fuori_percorso(posizione);
    oltre_la_linea(posizione);
    const std::optional<double> k = curvatura(p.bassa);
    if (!k) {
      errore(Codice::curva_errata, p.posto, std::nullopt, "nessuna cifra da 1 a 6");
      return Seguito::ferma;
    }
    if (traccia_curva(m_.tracciato, metro_, posizione.valore, lunghezza.valore, *k) !=
        Codice::nessuno) {
      errore_al_valore(Codice::curva_errata, lunghezza, std::nullopt, std::nullopt,
                       "la curva finisce oltre 1000000 m");
      return Seguito::ferma;
    }
    return Seguito::avanti;
  }

  Seguito leggi_montagna() {
    const Numero inizio = valore(ValoreChiave::montagna_inizio);
    const Numero fine = valore(ValoreChiave::montagna_fine);
    int32_t tipo = valore(ValoreChiave::montagna_tipo).valore;
    if (!nel_percorso(m_.ultimo_tratto(), inizio.valore)) return fuori_percorso(inizio);
    oltre_la_linea(inizio);
    const Codice esito = memo_montagna(m_, montagne_, inizio.valore, fine.valore, tipo);
    // The start is in the route: a refused range is the end's fault.
    if (esito == Codice::fuori_percorso) return fuori_percorso(fine);
    if (esito != Codice::nessuno) {
      errore(esito, inizio.posto, inizio.valore);
      return Seguito::ferma;
    }
    return Seguito::avanti;
  }

  Seguito leggi_indicatore(const Parola& p) {
    const std::span<const RigaValore> righe = valori(Chiave::indicatori_vmax);
    const Numero posizione = valore(righe[0].valore);
    int32_t n[8];
    for (size_t i = 0; i < std::size(n); ++i) n[i] = valore(righe[i + 1].valore).valore;
    if (!nel_percorso(m_.ultimo_tratto(), posizione.valore)) return fuori_percorso(posizione);
    oltre_la_linea(posizione);
    const Codice esito =
        memo_indicatori_v_max(m_, posizione.valore, n[0], n[1], n[2], n[3], n[4], n[5], n[6], n[7]);
    if (esito == Codice::indicatore_occupato) {
      occupato(esito, posizione, tratto_di(posizione.valore));
      return Seguito::ferma;
    }
    if (esito != Codice::nessuno) {
      errore(esito, posizione.posto, posizione.valore);
      return Seguito::ferma;
    }
    origine(tratto_di(posizione.valore), p.posto);
    return Seguito::avanti;
  }

  Seguito leggi_cartello(const Parola& p) {
    const Numero posizione = valore(ValoreChiave::cartello_indicatore_P);
    const std::string testo = testo_entro(leggi(), "testo del cartello");
    if (!nel_percorso(m_.ultimo_tratto(), posizione.valore)) return fuori_percorso(posizione);
    oltre_la_linea(posizione);
    if (cursore_cartelli_ < 1) {
      errore(Codice::troppi_cartelli, p.posto, posizione.valore);
      return Seguito::ferma;
    }
    const int32_t s = tratto_di(posizione.valore);
    Tratto& t = m_.tratto(s);
    if (!libero(t)) {
      occupato(Codice::cartello_occupato, posizione, s);
      return Seguito::ferma;
    }
    t.oggetto = oggetto::cartello;
    t.valore_1 = entro<int16_t>(cursore_cartelli_, "indice del cartello");
    m_.elenco[static_cast<size_t>(cursore_cartelli_)].testo = testo;
    --cursore_cartelli_;
    origine(s, p.posto);
    return Seguito::avanti;
  }

  // The gradient of a stretch: the previous gradient item's value + 100, in one byte.
  void scrivi_pendenza(int32_t s, int32_t pendenza) {
    const int64_t valore = int64_t{pendenza} + 100;
    if (valore < 0 || valore > 255) {
      non_entra(pendenza_.origine);
    }
    m_.tratto(s).pendenza = static_cast<uint8_t>(valore);
  }
  void riempi_pendenza(int32_t fino) {
    pendenza_.riempi(fino, [this](int32_t s, int32_t v) { scrivi_pendenza(s, v); });
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
  Posto generale_;                                   // the item "[generale]"
  std::vector<ProgressivaLetta> progressive_;        // kilometric section lines as read
  bool letto_tutto_ = false;                         // the features were read to the end
};

}  // namespace

EsitoLinea fase_linea(Modello& m, Segnalatore& errori, LettoreVoci& lettore,
                      const OpzioniLinea& opzioni) {
  return FaseLinea(m, errori, lettore, opzioni).esegui();
}

}  // namespace compattatore
