#include "io/diario.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <string_view>

#include "io/blocco.h"
#include "io/file_sicuro.h"
#include "io/piattaforma.h"
#include "io/sistema.h"
#include "io/temporanei.h"

namespace compattatore {
namespace fs = std::filesystem;
namespace pf = piattaforma;

namespace {

constexpr std::string_view kTitolo = "compattatore diario 1\n";
constexpr std::string_view kFine = "fine\n";
constexpr std::string_view kAvanti = "avanti\n";
constexpr std::string_view kIndietro = "indietro\n";

// A name as its length, a colon, its bytes and a line end: any byte may be in it.
void aggiungi_nome(std::string& s, const std::string& nome) {
  s += std::to_string(nome.size()) + ":" + nome + "\n";
}

std::optional<std::string> togli_nome(std::string_view& s) {
  size_t n = 0;
  const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
  if (ec != std::errc{} || p == s.data() + s.size() || *p != ':') return std::nullopt;
  const size_t inizio = static_cast<size_t>(p - s.data()) + 1;
  if (s.size() < inizio + n + 1 || s[inizio + n] != '\n') return std::nullopt;
  std::string nome(s.substr(inizio, n));
  s.remove_prefix(inizio + n + 1);
  return nome;
}

bool c_e(const fs::path& p) {
  std::error_code ec;
  return fs::symlink_status(p, ec).type() != fs::file_type::not_found && !ec;
}

}  // namespace

fs::path file_diario(const fs::path& cartella, const Diario& d) {
  return cartella / percorso_utf8(nome_diario(d.voci.empty() ? "" : d.voci[0].destinazione));
}

std::error_code scrivi_diario(const fs::path& cartella, const Diario& d) {
  std::string testo(kTitolo);
  testo += d.verso == Verso::avanti ? kAvanti : kIndietro;
  testo += std::to_string(d.voci.size()) + "\n";
  for (const VoceDiario& v : d.voci) {
    aggiungi_nome(testo, v.destinazione);
    aggiungi_nome(testo, v.temporaneo);
    aggiungi_nome(testo, v.riserva);
  }
  testo += kFine;

  // Its temporary is one of the group's first file, removed with them when the run dies.
  const fs::path provvisorio =
      cartella / percorso_utf8(nome_temporaneo(d.voci.empty() ? "" : d.voci[0].destinazione));
  pf::Maniglia m = pf::kNessunaManiglia;
  std::error_code ec = pf::crea_esclusivo(provvisorio, m);
  if (ec) return ec;
  ec = pf::scrivi(m, testo);
  if (ec) {
    pf::chiudi(m);
  } else {
    ec = pf::chiudi_su_disco(m);
  }
  if (!ec) ec = pf::sostituisci(provvisorio, file_diario(cartella, d));
  if (ec) pf::rimuovi(provvisorio);
  if (!ec) pf::sincronizza_cartella(cartella);
  return ec;
}

std::optional<Diario> leggi_diario(const fs::path& file) {
  const std::string testo = leggi_file(file);
  std::string_view s = testo;
  if (!s.starts_with(kTitolo)) return std::nullopt;
  s.remove_prefix(kTitolo.size());
  Diario d;
  if (s.starts_with(kAvanti)) {
    s.remove_prefix(kAvanti.size());
  } else if (s.starts_with(kIndietro)) {
    d.verso = Verso::indietro;
    s.remove_prefix(kIndietro.size());
  } else {
    return std::nullopt;
  }
  size_t quante = 0;
  const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), quante);
  if (ec != std::errc{} || p == s.data() + s.size() || *p != '\n') return std::nullopt;
  s.remove_prefix(static_cast<size_t>(p - s.data()) + 1);
  for (size_t i = 0; i < quante; ++i) {
    auto destinazione = togli_nome(s);
    auto temporaneo = destinazione ? togli_nome(s) : std::nullopt;
    auto riserva = temporaneo ? togli_nome(s) : std::nullopt;
    if (!riserva) return std::nullopt;
    d.voci.push_back({std::move(*destinazione), std::move(*temporaneo), std::move(*riserva)});
  }
  if (s != kFine || d.voci.empty()) return std::nullopt;
  return d;
}

void applica_diario(const fs::path& file, const Diario& d) {
  const fs::path cartella = file.parent_path();
  for (const VoceDiario& v : d.voci) {
    const fs::path destinazione = cartella / percorso_utf8(v.destinazione);
    const fs::path temporaneo = cartella / percorso_utf8(v.temporaneo);
    const fs::path riserva = v.riserva.empty() ? fs::path() : cartella / percorso_utf8(v.riserva);
    if (d.verso == Verso::avanti) {
      // Renamed already, or to be renamed now: the new file is complete and flushed.
      if (c_e(temporaneo)) pf::sostituisci(temporaneo, destinazione);
    } else if (!riserva.empty()) {
      if (c_e(riserva)) pf::sostituisci(riserva, destinazione);
    } else if (!c_e(temporaneo)) {
      pf::rimuovi(destinazione);  // the new file, where there was none
    }
    if (c_e(temporaneo)) pf::rimuovi(temporaneo);
    if (!riserva.empty() && c_e(riserva)) pf::rimuovi(riserva);
  }
  pf::sincronizza_cartella(cartella);
  pf::rimuovi(file);
}

std::vector<std::string> ripara_diari(const fs::path& cartella, std::span<const std::string> nomi) {
  std::vector<std::string> da_tenere;
  std::vector<fs::path> voci;
  pf::voci_cartella(cartella.empty() ? fs::path(".") : cartella, voci);
  for (const fs::path& voce : voci) {
    const auto proprio = nome_proprio(voce.filename().string());
    if (!proprio || proprio->tipo != FileProprio::diario) continue;
    const fs::path file = cartella / voce.filename();
    std::optional<Diario> d;
    try {
      d = leggi_diario(file);
    } catch (const ErroreFile&) {
      continue;  // for `ripara`, or the next run
    }
    if (!d) continue;
    const bool nostro = std::any_of(d->voci.begin(), d->voci.end(), [&](const VoceDiario& v) {
      return std::find(nomi.begin(), nomi.end(), v.destinazione) != nomi.end();
    });
    if (!nostro) continue;
    // The locks of the group's other files, when no living run holds them.
    std::vector<std::string> altri;
    for (const VoceDiario& v : d->voci) {
      if (std::find(nomi.begin(), nomi.end(), v.destinazione) == nomi.end()) {
        altri.push_back(nome_blocco(v.destinazione));
      }
    }
    const BloccoCorsa anche(BloccoCorsa::SoloBlocchi{}, cartella, altri, {}, false);
    if (!anche.occupato()) {
      applica_diario(file, *d);
      continue;
    }
    for (const VoceDiario& v : d->voci) {
      da_tenere.push_back(v.temporaneo);
      if (!v.riserva.empty()) da_tenere.push_back(v.riserva);
    }
  }
  return da_tenere;
}

Riparazione ripara_cartella(const fs::path& cartella, const std::function<void()>& in_attesa) {
  const fs::path dove = cartella.empty() ? fs::path(".") : cartella;
  std::vector<fs::path> voci;
  if (const std::error_code ec = pf::voci_cartella(dove, voci)) throw ErroreFile(dove, ec);

  // Every mark found, and those of every destination a journal names.
  std::set<std::string> impronte;
  std::vector<fs::path> blocchi_trovati;
  for (const fs::path& voce : voci) {
    const auto proprio = nome_proprio(voce.filename().string());
    if (!proprio) continue;
    impronte.insert(proprio->impronta);
    if (proprio->tipo == FileProprio::blocco) blocchi_trovati.push_back(cartella / voce.filename());
    if (proprio->tipo != FileProprio::diario) continue;
    if (const auto d = leggi_diario(cartella / voce.filename())) {
      for (const VoceDiario& v : d->voci) impronte.insert(impronta(v.destinazione));
    }
  }
  std::vector<std::string> file_blocco;
  for (const std::string& h : impronte) file_blocco.push_back(blocco_dell_impronta(h));

  Riparazione r;
  {
    const BloccoCorsa blocco(BloccoCorsa::SoloBlocchi{}, cartella, file_blocco, in_attesa);
    voci.clear();
    pf::voci_cartella(dove, voci);
    // The journals first: they say what becomes of the temporaries they name.
    for (const fs::path& voce : voci) {
      const auto proprio = nome_proprio(voce.filename().string());
      if (!proprio || proprio->tipo != FileProprio::diario) continue;
      const fs::path file = cartella / voce.filename();
      if (const auto d = leggi_diario(file)) {
        applica_diario(file, *d);
        ++(d->verso == Verso::avanti ? r.gruppi_avanti : r.gruppi_indietro);
      } else {
        pf::rimuovi(file);  // not a journal this program wrote: every one it writes is whole
      }
    }
    voci.clear();
    pf::voci_cartella(dove, voci);
    for (const fs::path& voce : voci) {
      const auto proprio = nome_proprio(voce.filename().string());
      if (proprio && proprio->tipo == FileProprio::temporaneo &&
          impronte.contains(proprio->impronta) && !pf::rimuovi(cartella / voce.filename())) {
        ++r.temporanei;
      }
    }
  }
  for (const fs::path& b : blocchi_trovati) r.blocchi += c_e(b) ? 0 : 1;
  return r;
}

}  // namespace compattatore
