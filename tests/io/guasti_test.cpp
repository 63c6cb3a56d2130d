// Reading through the fault seam, and the journal of a group applied after a run that died.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <optional>

#include "io/blocco.h"
#include "io/diario.h"
#include "io/file_sicuro.h"
#include "io/temporanei.h"
#include "support/supporto.h"

#if defined(COMPATTATORE_GUASTI)
#include "io/guasti.h"
#endif

namespace compattatore {
namespace {
namespace fs = std::filesystem;

#if defined(COMPATTATORE_GUASTI)
TEST(Guasti, UnaLetturaFallitaNonEUnFileCorto) {
  prova::CartellaTemporanea d;
  const std::string contenuto(100000, 'x');
  prova::scrivi(d / "f.txt", contenuto);
  guasti::arma(0, 0);
  ASSERT_EQ(leggi_file(d / "f.txt"), contenuto);
  const std::vector<guasti::Chiamata> chiamate = guasti::chiamate();
  const auto letture =
      static_cast<size_t>(std::count(chiamate.begin(), chiamate.end(), guasti::Chiamata::leggi));
  ASSERT_GE(letture, 2u);  // the content, then the end
  for (size_t n = 1; n <= letture; ++n) {
    guasti::arma(static_cast<long>(n), EIO, false, guasti::Chiamata::leggi);
    try {
      leggi_file(d / "f.txt");
      ADD_FAILURE() << "lettura " << n << " fallita ma nessun errore";
    } catch (const ErroreFile& e) {
      EXPECT_EQ(e.errore, std::errc::io_error) << n;
      EXPECT_EQ(e.what(), (d / "f.txt").string() +
                              ": errore di lettura o scrittura sul disco (Input/output error)");
    }
    guasti::arma(static_cast<long>(n), EINTR, false, guasti::Chiamata::leggi);
    EXPECT_EQ(leggi_file(d / "f.txt"), contenuto) << n;
  }
  guasti::disarma();
}
#endif

// A group of three files in the state a run left when it died, and what its journal makes of it.
TEST(Diario, UnGruppoLasciatoAMetaVaAvantiOIndietroTutto) {
  struct Caso {
    const char* nome;
    Verso verso;
    int rinominati;  // files already renamed over their destinations (of 3)
  };
  const Caso casi[] = {
      {"avanti, nessuno rinominato", Verso::avanti, 0},
      {"avanti, uno rinominato", Verso::avanti, 1},
      {"avanti, tutti rinominati", Verso::avanti, 3},
      {"indietro, due ancora nuovi", Verso::indietro, 2},
      {"indietro, uno rimesso", Verso::indietro, 1},
  };
  for (const Caso& c : casi) {
    prova::CartellaTemporanea d;
    Diario diario{c.verso, {}};
    const std::string nomi[] = {"a.sim", "a.dat", "nuovo.txt"};  // the last had no old file
    for (int i = 0; i < 3; ++i) {
      const std::string& n = nomi[i];
      VoceDiario v{n, nome_temporaneo(n), i < 2 ? nome_temporaneo(n) : ""};
      if (i < 2) {
        prova::scrivi(d / n, "vecchio " + n);
        fs::create_hard_link(d / n, d / v.riserva);
      }
      prova::scrivi(d / v.temporaneo, "nuovo " + n);
      if (i < c.rinominati) fs::rename(d / v.temporaneo, d / n);
      diario.voci.push_back(v);
    }
    ASSERT_FALSE(scrivi_diario(d.percorso(), diario)) << c.nome;
    prova::scrivi(d / nome_blocco("a.sim"), "");  // the lock file of the dead run

    const Riparazione r = ripara_cartella(d.percorso());
    EXPECT_EQ(r.gruppi_avanti + r.gruppi_indietro, 1) << c.nome;
    EXPECT_EQ(r.blocchi, 1) << c.nome;
    if (c.verso == Verso::avanti) {
      for (const std::string& n : nomi) EXPECT_EQ(prova::leggi(d / n), "nuovo " + n) << c.nome;
      EXPECT_EQ(prova::elenco_file(d.percorso()),
                (std::vector<std::string>{"a.dat", "a.sim", "nuovo.txt"}))
          << c.nome;
    } else {
      for (const std::string& n : {nomi[0], nomi[1]}) {
        EXPECT_EQ(prova::leggi(d / n), "vecchio " + n) << c.nome;
      }
      EXPECT_EQ(prova::elenco_file(d.percorso()), (std::vector<std::string>{"a.dat", "a.sim"}))
          << c.nome;
    }
  }
}

// A run that writes some of a dead run's group finishes the whole group at its start, unless
// another living run holds one of the group's other files: then it leaves the journal and what it
// names for later.
TEST(Diario, LaCorsaSeguenteFinisceIlGruppoSeNessunAltroLoTiene) {
  for (const bool altro_vivo : {false, true}) {
    prova::CartellaTemporanea d;
    // The other run took its lock before the first died.
    std::optional<BloccoCorsa> altro;
    if (altro_vivo) altro.emplace(d.percorso(), std::vector<std::string>{"x_linea.dat"});
    Diario diario;
    for (const std::string n : {"x_linea.dat", "x_1.sim", "x_1.dat"}) {
      diario.voci.push_back({n, nome_temporaneo(n), ""});
      prova::scrivi(d / diario.voci.back().temporaneo, "nuovo " + n);
    }
    ASSERT_FALSE(scrivi_diario(d.percorso(), diario));
    { const BloccoCorsa senza_tracciato(d.percorso(), {"x_1.sim", "x_1.dat"}); }
    const std::vector<std::string> file = prova::elenco_file(d.percorso());
    if (altro_vivo) {
      EXPECT_EQ(file.size(), 1u + 3u + 1u) << ::testing::PrintToString(file);  // + its lock
      EXPECT_FALSE(fs::exists(d / "x_1.sim"));
    } else {
      EXPECT_EQ(file, (std::vector<std::string>{"x_1.dat", "x_1.sim", "x_linea.dat"}));
      EXPECT_EQ(prova::leggi(d / "x_linea.dat"), "nuovo x_linea.dat");
    }
  }
}

TEST(Diario, RiparaTogliTemporaneiEBlocchiSenzaDiario) {
  prova::CartellaTemporanea d;
  prova::scrivi(d / "a.sim", "a");
  prova::scrivi(d / nome_temporaneo("a.sim"), "mezzo");
  prova::scrivi(d / nome_temporaneo("b.dat"), "");
  prova::scrivi(d / nome_blocco("b.dat"), "");
  prova::scrivi(d / ".compattatore-nota.txt", "non nostro");  // not a name of the program's
  const Riparazione r = ripara_cartella(d.percorso());
  EXPECT_EQ(r.gruppi_avanti + r.gruppi_indietro, 0);
  EXPECT_EQ(r.temporanei, 2);
  EXPECT_EQ(r.blocchi, 1);
  EXPECT_EQ(prova::elenco_file(d.percorso()),
            (std::vector<std::string>{".compattatore-nota.txt", "a.sim"}));
  const Riparazione ancora = ripara_cartella(d.percorso());
  EXPECT_EQ(ancora.temporanei + ancora.blocchi, 0);
}

}  // namespace
}  // namespace compattatore
