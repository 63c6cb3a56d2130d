#include "io/file_sicuro.h"

#include <gtest/gtest.h>
#if !defined(_WIN32)
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <csignal>
#include <stdexcept>

#include "io/temporanei.h"
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
#if defined(_WIN32)
  GTEST_SKIP() << prova::kSenzaCartelleSolaLettura;
#else
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
          return e.file == dest && e.errore == std::errc::permission_denied &&
                         e.motivo == "permesso negato (Permission denied)"
                     ? 0
                     : 2;
        }
        return 1;
      },
      true);
  EXPECT_EQ(stato, 0);
  EXPECT_EQ(prova::leggi(dest), "vecchio");
  EXPECT_EQ(prova::elenco_file(d / "ro"), std::vector<std::string>{"a.dat"});
#endif
}

TEST(FileSicuro, DiscoPienoTieneIlFileVecchioESenzaResti) {
#if defined(_WIN32)
  GTEST_SKIP() << "a file size limit of the process (setrlimit): Windows has none";
#else
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
          return e.motivo == "file troppo grande per il sistema (File too large)" ? 0 : 2;
        }
        return 1;
      },
      false);
  EXPECT_EQ(stato, 0);
  EXPECT_EQ(prova::leggi(dest), "vecchio");
  EXPECT_EQ(prova::elenco_file(d.percorso()), std::vector<std::string>{"a.dat"});
#endif
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

TEST(FileSicuro, UnGuastoAMetaDelGruppoRimetteIFileGiaSostituiti) {
  // The third rename fails (its temporary vanished after it was written): the first target gets
  // its old file back, the second, which did not exist, is gone again, the third is untouched.
  CartellaTemporanea d;
  prova::scrivi(d / "uno.dat", "vecchio uno");
  prova::scrivi(d / "tre.dat", "vecchio tre");
  Sostituzione s;
  s.prepara(d / "uno.dat", "nuovo uno");
  s.prepara(d / "due.dat", "nuovo due");
  s.prepara(d / "tre.dat", "nuovo tre");
  for (const auto& f : prova::elenco_file(d.percorso())) {
    if (f.starts_with(prefisso_temporanei("tre.dat"))) fs::remove(d / f);
  }
  try {
    s.conferma();
    FAIL() << "il gruppo non doveva riuscire";
  } catch (const ErroreFile& e) {
    EXPECT_EQ(e.file, d / "tre.dat");
    EXPECT_EQ(e.errore, std::errc::no_such_file_or_directory) << e.what();
  }
  EXPECT_EQ(prova::leggi(d / "uno.dat"), "vecchio uno");
  EXPECT_EQ(prova::leggi(d / "tre.dat"), "vecchio tre");
  EXPECT_EQ(prova::elenco_file(d.percorso()), (std::vector<std::string>{"tre.dat", "uno.dat"}));
}

TEST(FileSicuro, UnaCartellaComparsaPrimaDelleRinominePortaViaNiente) {
  CartellaTemporanea d;
  prova::scrivi(d / "uno.dat", "vecchio uno");
  Sostituzione s;
  s.prepara(d / "uno.dat", "nuovo uno");
  s.prepara(d / "due.dat", "nuovo due");
  fs::create_directory(d / "due.dat");
  prova::scrivi(d / "due.dat" / "dentro", "x");
  try {
    s.conferma();
    FAIL() << "il gruppo non doveva riuscire";
  } catch (const ErroreFile& e) {
    EXPECT_EQ(e.file, d / "due.dat");
    EXPECT_NE(e.motivo.find("al suo posto c'è una cartella"), std::string::npos) << e.motivo;
  }
  EXPECT_EQ(prova::leggi(d / "uno.dat"), "vecchio uno");
  EXPECT_EQ(prova::leggi(d / "due.dat" / "dentro"), "x");
  EXPECT_EQ(prova::elenco_file(d.percorso()), (std::vector<std::string>{"due.dat", "uno.dat"}));
}

TEST(FileSicuro, UnaCartellaAlPostoDiUnFileFermaIlGruppoPrimaDiScrivere) {
  CartellaTemporanea d;
  prova::scrivi(d / "uno.dat", "vecchio");
  fs::create_directory(d / "due.dat");
  const std::vector<fs::path> gruppo = {d / "uno.dat", d / "due.dat"};
  try {
    verifica_destinazioni(gruppo);
    FAIL() << "verifica superata";
  } catch (const ErroreFile& e) {
    EXPECT_EQ(e.file, d / "due.dat");
    EXPECT_EQ(e.motivo, "al suo posto c'è una cartella (Is a directory)");
  }
  EXPECT_THROW(verifica_destinazioni(std::vector<fs::path>{d / "manca" / "uno.dat"}), ErroreFile);
  verifica_destinazioni(std::vector<fs::path>{d / "uno.dat", d / "tre.dat"});
  EXPECT_EQ(prova::elenco_file(d.percorso()), (std::vector<std::string>{"due.dat", "uno.dat"}));
}

TEST(FileSicuro, IlFileSostituitoTieneISuoiPermessi) {
  CartellaTemporanea d;
#if defined(_WIN32)
  // A Windows file keeps one permission in itself: whether it can be written.
  const fs::perms scrittura =
      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  for (const bool scrivibile : {false, true}) {
    prova::scrivi(d / "a.dat", "vecchio");
    if (!scrivibile) fs::permissions(d / "a.dat", scrittura, fs::perm_options::remove);
    scrivi_file(d / "a.dat", "nuovo");
    EXPECT_EQ((fs::status(d / "a.dat").permissions() & fs::perms::owner_write) != fs::perms::none,
              scrivibile);
    EXPECT_EQ(prova::leggi(d / "a.dat"), "nuovo");
    fs::permissions(d / "a.dat", scrittura, fs::perm_options::add);
    fs::remove(d / "a.dat");
  }
#else
  const mode_t prima = ::umask(022);
  for (const auto permessi : {fs::perms::owner_read | fs::perms::owner_write,
                              fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec,
                              fs::perms::owner_read}) {
    prova::scrivi(d / "a.dat", "vecchio");
    fs::permissions(d / "a.dat", permessi);
    scrivi_file(d / "a.dat", "nuovo");
    EXPECT_EQ(fs::status(d / "a.dat").permissions(), permessi);
    EXPECT_EQ(prova::leggi(d / "a.dat"), "nuovo");
    fs::remove(d / "a.dat");
  }
  // A new file gets the usual default.
  scrivi_file(d / "b.dat", "nuovo");
  EXPECT_EQ(fs::status(d / "b.dat").permissions(), fs::perms::owner_read | fs::perms::owner_write |
                                                       fs::perms::group_read |
                                                       fs::perms::others_read);
  ::umask(prima);
#endif
}

TEST(FileSicuro, ContenutoScrittoAPezzi) {
  CartellaTemporanea d;
  prova::scrivi(d / "a.dat", "vecchio");
  std::string atteso;
  {
    Sostituzione s;
    s.prepara(d / "a.dat", [&atteso](Scrittore& w) {
      // Small pieces gathered, and pieces larger than the buffer passed straight on.
      for (int i = 0; i < 5000; ++i) {
        const std::string pezzo = std::to_string(i) + ",";
        w.scrivi(pezzo);
        atteso += pezzo;
      }
      const std::string grande(200000, 'g');
      w.scrivi(grande);
      atteso += grande;
      w.scrivi("fine");
      atteso += "fine";
    });
    s.conferma();
  }
  EXPECT_EQ(prova::leggi(d / "a.dat"), atteso);
  // A writer that fails leaves neither its temporary nor a changed target.
  {
    Sostituzione s;
    EXPECT_THROW(s.prepara(d / "a.dat",
                           [](Scrittore& w) {
                             w.scrivi(std::string(100000, 'x'));
                             throw std::runtime_error("guasto");
                           }),
                 std::runtime_error);
  }
  EXPECT_EQ(prova::leggi(d / "a.dat"), atteso);
  EXPECT_EQ(prova::elenco_file(d.percorso()), std::vector<std::string>{"a.dat"});
}

TEST(FileSicuro, UnNomeLungoQuantoIlSistemaConsente) {
  // The temporary name is short and fixed: a final name of 255 bytes still has room for it.
  CartellaTemporanea d;
  const std::string nome(251, 'n');
  scrivi_file(d / (nome + ".dat"), "nuovo");
  EXPECT_EQ(prova::leggi(d / (nome + ".dat")), "nuovo");
  EXPECT_EQ(prova::elenco_file(d.percorso()), std::vector<std::string>{nome + ".dat"});
}

TEST(FileSicuro, UnSegnaleNonLasciaTemporanei) {
#if defined(_WIN32)
  GTEST_SKIP() << prova::kSenzaSegnali;
#else
  CartellaTemporanea d;
  prova::scrivi(d / "a.dat", "vecchio");
  for (const int segnale : {SIGTERM, SIGINT, SIGHUP, SIGPIPE, SIGXFSZ}) {
    const int stato = prova::in_processo_figlio(
        [&] {
          Sostituzione s;
          s.prepara(d / "b.dat", "pronto");
          s.prepara(d / "a.dat", [segnale](Scrittore& w) {
            w.scrivi(std::string(100000, 'x'));
            ::raise(segnale);
          });
          return 0;
        },
        false);
    EXPECT_EQ(stato, -1) << "il segnale " << segnale << " doveva terminare il processo";
    EXPECT_EQ(prova::elenco_file(d.percorso()), std::vector<std::string>{"a.dat"}) << segnale;
  }
  EXPECT_EQ(prova::leggi(d / "a.dat"), "vecchio");
#endif
}

TEST(FileSicuro, UnSegnaleIgnoratoRestaIgnorato) {
#if defined(_WIN32)
  GTEST_SKIP() << prova::kSenzaSegnali;
#else
  // A process started with a signal ignored (as nohup does) keeps ignoring it.
  CartellaTemporanea d;
  const int stato = prova::in_processo_figlio(
      [&] {
        std::signal(SIGHUP, SIG_IGN);
        scrivi_file(d / "a.dat", "nuovo");
        ::raise(SIGHUP);
        return 0;
      },
      false);
  EXPECT_EQ(stato, 0);
  EXPECT_EQ(prova::leggi(d / "a.dat"), "nuovo");
#endif
}

}  // namespace
}  // namespace compattatore
