// `compattatore compila LINEA TRENO` and `compattatore verifica LINEA TRENO`: an author's own
// line and train sources through the same run as the embedded scenario, writing the compiled
// files or only checking them; and `compattatore esempio CARTELLA`, the embedded sources as a
// template.
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/comandi.h"
#include "app/diagnostica.h"
#include "app/documento.h"
#include "app/lettura.h"
#include "app/osserva.h"
#include "app/rapporto.h"
#include "io/file_sicuro.h"
#include "io/sistema.h"
#include "model/italiano.h"
#include "model/nomi_scenario.h"
#include "model/riepilogo.h"
#include "run/esecuzione.h"
#include "sources/scenario.h"
#include "viste/disegno.h"

namespace compattatore {
namespace fs = std::filesystem;

namespace {

// A source must be a readable regular file holding text.
std::optional<std::string> sorgente_non_valida(const fs::path& file) {
  const std::string nome = visibile(file.string());
  if (!esiste(file)) return "il file '" + nome + "' non esiste";
  if (!e_file(file)) return "'" + nome + "' non è un file";
  std::string contenuto;
  try {
    contenuto = leggi_file(file);
  } catch (const ErroreFile& e) {
    return "impossibile leggere '" + nome + "': " + e.motivo;
  }
  if (contenuto.find('\0') != std::string::npos) {
    return "'" + nome + "' non è un file di testo (contiene byte nulli)";
  }
  return std::nullopt;
}

// What the command line of `compila` or `verifica` asks for.
struct Richiesta {
  NomiScenario nomi;
  fs::path linea;
  fs::path treno;
  bool con_tracciato = true;
  Codifica codifica = Codifica::automatica;
  Formato formato = Formato::testo;
  bool avvisi_come_errori = false;
};

// The request, or the usage error.
std::variant<Richiesta, std::string> leggi_richiesta(const OpzioniLette& o) {
  std::optional<std::string> nome = o.valore("nome");
  std::optional<std::string> treno = o.valore("treno");
  const fs::path& linea = o.operandi[0];
  const fs::path& file_treno = o.operandi[1];

  Codifica codifica = Codifica::automatica;
  if (const auto c = o.valore("codifica")) {
    if (*c == "cp1252" || *c == "windows-1252") {
      codifica = Codifica::cp1252;
    } else if (*c == "utf-8" || *c == "utf8") {
      codifica = Codifica::utf8;
    } else {
      return "codifica sconosciuta '" + visibile(*c) + "': scrivi cp1252 o utf-8";
    }
  }
  Formato formato = Formato::testo;
  if (const auto f = o.valore("formato")) {
    if (*f == "json") {
      formato = Formato::json;
    } else if (*f != "testo") {
      return "formato sconosciuto '" + visibile(*f) + "': scrivi testo o json";
    }
  }

  for (const fs::path& f : {linea, file_treno}) {
    if (auto e = sorgente_non_valida(f)) return *e;
  }
  if (!nome) nome = NomiScenario::nome_da_file_linea(linea.string());
  if (!nome) {
    return "non ricavo il nome dello scenario da '" + visibile(linea.filename().string()) +
           "': il file della linea si chiama NOME_linea.txt, oppure usa --nome";
  }
  if (auto e = NomiScenario::difetto("nome dello scenario", *nome)) return visibile(*e);
  if (!treno) treno = NomiScenario::treno_da_file_treno(file_treno.string(), *nome);
  if (!treno) {
    return "non ricavo il numero del treno da '" + visibile(file_treno.filename().string()) +
           "': il file del treno si chiama " + visibile(*nome) + "_TRENO-.txt, oppure usa --treno";
  }
  std::string difetto;
  std::optional<NomiScenario> nomi = NomiScenario::crea(*nome, *treno, &difetto);
  if (!nomi) return visibile(difetto);
  return Richiesta{*nomi,
                   linea,
                   file_treno,
                   !o.presente("senza-tracciato"),
                   codifica,
                   formato,
                   o.presente("avvisi-come-errori")};
}

// The summary line of a compiled (or checked) scenario.
std::string riepilogo_testo(const Riepilogo& r) {
  return "riepilogo: percorso " + std::to_string(r.lunghezza) + " m, " +
         quanti(r.tratti, "tratto", "tratti") + ", " + quanti(r.stazioni, "stazione", "stazioni") +
         ", " + quanti(r.segnali, "segnale", "segnali") + ", " +
         quanti(r.rallentamenti, "rallentamento", "rallentamenti") + ", " +
         quanti(r.indicatori, "indicatore di velocità", "indicatori di velocità") + ", " +
         quanti(r.cartelli, "cartello indicatore", "cartelli indicatori") + ", " +
         quanti(r.segni_di_codice, "segno di codice", "segni di codice") +
         ", codici di controllo " + std::to_string(r.codice_st) + " e " +
         std::to_string(r.codice_og) + "\n";
}

// The line of a compile under a watch: how it ended, and what the scenario holds.
std::string riga_osservata(const RisultatoPercorso& r, const Resoconto& resoconto,
                           const std::optional<Riepilogo>& riepilogo, bool pagina_fallita) {
  std::string t;
  if (pagina_fallita) {
    t = "errore: pagina non scritta";
  } else if (r.esito == Esito::campo_riservato) {
    t = "errore " + std::to_string(numero(r.codice)) + ", nessun file scritto";
  } else if (r.esito == Esito::non_dimensionato) {
    t = "errore " + std::to_string(r.codice_errore) + ", nessun file scritto";
  } else if (r.esito == Esito::scrittura_fallita) {
    t = "errore: nessun file scritto";
  } else if (r.codice_errore != 0) {
    t = "errore " + std::to_string(r.codice_errore);
  } else if (resoconto.avvisi() > 0) {
    t = "avvisi " + std::to_string(resoconto.avvisi());
  } else {
    t = "ok";
  }
  if (riepilogo) {
    t += ": percorso " + std::to_string(riepilogo->lunghezza) + " m, " +
         quanti(riepilogo->tratti, "tratto", "tratti") + ", " +
         quanti(riepilogo->stazioni, "stazione", "stazioni") + ", " +
         quanti(riepilogo->segnali, "segnale", "segnali") + ", " +
         quanti(riepilogo->rallentamenti, "rallentamento", "rallentamenti");
  }
  return t;
}

// What `--formato` asks for; an unknown value is refused later, as a usage error in text.
Formato formato_chiesto(const OpzioniLette& o) {
  return o.valore("formato") == "json" ? Formato::json : Formato::testo;
}

// The run of `compila` (with an output folder) or `verifica` (without). Under a watch (with
// `riga`) the files written and the summary are not listed: `riga` gets the line of the watch
// instead, and a source that cannot be read is only that line; after another usage error it is
// left empty.
int compila_o_verifica(const char* comando, const OpzioniLette& o,
                       const std::optional<fs::path>& uscita, std::ostream& out, std::ostream& err,
                       std::string* riga = nullptr) {
  auto letta = leggi_richiesta(o);
  if (const auto* e = std::get_if<std::string>(&letta)) {
    if (riga != nullptr) {
      *riga = "errore: " + *e;
      return kUscitaFallita;
    }
    return fallisci(formato_chiesto(o), out, err, comando, *e);
  }
  const Richiesta& q = std::get<Richiesta>(letta);
  const auto rifiuta = [&](const std::string& messaggio) {
    return fallisci(q.formato, out, err, comando, messaggio);
  };

  Resoconto resoconto(err, q.formato);
  Esecuzione run = uscita
                       ? Esecuzione::dell_autore(q.nomi, *uscita, q.linea, q.treno, q.con_tracciato,
                                                 resoconto.osservatore(), q.codifica)
                       : Esecuzione::verifica(q.nomi, q.linea, q.treno, q.con_tracciato,
                                              resoconto.osservatore(), q.codifica);
  if (uscita) {
    // A compiled file never replaces a source: not by the same name, nor through a link to it.
    for (const std::string& compilato : run.file_della_corsa()) {
      const fs::path destinazione = *uscita / percorso_utf8(compilato);
      for (const fs::path& sorgente : {q.linea, q.treno}) {
        if (stesso_file(destinazione, sorgente)) {
          return rifiuta("il file compilato '" + visibile(destinazione.string()) +
                         "' sostituirebbe il sorgente '" + visibile(sorgente.string()) +
                         "': scegli un'altra cartella con --dir, o un altro nome con "
                         "--nome o --treno");
        }
      }
    }
    // Nor does the page of the route replace a source or a compiled file.
    if (const auto pagina = o.percorso("disegna")) {
      std::vector<fs::path> da_tenere{q.linea, q.treno};
      for (const std::string& compilato : run.file_della_corsa()) {
        da_tenere.push_back(*uscita / percorso_utf8(compilato));
      }
      for (const fs::path& f : da_tenere) {
        if (stessa_destinazione(*pagina, f)) {
          return rifiuta("la pagina '" + visibile(pagina->string()) + "' sostituirebbe '" +
                         visibile(f.string()) + "': scegli un altro nome con --disegna");
        }
      }
    }
  }
  // In JSON nothing goes to standard error, not even the wait for another run.
  const RisultatoPercorso r = uscita && q.formato == Formato::testo
                                  ? run.esegui(avviso_attesa(err, *uscita))
                                  : run.esegui();
  const Conclusione conclusione{&resoconto, q.avvisi_come_errori};

  std::vector<std::string> scritti;
  if (r.esito == Esito::scritto) {
    if (q.con_tracciato) scritti.push_back(run.file(FileScenario::tracciato).string());
    scritti.push_back(run.file(FileScenario::elenco).string());
    scritti.push_back(run.file(FileScenario::tratti).string());
  }
  std::optional<Riepilogo> riepilogo;
  if (r.esito == Esito::scritto || r.esito == Esito::verificato) {
    riepilogo = riepiloga(run.modello(), r.segni_di_codice);
  }
  std::string fallimento;  // a failure after the run
  if (const auto pagina = o.percorso("disegna"); pagina && r.esito == Esito::scritto) {
    try {
      if (riga != nullptr) {
        scrivi_pagina_osservata(*pagina, run.modello());
      } else {
        scrivi_pagina(*pagina, run.modello());
      }
      scritti.push_back(pagina->string());
    } catch (const ErroreFile& e) {
      fallimento = "impossibile scrivere '" + e.file.string() + "': " + e.motivo;
    }
  }

  if (q.formato == Formato::json) {
    out << documento_json(comando, conclusione, r, scritti, riepilogo, fallimento);
    return fallimento.empty() ? stato_uscita(r, conclusione) : kUscitaFallita;
  }
  if (riga != nullptr) *riga = riga_osservata(r, resoconto, riepilogo, !fallimento.empty());
  if (!fallimento.empty()) {
    err << "compattatore " << comando << ": " << visibile(fallimento) << "\n";
    concludi(r, err, conclusione);
    return kUscitaFallita;
  }
  if (riga != nullptr) return concludi(r, err, conclusione);
  for (const std::string& f : scritti) out << "scritto " << visibile(f) << "\n";
  if (riepilogo) out << riepilogo_testo(*riepilogo);
  out << std::flush;
  return concludi(r, err, conclusione);
}

}  // namespace

int comando_compila(const OpzioniLette& o, std::ostream& out, std::ostream& err) {
  const fs::path uscita = o.percorso("dir").value_or(".");
  if (auto e = non_cartella(uscita)) return fallisci(formato_chiesto(o), out, err, "compila", *e);
  if (!o.presente("osserva")) return compila_o_verifica("compila", o, uscita, out, err);
  // A watch begins only with sources that can be read; the messages of a run come as text.
  if (formato_chiesto(o) == Formato::json) {
    return fallisci(Formato::json, out, err, "compila",
                    "--osserva scrive una riga per compilazione: non va con --formato json");
  }
  auto letta = leggi_richiesta(o);
  if (const auto* e = std::get_if<std::string>(&letta)) {
    return fallisci(Formato::testo, out, err, "compila", *e);
  }
  const Richiesta& q = std::get<Richiesta>(letta);
  return osserva(
      "compila", {q.linea, q.treno},
      [&]() -> std::optional<std::string> {
        std::string riga;
        compila_o_verifica("compila", o, uscita, out, err, &riga);
        if (riga.empty()) return std::nullopt;
        return riga;
      },
      out, err);
}

int comando_verifica(const OpzioniLette& o, std::ostream& out, std::ostream& err) {
  return compila_o_verifica("verifica", o, std::nullopt, out, err);
}

int comando_esempio(const OpzioniLette& o, std::ostream& out, std::ostream& err) {
  const fs::path& cartella = o.operandi[0];
  const NomiScenario nomi = NomiScenario::incorporato();
  const fs::path linea = cartella / percorso_utf8(nomi.file(FileScenario::sorgente_linea));
  const fs::path treno = cartella / percorso_utf8(nomi.file(FileScenario::sorgente_treno));
  if (!o.presente("sovrascrivi")) {
    for (const fs::path& f : {linea, treno}) {
      if (esiste(f)) {
        return errore_uso(err, "esempio",
                          "'" + visibile(f.string()) +
                              "' esiste già: scegli un'altra cartella, o usa --sovrascrivi");
      }
    }
  }
  if (esiste(cartella) && !e_cartella(cartella)) {
    return errore_uso(err, "esempio", *non_cartella(cartella));
  }
  if (!crea_cartella(cartella)) {
    return errore_uso(err, "esempio",
                      "non posso creare la cartella '" + visibile(cartella.string()) + "'");
  }
  try {
    scrivi_sorgenti_incorporate(cartella);
  } catch (const ErroreFile& e) {
    err << "compattatore esempio: impossibile scrivere " << visibile(e.file.string()) << ": "
        << e.motivo << "\n";
    return kUscitaFallita;
  }
  out << "scritto " << visibile(linea.string()) << "\n"
      << "scritto " << visibile(treno.string()) << "\n"
      << "Per compilarli:\n  compattatore compila " << visibile(linea.string()) << " "
      << visibile(treno.string()) << "\n";
  return kUscitaOk;
}

}  // namespace compattatore
