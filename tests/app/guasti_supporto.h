// What the tests of whole commands under faults share (the sweeps, the states a crash leaves on the
// disk): a folder to work in, snapshots of it, a command run in the test process, and earlier
// versions of outputs. POSIX only, with the fault seam of io/guasti.h.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/comandi.h"
#include "support/supporto.h"

namespace compattatore::prova_guasti {

using Cartella = std::map<std::string, std::string>;  // file name -> bytes

// Work in memory where the system offers a folder there (flushing costs nothing in it, so the
// tests time what the program does, not the disk), in the temporary folder otherwise.
class Lavoro {
 public:
  Lavoro() {
    std::error_code ec;
    if (std::filesystem::is_directory("/dev/shm", ec)) {
      std::string modello = "/dev/shm/compattatore-spazzata-XXXXXX";
      if (::mkdtemp(modello.data()) != nullptr) percorso_ = modello;
    }
    if (percorso_.empty()) percorso_ = riserva_.percorso();
  }
  ~Lavoro() {
    std::error_code ec;
    if (percorso_ != riserva_.percorso()) std::filesystem::remove_all(percorso_, ec);
  }
  std::filesystem::path operator/(const std::filesystem::path& nome) const {
    return percorso_ / nome;
  }

 private:
  prova::CartellaTemporanea riserva_;
  std::filesystem::path percorso_;
};

inline Cartella istantanea(const std::filesystem::path& d) {
  Cartella c;
  for (const auto& e : std::filesystem::directory_iterator(d))
    c[e.path().filename().string()] = prova::leggi(e.path());
  return c;
}

inline void ripristina(const std::filesystem::path& d, const Cartella& c) {
  for (const auto& e : std::filesystem::directory_iterator(d)) std::filesystem::remove(e.path());
  for (const auto& [nome, byte] : c) prova::scrivi(d / nome, byte);
}

struct Corsa {
  int stato = -1;
  std::string out;
  std::string err;
};

inline Corsa lancia(const std::vector<std::string>& argomenti) {
  std::ostringstream out, err;
  Corsa c;
  c.stato = principale(argomenti, out, err);
  c.out = out.str();
  c.err = err.str();
  return c;
}

/// A file of the program's own: temporary, reserve, journal or lock file.
inline bool proprio(const std::string& nome) { return nome.starts_with(".compattatore-"); }

/// Earlier versions of `nomi` in `d`: a few bytes of their own each.
inline void vecchie_versioni(const std::filesystem::path& d, const std::vector<std::string>& nomi) {
  for (const std::string& n : nomi) prova::scrivi(d / n, "versione precedente di " + n + "\r\n");
}

inline const std::vector<std::string> kDocumenti = {prova::kFileNote, prova::kFileRallentamenti,
                                                    prova::kFileScheda};
inline const std::vector<std::string> kCompilati = {prova::kFileTracciato, prova::kFileElenco,
                                                    prova::kFileTratti};

/// The embedded sources in `d`, written by `esempio`.
inline bool sorgenti_incorporate(const std::filesystem::path& d) {
  return lancia({"esempio", d.string()}).stato == 0;
}

/// The arguments of `compila` of the sources in `sorgenti` into `uscita`.
inline std::vector<std::string> compila_in(const std::filesystem::path& sorgenti,
                                           const std::filesystem::path& uscita) {
  return {"compila", (sorgenti / prova::kFileLinea).string(),
          (sorgenti / prova::kFileTreno).string(), "--dir", uscita.string()};
}

}  // namespace compattatore::prova_guasti
