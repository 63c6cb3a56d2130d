#include "run/esecuzione.h"

#include <optional>

#include "formato/compilati.h"
#include "io/blocco.h"
#include "io/file_sicuro.h"
#include "io/sistema.h"
#include "post/completa.h"
#include "sources/scenario.h"

namespace compattatore {
namespace fs = std::filesystem;

namespace {

// A run that stopped on a file it could not write; `dove` says what the file is.
RisultatoPercorso non_scritto(const ErroreFile& e, const std::string& dove = "") {
  RisultatoPercorso r{Esito::scrittura_fallita,
                      "impossibile scrivere " + dove + e.file.string() + ": " + e.motivo};
  r.errore_sistema = e.errore;
  return r;
}

}  // namespace

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
      dati_note(cartella_, nomi_);
      dati_rallentamenti(cartella_, nomi_);
      dati_scheda(cartella_, nomi_);
    } catch (const ErroreFile& e) {
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

RisultatoPercorso Esecuzione::memorizza_percorso(int32_t j) {
  flag_linea_ = j;
  parola_.azzera();
  modello_ = Modello{};  // all 87 entries of elenco cleared, no stretch array yet
  origini_.svuota();
  memorizza_dati(modello_, parola_, nomi_, sorgenti_, flag_linea_ != 0, &origini_);
  if (!modello_.dimensionato()) {
    return con_parola({Esito::non_dimensionato,
                       "il percorso non ha lunghezza: nessun file compilato scritto (errore " +
                           std::to_string(codice_errore()) + ")"});
  }
  return completa_e_scrivi();
}

RisultatoPercorso Esecuzione::completa_e_scrivi() { return con_parola(scrivi_compilati()); }

RisultatoPercorso Esecuzione::campo_riservato(Codice codice, const char* campo, int16_t valore) {
  const Tratto& primo = modello_.tratto(1);
  Segnalazione s{codice};
  s.tratto = 1;
  if (valore != 0) {
    const Origine* o = origini_.di(1);
    if (o != nullptr) s.luogo = o->luogo;
    s.dettaglio = "sul tratto 1 c'è " + nome_oggetto(primo.oggetto) + " con " + campo + " " +
                  std::to_string(valore);
    if (o != nullptr && o->dal_compattatore) s.dettaglio += ", messo dal compattatore";
  } else {
    s.dettaglio = "la voce 85 della tabella ha già un valore";
  }
  if (const auto& osserva = parola_.osservatore()) osserva(s);
  RisultatoPercorso r{Esito::campo_riservato, "", codice};
  r.segni_di_codice = segni_;
  return r;
}

RisultatoPercorso Esecuzione::scrivi_compilati() {
  auto& elenco = modello_.elenco;
  const Completamento completo = completa(modello_, parola_, &origini_);
  segni_ = completo.segni_di_codice;
  if (completo.codice == Codice::campo_riservato_1) {
    return campo_riservato(completo.codice, "primo valore", modello_.tratto(1).valore_1);
  }
  if (completo.codice == Codice::campo_riservato_2) {
    return campo_riservato(completo.codice, "secondo valore", modello_.tratto(1).valore_2);
  }

  if (!scrive_) {
    RisultatoPercorso r{Esito::verificato};
    r.segni_di_codice = segni_;
    return r;
  }

  try {
    std::vector<fs::path> destinazioni;
    if (flag_linea_ != 0) destinazioni.push_back(this->file(FileScenario::tracciato));
    destinazioni.push_back(this->file(FileScenario::elenco));
    destinazioni.push_back(this->file(FileScenario::tratti));
    verifica_destinazioni(destinazioni);
    Sostituzione file;
    // Each file is encoded piece by piece straight into its temporary file.
    auto in = [](Scrittore& s) {
      return [&s](std::string_view pezzo) { s.scrivi(pezzo.data(), pezzo.size()); };
    };
    if (flag_linea_ != 0) {
      file.prepara(this->file(FileScenario::tracciato),
                   [&](Scrittore& s) { scrivi_tracciato(modello_.tracciato, in(s)); });
    }
    file.prepara(this->file(FileScenario::elenco),
                 [&](Scrittore& s) { scrivi_elenco(elenco, in(s)); });
    file.prepara(this->file(FileScenario::tratti),
                 [&](Scrittore& s) { scrivi_tratti(modello_.tratti, in(s)); });
    file.conferma();
  } catch (const ErroreFile& e) {
    return non_scritto(e);
  }
  RisultatoPercorso r;
  r.segni_di_codice = segni_;
  return r;
}

}  // namespace compattatore
