#include "io/file_sicuro.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <optional>
#include <sstream>

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

Sostituzione::~Sostituzione() { abbandona(); }

void Sostituzione::abbandona() {
  for (const auto& p : preparati_) {
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
  if (const std::error_code ec = t.chiudi(durata)) throw ErroreFile(destinazione, ec);
  preparati_.push_back({t.percorso(), destinazione, -1, durata == Durata::durevole});
  preparati_.back().biglietto = t.consegna();
}

void Sostituzione::conferma() {
  // An old file kept under a second name until every rename has succeeded.
  struct Riserva {
    fs::path percorso;
    int biglietto = -1;
    bool esiste = false;       // the target was there before
    bool da_spostare = false;  // no second names here: the old file is renamed aside instead
    bool spostata = false;
  };
  std::vector<Riserva> riserve(preparati_.size());
  auto togli_riserve = [&riserve] {
    for (auto& r : riserve) {
      if (r.esiste) pf::rimuovi(r.percorso);
      pf::dimentica(r.biglietto);
      r = Riserva{};
    }
  };

  for (size_t i = 0; i < preparati_.size(); ++i) {
    const fs::path d = preparati_[i].destinazione;  // a copy: abbandona() clears the group
    std::error_code ec;
    const fs::file_type tipo = fs::symlink_status(d, ec).type();
    if (tipo == fs::file_type::not_found) continue;
    if (tipo == fs::file_type::directory) ec = std::make_error_code(std::errc::is_a_directory);
    if (ec) {
      togli_riserve();
      abbandona();
      throw ErroreFile(d, ec);
    }
    Riserva& r = riserve[i];
    r.esiste = true;
    r.percorso = d.parent_path() / nome_temporaneo(d.filename().string());
    pf::trattieni_segnali();
    ec = pf::collega(d, r.percorso);
    if (!ec || senza_secondi_nomi(ec)) r.biglietto = pf::registra_da_rimuovere(r.percorso);
    pf::lascia_segnali();
    if (ec && senza_secondi_nomi(ec)) {
      r.da_spostare = true;
    } else if (ec) {
      togli_riserve();
      abbandona();
      throw ErroreFile(d, ec);
    }
  }

  // The renames are not cut in two by a signal: it acts once the group is whole or put back.
  pf::trattieni_segnali();
  size_t fatti = 0;
  std::error_code guasto;
  for (; fatti < preparati_.size(); ++fatti) {
    const Preparato& p = preparati_[fatti];
    Riserva& r = riserve[fatti];
    if (r.esiste && r.da_spostare) {
      if ((guasto = pf::sostituisci(p.destinazione, r.percorso))) break;
      r.spostata = true;
    }
    if ((guasto = pf::sostituisci(p.temporaneo, p.destinazione))) break;
  }
  std::string non_rimessi;
  if (guasto) {
    // Back to the old files, the last replaced first.
    for (size_t i = fatti + 1; i-- > 0;) {
      const Preparato& p = preparati_[i];
      Riserva& r = riserve[i];
      if (i == fatti && !r.spostata) continue;  // this target was not touched
      std::error_code ec;
      if (r.esiste) {
        ec = pf::sostituisci(r.percorso, p.destinazione);
        if (!ec) {
          pf::dimentica(r.biglietto);
          r = Riserva{};
        }
      } else {
        ec = pf::rimuovi(p.destinazione);
      }
      if (ec && r.esiste) {
        // The old file stays under its second name: the author can still take it back.
        pf::dimentica(r.biglietto);
        non_rimessi += "; il file precedente " + p.destinazione.filename().string() +
                       " è rimasto in " + r.percorso.string();
        r = Riserva{};
      } else if (ec) {
        non_rimessi += "; " + p.destinazione.string() + " non è stato tolto";
      }
    }
  }
  togli_riserve();
  pf::lascia_segnali();

  if (guasto) {
    const fs::path fallito = preparati_[fatti].destinazione;
    abbandona();
    if (non_rimessi.empty()) throw ErroreFile(fallito, guasto);
    ErroreFile e(fallito, motivo_sistema(guasto) + non_rimessi);
    e.errore = guasto;
    throw e;
  }
  // The renames of durable files reach the disk too.
  std::vector<fs::path> cartelle;
  for (const auto& p : preparati_) {
    pf::dimentica(p.biglietto);
    if (p.durevole && std::find(cartelle.begin(), cartelle.end(), p.destinazione.parent_path()) ==
                          cartelle.end()) {
      cartelle.push_back(p.destinazione.parent_path());
    }
  }
  preparati_.clear();
  for (const auto& c : cartelle) pf::sincronizza_cartella(c);
}

void scrivi_file(const fs::path& destinazione, std::string_view dati, Durata durata) {
  Sostituzione s;
  s.prepara(destinazione, dati, durata);
  s.conferma();
}

std::string leggi_file(const fs::path& file) {
  std::error_code ec;
  if (fs::is_directory(file, ec)) throw ErroreFile(file, "è una cartella, non un file");
  errno = 0;
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    throw ErroreFile(file, std::error_code(errno != 0 ? errno : EIO, std::generic_category()));
  }
  std::ostringstream buf;
  buf << in.rdbuf();
  if (in.bad()) throw ErroreFile(file, std::make_error_code(std::errc::io_error));
  return std::move(buf).str();
}

}  // namespace compattatore
