#include "io/file_sicuro.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "support/supporto.h"

namespace compattatore {
namespace {
namespace fs = std::filesystem;
using prova::CartellaTemporanea;

TEST(FileSicuro, UnFilePiuLungoESostituitoPerIntero) {
  CartellaTemporanea d;
  prova::scrivi(d / "a.dat", std::string(1000, 'x'));
  scrivi_file(d / "a.dat", "nuovo");
  EXPECT_EQ(prova::leggi(d / "a.dat"), "nuovo");
  EXPECT_EQ(prova::elenco_file(d.percorso()), std::vector<std::string>{"a.dat"});
}

TEST(FileSicuro, CartellaDiSolaLetturaTieneIlFileVecchio) {
  CartellaTemporanea d;
  fs::create_directory(d / "ro");
  prova::scrivi(d / "ro" / "a.dat", "vecchio");
  fs::permissions(d.percorso(),
                  fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  fs::permissions(d / "ro", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
  const fs::path dest = d / "ro" / "a.dat";
  const int stato = prova::in_processo_figlio(
      [&] {
        try {
          scrivi_file(dest, "nuovo");
        } catch (const ErroreFile& e) {
          return e.file == dest && e.motivo == "Permission denied" ? 0 : 2;
        }
        return 1;
      },
      true);
  EXPECT_EQ(stato, 0);
  EXPECT_EQ(prova::leggi(dest), "vecchio");
  EXPECT_EQ(prova::elenco_file(d / "ro"), std::vector<std::string>{"a.dat"});
}

TEST(FileSicuro, DiscoPienoTieneIlFileVecchioESenzaResti) {
  CartellaTemporanea d;
  prova::scrivi(d / "a.dat", "vecchio");
  const fs::path dest = d / "a.dat";
  // A file-size limit makes the write fail as a full disk would.
  const int stato = prova::in_processo_figlio(
      [&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limite{4096, 4096};
        if (::setrlimit(RLIMIT_FSIZE, &limite) != 0) return 3;
        try {
          scrivi_file(dest, std::string(100000, 'n'));
        } catch (const ErroreFile& e) {
          return e.motivo == "File too large" ? 0 : 2;
        }
        return 1;
      },
      false);
  EXPECT_EQ(stato, 0);
  EXPECT_EQ(prova::leggi(dest), "vecchio");
  EXPECT_EQ(prova::elenco_file(d.percorso()), std::vector<std::string>{"a.dat"});
}

TEST(FileSicuro, UnGruppoCambiaTuttoONiente) {
  CartellaTemporanea d;
  prova::scrivi(d / "uno.dat", "vecchio");
  {
    Sostituzione s;
    s.prepara(d / "uno.dat", "nuovo");
    EXPECT_THROW(s.prepara(d / "manca" / "due.dat", "nuovo"), ErroreFile);
  }
  EXPECT_EQ(prova::leggi(d / "uno.dat"), "vecchio");
  EXPECT_EQ(prova::elenco_file(d.percorso()), std::vector<std::string>{"uno.dat"});

  Sostituzione s;
  s.prepara(d / "uno.dat", "nuovo");
  s.prepara(d / "due.dat", "secondo");
  s.conferma();
  EXPECT_EQ(prova::leggi(d / "uno.dat"), "nuovo");
  EXPECT_EQ(prova::leggi(d / "due.dat"), "secondo");
  EXPECT_EQ(prova::elenco_file(d.percorso()), (std::vector<std::string>{"due.dat", "uno.dat"}));
}

}  // namespace
}  // namespace compattatore
