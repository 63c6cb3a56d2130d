#include "decompilatore/decompila.h"

#include <algorithm>
#include <array>
#include <bit>
#include <functional>
#include <map>
#include <optional>
#include <queue>
#include <set>
#include <string_view>
#include <utility>

#include "compilazione/compila.h"
#include "decompilatore/curve_tracciato.h"
#include "model/campi.h"
#include "model/codici.h"
#include "model/cp1252.h"
#include "model/oggetti.h"
#include "model/regole.h"
#include "model/segnalazione.h"
#include "parse/progressive_ordina.h"
#include "sources/testo.h"

namespace compattatore {
namespace {

constexpr int16_t kValoreMarcatore = 180;
constexpr size_t kDifferenzeElencate = 20;
constexpr int kGiriMarcatori = 16;
constexpr int32_t kLunghezzaMassima = 1000000;

std::string n(int64_t v) { return std::to_string(v); }

std::string dove_tratto(int64_t s) {
  return "tratto " + n(s) + " (" + n(posizione_oggetto<int64_t>(s)) + " m)";
}

// One row of a section: its keyword, its numbers, and an optional text that ends the line.
struct Riga {
  std::string parola;
  std::vector<std::string> celle;
  std::optional<std::string> testo;  // UTF-8, quoted already when it has to be
};

Riga riga(std::string parola, std::initializer_list<int64_t> numeri) {
  Riga r{std::move(parola), {}, std::nullopt};
  for (int64_t v : numeri) r.celle.push_back(n(v));
  return r;
}

// A section: its header, then its rows, every column right-aligned to its widest cell.
void sezione(std::vector<std::string>& out, const char* intestazione,
             const std::vector<Riga>& righe) {
  out.emplace_back(intestazione);
  size_t parola = 0;
  std::vector<size_t> larghezze;
  for (const Riga& r : righe) {
    parola = std::max(parola, r.parola.size());
    if (larghezze.size() < r.celle.size()) larghezze.resize(r.celle.size());
    for (size_t j = 0; j < r.celle.size(); ++j) {
      larghezze[j] = std::max(larghezze[j], r.celle[j].size());
    }
  }
  for (const Riga& r : righe) {
    std::string l = r.parola + "," + std::string(parola - r.parola.size(), ' ');
    for (size_t j = 0; j < r.celle.size(); ++j) {
      if (j > 0) l += ",";
      l += std::string(2 + larghezze[j] - r.celle[j].size(), ' ') + r.celle[j];
    }
    if (r.testo) {
      l += ",";
      if (!r.testo->empty()) l += "  " + *r.testo;
    }
    out.push_back(std::move(l));
  }
}

// A text as the item that reads back as it: quoted when the reader would drop its blanks or cut
// it at a comma. Nothing when no item reads back as it.
std::optional<std::string> voce_testo(const std::string& byte) {
  for (const char ch : byte) {
    const auto c = static_cast<unsigned char>(ch);
    // Line ends and NUL end the item or the source; five bytes have no character.
    if (c == '\r' || c == '\n' || c == 0 || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 ||
        c == 0x9D) {
      return std::nullopt;
    }
  }
  auto bianco = [](char c) { return c == ' ' || c == '\t'; };
  const bool tra_virgolette =
      !byte.empty() && (byte.find(',') != std::string::npos || bianco(byte.front()) ||
                        bianco(byte.back()) || byte.front() == '"');
  if (!tra_virgolette) return cp1252::a_utf8(byte);
  if (byte.find('"') != std::string::npos) return std::nullopt;
  return "\"" + cp1252::a_utf8(byte) + "\"";
}

const char* kTestoNonRiscrivibile =
    "nessuna voce di un sorgente dà questo testo (un a capo, un byte nullo o non definito in "
    "Windows-1252, o virgolette in un testo che va scritto tra virgolette)";

// The error sink of a compile in memory: keeps every code.
class Raccolta : public Segnalatore {
 public:
  void ricevi(Segnalazione s) override {
    codice_ = s.codice;
    segnalazioni.push_back(std::move(s));
  }
  Codice codice_errore() const override { return codice_; }
  std::vector<Segnalazione> segnalazioni;

 private:
  Codice codice_ = Codice::nessuno;
};

// A compile of two sources in memory, as `compila` runs it but without files.
struct Prova {
  Modello m;
  std::vector<Segnalazione> codici;
  std::string mancato;  // why there is no complete model; empty when there is one
};

Prova compila(const Elenco& identita, const std::string& linea, const std::string& treno,
              bool con_tracciato) {
  Prova p;
  Raccolta errori;
  OpzioniCompilazione opzioni;
  opzioni.con_tracciato = con_tracciato;
  opzioni.codifica = Codifica::cp1252;  // the rebuilt sources are Windows-1252 bytes
  Compilazione c =
      compila_testi(Identita{identita[voce::intestazione].testo, identita[voce::treno].testo},
                    Sorgente::testo("sorgente della linea", linea),
                    Sorgente::testo("sorgente del treno", treno), opzioni, errori);
  if (c.fine == FineCompilazione::non_dimensionata) {
    p.mancato = "i sorgenti ricostruiti non danno la lunghezza del percorso";
  } else if (c.fine == FineCompilazione::campo_riservato) {
    const Codice codice = c.arresto->codice;
    p.mancato = "i sorgenti ricostruiti danno l'errore " + n(numero(codice)) + " (" +
                riga_codice(codice).significato + ")";
  }
  p.m = std::move(c.modello);
  p.codici = std::move(errori.segnalazioni);
  return p;
}

std::string descrivi(const Segnalazione& s) {
  std::string d;
  if (!s.luogo.file.empty()) {
    d += s.luogo.file;
    if (s.luogo.riga > 0) d += ", riga " + n(s.luogo.riga);
    d += ": ";
  }
  d += "errore " + n(numero(s.codice)) + " (" + riga_codice(s.codice).significato + ")";
  if (!s.dettaglio.empty()) d += ": " + s.dettaglio;
  if (s.posizione) d += ", posizione " + n(*s.posizione) + " m";
  return d;
}

// Who writes approach bytes: a station (by its entry) or a signal (by its stretch), with the line
// it is written as and the bytes it writes.
struct Scrittore {
  bool stazione = false;
  int64_t chiave = 0;
  Riga riga;
  std::vector<std::pair<int64_t, uint8_t>> scritture;  // stretch, approach byte
};

// The fields in which a stretch or an entry of the files differs from the one the rebuilt
// sources give: ": nel file valore_1 3, preavviso 7; dai sorgenti ricostruiti valore_1 4, ...".
struct Differenza {
  std::string nel_file, dai_sorgenti;

  void aggiungi(const std::string& da_file, const std::string& da_sorgenti) {
    nel_file += (nel_file.empty() ? "" : ", ") + da_file;
    dai_sorgenti += (dai_sorgenti.empty() ? "" : ", ") + da_sorgenti;
  }
  template <class Campo, size_t N, class T>
  void campi(const Campo (&tabella)[N], const T& x, const T& z) {
    for (const Campo& c : tabella) {
      if (c.valore(x) != c.valore(z)) {
        aggiungi(std::string(c.nome) + " " + n(c.valore(x)),
                 std::string(c.nome) + " " + n(c.valore(z)));
      }
    }
  }
  std::string testo() const {
    return ": nel file " + nel_file + "; dai sorgenti ricostruiti " + dai_sorgenti;
  }
};

class Decompilatore {
 public:
  explicit Decompilatore(const Modello& m)
      : m_(m),
        el_(m.elenco),
        tt_(m.tratti),
        u_(m.ultimo_tratto()),
        con_tracciato_(!m.tracciato.vuoto()),
        spiegato_(m.tratti.size(), false) {
    // Stretch 1 holds two header values beside whatever object stands there.
    if (tt_.size() > 1) {
      tt_[1].valore_1 = 0;
      tt_[1].valore_2 = 0;
    }
  }

  Decompilato esegui() {
    if (tt_.empty()) {
      out_.problemi.push_back("tratti: il file non ne ha nessuno");
      return std::move(out_);
    }
    generale_linea();
    if (con_tracciato_) curve();
    pendenze();
    montagne();
    indicatori();
    cartelli();
    generale_treno();
    profilo("aderenza", &Tratto::aderenza, 1, aderenze_);
    profilo("velocita", &Tratto::velocita, 5, velocita_);
    stazioni();
    segnali();
    ordina_preavvisi();
    rallentamenti();
    codici();
    oggetti_rimasti();
    verifica();
    out_.senza_tracciato = !con_tracciato_;
    if (!con_tracciato_) {
      out_.avvisi.push_back(
          "senza il tracciato il sorgente della linea non ha curve: compilato senza tracciato "
          "(--senza-tracciato) dà gli stessi file");
    }
    return std::move(out_);
  }

 private:
  // ---- problems

  // Problems go in the order of the files: entries, the plan, stretches by number, the rest.
  enum Gruppo { kVoci, kTracciato, kTratti, kAltro };
  void problema(std::string cosa, Gruppo gruppo = kAltro, int64_t numero = 0) {
    out_.problemi.push_back(std::move(cosa));
    ordine_problemi_.emplace_back(gruppo, numero);
  }
  void problema_tratto(int64_t s, const std::string& cosa) {
    segnalati_.insert(s);
    problema(dove_tratto(s) + ": " + cosa, kTratti, s);
  }
  void ordina_problemi() {
    std::vector<size_t> indici(out_.problemi.size());
    for (size_t i = 0; i < indici.size(); ++i) indici[i] = i;
    std::stable_sort(indici.begin(), indici.end(), [this](size_t a, size_t b) {
      return ordine_problemi_[a] < ordine_problemi_[b];
    });
    std::vector<std::string> ordinati;
    for (size_t i : indici) ordinati.push_back(std::move(out_.problemi[i]));
    out_.problemi = std::move(ordinati);
  }
  std::string dove_voce(int i) const {
    const std::string& t = el_[static_cast<size_t>(i)].testo;
    return "voce " + n(i) + (t.empty() ? "" : " (" + cp1252::a_utf8(t) + ")");
  }
  void problema_voce(int i, const std::string& cosa) {
    voci_segnalate_.insert(i);
    problema(dove_voce(i) + ": " + cosa, kVoci, i);
  }
  // The range rule of a point object on stretch `s`, reported when it fails.
  bool nel_percorso_o_segnala(int64_t s, int32_t margine, const char* cosa) {
    if (s >= 1 && posizione_oggetto<int64_t>(s) <= INT32_MAX &&
        nel_percorso(u_, static_cast<int32_t>(posizione_oggetto<int64_t>(s)), margine)) {
      return true;
    }
    problema_tratto(s,
                    std::string(cosa) + " dove nessuna riga lo può mettere (fuori dal percorso)");
    return false;
  }
  const Voce& voce_n(int i) const { return el_[static_cast<size_t>(i)]; }
  Tratto& t(int64_t s) { return tt_[static_cast<size_t>(s)]; }
  void spiega(int64_t s) { spiegato_[static_cast<size_t>(s)] = true; }

  // ---- line source

  void generale_linea() {
    const int32_t lunghezza = voce_n(voce::figure_treno).campo_2;
    if (lunghezza < 0 || lunghezza > kLunghezzaMassima) {
      problema_voce(voce::figure_treno, "lunghezza del percorso " + n(lunghezza) +
                                            " m, fuori da 0-" + n(kLunghezzaMassima));
    } else {
      const int64_t metri_totali = int64_t{lunghezza} + kCodaPercorso;
      const int64_t ultimo = arrotonda(static_cast<double>(metri_totali) / kMetriTratto);
      if (ultimo != u_) {
        problema_voce(voce::figure_treno, "la lunghezza " + n(lunghezza) + " m vuole i tratti 0-" +
                                              n(ultimo) + ", il file dei tratti ne ha 0-" + n(u_));
      }
      const auto punti = static_cast<int64_t>(m_.tracciato.punti());
      if (con_tracciato_ && punti != metri_totali + 1) {
        tracciato_segnalato_ = true;
        problema("tracciato: " + n(punti) + " punti, la lunghezza " + n(lunghezza) +
                     " m ne vuole " + n(metri_totali + 1),
                 kTracciato);
      }
    }
    generale_.push_back("lunghezza percorso,    " + n(lunghezza));
    sezioni_km();
    const Voce& testa = voce_n(voce::intestazione);
    generale_.push_back("sfondo uno,    " + n(testa.campo_1));
    generale_.push_back("sfondo due,    " + n(testa.campo_3));
    generale_.push_back("sfondo tre,    " + n(testa.campo_2));
    ripetizione();
  }

  // The three kilometric sections as the source gives them: each stored section without the
  // added 100, assigned to "uno", "due" and "tre" so that the ordering gives them back.
  void sezioni_km() {
    struct Sezione {
      int64_t inizio = 0, progressiva = 0, verso = 0;
    };
    const int indici[3] = {voce::sezione_tre, voce::sezione_due, voce::sezione_uno};
    std::array<Sezione, 3> sorgente;
    for (int j = 0; j < 3; ++j) {
      const Voce& v = voce_n(indici[j]);
      sorgente[static_cast<size_t>(j)] = {v.campo_1, v.campo_2 - (v.campo_3 == 1 ? 100 : 0),
                                          v.campo_3};
    }
    std::array<int, 3> ordine = {0, 1, 2};  // which stored section goes to tre, due, uno
    bool trovato = false;
    do {
      Elenco e{};
      bool entra = true;
      for (int j = 0; j < 3; ++j) {
        const Sezione& s = sorgente[static_cast<size_t>(ordine[static_cast<size_t>(j)])];
        if (s.progressiva < INT32_MIN) entra = false;
        Voce& v = e[static_cast<size_t>(indici[j])];
        v.campo_1 = static_cast<int32_t>(s.inizio);
        v.campo_2 = static_cast<int32_t>(std::max<int64_t>(s.progressiva, INT32_MIN));
        v.campo_3 = static_cast<int32_t>(s.verso);
      }
      if (!entra) continue;
      try {
        progressive_ordina(e);
      } catch (const GuastoEsecuzione&) {
        continue;
      }
      trovato = std::all_of(std::begin(indici), std::end(indici), [&](int i) {
        const Voce& a = e[static_cast<size_t>(i)];
        const Voce& b = voce_n(i);
        return a.campo_1 == b.campo_1 && a.campo_2 == b.campo_2 && a.campo_3 == b.campo_3;
      });
    } while (!trovato && std::next_permutation(ordine.begin(), ordine.end()));
    if (!trovato) {
      ordine = {0, 1, 2};
      for (int i : indici) voci_segnalate_.insert(i);
      problema(
          "voci 81-83: nessuna riga \"progressiva chilometrica\" dà queste sezioni una volta "
          "ordinate",
          kVoci, voce::sezione_tre);
    }
    const char* nomi[3] = {"tre", "due", "uno"};
    for (int j = 2; j >= 0; --j) {
      const Sezione& s = sorgente[static_cast<size_t>(ordine[static_cast<size_t>(j)])];
      if (s.inizio == 0 && s.progressiva == 0 && s.verso == 0) continue;
      generale_.push_back(std::string("progressiva chilometrica ") + nomi[j] + ",    " +
                          n(s.inizio) + ",    " + n(s.progressiva) + ",    " + n(s.verso));
    }
  }

  void ripetizione() {
    const Voce& v = voce_n(voce::treno);
    const char* codici = nullptr;
    if (v.campo_3 == 9 && v.campo_2 != 0) codici = "9";
    if (v.campo_3 == 4 && v.campo_2 != 0) codici = "4";
    if (v.campo_3 == 0 && v.campo_2 == 0) codici = "9";  // an end of 0 gives 0 codes
    if (!codici || v.campo_1 % 50 != 0 || v.campo_2 % 50 != 0) {
      problema_voce(voce::treno, "ripetizione dei segnali da " + n(v.campo_1) + " a " +
                                     n(v.campo_2) + " m con " + n(v.campo_3) +
                                     " codici: nessuna riga la dà (inizio e fine multipli di "
                                     "50, codici 4 o 9, 0 solo con fine 0)");
      return;
    }
    generale_.push_back(std::string("ripetizione segnali ") + codici + " codici,    " +
                        n(v.campo_1) + ",    " + n(v.campo_2));
  }

  void curve() {
    CurveTracciato c = curve_dal_tracciato(m_.tracciato, u_);
    if (!c.problemi.empty()) tracciato_segnalato_ = true;
    for (std::string& p : c.problemi) problema(std::move(p), kTracciato);
    for (const CurvaSorgente& k : c.curve) {
      curve_.push_back(riga(std::string("curva") + (k.destra ? "d" : "s") + n(k.classe),
                            {k.posizione, k.lunghezza}));
    }
  }

  // A gradient line at every stretch where the gradient changes, and one at 0; the last three
  // stretches keep 0, as the fill leaves them.
  void pendenze() {
    for (int64_t s = u_ - 2; s <= u_; ++s) {
      if (s >= 0 && t(s).pendenza != 0) {
        problema_tratto(s, "pendenza " + n(t(s).pendenza) +
                               " negli ultimi tre tratti, che nessuna riga scrive");
      }
    }
    for (int64_t s = 0; s <= u_ - 3; ++s) {
      if (s == 0 || t(s).pendenza != t(s - 1).pendenza) {
        pendenze_.push_back(riga("pendenza", {s * kMetriTratto, int64_t{t(s).pendenza} - 100}));
      }
    }
  }

  // A mountain for every run of stretches with the same type. Markers (every fourth stretch
  // from the start where nothing else stands) give the type plus 10. A mountain that starts at
  // most 150 m after the one before it ends gets type 3 whatever its line says: when the run is
  // not of type 3 its ends are moved within their stretches, or an empty mountain goes before it.
  void montagne() {
    struct Corsa {
      int64_t primo, ultimo;
      uint8_t tipo;
    };
    std::vector<Corsa> corse;
    for (int64_t s = 0; s <= u_; ++s) {
      const uint8_t tipo = t(s).montagna;
      if (tipo == 0) continue;
      if (!corse.empty() && corse.back().ultimo == s - 1 && corse.back().tipo == tipo) {
        corse.back().ultimo = s;
      } else {
        corse.push_back({s, s, tipo});
      }
    }
    std::vector<bool> in_montagna(tt_.size(), false);
    int64_t fine_prima = 0;    // end of the mountain line before
    int64_t ultimo_prima = 0;  // its last stretch
    bool prima = true;
    int numero = 0;
    for (const Corsa& c : corse) {
      for (int64_t s = c.primo; s <= c.ultimo; ++s) in_montagna[static_cast<size_t>(s)] = true;
      bool segni = false;
      for (int64_t s = c.primo + 3; s <= c.ultimo; s += 4) {
        if (t(s).oggetto == oggetto::segno_montagna) segni = true;
      }
      for (int64_t s = c.primo; s <= c.ultimo; ++s) {
        const bool al_posto = (s - c.primo) % 4 == 3;
        if (t(s).oggetto == oggetto::segno_montagna && al_posto && segni) spiega(s);
        if (segni && al_posto && t(s).oggetto == oggetto::libero) {
          problema_tratto(s, "manca il segno di montagna che la sua montagna mette");
        }
      }
      if (!nel_percorso(u_, static_cast<int32_t>(c.primo * kMetriTratto))) {
        problema_tratto(c.primo, "montagna che inizia dove nessuna riga la può mettere");
        continue;
      }
      int64_t inizio = c.primo * kMetriTratto;
      int64_t fine = (c.ultimo + 1) * kMetriTratto;
      if (!prima && c.tipo != 3 && inizio - fine_prima <= 150) {
        // The latest start and the earliest end before that still round to the same stretches.
        const int64_t inizio_tardi = inizio + (c.primo % 2 == 0 ? 25 : 24);
        const int64_t fine_presto = ultimo_prima * kMetriTratto + (ultimo_prima % 2 == 0 ? 25 : 26);
        if (inizio_tardi - fine_presto > 150) {
          montagne_.back().celle[1] = n(fine_presto);
          inizio = inizio_tardi;
        } else if (inizio > 150) {
          montagne_.push_back(riga("montagna", {0, 0, 0}));
          ++numero;
        } else {
          problema_tratto(c.primo, "montagna di tipo " + n(c.tipo) +
                                       " a meno di 150 m dalla fine della precedente, che "
                                       "nessuna riga dà (prende il tipo 3)");
        }
      }
      int64_t tipo = c.tipo;
      if (segni) {
        tipo += 10;
      } else if (tipo > 10) {
        tipo -= 256;  // the same byte, without markers
      }
      montagne_.push_back(riga("montagna", {inizio, fine, tipo}));
      ++numero;
      fine_prima = fine;
      ultimo_prima = c.ultimo;
      prima = false;
    }
    if (numero > 80) {
      problema("montagne: " + n(numero) + " righe, ma un sorgente ne tiene al massimo 80");
    }
    for (int64_t s = 0; s <= u_; ++s) {
      if (t(s).oggetto == oggetto::segno_montagna && !in_montagna[static_cast<size_t>(s)]) {
        problema_tratto(s, "segno di montagna fuori da ogni montagna");
      }
    }
  }

  void indicatori() {
    for (int64_t s = 0; s <= u_; ++s) {
      const Tratto& x = t(s);
      if (x.oggetto != oggetto::indicatore_velocita) continue;
      spiega(s);
      if (!nel_percorso_o_segnala(s, 100, "indicatore di velocità")) continue;
      // valore = first-side speed / 5 · 100 + second-side speed / 5.
      const int16_t v[3] = {x.valore_1, x.valore_2, x.valore_3};
      Riga r = riga("indicatori_vmax", {posizione_oggetto<int64_t>(s)});
      for (int16_t k : v) r.celle.push_back(n(k / 100 * 5));
      r.celle.push_back(n(x.valore_4 / 10));
      const bool un_lato =
          std::all_of(std::begin(v), std::end(v), [](int16_t k) { return k % 100 == 0; });
      for (int16_t k : v) r.celle.push_back(un_lato ? "" : n(k % 100 * 5));
      r.celle.push_back(n(x.valore_4 % 10));
      indicatori_.push_back(std::move(r));
    }
  }

  // Boards in the order of their entries, 80 downwards: the order the line phase gives them.
  void cartelli() {
    std::vector<std::pair<int, int64_t>> trovati;  // entry, stretch
    for (int64_t s = 0; s <= u_; ++s) {
      if (t(s).oggetto != oggetto::cartello) continue;
      spiega(s);
      trovati.emplace_back(t(s).valore_1, s);
    }
    std::sort(trovati.begin(), trovati.end(), std::greater<>());
    if (trovati.size() > static_cast<size_t>(voce::primo_cartello)) {
      problema("cartelli: " + n(static_cast<int64_t>(trovati.size())) +
               ", ma un sorgente ne tiene al massimo " + n(voce::primo_cartello));
    }
    int atteso = voce::primo_cartello;
    for (const auto& [indice, s] : trovati) {
      if (indice != atteso) {
        problema_tratto(s, "cartello con il testo della voce " + n(indice) + ", ma il cartello " +
                               n(voce::primo_cartello - atteso + 1) +
                               " di un sorgente prende la voce " + n(atteso));
      }
      --atteso;
      if (!nel_percorso_o_segnala(s, 100, "cartello")) continue;
      std::string testo;
      if (indice >= 1 && indice <= voce::primo_cartello) {
        const std::optional<std::string> voce = voce_testo(voce_n(indice).testo);
        if (voce) {
          testo = *voce;
        } else {
          problema_voce(indice, kTestoNonRiscrivibile);
        }
      }
      Riga r = riga("cartello_indicatore", {posizione_oggetto<int64_t>(s)});
      r.testo = testo;
      cartelli_.push_back(std::move(r));
    }
    cursore_cartelli_ = voce::primo_cartello - static_cast<int>(trovati.size());
  }

  // ---- train source

  void generale_treno() {
    const Voce& figure = voce_n(voce::figure_treno);
    const Voce& treno = voce_n(voce::treno);
    generale_treno_.push_back("numero vetture,    " + n(figure.campo_3));
    generale_treno_.push_back("percentuale massa frenata,    " + n(figure.campo_1));
    generale_treno_.push_back("sabbia,    " + n(treno.intero_1));
    generale_treno_.push_back("orologio,    " + n(treno.intero_3) + "    " + n(treno.intero_4) +
                              "    " + n(treno.intero_5));
  }

  // A profile line at 0 and at every stretch where the value changes. The fill at the end of the
  // train phase stops before the last three stretches unless a line stands at the first of them.
  void profilo(const char* parola, uint8_t Tratto::*campo, int64_t unita, std::vector<Riga>& out) {
    for (int64_t s = std::max<int64_t>(u_ - 1, 0); s <= u_; ++s) {
      if (t(s).*campo != 0) {
        problema_tratto(s, std::string(parola) + " " + n(t(s).*campo) +
                               " negli ultimi due tratti, che nessuna riga scrive");
      }
    }
    for (int64_t s = 0; s <= u_ - 3; ++s) {
      if (s == 0 || t(s).*campo != t(s - 1).*campo) {
        out.push_back(riga(parola, {s * kMetriTratto, unita * (t(s).*campo)}));
      }
    }
    if (u_ >= 2 && t(u_ - 2).*campo != 0) {
      out.push_back(riga(parola, {(u_ - 2) * kMetriTratto, unita * (t(u_ - 2).*campo)}));
    }
  }

  static bool vuota(const Voce& v) { return v == Voce{}; }

  void stazioni() {
    int ultima = 0;
    while (ultima + 1 < cursore_cartelli_ + 1 && !vuota(voce_n(ultima + 1))) ++ultima;
    if (ultima >= cursore_cartelli_ - 1 && ultima > 0) {
      problema_voce(ultima, "con " + n(voce::primo_cartello - cursore_cartelli_) +
                                " cartelli un sorgente ha al massimo " + n(cursore_cartelli_ - 2) +
                                " stazioni");
    }
    for (int i = 1; i <= ultima; ++i) stazione(i);
  }

  void stazione(int i) {
    const Voce& v = voce_n(i);
    const int64_t p = v.campo_3;
    const uint8_t tipo = v.tipo_voce;
    int64_t banchina = 0;
    int64_t flag_3 = v.flag_3;
    bool zona_giusta = true;
    switch (tipo) {
      case 5:
      case 6:
        banchina = p - v.campo_1;
        zona_giusta = v.campo_2 == p + 150 && v.flag_3 == 0;
        break;
      case 7:
      case 8:
        banchina = p - v.campo_1;
        zona_giusta = v.campo_2 == p + banchina && v.flag_3 == 0;
        break;
      default: {
        banchina = 2 * (p - v.campo_1);
        const int64_t oltre = v.campo_2 - (p + banchina / 2);
        // The first station's item 6 is cleared after it has lengthened the zone.
        if (i == 1 && v.flag_3 == 0 && oltre == 50) flag_3 = 1;
        zona_giusta = (oltre == 0 && flag_3 == 0) || (oltre == 50 && flag_3 != 0);
        break;
      }
    }
    if (p % 50 != 0) problema_voce(i, "stazione a " + n(p) + " m, non multiplo di 50");
    if (banchina % 100 != 0 || !zona_giusta) {
      problema_voce(i, "la zona " + n(v.campo_1) + "-" + n(v.campo_2) +
                           " m non viene da nessuna lunghezza di marciapiede (multipla di 100)");
    }
    if (v.flag_4 != 0 && (banchina < 600 || i == 1)) {
      problema_voce(i, "flag_4 " + n(v.flag_4) +
                           " che un sorgente azzera (marciapiede sotto 600 m o prima stazione)");
    }
    if (i == 1 && v.flag_3 != 0) {
      problema_voce(i, "flag_3 " + n(v.flag_3) + " che un sorgente azzera nella prima stazione");
    }
    const std::optional<std::string> nome = voce_testo(v.testo);
    if (!nome) problema_voce(i, kTestoNonRiscrivibile);
    const int64_t ore = v.orario / 3600;
    const int64_t minuti = v.orario % 3600 / 60;
    const int64_t secondi = v.orario % 60;
    Scrittore w;
    w.stazione = true;
    w.chiave = i;
    w.riga = riga("stazione",
                  {p, tipo, banchina, v.opzione, v.flag_4, flag_3, v.intero_1, v.intero_2, v.flag_1,
                   v.intero_3, v.intero_4, v.intero_5, v.flag_2, ore, minuti, secondi});
    w.riga.testo = nome.value_or("");
    // Stopping point and approach bytes, as the train phase places them.
    if (tipo < 25) {
      const double fine_zona = static_cast<double>(v.campo_2) / kMetriTratto;
      const int64_t fermata = arrotonda(fine_zona - 1.0);
      if (fermata >= 0 && fermata <= u_ && t(fermata).oggetto == oggetto::fermata &&
          t(fermata).valore_1 == i) {
        spiega(fermata);
      } else if (fermata >= 0 && fermata <= u_) {
        problema_tratto(fermata, "qui andrebbe la fermata di " + dove_voce(i) + ", ma c'è " +
                                     nome_breve_oggetto(t(fermata).oggetto));
      }
      if (tipo != 5 && tipo != 6) {
        for (int k = 1; k <= 4; ++k) {
          const double s = fine_zona - k - 1.0;
          if (s > 1.0) w.scritture.emplace_back(arrotonda(s), static_cast<uint8_t>(80 + k));
        }
      }
    }
    scrittori_.push_back(std::move(w));
  }

  // Signals: their values taken apart into the items that form them. `sx`·3 + `dx` is the
  // approach base: it is chosen to agree with the approach bytes before the signal and with the
  // units of `valore_4`; `sx` is 2 when the signal keeps a time.
  void segnali() {
    for (int64_t s = 0; s <= u_; ++s) {
      const Tratto& x = t(s);
      if (x.oggetto != oggetto::segnale) continue;
      spiega(s);
      if (s < 8) {
        problema_tratto(s, "segnale senza i quattro tratti di preavviso prima di lui");
        continue;
      }
      if (!nel_percorso_o_segnala(s, 100, "segnale")) continue;
      int64_t base = 0;
      int migliori = -1;
      for (int64_t q = 0; q < 640; ++q) {
        if ((x.valore_4 - q) % 10 != 0) continue;
        int accordi = 0;
        for (int64_t b = 1; b <= 4; ++b) {
          if (t(s - 2 * b).preavviso == bassi<uint8_t>(q * 10 + b)) ++accordi;
        }
        if (accordi > migliori) {
          migliori = accordi;
          base = q;
        }
      }
      const int64_t rapp = (x.valore_4 - base) / 10;
      int64_t sx = base / 3, dx = base % 3;
      int64_t tempo = 0;
      if (x.tempo_segnale != 0) {
        sx = 2;
        dx = base - 6;
        tempo = x.tempo_segnale <= 100 ? x.tempo_segnale + 256 : x.tempo_segnale;
      }
      Scrittore w;
      w.chiave = s;
      w.riga = riga("segnale", {posizione_oggetto<int64_t>(s), sx, x.valore_1 / 10, x.valore_2 / 10,
                                x.valore_3 / 10, rapp, dx, x.valore_1 % 10, x.valore_2 % 10,
                                x.valore_3 % 10, tempo});
      for (int64_t b = 1; b <= 4; ++b)
        w.scritture.emplace_back(s - 2 * b, bassi<uint8_t>(base * 10 + b));
      scrittori_.push_back(std::move(w));
    }
  }

  // The order of stations and signals in the train source decides which approach byte stays
  // where they overlap: the last one written. Stations keep their order (their entries), signals
  // go by position after them, unless a byte wants a writer later than another.
  void ordina_preavvisi() {
    const size_t quanti = scrittori_.size();
    std::map<int64_t, std::vector<size_t>> per_tratto;
    for (size_t w = 0; w < quanti; ++w) {
      for (const auto& [s, b] : scrittori_[w].scritture) per_tratto[s].push_back(w);
    }
    std::vector<std::vector<size_t>> dopo(quanti);  // w must come before each of dopo[w]
    std::vector<size_t> entranti(quanti, 0);
    auto prima_di = [&](size_t a, size_t b) {
      dopo[a].push_back(b);
      ++entranti[b];
    };
    for (size_t w = 0; w + 1 < quanti; ++w) {
      if (scrittori_[w].stazione && scrittori_[w + 1].stazione) prima_di(w, w + 1);
    }
    auto valore = [&](size_t w, int64_t s) {
      for (const auto& [k, b] : scrittori_[w].scritture) {
        if (k == s) return b;
      }
      return uint8_t{0};
    };
    for (int64_t s = 0; s <= u_; ++s) {
      const uint8_t visto = t(s).preavviso;
      const auto it = per_tratto.find(s);
      if (it == per_tratto.end()) {
        if (visto != 0) {
          problema_tratto(s, "preavviso " + n(visto) +
                                 " che nessun segnale e nessuna stazione "
                                 "scrive");
        }
        continue;
      }
      const std::vector<size_t>& chi = it->second;
      std::optional<size_t> vincitore;
      for (size_t w : chi) {
        if (valore(w, s) == visto) vincitore = w;
      }
      if (!vincitore) {
        problema_tratto(s, "preavviso " + n(visto) +
                               " che nessun segnale e nessuna stazione qui intorno scrive");
        continue;
      }
      for (size_t w : chi) {
        if (valore(w, s) != visto) prima_di(w, *vincitore);
      }
    }
    // Kahn's order, the earliest writer first among those ready.
    std::priority_queue<size_t, std::vector<size_t>, std::greater<>> pronti;
    for (size_t w = 0; w < quanti; ++w) {
      if (entranti[w] == 0) pronti.push(w);
    }
    std::vector<size_t> ordine;
    while (!pronti.empty()) {
      const size_t w = pronti.top();
      pronti.pop();
      ordine.push_back(w);
      for (size_t v : dopo[w]) {
        if (--entranti[v] == 0) pronti.push(v);
      }
    }
    if (ordine.size() != quanti) {
      problema("preavvisi: nessun ordine di stazioni e segnali dà i byte di preavviso del file");
      ordine.clear();
      for (size_t w = 0; w < quanti; ++w) ordine.push_back(w);
    }
    for (size_t w : ordine) ordine_punti_.push_back(std::move(scrittori_[w]));
  }

  void rallentamenti() {
    std::vector<int64_t> fini;
    for (int64_t s = 0; s <= u_; ++s) {
      if (t(s).oggetto == oggetto::fine_rallentamento) fini.push_back(s);
    }
    std::vector<bool> fine_presa(fini.size(), false);
    auto stessa = [&](int64_t a, int64_t b) {
      return t(a).valore_1 == t(b).valore_1 && t(a).valore_2 == t(b).valore_2 &&
             t(a).valore_3 == t(b).valore_3;
    };
    std::vector<int64_t> inizi;
    for (int64_t s = 0; s <= u_; ++s) {
      if (t(s).oggetto == oggetto::inizio_rallentamento) inizi.push_back(s);
    }
    std::vector<std::optional<int64_t>> fine_di(inizi.size());
    // Each start takes the nearest end after it with the same values, then one before it.
    for (int verso = 0; verso < 2; ++verso) {
      for (size_t k = 0; k < inizi.size(); ++k) {
        if (fine_di[k]) continue;
        std::optional<size_t> scelta;
        for (size_t j = 0; j < fini.size(); ++j) {
          if (fine_presa[j] || !stessa(inizi[k], fini[j])) continue;
          if (verso == 0 && fini[j] > inizi[k] && (!scelta || fini[j] < fini[*scelta])) scelta = j;
          if (verso == 1 && fini[j] < inizi[k] && (!scelta || fini[j] > fini[*scelta])) scelta = j;
        }
        if (scelta) {
          fine_presa[*scelta] = true;
          fine_di[k] = fini[*scelta];
        }
      }
    }
    for (size_t j = 0; j < fini.size(); ++j) {
      if (!fine_presa[j]) problema_tratto(fini[j], "fine di un rallentamento senza il suo inizio");
      spiega(fini[j]);
    }
    for (size_t k = 0; k < inizi.size(); ++k)
      rallentamento(inizi[k], fine_di[k].value_or(inizi[k]));
    for (int64_t s = 0; s <= u_; ++s) {
      const uint8_t o = t(s).oggetto;
      if ((o == oggetto::avviso_rallentamento || o == oggetto::preavviso_rallentamento) &&
          !spiegato_[static_cast<size_t>(s)]) {
        spiega(s);
        problema_tratto(s, std::string(nome_breve_oggetto(o)) + " senza il suo rallentamento");
      }
    }
  }

  void rallentamento(int64_t i, int64_t e) {
    spiega(i);
    const Tratto& x = t(i);
    const int16_t v = x.valore_1, d_v = x.valore_2, f_tt = x.valore_3;
    // A start past stretch 31 is past 1500 m: its warning board stands 24 stretches before.
    const int64_t a = i - 24;
    const bool avviso_qui = a >= 0 && t(a).oggetto == oggetto::avviso_rallentamento &&
                            t(a).valore_1 == v && t(a).valore_2 == d_v;
    int64_t metri = posizione_oggetto<int64_t>(i);
    if (i == 31 && avviso_qui) metri += 10;  // just past 1500 m, still on stretch 31
    if (i > 31 && !avviso_qui) {
      problema_tratto(a, "manca l'avviso del rallentamento che inizia sul tratto " + n(i));
    }
    const bool con_avviso = i > 31 || (i == 31 && avviso_qui);
    int64_t f_ta = 0;
    if (con_avviso && avviso_qui) {
      spiega(a);
      bool marcati = true;
      for (int64_t k = 0; k < 4; ++k) {
        const int64_t s = a - 1 - k;
        marcati = marcati && s >= 0 && t(s).oggetto == oggetto::preavviso_rallentamento &&
                  t(s).valore_1 == k + 1 && t(s).valore_2 == (d_v != 0 ? k + 1 : 0);
      }
      if (marcati) {
        f_ta = 1;
        for (int64_t k = 0; k < 4; ++k) spiega(a - 1 - k);
      }
    }
    if (!nel_percorso_o_segnala(i, 100, "rallentamento")) return;
    rallentamenti_.push_back(
        riga("rallentamento", {metri, v, (e - i) * kMetriTratto, f_tt, f_ta, d_v}));
  }

  // Code cut points, and code change points whose value is not the markers' own: all come from
  // lines. Points with the markers' value come from lines only where the marker pass puts
  // nothing (found by compiling, see verifica).
  void codici() {
    for (int64_t s = 0; s <= u_; ++s) {
      const Tratto& x = t(s);
      if (x.oggetto == oggetto::taglio_codice ||
          (x.oggetto == oggetto::cambio_codice && x.valore_1 != kValoreMarcatore)) {
        spiega(s);
        if (s > u_ - 2) {
          problema_tratto(s, std::string(nome_breve_oggetto(x.oggetto)) +
                                 " dove nessuna riga lo può mettere (fuori dal percorso)");
          continue;
        }
        Riga r = riga("abbattimento", {s * kMetriTratto});
        if (x.oggetto == oggetto::taglio_codice) {
          r.celle.emplace_back("AC");
        } else {
          // A value of 0 or less is the low 16 bits of a value from 32768 up.
          r.celle.push_back(n(x.valore_1 > 0 ? x.valore_1 : int64_t{x.valore_1} + 65536));
        }
        abbattimenti_[s] = std::move(r);
      } else if (x.oggetto == oggetto::cambio_codice) {
        marcatori_.push_back(s);
        spiega(s);
      }
    }
  }

  void oggetti_rimasti() {
    for (int64_t s = 0; s <= u_; ++s) {
      const uint8_t o = t(s).oggetto;
      if (o == oggetto::libero || spiegato_[static_cast<size_t>(s)] || segnalati_.count(s)) {
        continue;
      }
      problema_tratto(s, "oggetto " + n(o) + " (" + nome_breve_oggetto(o) +
                             ") che nessuna riga dei sorgenti mette qui");
    }
  }

  // ---- the two texts

  std::vector<std::string> testo_linea() const {
    std::vector<std::string> l = {"[generale]"};
    l.insert(l.end(), generale_.begin(), generale_.end());
    sezione(l, "[curve]", curve_);
    sezione(l, "[pendenze]", pendenze_);
    sezione(l, "[montagne]", montagne_);
    sezione(l, "[cartelli]", indicatori_);
    sezione(l, "[indicazioni]", cartelli_);
    l.emplace_back("[fine]");
    return l;
  }

  std::vector<std::string> testo_treno() const {
    std::vector<std::string> l = {"[generale]"};
    l.insert(l.end(), generale_treno_.begin(), generale_treno_.end());
    sezione(l, "[aderenze]", aderenze_);
    sezione(l, "[vel_limite]", velocita_);
    // Stations first, then the slowdowns, then the signals; a station that must follow a signal
    // starts a section of its own.
    size_t k = 0;
    std::vector<Riga> gruppo;
    while (k < ordine_punti_.size() && ordine_punti_[k].stazione) {
      gruppo.push_back(ordine_punti_[k++].riga);
    }
    sezione(l, "[stazioni]", gruppo);
    sezione(l, "[rallentamenti]", rallentamenti_);
    bool prima = true;
    while (k < ordine_punti_.size() || prima) {
      const bool stazione = k < ordine_punti_.size() && ordine_punti_[k].stazione;
      gruppo.clear();
      while (k < ordine_punti_.size() && ordine_punti_[k].stazione == stazione) {
        gruppo.push_back(ordine_punti_[k++].riga);
      }
      sezione(l, stazione ? "[stazioni]" : "[segnali]", gruppo);
      prima = false;
    }
    std::map<int64_t, Riga> codici = abbattimenti_;
    for (int64_t s : marcatori_scritti_) {
      codici[s] = riga("abbattimento", {s * kMetriTratto, kValoreMarcatore});
    }
    gruppo.clear();
    for (auto& [s, r] : codici) gruppo.push_back(r);
    sezione(l, "[codici]", gruppo);
    l.emplace_back("[fine]");
    return l;
  }

  // ---- compiling back

  // Compiles the texts, decides which code points with the markers' value are lines, and compares
  // what the last compile gives with the model, field by field.
  void verifica() {
    ordina_problemi();
    Prova p;
    for (int giro = 0; giro < kGiriMarcatori; ++giro) {
      out_.linea = testo_linea();
      out_.treno = testo_treno();
      p = compila(el_, byte_sorgente(out_.linea), byte_sorgente(out_.treno), con_tracciato_);
      if (!p.mancato.empty() || p.m.tratti.size() != tt_.size()) break;
      bool aggiunti = false;
      for (int64_t s : marcatori_) {
        if (p.m.tratti[static_cast<size_t>(s)].oggetto == oggetto::cambio_codice) continue;
        if (marcatori_scritti_.count(s) || s > u_ - 2) continue;
        marcatori_scritti_.insert(s);
        aggiunti = true;
      }
      if (!aggiunti) break;
    }
    if (!p.mancato.empty()) {
      problema(p.mancato);
      for (const Segnalazione& s : p.codici)
        problema("compilando i sorgenti ricostruiti: " + descrivi(s));
      return;
    }
    const size_t prima = out_.problemi.size();
    differenze(p.m);
    const bool uguali = out_.problemi.size() == prima;
    for (const Segnalazione& s : p.codici) {
      const std::string d = "compilando i sorgenti ricostruiti: " + descrivi(s);
      if (uguali) {
        out_.avvisi.push_back(d + " (come per i file letti)");
      } else {
        problema(d);
      }
    }
  }

  void differenze(const Modello& y) {
    const std::vector<Tratto>& a = m_.tratti;
    const std::vector<Tratto>& b = y.tratti;
    if (a.size() != b.size()) {
      problema("tratti: il file ne ha 0-" + n(static_cast<int64_t>(a.size()) - 1) +
               ", i sorgenti ricostruiti 0-" + n(static_cast<int64_t>(b.size()) - 1));
    }
    // The check codes first: they follow from the name and the train number alone.
    const Voce& va = m_.elenco[voce::intestazione];
    const Voce& vb = y.elenco[voce::intestazione];
    const bool con_tratto_1 = a.size() > 1 && b.size() > 1;
    if (va.intero_1 != vb.intero_1 || va.orario != vb.orario ||
        (con_tratto_1 && (a[1].valore_1 != b[1].valore_1 || a[1].valore_2 != b[1].valore_2))) {
      problema(
          "voce 85 e tratto 1: i valori fissi e i codici di controllo non sono quelli di "
          "nome \"" +
          cp1252::a_utf8(va.testo) + "\" e treno \"" +
          cp1252::a_utf8(m_.elenco[voce::treno].testo) +
          "\" (il simulatore rifiuta questi file); i sorgenti ricostruiti danno quelli giusti");
    }
    size_t diversi = 0;
    for (size_t s = 0; s < std::min(a.size(), b.size()); ++s) {
      Tratto x = a[s], z = b[s];
      if (s == 1) {
        x.valore_1 = z.valore_1 = 0;
        x.valore_2 = z.valore_2 = 0;
      }
      if (x == z || segnalati_.count(static_cast<int64_t>(s))) continue;
      if (++diversi > kDifferenzeElencate) continue;
      Differenza d;
      d.campi(kCampiTratto, x, z);
      problema(dove_tratto(static_cast<int64_t>(s)) + d.testo());
    }
    if (diversi > kDifferenzeElencate) {
      problema("e altri " + n(static_cast<int64_t>(diversi - kDifferenzeElencate)) +
               " tratti diversi");
    }
    for (int i = 0; i < kVociElenco; ++i) {
      Voce x = m_.elenco[static_cast<size_t>(i)], z = y.elenco[static_cast<size_t>(i)];
      if (i == voce::intestazione) {
        x.intero_1 = z.intero_1 = 0;
        x.orario = z.orario = 0;
      }
      if (x == z || voci_segnalate_.count(i)) continue;
      Differenza d;
      d.campi(kCampiVoce, x, z);
      if (x.testo != z.testo) {
        d.aggiungi("testo \"" + cp1252::a_utf8(x.testo) + "\"",
                   "testo \"" + cp1252::a_utf8(z.testo) + "\"");
      }
      problema("voce " + n(i) + d.testo());
    }
    if (!con_tracciato_ || tracciato_segnalato_) return;
    const Tracciato& pa = m_.tracciato;
    const Tracciato& pb = y.tracciato;
    size_t diversi_punti = 0;
    std::optional<size_t> primo;
    for (size_t c = 0; c < std::min(pa.punti(), pb.punti()); ++c) {
      if (stesso_punto(pa, pb, c)) continue;
      ++diversi_punti;
      if (!primo) primo = c;
    }
    if (diversi_punti > 0 || pa.punti() != pb.punti()) {
      problema("tracciato: " + n(static_cast<int64_t>(diversi_punti)) +
               " punti diversi da quelli dei sorgenti ricostruiti" +
               (primo ? ", il primo è il punto " + n(static_cast<int64_t>(*primo)) : ""));
    }
  }

  const Modello& m_;
  const Elenco& el_;
  std::vector<Tratto> tt_;  // the stretches without the header values of stretch 1
  const int32_t u_;
  const bool con_tracciato_;
  std::vector<bool> spiegato_;  // stretches whose object a line of the sources accounts for
  std::set<int64_t> segnalati_;
  std::set<int> voci_segnalate_;
  bool tracciato_segnalato_ = false;
  std::vector<std::pair<int, int64_t>> ordine_problemi_;  // group and number of each problem
  int cursore_cartelli_ = voce::primo_cartello;

  std::vector<std::string> generale_;
  std::vector<Riga> curve_, pendenze_, montagne_, indicatori_, cartelli_;
  std::vector<std::string> generale_treno_;
  std::vector<Riga> aderenze_, velocita_, rallentamenti_;
  std::vector<Scrittore> scrittori_;      // stations, then signals, before ordering
  std::vector<Scrittore> ordine_punti_;   // the same in the order of the train source
  std::map<int64_t, Riga> abbattimenti_;  // by stretch
  std::vector<int64_t> marcatori_;        // code points with the markers' value
  std::set<int64_t> marcatori_scritti_;   // those of them written as lines
  Decompilato out_;
};

}  // namespace

Decompilato decompila(const Modello& m) { return Decompilatore(m).esegui(); }

std::string byte_sorgente(const std::vector<std::string>& righe) {
  std::vector<std::string_view> tabella(righe.begin(), righe.end());
  tabella.push_back(kFineTabella);
  return testo_cp1252(tabella);
}

}  // namespace compattatore
