#include "io/blocco.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

#include "io/file_sicuro.h"
#include "io/temporanei.h"
#include "support/supporto.h"

namespace compattatore {
namespace {
namespace fs = std::filesystem;
using prova::CartellaTemporanea;
using namespace std::chrono_literals;

TEST(BloccoCorsa, DueCorseConUnFileInComuneSiAspettano) {
  CartellaTemporanea d;
  std::atomic<bool> primo_finito{false};
  std::atomic<int> avvisi{0};
  std::atomic<bool> secondo_dopo_il_primo{false};
  auto primo = std::make_unique<BloccoCorsa>(d.percorso(), std::vector<std::string>{"a", "b"});
  std::thread secondo([&] {
    BloccoCorsa b(d.percorso(), {"c", "b", "d"}, [&] { ++avvisi; });
    secondo_dopo_il_primo = primo_finito.load();
  });
  std::this_thread::sleep_for(200ms);
  // A run of other files does not wait.
  {
    bool atteso = false;
    BloccoCorsa altro(d.percorso(), {"e", "f"}, [&] { atteso = true; });
    EXPECT_FALSE(atteso);
  }
  primo_finito = true;
  primo.reset();
  secondo.join();
  EXPECT_TRUE(secondo_dopo_il_primo);
  EXPECT_EQ(avvisi, 1);  // said once, though it waited for one name only
  EXPECT_TRUE(prova::elenco_file(d.percorso()).empty());
}

TEST(BloccoCorsa, IlBloccoDiUnProcessoUccisoNonTrattiene) {
#if defined(_WIN32)
  GTEST_SKIP() << prova::kSenzaFork;
#else
  // A run killed outright leaves its lock file, but not the lock: the next run takes it at once
  // and removes the temporaries the dead run left.
  CartellaTemporanea d;
  prova::scrivi(d / "a.dat", "vecchio");
  const int stato = prova::in_processo_figlio(
      [&] {
        BloccoCorsa b(d.percorso(), {"a.dat"});
        Sostituzione s;
        s.prepara(d / "a.dat", "nuovo");
        ::raise(SIGKILL);
        return 0;
      },
      false);
  EXPECT_EQ(stato, -1);
  ASSERT_EQ(prova::elenco_file(d.percorso()).size(), 3u);  // the lock file and the temporary
  bool atteso = false;
  {
    BloccoCorsa b(d.percorso(), {"a.dat"}, [&] { atteso = true; });
    EXPECT_EQ(prova::elenco_file(d.percorso()).size(), 2u);  // the temporary is gone
  }
  EXPECT_FALSE(atteso);
  EXPECT_EQ(prova::elenco_file(d.percorso()), std::vector<std::string>{"a.dat"});
  EXPECT_EQ(prova::leggi(d / "a.dat"), "vecchio");
#endif
}

TEST(BloccoCorsa, TemporaneiOrfaniDeiSoliFileDellaCorsa) {
  CartellaTemporanea d;
  // A process that has ended, for the names of earlier versions.
  const std::string vivo = std::to_string(prova::questo_processo());
  const std::string finito = std::to_string(prova::processo_terminato());
  const std::vector<std::string> tolti = {
      prefisso_temporanei("a.dat") + "abc123.tmp",
      prefisso_temporanei("A.DAT") + "zzzzzz.tmp",
      "a.dat.nuovo-" + finito + "-0",
  };
  const std::vector<std::string> tenuti = {
      prefisso_temporanei("b.dat") + "abc123.tmp",  // another run's file
      "a.dat.nuovo-" + vivo + "-0",                 // its process is still running
      "a.dat.nuovo-" + finito + "-x",               // not a name the program made
      "a.dat",
  };
  for (const auto& f : tolti) prova::scrivi(d / f, "x");
  for (const auto& f : tenuti) prova::scrivi(d / f, "x");
  { BloccoCorsa b(d.percorso(), {"a.dat"}); }
  std::vector<std::string> attesi = tenuti;
  std::sort(attesi.begin(), attesi.end());
  EXPECT_EQ(prova::elenco_file(d.percorso()), attesi);
}

TEST(BloccoCorsa, NomiBreviEFissi) {
  for (const std::string& nome : {std::string("a"), std::string(250, 'n')}) {
    const std::string t = nome_temporaneo(nome);
    EXPECT_EQ(t.size(), 41u) << t;
    EXPECT_TRUE(t.starts_with(".compattatore-")) << t;
    EXPECT_TRUE(t.ends_with(".tmp")) << t;
    EXPECT_NE(t, nome_temporaneo(nome));
    EXPECT_EQ(nome_blocco(nome).size(), 37u);
  }
  EXPECT_EQ(impronta("Viterbo.DAT"), impronta("viterbo.dat"));
  EXPECT_NE(impronta("a.dat"), impronta("a.sim"));
}

TEST(BloccoCorsa, CartellaDiSolaLettura) {
#if defined(_WIN32)
  GTEST_SKIP() << prova::kSenzaCartelleSolaLettura;
#else
  CartellaTemporanea d;
  fs::permissions(d.percorso(),
                  fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  const fs::path cartella = d.percorso();
  const int stato = prova::in_processo_figlio(
      [&] {
        try {
          BloccoCorsa b(cartella, {"a.dat"});
        } catch (const ErroreFile& e) {
          return e.file == cartella && e.errore == std::errc::permission_denied ? 0 : 2;
        }
        return 1;
      },
      true);
  EXPECT_EQ(stato, 0);
#endif
}

}  // namespace
}  // namespace compattatore
