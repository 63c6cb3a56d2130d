#include "io/sentinella.h"

#include <algorithm>
#include <system_error>

namespace compattatore {
namespace fs = std::filesystem;
namespace pf = piattaforma;
using std::chrono::milliseconds;

namespace {
// How long a wait with notices lasts before the files are looked at anyway (a change that the
// system did not tell, on a network folder for one).
constexpr milliseconds kPassoConNotizie{1000};
}  // namespace

Sentinella::Sentinella(std::vector<fs::path> file, milliseconds quiete)
    : file_(std::move(file)), quiete_(quiete) {
  pf::intercetta_interruzione();
  for (const fs::path& f : file_) {
    std::error_code e;
    const fs::path cartella = fs::absolute(f, e).parent_path();
    nomi_.push_back(f.filename());
    if (std::find(cartelle_.begin(), cartelle_.end(), cartella) == cartelle_.end()) {
      cartelle_.push_back(cartella);
    }
  }
  notizie_ = pf::apri_notizie(cartelle_);
  ultime_ = firme();
}

Sentinella::~Sentinella() { pf::chiudi_notizie(notizie_); }

std::vector<std::optional<Sentinella::Firma>> Sentinella::firme() const {
  std::vector<std::optional<Firma>> r;
  for (const fs::path& f : file_) {
    std::error_code e1;
    std::error_code e2;
    Firma firma{fs::file_size(f, e1), fs::last_write_time(f, e2)};
    r.push_back(e1 || e2 ? std::nullopt : std::optional<Firma>(firma));
  }
  return r;
}

bool Sentinella::cartelle_presenti() {
  for (const fs::path& c : cartelle_) {
    std::error_code e;
    if (!fs::is_directory(c, e)) {
      sparita_ = c;
      return false;
    }
  }
  return true;
}

std::vector<fs::path> Sentinella::mancanti() const {
  std::vector<fs::path> r;
  const auto ora = firme();
  for (size_t i = 0; i < file_.size(); ++i) {
    if (!ora[i]) r.push_back(file_[i]);
  }
  return r;
}

Sentinella::Risveglio Sentinella::attendi() {
  const int passo = static_cast<int>(
      (notizie_ == pf::kNessunaManiglia ? kPassoSenzaNotizie : kPassoConNotizie).count());
  for (;;) {
    pf::attendi_notizie(notizie_, passo, nomi_);
    if (pf::interruzione_arrivata()) return Risveglio::interrotto;
    if (!cartelle_presenti()) return Risveglio::cartella_sparita;
    auto adesso = firme();
    if (adesso == ultime_) continue;
    // Something moved: wait for a stretch of quiet (no notice, and the files as they were).
    const int quiete = static_cast<int>(quiete_.count());
    for (;;) {
      const bool notizia = pf::attendi_notizie(notizie_, quiete, nomi_);
      if (pf::interruzione_arrivata()) return Risveglio::interrotto;
      if (!cartelle_presenti()) return Risveglio::cartella_sparita;
      auto poi = firme();
      if (!notizia && poi == adesso) break;
      adesso = std::move(poi);
    }
    ultime_ = std::move(adesso);
    return Risveglio::cambiati;
  }
}

}  // namespace compattatore
