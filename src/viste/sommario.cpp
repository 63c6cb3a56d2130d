#include "viste/sommario.h"

#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>

#include "formato/punti_tracciato.h"
#include "model/campi.h"
#include "model/formatta.h"
#include "model/italiano.h"
#include "model/oggetti.h"
#include "model/regole.h"
#include "viste/oggetto_scritto.h"
#include "viste/posizioni.h"

namespace compattatore {
namespace {

std::string metri(int64_t m) { return std::to_string(m) + " m"; }

std::string conta(size_t n, const char* uno, const char* tanti) {
  return quanti(static_cast<int64_t>(n), uno, tanti);
}

// The name of a keyword's value in the table of source fields, in parentheses: "(x)".
std::string nome_valore(ValoreChiave v) { return std::string("(") + riga(v).nome + ")"; }

// Columns as wide as the screen shows their text: "‰" takes one column, three bytes.
size_t colonne(const std::string& t) {
  size_t n = 0;
  for (const char c : t) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}
std::string a_destra(const std::string& t, size_t larghezza) {
  const size_t n = colonne(t);
  return n >= larghezza ? t : std::string(larghezza - n, ' ') + t;
}

// A header line of labels, each ending at its column (`fine`, from 0): the names of a table's
// columns, or under them the names of the keyword's values they show.
std::string intestazione(std::initializer_list<std::pair<size_t, std::string>> etichette) {
  std::string riga;
  for (const auto& [fine, e] : etichette) {
    const size_t n = colonne(e);
    riga += std::string(fine + 1 > colonne(riga) + n ? fine + 1 - colonne(riga) - n : 1, ' ') + e;
  }
  return riga + "\n";
}

// "km 39+050" of the position, or "-" without kilometric sections.
std::string km_di(const Descrizione& r, int64_t posizione) {
  const auto p = progressiva(r, posizione);
  return p ? km(*p) : "-";
}

std::string orario(int32_t secondi) { return secondi == 0 ? "-" : ora(secondi); }

// The files found, with their sizes and what each holds.
void stampa_file(std::ostream& out, const Scheda& s) {
  const ScenarioCompilato& sc = s.scenario;
  const Modello& m = sc.modello;
  out << "Scenario " << (s.identita.nome.empty() ? "?" : s.identita.nome) << ", treno "
      << (s.identita.treno.empty() ? "?" : s.identita.treno) << "\n";
  for (TipoCompilato tipo : kTipiCompilati) {
    const auto& f = sc.file[tipo];
    std::string cosa;
    if (!f) {
      cosa = "non trovato";
    } else if (tipo == TipoCompilato::tracciato) {
      cosa = std::to_string(sc.punti()) + " punti";
    } else if (tipo == TipoCompilato::elenco) {
      cosa = std::to_string(kVociElenco) + " voci";
    } else {
      cosa = "tratti 0-" + std::to_string(m.ultimo_tratto());
    }
    const auto byte = sc.dimensione(tipo);
    out << formatta("  %-10s ", nome_tipo(tipo)) << (f ? f->string() : "-")
        << (byte ? " (" + std::to_string(*byte) + " byte)" : "") << ": " << cosa << "\n";
  }
}

void stampa_codici(std::ostream& out, const ControlloCodici& cc) {
  out << "\nCodici di controllo (ricalcolati da treno e nome: \"" << cc.chiave << "\")\n";
  for (const ValoreControllo& v : cc.valori) {
    out << formatta("  %-15s %-18s ", v.nome.c_str(), v.dove.c_str())
        << (v.memorizzato ? formatta("%6d", *v.memorizzato) : std::string("     -"))
        << formatta("  atteso %6d  ", v.atteso)
        << (v.valido()      ? "valido"
            : v.memorizzato ? "NON VALIDO"
                            : "file mancante")
        << "\n";
  }
  out << (cc.validi() ? "  il simulatore accetta questi file\n"
                      : "  il simulatore rifiuta questi file\n");
}

// The route: its length and stretches, where its tail begins, the kilometric sections.
void stampa_percorso(std::ostream& out, const Scheda& s) {
  const Descrizione& r = s.descrizione;
  const PartiPercorso& p = s.parti;
  out << "\nPercorso\n  lunghezza " << metri(r.lunghezza) << ", metri_totali "
      << (int64_t{r.lunghezza} + kCodaPercorso);
  if (r.ultimo_tratto >= 0) {
    out << ", tratti 0-" << r.ultimo_tratto << " (50 m ciascuno: il tratto N da N × 50 m)";
    if (p.primo_coda <= p.ultimo) {
      out << "\n  coda oltre la fine del percorso: tratti " << p.primo_coda << "-" << p.ultimo
          << ", da " << metri(inizio_tratto<int64_t>(p.primo_coda))
          << " (i 7000 m che il formato aggiunge dopo la fine)"
          << "\n    i profili la riempiono con il loro ultimo valore";
      if (p.primo_senza_profilo <= p.ultimo) {
        out << ", tranne " << (p.primo_senza_profilo == p.ultimo ? "il tratto " : "i tratti ")
            << p.primo_senza_profilo
            << (p.primo_senza_profilo == p.ultimo ? "" : "-" + std::to_string(p.ultimo))
            << ", che nessuna riga scrive";
      }
    }
  }
  out << "\n  progressive chilometriche:";
  if (r.sezioni.empty()) out << " nessuna";
  out << "\n";
  for (const SezioneKm& z : r.sezioni) {
    out << formatta("    da %9d m  %-12s ", z.inizio, km_di(r, z.inizio).c_str())
        << (z.verso == 1 ? "decrescente" : "crescente  ")
        << formatta("  (voce %d: progressiva %d, verso %d)\n", z.voce, z.progressiva, z.verso);
  }
  out << "  sfondi: uno " << r.sfondi[0] << ", due " << r.sfondi[1] << ", tre " << r.sfondi[2]
      << "\n  ripetizione segnali: da " << metri(r.ripetizione_inizio) << " a "
      << metri(r.ripetizione_fine) << ", " << r.codici_ripetizione << " codici\n";
}

void stampa_treno(std::ostream& out, const Descrizione& r) {
  out << "\nTreno\n  massa frenata " << r.massa_frenata << "%, " << r.vetture << " vetture, sabbia "
      << r.sabbia
      << formatta(", orologio %d:%02d:%02d\n", r.orologio[0], r.orologio[1], r.orologio[2]);
}

void stampa_orario_stazioni(std::ostream& out, const Descrizione& r) {
  out << "\nOrario (" << conta(r.stazioni.size(), "stazione", "stazioni") << ")\n"
      << "  voce posizione progressiva  tipo    arrivo sosta zona              fermata"
         "  nome\n"
      << intestazione({{15, nome_valore(ValoreChiave::stazione_P)},
                       {33, nome_valore(ValoreChiave::stazione_tipo)},
                       {49, nome_valore(ValoreChiave::stazione_sosta)},
                       {82, nome_valore(ValoreChiave::stazione_nome)}});
  for (const Stazione& st : r.stazioni) {
    out << formatta("  %4d %9d %-12s %4u %9s %4us %7d..%-8d", st.voce, st.posizione,
                    km_di(r, st.posizione).c_str(), unsigned{st.tipo}, orario(st.orario).c_str(),
                    unsigned{st.sosta}, st.inizio_zona, st.fine_zona)
        << (st.tratto_fermata ? formatta("%7d", *st.tratto_fermata) : std::string("      -"))
        << "  " << st.nome << "\n";
  }
}

void stampa_segnali(std::ostream& out, const Descrizione& r) {
  out << "\nSegnali (" << r.segnali.size() << ")\n"
      << "  tratto posizione progressiva  s1/d1 s2/d2 s3/d3 rapp sx dx tempo\n";
  for (const SegnaleLetto& g : r.segnali) {
    const int64_t p = posizione_dell_oggetto(oggetto::segnale, g.tratto);
    out << formatta("  %6d %9lld %-12s  %2d/%d  %2d/%d  %2d/%d %4d %2d %2d %5u\n", g.tratto,
                    static_cast<long long>(p), km_di(r, p).c_str(), g.aspetti[0], g.d[0],
                    g.aspetti[1], g.d[1], g.aspetti[2], g.d[2], g.rapp, g.sx, g.dx,
                    unsigned{g.tempo});
  }
}

void stampa_rallentamenti(std::ostream& out, const Descrizione& r) {
  out << "\nRallentamenti (" << r.rallentamenti.size() << ")\n"
      << "     avviso     inizio       fine  velocità lunghezza    d_v   f_tt preavvisi\n"
      << intestazione({{21, nome_valore(ValoreChiave::rallentamento_x)},
                       {32, "(" + std::string(riga(ValoreChiave::rallentamento_x).nome) + " + " +
                                riga(ValoreChiave::rallentamento_l).nome + ")"},
                       {37, nome_valore(ValoreChiave::rallentamento_v)},
                       {50, nome_valore(ValoreChiave::rallentamento_l)},
                       {59, nome_valore(ValoreChiave::rallentamento_d_v)},
                       {66, nome_valore(ValoreChiave::rallentamento_f_tt)},
                       {72, nome_valore(ValoreChiave::rallentamento_f_ta)}});
  const auto punto = [](const std::optional<int32_t>& s, uint8_t o) {
    return s ? formatta("%9lld", static_cast<long long>(posizione_dell_oggetto(o, *s)))
             : std::string("        -");
  };
  for (const RallentamentoLetto& ra : r.rallentamenti) {
    const std::string lunghezza = ra.inizio && ra.fine
                                      ? formatta("%7d m", (*ra.fine - *ra.inizio) * kMetriTratto)
                                      : std::string("        -");
    out << "  " << punto(ra.avviso, oggetto::avviso_rallentamento) << "  "
        << punto(ra.inizio, oggetto::inizio_rallentamento) << "  "
        << punto(ra.fine, oggetto::fine_rallentamento) << formatta("  %3d km/h ", ra.velocita)
        << lunghezza << formatta(" %6d %6d %s\n", ra.d_v, ra.f_tt, ra.segnalato ? "sì" : "no");
  }
}

void stampa_punti_codice(std::ostream& out, const Descrizione& r) {
  out << "\nPunti di codice (" << r.punti_codice.size() << ")\n";
  for (const PuntoCodice& c : r.punti_codice) {
    const uint8_t o = c.taglio ? oggetto::taglio_codice : oggetto::cambio_codice;
    out << formatta("  tratto %6d %9lld m  ", c.tratto,
                    static_cast<long long>(posizione_dell_oggetto(o, c.tratto)))
        << (c.taglio ? std::string("taglio del codice") : formatta("codice %d", c.codice)) << "\n";
  }
}

void stampa_montagne(std::ostream& out, const Descrizione& r) {
  out << "\nMontagne (" << r.montagne.size() << ")\n";
  for (const Montagna& mo : r.montagne) {
    out << formatta("  da %9d a %9d m  tipo %u  tratti %d-%d, ", inizio_tratto(mo.primo),
                    inizio_tratto(mo.ultimo + 1), unsigned{mo.tipo}, mo.primo, mo.ultimo)
        << conta(mo.segni.size(), "segno", "segni") << "\n";
  }
}

void stampa_cartelli(std::ostream& out, const Descrizione& r) {
  out << "\nCartelli (" << r.cartelli.size() << ")\n";
  for (const Cartello& c : r.cartelli) {
    out << formatta("  tratto %6d %9lld m  voce %2d  ", c.tratto,
                    static_cast<long long>(posizione_dell_oggetto(oggetto::cartello, c.tratto)),
                    c.voce)
        << c.testo << "\n";
  }
}

// Each rank's speeds on the two sides, and the stripes, under the names of the keyword's values.
void stampa_indicatori(std::ostream& out, const Descrizione& r) {
  out << "\nIndicatori di velocità (" << r.indicatori.size() << ")\n";
  const ValoreChiave nomi[4][2] = {
      {ValoreChiave::indicatori_vmax_vas, ValoreChiave::indicatori_vmax_vad},
      {ValoreChiave::indicatori_vmax_vbs, ValoreChiave::indicatori_vmax_vbd},
      {ValoreChiave::indicatori_vmax_vcs, ValoreChiave::indicatori_vmax_vcd},
      {ValoreChiave::indicatori_vmax_strisces, ValoreChiave::indicatori_vmax_strisced}};
  for (const IndicatoreVelocita& iv : r.indicatori) {
    std::string riga_iv = formatta(
        "  tratto %6d %9lld m ", iv.tratto,
        static_cast<long long>(posizione_dell_oggetto(oggetto::indicatore_velocita, iv.tratto)));
    for (int k = 0; k < 4; ++k) {
      const int a = k < 3 ? iv.prima(k) : iv.strisce_sinistra();
      const int b = k < 3 ? iv.seconda(k) : iv.strisce_destra();
      const std::string unita = k < 3 ? std::string(" ") + riga(nomi[k][0]).unita : "";
      riga_iv += formatta("  %s/%s %-12s", riga(nomi[k][0]).nome, riga(nomi[k][1]).nome,
                          (std::to_string(a) + "/" + std::to_string(b) + unita).c_str());
    }
    while (riga_iv.back() == ' ') riga_iv.pop_back();
    out << riga_iv << "\n";
  }
}

// One line per run of a profile, cut where the tail begins; the tail's last stretches, which no
// line fills, have no value.
void stampa_profilo(std::ostream& out, const char* titolo, const std::vector<Tratta>& tratte,
                    CampoTratto campo, const PartiPercorso& p) {
  const char* unita = simbolo(riga_campo(campo).unita);
  const std::vector<TrattaInParte> parti = in_parti(tratte, p);
  out << "\n" << titolo << " (" << conta(parti.size(), "tratta", "tratte") << ")\n";
  for (const TrattaInParte& t : parti) {
    out << formatta("  da %9d m  ", inizio_tratto(t.primo));
    const std::string valore =
        t.parte == ParteDelPercorso::senza_profilo ? "-" : std::to_string(t.valore);
    const std::string u = t.parte == ParteDelPercorso::senza_profilo ? "" : unita;
    out << a_destra(valore, 4) << " " << u << std::string(5 - colonne(u), ' ')
        << formatta("(tratti %d-%d)", t.primo, t.ultimo);
    if (t.parte == ParteDelPercorso::coda) out << "  coda oltre la fine del percorso";
    if (t.parte == ParteDelPercorso::senza_profilo)
      out << "  coda: nessuna riga scrive questi tratti (byte 0)";
    out << "\n";
  }
}

void stampa_avvisi(std::ostream& out, const IdentitaLetta& id) {
  if (id.avvisi.empty()) return;
  out << "\nAvvisi (" << id.avvisi.size() << ")\n";
  for (const Rilievo& a : id.avvisi) out << "  " << a.testo() << "\n";
}

}  // namespace

void stampa_sommario(std::ostream& out, const Scheda& s) {
  const Descrizione& r = s.descrizione;
  stampa_file(out, s);
  if (s.codici) stampa_codici(out, *s.codici);
  if (s.scenario.con_elenco) {
    stampa_percorso(out, s);
    stampa_treno(out, r);
    stampa_orario_stazioni(out, r);
  }
  if (!s.scenario.modello.tratti.empty()) {
    stampa_segnali(out, r);
    stampa_rallentamenti(out, r);
    stampa_punti_codice(out, r);
    stampa_montagne(out, r);
    stampa_cartelli(out, r);
    stampa_indicatori(out, r);
    stampa_profilo(out, "Velocità massima", r.velocita, CampoTratto::velocita, s.parti);
    stampa_profilo(out, "Aderenza", r.aderenze, CampoTratto::aderenza, s.parti);
    stampa_profilo(out, "Pendenza", r.pendenze, CampoTratto::pendenza, s.parti);
  }
  stampa_avvisi(out, s.identita);
}

void stampa_tratti(std::ostream& out, const Scheda& s, int32_t primo, int32_t ultimo) {
  const std::vector<Tratto>& tratti = s.scenario.modello.tratti;
  const RigaCampo<Tratto>& kind = riga_campo(CampoTratto::oggetto);
  // The kind of object takes its code and its name; every other field a column as wide as its
  // name, with its unit under it; then the object in the author's words.
  const auto larghezza = [](const RigaCampo<Tratto>& c) {
    const std::string u = simbolo(c.unita);
    return std::max(std::strlen(c.nome), u.empty() ? 0 : colonne(u) + 2);
  };
  std::string nomi = "tratto      da " + formatta("%-26s", kind.nome);
  std::string unita = formatta("%6s %7s %-26s", "", "(m)", "");
  for (const RigaCampo<Tratto>& c : kCampiTratto) {
    if (&c == &kind) continue;
    const std::string u = simbolo(c.unita);
    nomi += " " + a_destra(c.nome, larghezza(c));
    unita += " " + a_destra(u.empty() ? "" : "(" + u + ")", larghezza(c));
  }
  out << nomi << "  oggetto nei sorgenti\n";
  // Trailing blanks are no use to anyone.
  while (!unita.empty() && unita.back() == ' ') unita.pop_back();
  out << unita << "\n";
  for (int32_t n = primo; n <= ultimo; ++n) {
    const Tratto& t = tratti[static_cast<size_t>(n)];
    const ParteDelPercorso parte = s.parti.parte(n);
    out << formatta("%6d %7d %3u %-22s", n, inizio_tratto(n), unsigned{t.oggetto},
                    sigla_oggetto(t.oggetto));
    for (const RigaCampo<Tratto>& c : kCampiTratto) {
      if (&c == &kind) continue;
      const std::string v = parte == ParteDelPercorso::senza_profilo && campo_di_profilo(c)
                                ? "-"
                                : std::to_string(c.in_unita(c.valore(t)));
      out << " " << a_destra(v, larghezza(c));
    }
    std::string resto;
    if (parte == ParteDelPercorso::coda) resto = "[coda]";
    if (parte == ParteDelPercorso::senza_profilo) resto = "[coda senza profilo]";
    if (const auto o = oggetto_scritto(s.descrizione, tratti, n)) {
      resto += (resto.empty() ? "" : " ") + testo_oggetto(*o);
    }
    out << (resto.empty() ? "" : "  " + resto) << "\n";
  }
}

}  // namespace compattatore
