// The states a crash can leave on the disk. A command's calls that change the disk are recorded
// (io/guasti.h); then every state that a power cut at any point between two of them may leave is
// built in the output folder and repaired with `ripara` (or, for some, by the next run): each
// group of outputs must then be all earlier files or all new ones, byte for byte, and nothing of
// the program's own may be left.
//
// What may survive a power cut, as on an ordered-mode journaling file system (ext4 with
// data=ordered, say), stated loosely enough to hold on the others too:
// 1. Changes of names (a new file, a rename, a second name, a removal) reach the disk in the
//    order they were made: what survives is a prefix of them, any prefix.
// 2. Flushing a folder makes every change of names made before it survive.
// 3. The bytes of a file not yet flushed may be lost, whole or in part: what survives is a prefix
//    of what was written, never other bytes. Flushing a file makes every byte written to it
//    before survive. Nothing else ties a file's bytes to the names: a rename may survive while
//    the bytes of the file it moved are lost, unless that file was flushed first.
// 4. A file the command did not write keeps its bytes.
//
// The states of one crash point: every prefix of the name changes from the last folder flush on;
// for each, every file with all its written bytes, then each file not wholly flushed in turn cut
// back to its flushed part and to halfway, then all of those cut back at once. A fault that
// needs one file cut short shows with the others whole, so the subsets of files are not tried
// one by one. A crash between two writes of one file leaves states that only cut that file
// shorter, which the crash after its last write covers: those points are not tried again.
// States that come out the same are checked once.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <set>
#include <string_view>
#include <tuple>

#if defined(COMPATTATORE_GUASTI)
#include <sys/stat.h>

#include "app/guasti_supporto.h"
#include "io/guasti.h"
#endif

namespace compattatore {
namespace {
namespace fs = std::filesystem;

#if defined(COMPATTATORE_GUASTI)

using namespace prova_guasti;
using Tipo = guasti::Operazione::Tipo;

// A file as the model of the disk knows it: the bytes written, and how many were flushed.
struct FileModello {
  std::string dati;
  size_t salvati = 0;
};

using Nomi = std::map<std::string, int>;  // name in the folder -> file

// A change of names, replayed on the names of a state.
struct CambioNome {
  Tipo tipo{};
  std::string nome;
  std::string altro;
  int file = -1;  // of a new file
};

void applica(Nomi& nomi, const CambioNome& c) {
  switch (c.tipo) {
    case Tipo::crea:
    case Tipo::crea_se_manca:
      nomi[c.nome] = c.file;
      break;
    case Tipo::rinomina: {
      const int f = nomi.at(c.nome);
      if (nomi.contains(c.altro) && nomi.at(c.altro) == f) break;  // two names of one file
      nomi.erase(c.nome);
      nomi[c.altro] = f;
      break;
    }
    case Tipo::collega:
      nomi[c.altro] = nomi.at(c.nome);
      break;
    case Tipo::rimuovi:
      nomi.erase(c.nome);
      break;
    default:
      break;
  }
}

// One state of the folder: for each name, its file and how many of its bytes survive.
using Stato = std::vector<std::tuple<std::string, int, size_t>>;

// A command over a folder of earlier outputs, and its groups.
struct Caso {
  std::string nome;
  fs::path uscita;
  std::vector<std::string> argomenti;
  std::vector<std::vector<std::string>> gruppi;
  // Files the command writes without flushing and removes (the plain run's sources): they may
  // stay after a power cut, as a prefix of these bytes.
  Cartella provvisori;
};

class Verificatore {
 public:
  Verificatore(Caso c, fs::path deposito) : c_(std::move(c)), deposito_(std::move(deposito)) {
    fs::create_directory(deposito_);
    vecchi_ = istantanea(c_.uscita);
    guasti::registra(true);
    pulita_ = lancia(c_.argomenti);
    operazioni_ = guasti::registrate();
    guasti::registra(false);
    nuovi_ = istantanea(c_.uscita);
  }

  const Corsa& pulita() const { return pulita_; }

  // Replays the recording and checks every state of every crash point. Returns what it did.
  std::string verifica() {
    Nomi ora;
    for (const auto& [nome, byte] : vecchi_) {
      ora[nome] = static_cast<int>(file_.size());
      file_.push_back({byte, byte.size()});
    }
    vecchi_file_ = ora;
    std::vector<Nomi> dopo{ora};  // the names after each change
    std::vector<CambioNome> cambi;
    size_t salvati = 0;  // changes made before the last flush of the folder
    std::map<std::intptr_t, int> maniglie;
    size_t punti = 0;
    for (size_t k = 0;; ++k) {
      const bool tra_due_scritture = k > 0 && k < operazioni_.size() &&
                                     operazioni_[k - 1].tipo == Tipo::scrivi &&
                                     operazioni_[k].tipo == Tipo::scrivi &&
                                     operazioni_[k - 1].maniglia == operazioni_[k].maniglia;
      if (!tra_due_scritture) {
        ++punti;
        for (size_t j = salvati; j < dopo.size(); ++j) stati_del_punto(dopo[j]);
        if (::testing::Test::HasFailure()) break;
      }
      if (k == operazioni_.size()) break;
      const guasti::Operazione& o = operazioni_[k];
      luogo_ = "dopo l'operazione " + std::to_string(k + 1) + " di " +
               std::to_string(operazioni_.size());
      const fs::path percorso = o.percorso;
      if (o.tipo != Tipo::scrivi && o.tipo != Tipo::salva_file) {
        // Every change lies in the output folder: rule 1 holds across one folder at least.
        EXPECT_EQ(o.tipo == Tipo::salva_cartella ? percorso : percorso.parent_path(), c_.uscita)
            << o.percorso;
      }
      CambioNome cambio{o.tipo, percorso.filename().string(),
                        fs::path(o.altro).filename().string()};
      switch (o.tipo) {
        case Tipo::crea_se_manca:
          if (ora.contains(cambio.nome)) {
            maniglie[o.maniglia] = ora.at(cambio.nome);
            continue;
          }
          [[fallthrough]];
        case Tipo::crea:
          cambio.file = static_cast<int>(file_.size());
          file_.emplace_back();
          maniglie[o.maniglia] = cambio.file;
          break;
        case Tipo::scrivi: {
          FileModello& f = file_.at(static_cast<size_t>(maniglie.at(o.maniglia)));
          // Written in order, from the start: what survives of it is a prefix (rule 3).
          EXPECT_EQ(o.posizione, static_cast<std::int64_t>(f.dati.size()));
          f.dati += o.dati;
          continue;
        }
        case Tipo::salva_file: {
          FileModello& f = file_.at(static_cast<size_t>(maniglie.at(o.maniglia)));
          f.salvati = f.dati.size();
          continue;
        }
        case Tipo::salva_cartella:
          salvati = cambi.size();
          continue;
        default:
          break;
      }
      applica(ora, cambio);
      cambi.push_back(cambio);
      dopo.push_back(ora);
    }
    // The model replays the run: all of it on the disk is the folder the run left.
    if (!::testing::Test::HasFailure()) {
      std::vector<std::string> diversi;
      for (const auto& [nome, f] : ora) {
        if (!nuovi_.contains(nome) || nuovi_.at(nome) != file_[static_cast<size_t>(f)].dati) {
          diversi.push_back(nome);
        }
      }
      EXPECT_EQ(ora.size(), nuovi_.size()) << "la registrazione non rifà la corsa";
      EXPECT_EQ(diversi, std::vector<std::string>{}) << "la registrazione non rifà la corsa";
    }
    ripristina(c_.uscita, nuovi_);
    return std::to_string(operazioni_.size()) + " operazioni, " + std::to_string(punti) +
           " punti di arresto, " + std::to_string(visti_.size()) + " stati controllati (" +
           std::to_string(con_la_seguente_) + " con la corsa seguente, gli altri con ripara)";
  }

 private:
  // The states of one crash point with the names `nomi`: see the top of the file.
  void stati_del_punto(const Nomi& nomi) {
    std::vector<int> aperti;  // files with bytes not yet flushed
    for (const auto& [nome, f] : nomi) {
      const FileModello& m = file_[static_cast<size_t>(f)];
      if (m.salvati < m.dati.size() && std::find(aperti.begin(), aperti.end(), f) == aperti.end()) {
        aperti.push_back(f);
      }
    }
    std::vector<std::map<int, size_t>> tagli{{}};
    for (const int f : aperti) {
      const FileModello& m = file_[static_cast<size_t>(f)];
      tagli.push_back({{f, m.salvati}});
      const size_t meta = m.salvati + (m.dati.size() - m.salvati) / 2;
      if (meta != m.salvati) tagli.push_back({{f, meta}});
    }
    if (aperti.size() > 1) {
      std::map<int, size_t> tutti;
      for (const int f : aperti) tutti[f] = file_[static_cast<size_t>(f)].salvati;
      tagli.push_back(tutti);
    }
    for (const auto& taglio : tagli) {
      Stato s;
      for (const auto& [nome, f] : nomi) {
        const auto t = taglio.find(f);
        s.emplace_back(nome, f,
                       t != taglio.end() ? t->second : file_[static_cast<size_t>(f)].dati.size());
      }
      if (visti_.insert(s).second) controlla(s);
      if (::testing::Test::HasFailure()) return;
    }
  }

  // The bytes of a file of the model, cut to `n`, as a file of the store: the states are made of
  // second names of these (the commands never write into a file that is there already).
  fs::path nel_deposito(int f, size_t n) {
    const fs::path p = deposito_ / (std::to_string(f) + "-" + std::to_string(n));
    if (!fs::exists(p)) {
      prova::scrivi(p, file_[static_cast<size_t>(f)].dati.substr(0, n));
      struct stat st {};
      ::stat(p.c_str(), &st);
      deposito_per_file_[st.st_ino] = {f, n};
    }
    return p;
  }

  void controlla(const Stato& s) {
    for (const auto& e : fs::directory_iterator(c_.uscita)) fs::remove(e.path());
    for (const auto& [nome, f, n] : s) fs::create_hard_link(nel_deposito(f, n), c_.uscita / nome);
    std::string dove = c_.nome + ", " + luogo_ + ", stato:";
    for (const auto& [nome, f, n] : s) {
      dove += " " + nome +
              (vecchi_file_.contains(nome) && vecchi_file_.at(nome) == f
                   ? "(vecchio)"
                   : "(" + std::to_string(n) + " byte)");
    }
    // Before the repair a reader finds each output old or new, whole, or not yet there.
    for (const auto& gruppo : c_.gruppi) {
      for (const std::string& nome : gruppo) {
        const auto it =
            std::find_if(s.begin(), s.end(), [&](const auto& v) { return std::get<0>(v) == nome; });
        if (it == s.end()) {
          EXPECT_FALSE(vecchi_.contains(nome)) << dove << ": manca " << nome;
          continue;
        }
        const auto& [_, f, n] = *it;
        const std::string_view visto =
            std::string_view(file_[static_cast<size_t>(f)].dati).substr(0, n);
        EXPECT_TRUE((vecchi_.contains(nome) && vecchi_.at(nome) == visto) ||
                    nuovi_.at(nome) == visto)
            << dove << ": " << nome << " è una parte";
      }
    }
    // Every tenth state goes to the next run, which repairs at its start and writes anew.
    if (visti_.size() % 10 == 0) {
      ++con_la_seguente_;
      const Corsa seguente = lancia(c_.argomenti);
      EXPECT_EQ(seguente.stato, pulita_.stato) << dove << "\n" << seguente.err;
      EXPECT_EQ(istantanea(c_.uscita), nuovi_) << dove << ": la corsa seguente";
      return;
    }
    const Corsa riparata = lancia({"ripara", c_.uscita.string()});
    EXPECT_EQ(riparata.stato, 0) << dove << "\n" << riparata.err;
    EXPECT_EQ(difetto(), "") << dove;
  }

  // The bytes under each name of the output folder: those of the store seen by their file number,
  // others read.
  std::map<std::string, std::string> letti() const {
    std::map<std::string, std::string> c;
    for (const auto& e : fs::directory_iterator(c_.uscita)) {
      struct stat st {};
      ::stat(e.path().c_str(), &st);
      const auto d = deposito_per_file_.find(st.st_ino);
      c[e.path().filename().string()] =
          d != deposito_per_file_.end()
              ? file_[static_cast<size_t>(d->second.first)].dati.substr(0, d->second.second)
              : prova::leggi(e.path());
    }
    return c;
  }

  // What is wrong with the folder after a repair, "" when nothing.
  std::string difetto() const {
    const std::map<std::string, std::string> c = letti();
    std::set<std::string> visti;
    for (const auto& gruppo : c_.gruppi) {
      size_t vecchi = 0, nuovi = 0;
      for (const std::string& f : gruppo) {
        visti.insert(f);
        const auto it = c.find(f);
        const auto v = vecchi_.find(f);
        if (it == c.end()) {
          vecchi += v == vecchi_.end();
          continue;
        }
        vecchi += v != vecchi_.end() && v->second == it->second;
        nuovi += nuovi_.contains(f) && nuovi_.at(f) == it->second;
      }
      if (vecchi != gruppo.size() && nuovi != gruppo.size()) {
        return "gruppo di " + gruppo[0] + ": " + std::to_string(vecchi) + " file vecchi e " +
               std::to_string(nuovi) + " nuovi di " + std::to_string(gruppo.size());
      }
    }
    for (const auto& [nome, byte] : c) {
      if (visti.contains(nome)) continue;
      if (proprio(nome)) return "resta " + nome;
      const auto p = c_.provvisori.find(nome);
      if (p == c_.provvisori.end() || !p->second.starts_with(byte)) return "file inatteso " + nome;
    }
    return "";
  }

  Caso c_;
  fs::path deposito_;
  Cartella vecchi_;
  Cartella nuovi_;
  Corsa pulita_;
  std::vector<guasti::Operazione> operazioni_;
  std::vector<FileModello> file_;
  Nomi vecchi_file_;
  std::map<ino_t, std::pair<int, size_t>> deposito_per_file_;
  std::set<Stato> visti_;
  size_t con_la_seguente_ = 0;
  std::string luogo_ = "prima della prima operazione";
};

void verifica(Caso c, const fs::path& deposito) {
  const std::string nome = c.nome;
  Verificatore v(std::move(c), deposito);
  ASSERT_EQ(v.pulita().stato, 0) << v.pulita().err;
  const std::string fatto = v.verifica();
  std::cout << "stati del disco, " << nome << ": " << fatto
            << (::testing::Test::HasFailure() ? "" : ": nessun file perso né mescolato") << "\n";
}

TEST(StatiDelDisco, CorsaNormale) {
  const Lavoro d;
  const fs::path uscita = d / "uscita";
  fs::create_directory(uscita);
  vecchie_versioni(uscita, kDocumenti);
  vecchie_versioni(uscita, kCompilati);
  ASSERT_TRUE(sorgenti_incorporate(d / "esempio"));
  verifica({"corsa normale",
            uscita,
            {"esegui", "--dir", uscita.string()},
            {kDocumenti, kCompilati},
            istantanea(d / "esempio")},
           d / "deposito");
}

TEST(StatiDelDisco, Compila) {
  const Lavoro d;
  ASSERT_TRUE(sorgenti_incorporate(d / "sorgenti"));
  const fs::path uscita = d / "uscita";
  fs::create_directory(uscita);
  vecchie_versioni(uscita, kCompilati);
  verifica({"compila", uscita, compila_in(d / "sorgenti", uscita), {kCompilati}, {}},
           d / "deposito");
}

#endif  // without the seam (Windows), Spazzate.SoloConLaCucituraDeiGuasti says it is skipped

}  // namespace
}  // namespace compattatore
