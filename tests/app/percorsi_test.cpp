// Folders whose names are not plain ASCII, or hold a space, given to every command that takes a
// file or a folder: each finds them, writes into them, and prints their names as they were typed.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/supporto.h"

namespace {
namespace fs = std::filesystem;
using prova::CartellaTemporanea;
using prova::esegui_programma;

// The UTF-8 text of a path, whatever the system's own form of it.
std::string utf8(const fs::path& p) {
  const std::u8string u = p.u8string();
  return std::string(u.begin(), u.end());
}

// The path named by the UTF-8 text `t`, made by the library alone.
fs::path da_utf8(const std::string& t) { return fs::path(std::u8string(t.begin(), t.end())); }

// The folder `cartella` and the name `nome` in it, joined as the system joins them, in UTF-8.
std::string unito(const std::string& cartella, const std::string& nome) {
  return utf8(da_utf8(cartella) / da_utf8(nome));
}

TEST(Percorsi, OgniComandoInUnaCartellaConAccentiOSpazi) {
  CartellaTemporanea d;
  for (const std::string cartella : {"Città", "due parole"}) {
    SCOPED_TRACE(cartella);
    const fs::path c = d / da_utf8(cartella);
    fs::create_directory(c);
    const auto in = [&cartella](const std::string& resto) { return cartella + "/" + resto; };
    const auto corri = [&d](const std::vector<std::string>& argomenti) {
      return esegui_programma(argomenti, d.percorso());
    };

    auto r = corri({"--dir", cartella});
    EXPECT_EQ(r.stato, 0) << r.err;
    EXPECT_EQ(prova::elenco_file(c).size(), 6u);
    for (const char* sotto : {"compilati", "sorgenti"}) fs::create_directory(c / sotto);

    r = corri({"esempio", in("modello")});
    EXPECT_EQ(r.stato, 0) << r.err;
    const std::string linea = unito(in("modello"), prova::kFileLinea);
    const std::string treno = unito(in("modello"), prova::kFileTreno);
    EXPECT_EQ(r.out.rfind("scritto " + linea + "\nscritto " + treno + "\n", 0), 0u) << r.out;

    r = corri({"compila", linea, treno, "--dir", in("compilati"), "--nome", "Città", "--treno",
               "3349", "--senza-tracciato", "--disegna", in("pagina di compila.html")});
    EXPECT_EQ(r.stato, 0) << r.err;
    EXPECT_NE(r.out.find("scritto " + unito(in("compilati"), "Città_3349.sim") + "\n"),
              std::string::npos)
        << r.out;
    EXPECT_TRUE(fs::is_regular_file(c / "pagina di compila.html"));

    r = corri({"decompila", in("compilati"), "--dir", in("sorgenti"), "--nome", "Città"});
    EXPECT_EQ(r.stato, 0) << r.err;
    EXPECT_EQ(r.out, "scritto " + unito(in("sorgenti"), "Città_linea.txt") + "\nscritto " +
                         unito(in("sorgenti"), "Città_3349-.txt") + "\n");

    r = corri({"disegna", in("compilati/Città_3349.sim"), "-o", in("pagina.html")});
    EXPECT_EQ(r.stato, 0) << r.err;
    EXPECT_EQ(r.out, "scritto " + in("pagina.html") + " (senza mappa: manca il tracciato)\n");

    r = corri({"mostra", in("compilati")});
    EXPECT_EQ(r.stato, 0) << r.err;
    r = corri({"confronta", in("compilati"), in("compilati/Città_3349.dat")});
    EXPECT_EQ(r.stato, 0) << r.err;

    // A folder that is not there is named as it was typed.
    r = corri({"decompila", in("compilati"), "--dir", in("mancante")});
    EXPECT_EQ(r.stato, 1);
    EXPECT_EQ(
        r.err.rfind("compattatore decompila: la cartella '" + in("mancante") + "' non esiste\n", 0),
        0u)
        << r.err;
  }
}

}  // namespace
