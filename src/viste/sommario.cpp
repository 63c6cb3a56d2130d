#include "viste/sommario.h"

#include <cstring>
#include <string>

#include "formato/punti_tracciato.h"
#include "model/campi.h"
#include "model/formatta.h"
#include "model/oggetti.h"
#include "model/regole.h"

namespace compattatore {
namespace {

std::string metri(int64_t m) { return std::to_string(m) + " m"; }

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
      cosa = std::to_string(punti_tracciato::numero(m.tracciato)) + " punti";
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

void stampa_percorso(std::ostream& out, const Descrizione& r) {
  out << "\nPercorso\n  lunghezza " << metri(r.lunghezza) << ", metri_totali "
      << (int64_t{r.lunghezza} + kCodaPercorso);
  if (r.ultimo_tratto >= 0) out << ", tratti 0-" << r.ultimo_tratto << " (50 m ciascuno)";
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
  out << "\nOrario (" << r.stazioni.size() << " stazioni)\n"
      << "  voce posizione progressiva  tipo    arrivo sosta zona              fermata"
         "  nome\n";
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
    const int32_t p = posizione_oggetto(g.tratto);
    out << formatta("  %6d %9d %-12s  %2d/%d  %2d/%d  %2d/%d %4d %2d %2d %5u\n", g.tratto, p,
                    km_di(r, p).c_str(), g.aspetti[0], g.d[0], g.aspetti[1], g.d[1], g.aspetti[2],
                    g.d[2], g.rapp, g.sx, g.dx, unsigned{g.tempo});
  }
}

void stampa_rallentamenti(std::ostream& out, const Descrizione& r) {
  out << "\nRallentamenti (" << r.rallentamenti.size() << ")\n"
      << "     avviso     inizio       fine  velocità lunghezza  d_v f_tt preavvisi\n";
  const auto punto = [](const std::optional<int32_t>& s) {
    return s ? formatta("%9d", posizione_oggetto(*s)) : std::string("        -");
  };
  for (const RallentamentoLetto& ra : r.rallentamenti) {
    const std::string lunghezza = ra.inizio && ra.fine
                                      ? formatta("%7d m", (*ra.fine - *ra.inizio) * kMetriTratto)
                                      : std::string("        -");
    out << "  " << punto(ra.avviso) << "  " << punto(ra.inizio) << "  " << punto(ra.fine)
        << formatta("  %3d km/h ", ra.velocita) << lunghezza
        << formatta(" %4d %4d %s\n", ra.d_v, ra.f_tt, ra.segnalato ? "sì" : "no");
  }
}

void stampa_punti_codice(std::ostream& out, const Descrizione& r) {
  out << "\nPunti di codice (" << r.punti_codice.size() << ")\n";
  for (const PuntoCodice& c : r.punti_codice) {
    out << formatta("  tratto %6d %9d m  ", c.tratto, posizione_oggetto(c.tratto))
        << (c.taglio ? std::string("taglio del codice") : formatta("codice %d", c.codice)) << "\n";
  }
}

void stampa_montagne(std::ostream& out, const Descrizione& r) {
  out << "\nMontagne (" << r.montagne.size() << ")\n";
  for (const Montagna& mo : r.montagne) {
    out << formatta("  da %9d a %9d m  tipo %u  tratti %d-%d, %zu segni\n", inizio_tratto(mo.primo),
                    inizio_tratto(mo.ultimo + 1), unsigned{mo.tipo}, mo.primo, mo.ultimo,
                    mo.segni.size());
  }
}

void stampa_cartelli(std::ostream& out, const Descrizione& r) {
  out << "\nCartelli (" << r.cartelli.size() << ")\n";
  for (const Cartello& c : r.cartelli) {
    out << formatta("  tratto %6d %9d m  voce %2d  ", c.tratto, posizione_oggetto(c.tratto), c.voce)
        << c.testo << "\n";
  }
}

void stampa_indicatori(std::ostream& out, const Descrizione& r) {
  out << "\nIndicatori di velocità (" << r.indicatori.size() << ")\n";
  for (const IndicatoreVelocita& iv : r.indicatori) {
    out << formatta("  tratto %6d %9d m ", iv.tratto, posizione_oggetto(iv.tratto));
    const char* rango = "ABC";
    for (int k = 0; k < 3; ++k) {
      out << formatta("  %c %3d/%-3d", rango[k], iv.prima(k), iv.seconda(k));
    }
    out << formatta("  strisce %d/%d\n", iv.strisce_sinistra(), iv.strisce_destra());
  }
}

void stampa_profilo(std::ostream& out, const char* titolo, const std::vector<Tratta>& tratte,
                    const char* unita) {
  out << "\n" << titolo << " (" << tratte.size() << " tratte)\n";
  for (const Tratta& t : tratte) {
    out << formatta("  da %9d m  %4d %s  (tratti %d-%d)\n", inizio_tratto(t.primo), t.valore, unita,
                    t.primo, t.ultimo);
  }
}

void stampa_avvisi(std::ostream& out, const Identita& id) {
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
    stampa_percorso(out, r);
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
    stampa_profilo(out, "Velocità massima", r.velocita,
                   simbolo(riga_campo(CampoTratto::velocita).unita));
    stampa_profilo(out, "Aderenza", r.aderenze, simbolo(riga_campo(CampoTratto::aderenza).unita));
    stampa_profilo(out, "Pendenza", r.pendenze, "per mille");
  }
  stampa_avvisi(out, s.identita);
}

void stampa_tratti(std::ostream& out, const std::vector<Tratto>& tratti, int32_t primo,
                   int32_t ultimo) {
  // The kind of object takes its code and its name; every other field a column as wide as its
  // name.
  out << "tratto posizione " << formatta("%-26s", riga_campo(CampoTratto::oggetto).nome);
  for (const RigaCampo<Tratto>& c : kCampiTratto) {
    if (&c != &riga_campo(CampoTratto::oggetto)) out << " " << c.nome;
  }
  out << "\n";
  for (int32_t s = primo; s <= ultimo; ++s) {
    const Tratto& t = tratti[static_cast<size_t>(s)];
    out << formatta("%6d %9d %3u %-22s", s, posizione_oggetto(s), unsigned{t.oggetto},
                    sigla_oggetto(t.oggetto));
    for (const RigaCampo<Tratto>& c : kCampiTratto) {
      if (&c == &riga_campo(CampoTratto::oggetto)) continue;
      out << formatta(" %*lld", static_cast<int>(std::strlen(c.nome)),
                      static_cast<long long>(c.valore(t)));
    }
    out << "\n";
  }
}

}  // namespace compattatore
