#include "formato/scenario_compilato.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "formato/lettori.h"
#include "formato/punti_tracciato.h"
#include "io/file_sicuro.h"
#include "io/sistema.h"
#include "model/regole.h"

namespace compattatore {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kFineTracciato = "_linea.dat";

std::string nome_file(const fs::path& p) { return p.filename().string(); }

// The files of `cartella` ("" for the current folder), named `cartella / name`.
std::vector<fs::path> file_in(const fs::path& cartella) {
  std::vector<fs::path> file;
  for (const fs::path& f : file_nella_cartella(cartella.empty() ? fs::path(".") : cartella)) {
    file.push_back(cartella / f.filename());
  }
  return file;
}

// `<nome>_linea.dat` beside `<nome>_<treno>`: the longest `nome` that fits.
std::optional<fs::path> tracciato_di(const fs::path& cartella, std::string_view nome_treno) {
  std::optional<fs::path> trovato;
  size_t lunghezza = 0;
  for (const fs::path& f : file_in(cartella)) {
    const std::string n = nome_file(f);
    if (!n.ends_with(kFineTracciato) || n.size() == kFineTracciato.size()) continue;
    const std::string nome = n.substr(0, n.size() - kFineTracciato.size());
    if (nome_treno.starts_with(nome + "_") && nome.size() > lunghezza) {
      trovato = f;
      lunghezza = nome.size();
    }
  }
  return trovato;
}

// The `.sim` files of a folder; with `nome`, only those named `<nome>_*.sim`.
std::vector<fs::path> tabelle(const fs::path& cartella, const std::string& nome = {}) {
  std::vector<fs::path> sim;
  for (const fs::path& f : file_in(cartella)) {
    if (f.extension() == ".sim" && (nome.empty() || nome_file(f).starts_with(nome + "_"))) {
      sim.push_back(f);
    }
  }
  return sim;
}

std::string elenca(const std::vector<fs::path>& file) {
  std::string s;
  for (const auto& f : file) s += (s.empty() ? "" : ", ") + nome_file(f);
  return s;
}

// Refuses a file longer than any file of its kind can be.
void controlla_dimensione(const fs::path& file, size_t massimo) {
  if (const auto n = dimensione_file(file); n && *n > massimo) {
    throw ErroreLettura(file.string(), massimo,
                        "il file ha " + std::to_string(*n) + " byte, più di quanti ne abbia " +
                            "il più lungo file di questo tipo (" + std::to_string(massimo) +
                            " byte, percorso di " + std::to_string(kLunghezzaPercorsoMassima) +
                            " m)");
  }
}

// Reads a whole file of its kind, refusing one longer than any file of that kind can be.
std::string contenuto(const fs::path& file, size_t massimo) {
  controlla_dimensione(file, massimo);
  return leggi_file(file);
}

// The files that stand for the folder `cartella` given alone: its one table, or without a table
// its one route plan; otherwise what is wrong.
std::variant<std::vector<fs::path>, std::string> file_della_cartella(const fs::path& cartella) {
  const std::vector<fs::path> sim = tabelle(cartella);
  if (sim.size() > 1) {
    return "la cartella '" + cartella.string() + "' contiene più scenari (" + elenca(sim) +
           "): indica un file";
  }
  if (!sim.empty()) return sim;
  std::vector<fs::path> piani;
  for (const fs::path& f : file_in(cartella)) {
    if (tipo_compilato(f) == TipoCompilato::tracciato) piani.push_back(f);
  }
  if (piani.size() != 1) {
    return "la cartella '" + cartella.string() + "' non contiene " +
           (piani.empty() ? "file compilati (.sim, .dat)"
                          : "un solo scenario (" + elenca(piani) + "): indica un file");
  }
  return piani;
}

}  // namespace

std::optional<TipoCompilato> tipo_compilato(const fs::path& file) {
  const std::string n = nome_file(file);
  if (n.ends_with(kFineTracciato) && n.size() > kFineTracciato.size()) {
    return TipoCompilato::tracciato;
  }
  if (n.ends_with(".sim") && n.size() > 4) return TipoCompilato::elenco;
  if (n.ends_with(".dat") && n.size() > 4) return TipoCompilato::tratti;
  return std::nullopt;
}

const char* nome_tipo(TipoCompilato tipo) {
  switch (tipo) {
    case TipoCompilato::tracciato:
      return "tracciato";
    case TipoCompilato::elenco:
      return "elenco";
    case TipoCompilato::tratti:
      return "tratti";
  }
  return "";
}

std::optional<fs::path>& FileCompilati::operator[](TipoCompilato t) {
  return t == TipoCompilato::tracciato ? tracciato : t == TipoCompilato::elenco ? elenco : tratti;
}

const std::optional<fs::path>& FileCompilati::operator[](TipoCompilato t) const {
  return t == TipoCompilato::tracciato ? tracciato : t == TipoCompilato::elenco ? elenco : tratti;
}

std::variant<FileCompilati, std::string> trova_compilati(std::span<const fs::path> operandi) {
  if (operandi.empty()) return std::string("nessun file indicato");
  std::vector<fs::path> file(operandi.begin(), operandi.end());
  if (operandi.size() == 1 && e_cartella(operandi[0])) {
    auto nella_cartella = file_della_cartella(operandi[0]);
    if (const auto* e = std::get_if<std::string>(&nella_cartella)) return *e;
    file = std::move(std::get<std::vector<fs::path>>(nella_cartella));
  }

  FileCompilati trovati;
  for (const fs::path& f : file) {
    if (e_cartella(f)) return "'" + f.string() + "' è una cartella: indica i file compilati";
    const auto tipo = tipo_compilato(f);
    if (!tipo) {
      return "'" + f.string() +
             "' non è un file compilato: attesi NOME_linea.dat, NOME_TRENO.sim o NOME_TRENO.dat";
    }
    if (!esiste(f)) return "il file '" + f.string() + "' non esiste";
    if (!e_file(f)) return "'" + f.string() + "' non è un file";
    if (trovati[*tipo]) {
      return "due file di " + std::string(nome_tipo(*tipo)) + ": '" + trovati[*tipo]->string() +
             "' e '" + f.string() + "'";
    }
    trovati[*tipo] = f;
  }

  // The kinds not named, beside the first file, named as it is (no "./" before a bare name).
  const fs::path cartella = file.front().parent_path();
  if (!trovati.elenco && !trovati.tratti) {
    const std::string n = nome_file(*trovati.tracciato);
    const std::vector<fs::path> sim =
        tabelle(cartella, n.substr(0, n.size() - kFineTracciato.size()));
    if (sim.size() == 1) trovati.elenco = sim.front();
  }
  const auto accanto = [&cartella](const fs::path& f, const char* estensione) {
    const fs::path p = cartella / percorso_utf8(f.stem().string() + estensione);
    return e_file(p) ? std::optional<fs::path>(p) : std::nullopt;
  };
  if (trovati.elenco && !trovati.tratti) trovati.tratti = accanto(*trovati.elenco, ".dat");
  if (trovati.tratti && !trovati.elenco) trovati.elenco = accanto(*trovati.tratti, ".sim");
  if (!trovati.tracciato && (trovati.elenco || trovati.tratti)) {
    const fs::path& base = trovati.elenco ? *trovati.elenco : *trovati.tratti;
    trovati.tracciato = tracciato_di(cartella, base.stem().string());
  }
  return trovati;
}

ScenarioCompilato leggi_compilati(const FileCompilati& file, LetturaTracciato tracciato) {
  ScenarioCompilato s;
  s.file = file;
  Modello& m = s.modello;
  // The whole file of kind `tipo`, its size noted.
  const auto leggi = [&s, &file](TipoCompilato tipo, size_t massimo) {
    std::string b = contenuto(*file[tipo], massimo);
    s.byte[static_cast<size_t>(tipo)] = b.size();
    return b;
  };
  if (file.elenco) {
    m.elenco =
        leggi_elenco(leggi(TipoCompilato::elenco, kMassimoByteElenco), file.elenco->string());
    s.con_elenco = true;
  }
  if (file.tratti) {
    m.tratti =
        leggi_tratti(leggi(TipoCompilato::tratti, kMassimoByteTratti), file.tratti->string());
  }
  if (file.tracciato) {
    // The plan is read in pieces: its file is never held whole.
    const fs::path& f = *file.tracciato;
    controlla_dimensione(f, kMassimoByteTracciato);
    uint64_t letti = 0;
    std::optional<LetturaFile> aperto;
    const auto apri = [&]() -> PezziDaLeggere {
      letti = 0;
      aperto.emplace(f);
      return [&](char* dove, size_t quanti) {
        const size_t n = aperto->leggi(dove, quanti);
        letti += n;
        return n;
      };
    };
    if (tracciato == LetturaTracciato::intero) {
      m.tracciato = leggi_tracciato(apri, f.string());
    } else {
      s.punti_contati = scorri_tracciato(apri(), f.string(), nullptr) / 2;
    }
    aperto.reset();
    s.byte[static_cast<size_t>(TipoCompilato::tracciato)] = letti;
  }
  if (s.punti() > 0) {
    m.metri_totali = static_cast<int32_t>(s.punti() - 1);
  } else if (s.con_elenco) {
    m.metri_totali = static_cast<int32_t>(std::clamp<int64_t>(
        int64_t{m.elenco[voce::figure_treno].campo_2} + kCodaPercorso, 0, INT32_MAX));
  } else {
    m.metri_totali = m.ultimo_tratto() * 50;
  }
  return s;
}

}  // namespace compattatore
