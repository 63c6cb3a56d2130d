#include "io/file_sicuro.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>

#include "io/diario.h"
#include "io/errori_sistema.h"
#include "io/piattaforma.h"
#include "io/temporanei.h"

namespace compattatore {
namespace fs = std::filesystem;
namespace pf = piattaforma;

ErroreFile::ErroreFile(fs::path f, std::error_code e)
    : ErroreFile(std::move(f), motivo_sistema(e)) {
  errore = e;
}

ErroreFile::ErroreFile(fs::path f, std::string m)
    : std::runtime_error(f.string() + ": " + m), file(std::move(f)), motivo(std::move(m)) {}

namespace {

// The steps of a replacement after its file is written, named at the end of the message of a
// failure there. Creating or writing the file names no step: that is the writing itself.
enum class Passo { salvataggio, riserva, diario, sostituzione };
constexpr std::string_view kPassi[] = {
    "nel salvarlo sul disco",
    "nel tenere da parte il file precedente",
    "nello scrivere il diario del gruppo",
    "nel mettere il file nuovo al suo posto",
};

std::string motivo_nel(std::error_code ec, Passo passo) {
  return motivo_sistema(ec) + ", " + std::string(kPassi[static_cast<size_t>(passo)]);
}

ErroreFile errore_nel(const fs::path& file, std::error_code ec, Passo passo) {
  ErroreFile e(file, motivo_nel(ec, passo));
  e.errore = ec;
  return e;
}

// Pieces are gathered up to this size before they go to the system.
constexpr size_t kBlocco = 64 * 1024;

// A new temporary file beside `destinazione`, open for writing and registered for removal on a
// signal; removed when dropped before `consegna`.
class Temporaneo {
 public:
  explicit Temporaneo(const fs::path& destinazione) {
    const fs::path cartella = destinazione.parent_path();
    const std::string nome = destinazione.filename().string();
    std::error_code ec;
    pf::trattieni_segnali();
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
      percorso_ = cartella / nome_temporaneo(nome);
      ec = pf::crea_esclusivo(percorso_, m_);
      if (ec != std::errc::file_exists) break;
    }
    if (!ec) biglietto_ = pf::registra_da_rimuovere(percorso_);
    pf::lascia_segnali();
    if (ec) throw ErroreFile(destinazione, ec);
  }
  Temporaneo(const Temporaneo&) = delete;
  Temporaneo& operator=(const Temporaneo&) = delete;
  ~Temporaneo() {
    pf::chiudi(m_);
    if (!consegnato_) {
      pf::rimuovi(percorso_);
      pf::dimentica(biglietto_);
    }
  }

  pf::Maniglia maniglia() const { return m_; }
  const fs::path& percorso() const { return percorso_; }
  /// Closes the file, flushed to the disk when `durevole`. Returns the error of the system.
  std::error_code chiudi(Durata durata) {
    const pf::Maniglia m = m_;
    m_ = pf::kNessunaManiglia;
    if (durata == Durata::durevole) return pf::chiudi_su_disco(m);
    pf::chiudi(m);
    return {};
  }
  /// The file is now someone else's to remove; returns its ticket.
  int consegna() {
    consegnato_ = true;
    return biglietto_;
  }

 private:
  fs::path percorso_;
  pf::Maniglia m_ = pf::kNessunaManiglia;
  int biglietto_ = -1;
  bool consegnato_ = false;
};

class ScrittoreFile final : public Scrittore {
 public:
  ScrittoreFile(pf::Maniglia m, const fs::path& destinazione)
      : m_(m), destinazione_(destinazione) {}

  void scrivi(std::string_view pezzo) override {
    if (buffer_.size() + pezzo.size() > kBlocco) svuota();
    if (pezzo.size() >= kBlocco) {
      manda(pezzo);
    } else {
      buffer_.append(pezzo);
    }
  }
  void svuota() {
    manda(buffer_);
    buffer_.clear();
  }

 private:
  void manda(std::string_view dati) {
    if (dati.empty()) return;
    if (const std::error_code ec = pf::scrivi(m_, dati)) throw ErroreFile(destinazione_, ec);
  }

  pf::Maniglia m_;
  const fs::path& destinazione_;
  std::string buffer_;
};

// No folder stands where the file is to go, and its name fits the file system. Returns the
// permission bits of the file it replaces, when there is one.
std::optional<fs::perms> controlla_destinazione(const fs::path& destinazione) {
  std::error_code ec;
  const fs::file_status st = fs::symlink_status(destinazione, ec);
  if (st.type() == fs::file_type::not_found) return std::nullopt;
  if (ec) throw ErroreFile(destinazione, ec);
  if (st.type() == fs::file_type::directory) {
    throw ErroreFile(destinazione, std::make_error_code(std::errc::is_a_directory));
  }
  // The bits of what the name leads to (the file a link points to).
  const fs::file_status finale = fs::status(destinazione, ec);
  if (ec || finale.type() != fs::file_type::regular) return std::nullopt;
  return finale.permissions() & fs::perms::all;
}

bool senza_secondi_nomi(std::error_code e) {
  return e == std::errc::operation_not_permitted || e == std::errc::operation_not_supported ||
         e == std::errc::function_not_supported || e == std::errc::too_many_links;
}

}  // namespace

void verifica_destinazioni(std::span<const fs::path> destinazioni) {
  std::vector<fs::path> cartelle;
  for (const fs::path& d : destinazioni) {
    controlla_destinazione(d);
    if (std::find(cartelle.begin(), cartelle.end(), d.parent_path()) == cartelle.end()) {
      cartelle.push_back(d.parent_path());
      Temporaneo prova(d);  // the folder takes a new file; removed at once
    }
  }
}

// One file of a group and its phase: how far its replacement has gone. Each step is one
// function below and moves it on:
//
//   pronto       --custodisci-->   custodito    the old file gets a second name beside it, its
//                                               reserve
//   pronto       --custodisci-->   da_spostare  the file system has no second names: the reserve
//                                               is only the name the old file will move to
//   pronto       --custodisci-->   pronto       there is no old file to keep
//   pronto       --sostituisci-->  sostituito   the temporary is renamed over the target
//   custodito    --sostituisci-->  sostituito   the same
//   da_spostare  --sostituisci-->  spostato     the old file is renamed to its reserve (for a
//                                               moment the target name is missing), and then
//   spostato     --sostituisci-->  sostituito   the temporary is renamed over the target
//   spostato     --rimetti-->      pronto       the old file back under the target name
//   sostituito   --rimetti-->      pronto       the same, or without an old file the new one
//                                               removed
//   any          --libera-->       the same     the reserve removed
//
// conferma() takes the group through them: custodisci every file (a failure there has changed
// no target); then, with signals held, sostituisci each in order; at the first failure rimetti
// every file from that one back to the first; then libera every file. An old file that could
// not be put back keeps its reserve, which the error names.
struct Sostituzione::Preparato {
  enum class Fase { pronto, custodito, da_spostare, spostato, sostituito };

  fs::path temporaneo;
  fs::path destinazione;
  int biglietto = -1;  // of the temporary, in the register of files removed on a signal
  bool durevole = true;
  Fase fase = Fase::pronto;
  fs::path riserva;  // the old file's second name, once there is an old file to keep
  int biglietto_riserva = -1;

  // pronto -> custodito or da_spostare; pronto still when there is no old file.
  std::error_code custodisci() {
    std::error_code ec;
    const fs::file_type tipo = fs::symlink_status(destinazione, ec).type();
    if (tipo == fs::file_type::not_found) return {};
    if (tipo == fs::file_type::directory) return std::make_error_code(std::errc::is_a_directory);
    if (ec) return ec;
    const fs::path nome =
        destinazione.parent_path() / nome_temporaneo(destinazione.filename().string());
    pf::trattieni_segnali();
    ec = pf::collega(destinazione, nome);
    const bool da_spostare = ec && senza_secondi_nomi(ec);
    if (!ec || da_spostare) biglietto_riserva = pf::registra_da_rimuovere(nome);
    pf::lascia_segnali();
    if (ec && !da_spostare) return ec;
    riserva = nome;
    fase = da_spostare ? Fase::da_spostare : Fase::custodito;
    return {};
  }

  // pronto or custodito -> sostituito; da_spostare -> spostato -> sostituito.
  std::error_code sostituisci() {
    if (fase == Fase::da_spostare) {
      if (const std::error_code ec = pf::sostituisci(destinazione, riserva)) return ec;
      fase = Fase::spostato;
    }
    if (const std::error_code ec = pf::sostituisci(temporaneo, destinazione)) return ec;
    fase = Fase::sostituito;
    return {};
  }

  // spostato or sostituito -> pronto: the old file under the target name again, or the new one
  // removed when there was none. Returns what could not be put back, for the error ("" if all).
  std::string rimetti() {
    if (fase != Fase::spostato && fase != Fase::sostituito) return "";
    if (riserva.empty()) {
      if (pf::rimuovi(destinazione)) return "; " + destinazione.string() + " non è stato tolto";
      fase = Fase::pronto;
      return "";
    }
    const std::error_code ec = pf::sostituisci(riserva, destinazione);
    // Put back, or the author's to take back: either way no longer removed.
    const std::string rimasto = "; il file precedente " + destinazione.filename().string() +
                                " è rimasto in " + riserva.string();
    pf::dimentica(biglietto_riserva);
    biglietto_riserva = -1;
    riserva.clear();
    fase = Fase::pronto;
    return ec ? rimasto : "";
  }

  // Removes the reserve, whatever the phase: the group is done, or given up.
  void libera() {
    if (!riserva.empty()) pf::rimuovi(riserva);
    pf::dimentica(biglietto_riserva);
    biglietto_riserva = -1;
    riserva.clear();
  }
};

Sostituzione::Sostituzione() = default;

Sostituzione::~Sostituzione() { abbandona(); }

void Sostituzione::abbandona() {
  for (Preparato& p : preparati_) {
    p.libera();
    pf::rimuovi(p.temporaneo);
    pf::dimentica(p.biglietto);
  }
  preparati_.clear();
}

void Sostituzione::prepara(const fs::path& destinazione, std::string_view dati, Durata durata) {
  prepara(
      destinazione, [dati](Scrittore& s) { s.scrivi(dati); }, durata);
}

void Sostituzione::prepara(const fs::path& destinazione,
                           const std::function<void(Scrittore&)>& contenuto, Durata durata) {
  const std::optional<fs::perms> permessi = controlla_destinazione(destinazione);
  Temporaneo t(destinazione);
  if (permessi) {
    if (const std::error_code ec = pf::imposta_permessi(t.maniglia(), *permessi)) {
      throw ErroreFile(destinazione, ec);
    }
  }
  ScrittoreFile scrittore(t.maniglia(), destinazione);
  contenuto(scrittore);
  scrittore.svuota();
  if (const std::error_code ec = t.chiudi(durata)) {
    throw errore_nel(destinazione, ec, Passo::salvataggio);
  }
  Preparato& p = preparati_.emplace_back();
  p.temporaneo = t.percorso();
  p.destinazione = destinazione;
  p.durevole = durata == Durata::durevole;
  p.biglietto = t.consegna();
}

void Sostituzione::conferma() {
  // Every old file gets its reserve first: a failure here has changed no target.
  for (Preparato& p : preparati_) {
    if (const std::error_code ec = p.custodisci()) {
      const fs::path fallito = p.destinazione;  // a copy: abbandona() clears the group
      abbandona();
      throw errore_nel(fallito, ec, Passo::riserva);
    }
  }

  // A group of files in one folder gets a journal before its first rename: a run that dies
  // among the renames leaves what the next one needs to finish the group (io/diario.h). The
  // journal and the renames are not cut in two by a signal: it acts once the group is whole or
  // put back, and the journal gone.
  pf::trattieni_segnali();
  std::optional<Diario> diario;
  const fs::path cartella =
      preparati_.empty() ? fs::path() : preparati_[0].destinazione.parent_path();
  if (preparati_.size() > 1 &&
      std::all_of(preparati_.begin(), preparati_.end(),
                  [&](const Preparato& p) { return p.destinazione.parent_path() == cartella; })) {
    diario.emplace();
    for (const Preparato& p : preparati_) {
      diario->voci.push_back({p.destinazione.filename().string(), p.temporaneo.filename().string(),
                              p.riserva.empty() ? "" : p.riserva.filename().string()});
    }
    if (const std::error_code ec = scrivi_diario(cartella, *diario)) {
      const fs::path fallito = preparati_[0].destinazione;
      abbandona();
      pf::lascia_segnali();
      throw errore_nel(fallito, ec, Passo::diario);
    }
  }

  size_t fatti = 0;
  std::error_code guasto;
  while (fatti < preparati_.size() && !(guasto = preparati_[fatti].sostituisci())) ++fatti;
  std::string non_rimessi;
  if (guasto) {
    // Back to the old files, the last replaced first; a run that dies meanwhile leaves the
    // journal saying so. Should the journal not change, the group ends put back all the same,
    // and the journal, forward with no new file left to rename, changes nothing.
    if (diario) {
      diario->verso = Verso::indietro;
      scrivi_diario(cartella, *diario);
    }
    for (size_t i = fatti + 1; i-- > 0;) non_rimessi += preparati_[i].rimetti();
  } else if (diario) {
    // The new names reach the disk before the journal goes.
    pf::sincronizza_cartella(cartella);
  }
  if (diario) pf::rimuovi(file_diario(cartella, *diario));
  for (Preparato& p : preparati_) p.libera();
  pf::lascia_segnali();

  if (guasto) {
    const fs::path fallito = preparati_[fatti].destinazione;
    abbandona();
    ErroreFile e(fallito, motivo_nel(guasto, Passo::sostituzione) + non_rimessi);
    e.errore = guasto;
    throw e;
  }
  // The renames of durable files reach the disk too.
  std::vector<fs::path> cartelle;
  for (const Preparato& p : preparati_) {
    pf::dimentica(p.biglietto);
    if (p.durevole && std::find(cartelle.begin(), cartelle.end(), p.destinazione.parent_path()) ==
                          cartelle.end()) {
      cartelle.push_back(p.destinazione.parent_path());
    }
  }
  preparati_.clear();
  for (const auto& c : cartelle) {
    if (!diario || c != cartella) pf::sincronizza_cartella(c);
  }
}

void scrivi_file(const fs::path& destinazione, std::string_view dati, Durata durata) {
  Sostituzione s;
  s.prepara(destinazione, dati, durata);
  s.conferma();
}

LetturaFile::LetturaFile(const fs::path& file) : file_(file), m_(pf::kNessunaManiglia) {
  std::error_code ec;
  if (fs::is_directory(file, ec)) throw ErroreFile(file, "è una cartella, non un file");
  if (const std::error_code e = pf::apri_lettura(file, m_)) throw ErroreFile(file, e);
}

LetturaFile::~LetturaFile() { pf::chiudi_lettura(m_); }

size_t LetturaFile::leggi(char* dove, size_t quanti) {
  size_t letti = 0;
  if (const std::error_code e = pf::leggi(m_, dove, quanti, letti)) throw ErroreFile(file_, e);
  return letti;
}

std::string leggi_file(const fs::path& file) {
  LetturaFile lettura(file);
  // Room for the whole file and one byte more, so that its end is usually found by the second
  // read; a failed read is an error, never the end of a shorter file.
  std::error_code ec;
  const uintmax_t atteso = fs::file_size(file, ec);
  std::string byte(ec ? kBlocco : static_cast<size_t>(atteso) + 1, '\0');
  size_t usati = 0;
  for (;;) {
    if (usati == byte.size()) byte.resize(byte.size() * 2);
    const size_t letti = lettura.leggi(byte.data() + usati, byte.size() - usati);
    if (letti == 0) break;
    usati += letti;
  }
  byte.resize(usati);
  return byte;
}

}  // namespace compattatore
