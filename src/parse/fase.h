// What the line phase and the train phase share: how a keyword line ends, the dash rule, the
// profile fill, the model, sink and item reader that every phase works with, and the
// diagnostics every phase gives: errors at the item they concern, warnings for what the format
// passes over, and the origin of every object placed.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/cp1252.h"
#include "model/italiano.h"
#include "model/modello.h"
#include "model/origini.h"
#include "model/parole.h"
#include "model/regole.h"
#include "model/segnalazione.h"
#include "parse/lettore.h"
#include "parse/parole_chiave.h"

namespace compattatore {

/// How a phase goes on after a keyword line.
enum class Seguito {
  avanti,  // next item
  esci,    // leave the item loop; the phase's finishing steps follow (code 15)
  ferma,   // stop the phase at once, without its finishing steps
};

inline bool contiene(std::string_view voce, std::string_view cosa) {
  return voce.find(cosa) != std::string_view::npos;
}

/// A run-time fault that belongs to an item other than the last one read: a value stored when a
/// later item came (a speed written at the next speed line). Carries that item's place.
struct GuastoAlLuogo : GuastoEsecuzione {
  GuastoAlLuogo(const std::string& messaggio, Luogo l,
                std::optional<ValoreScritto> v = std::nullopt)
      : GuastoEsecuzione(messaggio), luogo(std::move(l)), valore(std::move(v)) {}
  Luogo luogo;
  std::optional<ValoreScritto> valore;  // the value at `luogo` that does not fit, as written
};

/// A number read from a source, with where it was written and how.
struct Numero {
  int32_t valore = 0;
  Posto posto;
  const RigaValore* riga = nullptr;  // the field it was read as
  std::string scritto{};             // as written (UTF-8)
};

/// A profile written stretch by stretch: the value that holds from the cursor on, until a later
/// item moves it. `origine` is where that value was written.
struct Profilo {
  int32_t cursore = 0;
  int32_t valore = 0;
  Numero origine;

  /// Writes `valore` with `scrivi(stretch, valore)` from the cursor on, at least one stretch,
  /// while the cursor is below `fino`. With `arresto`, stops before writing at that stretch.
  template <class Scrivi>
  void riempi(int32_t fino, Scrivi&& scrivi, std::optional<int32_t> arresto = std::nullopt) {
    do {
      if (arresto && cursore >= *arresto) return;
      scrivi(cursore, valore);
      ++cursore;
    } while (cursore < fino);
  }
};

/// The model, the sink and the reader of one phase, and the reports every phase makes.
class Fase {
 protected:
  Fase(Modello& modello, Segnalatore& errori, LettoreVoci& lettore, Origini* origini)
      : m_(modello), errori_(errori), lettore_(lettore), origini_(origini) {}

  /// Sets `codice` at the place of the last item read.
  void errore(Codice codice, std::optional<int32_t> posizione = std::nullopt) {
    errori_.segnala(codice, posizione, lettore_.luogo());
  }
  /// Sets `codice` at the item `dove`.
  void errore(Codice codice, const Posto& dove, std::optional<int32_t> posizione,
              std::string dettaglio = {}, std::vector<Nota> note = {}) {
    errori_.segnala(codice, posizione, lettore_.luogo(dove), std::move(dettaglio), std::move(note));
  }
  /// Sets `codice` at `dove` with a note on what occupies `tratto`.
  void occupato(Codice codice, const Numero& posizione, int64_t tratto) {
    const auto s = static_cast<int32_t>(tratto);
    errore(codice, posizione.posto, posizione.valore, {},
           {nota_occupato(origini_, s, m_.tratto(s).oggetto)});
  }
  /// Sets `codice` about the value `n`: at its item, its message showing it as written, and
  /// `memorizzato` what the model keeps of it (nothing when the item is refused).
  void errore_al_valore(Codice codice, const Numero& n, std::optional<int32_t> posizione,
                        std::optional<int64_t> memorizzato = std::nullopt,
                        const std::string& dettaglio = {}) {
    Segnalazione s{codice, posizione, lettore_.luogo(n.posto), dettaglio};
    if (n.riga != nullptr) {
      s.valore = valore_scritto(n, memorizzato);
      s.dettaglio = con_valore(*s.valore, dettaglio);
    }
    errori_.ricevi(std::move(s));
  }
  /// The value `n` as written, as stored (`memorizzato`) and the values its field takes.
  ValoreScritto valore_scritto(const Numero& n, std::optional<int64_t> memorizzato) const {
    const RigaValore& r = *n.riga;
    ValoreScritto v{n.scritto,
                    memorizzato,
                    r.intervallo.minimo,
                    r.intervallo.massimo,
                    "'" + cp1252::a_utf8(riga(r.chiave).forma) + "', " + r.nome,
                    r.unita};
    // A position's range counts from the route's end.
    if (r.lettura == ModoLettura::posizione) {
      v.massimo += lunghezza_percorso(m_.metri_totali);
    }
    return v;
  }
  /// A position refused by the range rule or before the route start, or the value that takes
  /// the object out of the route: code 15 with the position; the item loop ends and the
  /// finishing steps follow.
  Seguito fuori_percorso(const Numero& valore, std::optional<int32_t> posizione = std::nullopt) {
    errore_al_valore(Codice::fuori_percorso, valore, posizione ? posizione : valore.valore);
    return Seguito::esci;
  }
  /// A value that a later item stores, too large for its field: the run-time fault at the item
  /// where it was written, showing it as written.
  [[noreturn]] void non_entra(const Numero& n) const {
    if (n.riga == nullptr) throw GuastoEsecuzione("valore fuori dal campo");
    ValoreScritto v = valore_scritto(n, std::nullopt);
    const std::string messaggio = detto(v) + " non entra nel campo (" + campo(*n.riga) + ")";
    throw GuastoAlLuogo(messaggio, lettore_.luogo(n.posto), std::move(v));
  }
  /// The next item of the reader as text.
  std::string leggi() { return lettore_.leggi_testo(); }

  /// The next item as the value `v` of the keyword being read, read as its row says, with its
  /// place. What the model will hold is compared with what was written, in this one place for
  /// every value of every keyword: a word read as 0, a value beyond its field or off its multiple
  /// (stored otherwise), and a value stored as written that cannot be meant each get a warning at
  /// the item.
  Numero valore(ValoreChiave v);

  /// The dash rule: while the item in `letta` holds "-", up to `massimo` times, the next item
  /// replaces it. With `guarda_fine`, returns false as soon as nothing follows an item read
  /// (that last item is never interpreted); without, a read at the end is the run-time fault.
  bool salta_trattini(std::string& letta, int massimo, bool guarda_fine) {
    for (int i = 0; i < massimo && contiene(letta, "-"); ++i) {
      letta = leggi();
      if (guarda_fine && lettore_.a_fine()) {
        ultima_voce(letta);
        return false;
      }
    }
    return true;
  }

  // ------------------------------------------------------------------------------ warnings

  void avviso(Avviso tipo, const Posto& dove, std::string messaggio, std::vector<Nota> note = {},
              std::optional<ValoreScritto> valore = std::nullopt) {
    if (++avvisi_ > kAvvisiPerFile) return;
    errori_.segnala_avviso(tipo, lettore_.luogo(dove), std::move(messaggio), std::move(note),
                           Gravita::avviso, std::move(valore));
  }
  /// The number `n` as a fraction written with a comma, `scritto`, stored as `n`.
  ValoreScritto con_la_virgola(const Numero& n, const std::string& scritto) const {
    ValoreScritto v = valore_scritto(n, memorizzato(*n.riga, n.valore));
    v.scritto = scritto;
    return v;
  }
  /// A warning about the whole file, or its line `riga`.
  void avviso_file(Avviso tipo, std::string messaggio, int riga = 0) {
    if (++avvisi_ > kAvvisiPerFile) return;
    Luogo l{lettore_.file(), riga, std::string(lettore_.testo_riga(riga))};
    errori_.segnala_avviso(tipo, std::move(l), std::move(messaggio));
  }
  /// At the end of a phase: how many warnings of this file were not shown.
  void avvisi_taciuti() {
    if (avvisi_ <= kAvvisiPerFile) return;
    errori_.segnala_avviso(Avviso::altri_avvisi, Luogo{lettore_.file(), 0, {}},
                           "altri " + std::to_string(avvisi_ - kAvvisiPerFile) +
                               " avvisi in questo file non sono mostrati");
  }

  /// A keyword item just read: where it stands, and whether it begins its line. Starts counting
  /// the items its keyword reads.
  struct Parola {
    std::string esatta;  // as read
    std::string bassa;   // in lower case
    Posto posto;
    bool prima = false;  // the first item of its line
  };
  Parola parola(std::string letta) {
    Parola p{std::move(letta), {}, lettore_.posto(), lettore_.prima_della_riga()};
    p.bassa = cp1252::minuscole(p.esatta);
    if (p.bassa == riga(Chiave::fine_linea).forma) vista_fine_ = true;
    lettore_.segna_parola();
    parola_ = p.posto;
    prestito_detto_ = false;
    return p;
  }

  /// The keywords of `ambito` that an item is read as, in the order of their tests.
  struct Lette {
    std::vector<Chiave> chiavi;      // every row whose test the item passes
    std::vector<std::string> forme;  // the spelling each is taken for (not a curve without class)
    bool esatta = false;             // the item is the one spelling of its one row
    std::string come;                // how a curve written otherwise is read
  };
  /// Tests `p` against every keyword of `ambito`; curves only `con_curve` (with the route plan).
  static Lette leggi_come(const Parola& p, Ambito ambito, bool con_curve = true) {
    Lette l;
    for (const RigaChiave* r : in_ordine_di_prova(ambito)) {
      if (!corrisponde(*r, p.esatta, p.bassa)) continue;
      if (r->variante == Variante::curva && !con_curve) continue;
      l.chiavi.push_back(r->chiave);
      const std::optional<std::string> forma = forma_letta(*r, p.bassa);
      if (!forma) continue;
      l.forme.push_back(*forma);
      const std::string& scritta = r->maiuscole == Maiuscole::contano ? p.esatta : p.bassa;
      l.esatta = scritta == *forma || (r->altra_forma != nullptr && scritta == r->altra_forma);
      if (r->variante == Variante::curva && scritta != *forma) l.come = come_curva(p.bassa);
    }
    if (l.forme.size() != 1) {
      l.esatta = false;
      l.come.clear();
    }
    return l;
  }
  /// Reads the keyword item `p` as the rows `lette`, in order, with `leggi(chiave)`, until one of
  /// them stops the phase; warns before about how the item is read and after about its values.
  template <class Leggi>
  Seguito leggi_parole(const Parola& p, const Lette& lette, Leggi&& leggi) {
    come_parola(p, lette.forme, lette.esatta, lette.come);
    Seguito s = Seguito::avanti;
    for (const Chiave c : lette.chiavi) {
      if (s != Seguito::avanti) break;
      s = leggi(c);
    }
    dopo_i_valori(p, lette.forme.size() == 1 ? lette.forme[0] : p.esatta, s == Seguito::avanti);
    return s;
  }
  /// How the curve item `bassa` (with a class) is read: side, class and radius.
  static std::string come_curva(const std::string& bassa) {
    const int c = *classe_curva(bassa);
    const bool sinistra = contiene(bassa, "s");
    const auto raggio = std::lround(1.0 / kCurvature[c - 1]);
    return "è letta come '" + forma_curva(sinistra, c) + "': curva a " +
           (sinistra ? "sinistra" : "destra") + " di classe " + std::to_string(c) + " (raggio " +
           std::to_string(raggio) + " m)";
  }

  /// Before the keyword's numbers are read: the item is read as the keywords `lette` although it
  /// is none of them exactly (it only contains them), or stands in the middle of a line.
  /// `come` replaces the usual explanation.
  void come_parola(const Parola& p, const std::vector<std::string>& lette, bool esatta,
                   const std::string& come = {}) {
    if (lette.empty() || (esatta && p.prima)) return;
    std::string m = "'" + cp1252::a_utf8(p.esatta) + "'";
    if (!p.prima) m += ", in mezzo alla riga,";
    if (!come.empty()) {
      m += " " + come;
    } else if (esatta) {
      m += " è letta come parola chiave";
    } else {
      std::string elenco;
      for (size_t i = 0; i < lette.size(); ++i) {
        if (i > 0) elenco += i + 1 == lette.size() ? " e " : ", ";
        elenco += "'" + lette[i] + "'";
      }
      m += lette.size() == 1 ? " contiene la parola chiave " + elenco + " ed è letta come tale"
                             : " contiene le parole chiave " + elenco + " ed è letta come ciascuna";
    }
    avviso(Avviso::parola_contenuta, p.posto, m);
  }

  /// After a keyword's numbers are read: values taken from the lines after it, or (when the
  /// keyword read all it reads, `completa`) left over on its line.
  void dopo_i_valori(const Parola& /*p*/, std::string_view chiave, bool completa) {
    const int letti = lettore_.letti_dal_segno();
    const int dopo = lettore_.presi_dopo();
    const std::string legge =
        "'" + std::string(chiave) + "' legge " + quanti(letti, "valore", "valori");
    if (dopo > 0 && !prestito_detto_) {
      std::vector<Nota> note;
      if (const std::optional<Posto> resto = lettore_.resto_riga()) {
        note.push_back(Nota{lettore_.luogo(*resto), "il resto di questa riga è ignorato"});
      }
      valori_presi(std::string(chiave), letti, dopo, std::move(note));
    } else if (const std::optional<Posto> resto = lettore_.resto_riga(); dopo > 0 && resto) {
      // Told when the first value was taken; what the last line taken from leaves is told now.
      avviso(Avviso::valori_in_piu, *resto,
             "il resto di questa riga, da cui '" + std::string(chiave) +
                 "' ha preso valori, è ignorato");
    } else if (const std::optional<Posto> resto = lettore_.resto_riga(); resto && completa) {
      if (!virgola_decimale(*resto) && !virgola_in_mezzo(*resto)) {
        avviso(Avviso::valori_in_piu, *resto, legge + ": il resto della riga è ignorato");
      }
    }
  }
  /// The keyword `chiave` (read at `parola_`) reads `letti` values, `dopo` of them from later
  /// lines.
  void valori_presi(const std::string& chiave, int letti, int dopo, std::vector<Nota> note);
  /// The rest of the line `resto`, left after the keyword's last value, completes that value as
  /// a fraction written with a comma (`12,5`): says so, and returns true.
  bool virgola_decimale(const Posto& resto);
  /// The line has one item more than its keyword reads, `resto`, because a fraction written
  /// with a comma in the middle of it (`12,5`) was read as two values: says so at the comma, and
  /// returns true. Nothing when the slip cannot be told apart from values written close together.
  bool virgola_in_mezzo(const Posto& resto);

  /// A line whose first item matched no keyword of `ambito`.
  void sconosciuta(const Parola& p, Ambito ambito) {
    if (!p.prima) return;
    auto m = parola_sconosciuta(p.esatta, ambito);
    if (!m) return;
    // A keyword of the line source in the train source: the facts for telling that the train
    // source is missing (the line source given in its place).
    const bool linea = ambito == Ambito::treno && della_linea(p.bassa);
    avviso(linea ? Avviso::parole_della_linea : Avviso::parola_sconosciuta, p.posto, *m);
  }

  /// The last item of the source, read where a keyword was expected: never interpreted.
  void ultima_voce(const std::string& letta) {
    ultima_ = lettore_.posto();
    if (cp1252::minuscole(letta) == riga(Chiave::fine_linea).forma) vista_fine_ = true;
  }
  /// At the end of the source: a source without "[fine]" loses its last item.
  void controlla_fine() {
    if (vista_fine_) return;
    if (ultima_.riga > 0) {
      avviso(Avviso::senza_fine, ultima_,
             "il file non finisce con [fine]: l'ultima voce non è letta");
    } else {
      avviso_file(Avviso::senza_fine, "il file non finisce con [fine]", lettore_.riga());
    }
  }

  /// A position accepted by the range rule but beyond the end of the line.
  void oltre_la_linea(const Numero& posizione) {
    const int64_t lunghezza = lunghezza_percorso(m_.metri_totali);
    if (posizione.valore <= lunghezza) return;
    avviso(Avviso::oltre_la_linea, posizione.posto,
           "la posizione " + std::to_string(posizione.valore) +
               " m è oltre la fine della linea (lunghezza percorso " + std::to_string(lunghezza) +
               " m)");
  }

  /// The value `n` of the row `r`, just read: what is stored against what was written.
  void confronta(const RigaValore& r, const Numero& n);
  /// A speed indicator board keeps both sides of a rank in one field (the first side · 20 + the
  /// second / 5): a second-side speed beyond its field, or a first-side speed off its multiple,
  /// changes the other side's value. `lato` is the side of `r` whose fault spills into `altro`.
  static std::string sconfina(const RigaValore& r, char lato, const char* altro);
  /// The field of `r` as a message names it: "da -100 a 155 per mille".
  static std::string campo(const RigaValore& r);
  /// A warning about the value `n`, named after its keyword and value, with the value as
  /// written and as stored (`memorizzato`).
  void avviso_valore(Avviso tipo, const Numero& n, const std::string& testo,
                     std::optional<int64_t> memorizzato);

  /// The object now on stretch `tratto` was placed by the keyword item `dove`.
  void origine(int64_t tratto, const Posto& dove) {
    if (origini_ != nullptr) origini_->metti(static_cast<int32_t>(tratto), lettore_.luogo(dove));
  }
  /// ... by the value `n` of its line, which a code about that stretch shows as written.
  void origine(int64_t tratto, const Numero& n) {
    if (origini_ == nullptr) return;
    origini_->metti(static_cast<int32_t>(tratto), lettore_.luogo(n.posto), false,
                    valore_scritto(n, memorizzato(*n.riga, n.valore)));
  }

  static constexpr int kAvvisiPerFile = 20;

  Modello& m_;
  Segnalatore& errori_;
  LettoreVoci& lettore_;
  Origini* origini_;
  int avvisi_ = 0;                  // warnings given for this file
  bool vista_fine_ = false;         // a keyword item "[fine]" was read
  Posto ultima_;                    // the last item of the source, when it was passed over
  std::vector<Numero> riga_letta_;  // the values read so far of the keyword being read
  Posto parola_;                    // the keyword item being read
  bool prestito_detto_ = false;     // its values taken from later lines were told
};

}  // namespace compattatore
