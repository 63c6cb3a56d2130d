#include "io/sistema.h"

#include <gtest/gtest.h>

#include "io/errori_sistema.h"
#include "support/supporto.h"

namespace compattatore {
namespace {
namespace fs = std::filesystem;

TEST(Sistema, StessoFileAncheAttraversoUnCollegamento) {
  prova::CartellaTemporanea d;
  prova::scrivi(d / "a.txt", "a");
  prova::scrivi(d / "b.txt", "a");
  fs::create_hard_link(d / "a.txt", d / "secondo_nome.txt");
  fs::create_directory(d / "sotto");
  EXPECT_TRUE(stesso_file(d / "a.txt", d / "a.txt"));
  EXPECT_TRUE(stesso_file(d / "a.txt", d / "sotto" / ".." / "a.txt"));
  EXPECT_TRUE(stesso_file(d / "secondo_nome.txt", d / "a.txt"));
#if !defined(_WIN32)  // Wine makes symbolic links, but opens no file through them
  fs::create_symlink(d / "a.txt", d / "collegamento.txt");
  EXPECT_TRUE(stesso_file(d / "collegamento.txt", d / "a.txt"));
#endif
  EXPECT_FALSE(stesso_file(d / "b.txt", d / "a.txt"));  // same content, another file
  EXPECT_FALSE(stesso_file(d / "manca.txt", d / "a.txt"));
}

TEST(Sistema, MotiviInItalianoConIlTestoDelSistema) {
  const struct {
    std::errc e;
    const char* atteso;
  } casi[] = {
      {std::errc::permission_denied, "permesso negato (Permission denied)"},
      {std::errc::no_space_on_device, "spazio esaurito sul disco (No space left on device)"},
      {std::errc::is_a_directory, "al suo posto c'è una cartella (Is a directory)"},
      {std::errc::no_such_file_or_directory,
       "file o cartella inesistente (No such file or directory)"},
      {std::errc::read_only_file_system, "file system di sola lettura (Read-only file system)"},
      {std::errc::filename_too_long, "nome troppo lungo (File name too long)"},
  };
  for (const auto& c : casi) EXPECT_EQ(motivo_sistema(std::make_error_code(c.e)), c.atteso);
  // A reason without an Italian text keeps the system's.
  EXPECT_EQ(motivo_sistema(std::make_error_code(std::errc::bad_message)),
            std::make_error_code(std::errc::bad_message).message());
  EXPECT_TRUE(scrittura_negata(std::make_error_code(std::errc::read_only_file_system)));
  EXPECT_FALSE(scrittura_negata(std::make_error_code(std::errc::no_space_on_device)));
}

}  // namespace
}  // namespace compattatore
