#include "run/esecuzione.h"

#include <optional>

#include "io/blocco.h"
#include "io/file_sicuro.h"
#include "io/sistema.h"
#include "model/cp1252.h"
#include "sources/scenario.h"
#include "sources/testo.h"

namespace compattatore {
namespace fs = std::filesystem;

namespace {

// A source read whole; one that cannot be read is a run-time fault when the parse comes to it.
Sorgente leggi_sorgente(const fs::path& file) {
  Sorgente s{file.string()};
  try {
    s.byte = leggi_file(file);
  } catch (const ErroreFile& e) {
    s.stato = Sorgente::Stato::illeggibile;
    s.guasto = e.what();
  }
  return s;
}

// A run that stopped on a file it could not write; `dove` says what the file is.
RisultatoPercorso non_scritto(const ErroreFile& e, const std::string& dove = "") {
  RisultatoPercorso r{Esito::scrittura_fallita,
                      "impossibile scrivere " + dove + e.file.string() + ": " + e.motivo};
  r.errore_sistema = e.errore;
  return r;
}

}  // namespace

void scrivi_sorgenti_incorporate(const fs::path& cartella) {
  const NomiScenario nomi = NomiScenario::incorporato();
  Sostituzione sostituzione;
  sostituzione.prepara(cartella / percorso_utf8(nomi.file(FileScenario::sorgente_linea)),
                       testo_cp1252(tabella_linea()));
  sostituzione.prepara(cartella / percorso_utf8(nomi.file(FileScenario::sorgente_treno)),
                       testo_cp1252(tabella_treno()));
  sostituzione.conferma();
}

Esecuzione::Esecuzione(NomiScenario nomi, fs::path cartella, Sorgenti sorgenti, int32_t flag_linea,
                       bool incorporata, Osservatore osservatore)
    : nomi_(std::move(nomi)),
      cartella_(std::move(cartella)),
      sorgenti_(std::move(sorgenti)),
      flag_linea_(flag_linea),
      incorporata_(incorporata),
      parola_(std::move(osservatore)) {}

Esecuzione Esecuzione::incorporata(fs::path cartella, Osservatore osservatore) {
  Esecuzione run =
      nella_cartella(NomiScenario::incorporato(), std::move(cartella), std::move(osservatore));
  run.incorporata_ = true;
  return run;
}

Esecuzione Esecuzione::nella_cartella(NomiScenario nomi, fs::path cartella,
                                      Osservatore osservatore) {
  Sorgenti sorgenti{cartella / percorso_utf8(nomi.file(FileScenario::sorgente_linea)),
                    cartella / percorso_utf8(nomi.file(FileScenario::sorgente_treno)), true};
  return Esecuzione(std::move(nomi), std::move(cartella), std::move(sorgenti), 1, false,
                    std::move(osservatore));
}

Esecuzione Esecuzione::dell_autore(NomiScenario nomi, fs::path cartella, fs::path linea,
                                   fs::path treno, bool con_tracciato, Osservatore osservatore,
                                   Codifica codifica) {
  return Esecuzione(std::move(nomi), std::move(cartella),
                    Sorgenti{std::move(linea), std::move(treno), false, codifica},
                    con_tracciato ? 1 : 0, false, std::move(osservatore));
}

Esecuzione Esecuzione::verifica(NomiScenario nomi, fs::path linea, fs::path treno,
                                bool con_tracciato, Osservatore osservatore, Codifica codifica) {
  Esecuzione run = dell_autore(std::move(nomi), {}, std::move(linea), std::move(treno),
                               con_tracciato, std::move(osservatore), codifica);
  run.scrive_ = false;
  return run;
}

fs::path Esecuzione::file(FileScenario f) const { return cartella_ / percorso_utf8(nomi_.file(f)); }

std::vector<std::string> Esecuzione::file_della_corsa() const {
  std::vector<FileScenario> file;
  if (incorporata_) {
    file = {FileScenario::sorgente_linea, FileScenario::sorgente_treno, FileScenario::note,
            FileScenario::rallentamenti, FileScenario::scheda};
  } else if (sorgenti_.cancella_dopo_lettura) {
    file = {FileScenario::sorgente_linea, FileScenario::sorgente_treno};
  }
  if (flag_linea_ != 0) file.push_back(FileScenario::tracciato);
  file.push_back(FileScenario::elenco);
  file.push_back(FileScenario::tratti);
  std::vector<std::string> nomi;
  for (const FileScenario f : file) nomi.push_back(nomi_.file(f));
  return nomi;
}

RisultatoPercorso Esecuzione::esegui(const std::function<void()>& in_attesa) {
  std::optional<BloccoCorsa> blocco;
  try {
    // A check writes nothing, not even a lock file.
    if (scrive_) blocco.emplace(cartella_, file_della_corsa(), in_attesa);
  } catch (const ErroreFile& e) {
    return con_parola(non_scritto(e, "nella cartella "));
  }
  if (incorporata_) {
    try {
      dati_linea(cartella_, nomi_);
      dati_treno(cartella_, nomi_);
      documenti_ = std::make_shared<Sostituzione>();
      for (const auto& [documento, righe] :
           {std::pair{FileScenario::note, tabella_note()},
            std::pair{FileScenario::rallentamenti, tabella_rallentamenti()},
            std::pair{FileScenario::scheda, tabella_scheda()}}) {
        documenti_->prepara(file(documento), testo_cp1252(righe));
      }
    } catch (const ErroreFile& e) {
      documenti_.reset();
      return con_parola(non_scritto(e));
    }
  }
  return memorizza_percorso(flag_linea_);
}

RisultatoPercorso Esecuzione::con_parola(RisultatoPercorso r) const {
  r.codice_errore = codice_errore();
  r.posizione_errore = posizione_errore();
  r.con_posizione = parola_.con_posizione();
  return r;
}

Sorgente Esecuzione::sorgente_linea() {
  Sorgente s{sorgenti_.linea.string()};
  if (!esiste(sorgenti_.linea)) {
    s.stato = Sorgente::Stato::mancante;
    return s;
  }
  if (stesso_file(sorgenti_.linea, sorgenti_.treno)) {
    parola_.segnala_avviso(Avviso::stesso_file, Luogo{sorgenti_.treno.string(), 0, {}},
                           "il file del treno è lo stesso file della linea");
  }
  return leggi_sorgente(sorgenti_.linea);
}

Sorgente Esecuzione::sorgente_treno() const { return leggi_sorgente(sorgenti_.treno); }

RisultatoPercorso Esecuzione::memorizza_percorso(int32_t j) {
  flag_linea_ = j;
  parola_.azzera();
  const NomiScenario& n = nomi_;
  const Identita identita{cp1252::da_utf8(n.nome()), cp1252::da_utf8(n.treno())};
  OpzioniCompilazione opzioni;
  opzioni.con_tracciato = flag_linea_ != 0;
  opzioni.codifica = sorgenti_.codifica;
  const Sorgente linea = sorgente_linea();
  compilato_ = compila_testi(identita, linea, sorgente_treno(), opzioni, parola_);
  if (sorgenti_.cancella_dopo_lettura) {
    // A source already deleted is no error.
    if (compilato_.letta_linea) cancella(sorgenti_.linea);
    if (compilato_.letto_treno) cancella(sorgenti_.treno);
  }
  if (compilato_.fine == FineCompilazione::non_dimensionata) {
    return con_parola(
        solo_documenti({Esito::non_dimensionato,
                        "il percorso non ha lunghezza: nessun file compilato scritto (errore " +
                            std::to_string(codice_errore()) + ")"}));
  }
  return con_parola(scrivi_compilati());
}

RisultatoPercorso Esecuzione::completa_e_scrivi() {
  compilato_ =
      completa_modello(std::move(compilato_.modello), std::move(compilato_.origini), parola_);
  return con_parola(scrivi_compilati());
}

RisultatoPercorso Esecuzione::scrivi_compilati() {
  RisultatoPercorso r;
  r.segni_di_codice = compilato_.segni_di_codice;
  if (compilato_.fine == FineCompilazione::campo_riservato) {
    if (const auto& osserva = parola_.osservatore()) osserva(*compilato_.arresto);
    r.esito = Esito::campo_riservato;
    r.codice = compilato_.arresto->codice;
    return solo_documenti(r);
  }
  if (!scrive_) {
    r.esito = Esito::verificato;
    return r;
  }

  try {
    std::vector<std::pair<TipoCompilato, fs::path>> destinazioni;
    if (flag_linea_ != 0) {
      destinazioni.emplace_back(TipoCompilato::tracciato, file(FileScenario::tracciato));
    }
    destinazioni.emplace_back(TipoCompilato::elenco, file(FileScenario::elenco));
    destinazioni.emplace_back(TipoCompilato::tratti, file(FileScenario::tratti));
    std::vector<fs::path> percorsi;
    for (const auto& d : destinazioni) percorsi.push_back(d.second);
    verifica_destinazioni(percorsi);
    // With the documents, when the run has them: one group.
    const std::shared_ptr<Sostituzione> gruppo =
        documenti_ ? std::move(documenti_) : std::make_shared<Sostituzione>();
    Sostituzione& sostituzione = *gruppo;
    // Each file is encoded piece by piece straight into its temporary file.
    for (const auto& [tipo, percorso] : destinazioni) {
      sostituzione.prepara(percorso, [this, tipo = tipo](Scrittore& s) {
        compilato_.scrivi(tipo,
                          [&s](std::string_view pezzo) { s.scrivi(pezzo.data(), pezzo.size()); });
      });
    }
    sostituzione.conferma();
  } catch (const ErroreFile& e) {
    documenti_.reset();
    return non_scritto(e);
  }
  return r;
}

RisultatoPercorso Esecuzione::solo_documenti(RisultatoPercorso r) {
  if (!documenti_) return r;
  const std::shared_ptr<Sostituzione> gruppo = std::move(documenti_);
  try {
    gruppo->conferma();
  } catch (const ErroreFile& e) {
    return non_scritto(e);
  }
  return r;
}

}  // namespace compattatore
