#include "app/opzioni.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {
using namespace compattatore;

const Opzione kOpzioni[] = {
    {"dir", "CARTELLA", "lavora in CARTELLA", Valore::percorso},
    {"senza-tracciato", nullptr, "non scrive il tracciato", Valore::testo, "no-plan"},
    {"sorgenti", "CARTELLA", "legge le sorgenti da CARTELLA"},
};

// The UTF-8 text of a path, whatever the system's own form of it.
std::string utf8(const std::filesystem::path& p) {
  const std::u8string u = p.u8string();
  return std::string(u.begin(), u.end());
}

// The outcome in one line: "--dir=X --senza-tracciato [a] --help" (values, flags, operands,
// help), or "errore: " and the message.
std::string esito(const std::vector<std::string>& argomenti) {
  const auto letto = leggi_opzioni(argomenti, kOpzioni);
  if (const auto* errore = std::get_if<std::string>(&letto)) return "errore: " + *errore;
  const auto& o = std::get<OpzioniLette>(letto);
  std::string testo;
  for (const auto& [nome, valore] : o.percorsi) testo += " --" + nome + "=" + utf8(valore);
  for (const auto& [nome, valore] : o.valori) testo += " --" + nome + "=" + valore;
  for (const auto& nome : o.flag) testo += " --" + nome;
  for (const auto& p : o.operandi) testo += " [" + utf8(p) + "]";
  if (o.aiuto) testo += " --help";
  return testo.empty() ? testo : testo.substr(1);
}

TEST(Opzioni, LetturaRiuscita) {
  const struct {
    std::vector<std::string> argomenti;
    const char* atteso;
  } casi[] = {
      {{}, ""},
      {{"--dir", "X"}, "--dir=X"},
      {{"--dir=X"}, "--dir=X"},
      {{"--dir="}, "--dir="},
      {{"--di", "X"}, "--dir=X"},
      {{"--no-plan"}, "--senza-tracciato"},
      {{"--senza", "--no-plan"}, "--senza-tracciato"},
      {{"a", "--dir", "X", "b", "--senza-tracciato", "c"}, "--dir=X --senza-tracciato [a] [b] [c]"},
      {{"-", "--sorgenti=S"}, "--sorgenti=S [-]"},
      {{"--", "a", "--dir", "-x", "--"}, "[a] [--dir] [-x] [--]"},
      {{"a", "--dir", "X", "--", "--help"}, "--dir=X [a] [--help]"},
      {{"--dir", "X", "--dir=X"}, "--dir=X"},
      {{"--help"}, "--help"},
      {{"a", "-h"}, "[a] --help"},
      // Help is taken as soon as it is seen: what follows it cannot fail.
      {{"--he", "--dri"}, "--help"},
      {{"-hx"}, "--help"},
  };
  // Twice over: the parser's global state must not carry from one call to the next.
  for (int giro = 0; giro < 2; ++giro) {
    for (const auto& c : casi) EXPECT_EQ(esito(c.argomenti), c.atteso);
  }
}

TEST(Opzioni, ErroriDUso) {
  const struct {
    std::vector<std::string> argomenti;
    const char* messaggio;
  } casi[] = {
      {{"--dri", "X"}, "opzione sconosciuta '--dri'; forse intendevi '--dir'?"},
      {{"--no-plam"}, "opzione sconosciuta '--no-plam'; forse intendevi '--senza-tracciato'?"},
      {{"--directory=X"}, "opzione sconosciuta '--directory'; forse intendevi '--dir'?"},
      {{"--verbose"}, "opzione sconosciuta '--verbose'"},
      {{"-x"}, "opzione sconosciuta '-x'"},
      {{"-dir", "X"}, "opzione sconosciuta '-dir'; forse intendevi '--dir'?"},
      {{"a", "--dir"}, "l'opzione '--dir' vuole un valore (CARTELLA)"},
      {{"--sor"}, "l'opzione '--sorgenti' vuole un valore (CARTELLA)"},
      {{"--no-plan=1"}, "l'opzione '--no-plan' non vuole un valore"},
      {{"--senza=1"}, "l'opzione '--senza-tracciato' non vuole un valore"},
      {{"--help=1"}, "l'opzione '--help' non vuole un valore"},
      {{"--s"}, "l'opzione '--s' è ambigua: può essere '--senza-tracciato' o '--sorgenti'"},
      {{"--dir", "X", "--dir", "Y"},
       "l'opzione '--dir' è data due volte con valori diversi ('X' e 'Y')"},
      // Stops inside a group of short options: the next call must start afresh all the same.
      {{"-xh"}, "opzione sconosciuta '-xh'"},
  };
  for (int giro = 0; giro < 2; ++giro) {
    for (const auto& c : casi) EXPECT_EQ(esito(c.argomenti), "errore: " + std::string(c.messaggio));
  }
}

#ifndef _WIN32
TEST(Opzioni, OperandiPrimaDelleOpzioniAncheConPosixlyCorrect) {
  ::setenv("POSIXLY_CORRECT", "1", 1);
  EXPECT_EQ(esito({"a", "--dir", "X"}), "--dir=X [a]");
  ::unsetenv("POSIXLY_CORRECT");
}
#endif

TEST(Opzioni, AiutoAllineato) {
  EXPECT_EQ(aiuto_opzioni(kOpzioni),
            "Opzioni:\n"
            "  --dir CARTELLA       lavora in CARTELLA\n"
            "  --senza-tracciato    non scrive il tracciato\n"
            "  --sorgenti CARTELLA  legge le sorgenti da CARTELLA\n"
            "  --help               mostra questo aiuto\n");
}

TEST(Opzioni, OpzioneConUnaLettera) {
  const Opzione tabella[] = {
      {"uscita", "FILE", "scrive in FILE", Valore::testo, "output", 'o'},
      {"json", nullptr, "in JSON"},
  };
  const auto leggi = [&tabella](const std::vector<std::string>& argomenti) -> std::string {
    const auto letto = leggi_opzioni(argomenti, tabella);
    if (const auto* errore = std::get_if<std::string>(&letto)) return "errore: " + *errore;
    const auto& o = std::get<OpzioniLette>(letto);
    return o.valore("uscita").value_or("-") + (o.presente("json") ? " json" : "") +
           (o.operandi.empty() ? "" : " [" + utf8(o.operandi.front()) + "]");
  };
  EXPECT_EQ(leggi({"a", "-o", "p.html"}), "p.html [a]");
  EXPECT_EQ(leggi({"-op.html", "--json"}), "p.html json");
  EXPECT_EQ(leggi({"--output=p.html", "-o", "p.html"}), "p.html");
  EXPECT_EQ(leggi({"a", "-o"}), "errore: l'opzione '-o' vuole un valore (FILE)");
  EXPECT_EQ(leggi({"-j"}), "errore: opzione sconosciuta '-j'");
  EXPECT_EQ(aiuto_opzioni(tabella),
            "Opzioni:\n"
            "  -o, --uscita FILE  scrive in FILE\n"
            "      --json         in JSON\n"
            "  -h, --help         mostra questo aiuto\n");
}

TEST(Opzioni, PercorsiFattiDaUtf8) {
  // The table says which values are paths; operands are paths. Each is made from the UTF-8 of
  // the command line, as the system names it (wide on Windows): here compared with paths made
  // from UTF-8 literals by the library itself.
  namespace fs = std::filesystem;
  const Opzione tabella[] = {
      {"dir", "CARTELLA", "cartella", Valore::percorso},
      {"nome", "NOME", "nome"},
      {"uscita", "FILE", "pagina", Valore::percorso, nullptr, 'o'},
  };
  const std::vector<std::string> argomenti = {"Città/a b.sim",     "--dir", "Città", "--nome=Città",
                                              "-oun posto/è.html", "--",    "-x"};
  const auto letto = leggi_opzioni(argomenti, tabella);
  ASSERT_TRUE(std::holds_alternative<OpzioniLette>(letto)) << std::get<std::string>(letto);
  const auto& o = std::get<OpzioniLette>(letto);
  EXPECT_EQ(o.percorso("dir"), fs::path(u8"Città"));
  EXPECT_EQ(o.percorso("uscita"), fs::path(u8"un posto/è.html"));
  EXPECT_EQ(o.operandi, (std::vector<fs::path>{fs::path(u8"Città/a b.sim"), fs::path(u8"-x")}));
  EXPECT_EQ(o.valore("nome"), "Città");
  // A path is not a text, nor a text a path.
  EXPECT_EQ(o.valore("dir"), std::nullopt);
  EXPECT_EQ(o.percorso("nome"), std::nullopt);
  EXPECT_TRUE(o.presente("dir"));
  EXPECT_EQ(utf8(*o.percorso("dir")), "Città");
}

TEST(Opzioni, DistanzaEProposta) {
  const struct {
    const char* a;
    const char* b;
    size_t d;
  } distanze[] = {
      {"", "", 0},
      {"", "abc", 3},
      {"dir", "dir", 0},
      {"dir", "dri", 1},
      {"compile", "compila", 1},
      {"kitten", "sitting", 3},
      {"abcd", "badc", 2},
      {"ca", "abc", 3},
      {"abab", "baba", 2},
      {"progressiva chilometrica", "xyzxyzxyzxyzxyzxyzxyzxyz", 24},
  };
  for (const auto& c : distanze) {
    EXPECT_EQ(distanza(c.a, c.b), c.d) << c.a << " / " << c.b;
    EXPECT_EQ(distanza(c.b, c.a), c.d) << c.b << " / " << c.a;
    // With a limit the count may stop early, but never below the true distance.
    for (size_t limite = 0; limite <= 5; ++limite) {
      EXPECT_EQ(distanza(c.a, c.b, limite), std::min(c.d, limite)) << c.a << " / " << c.b;
    }
  }
  // Words longer than the rows kept on the stack.
  EXPECT_EQ(distanza(std::string(70, 'a') + "xy", std::string(70, 'a') + "yx"), 1u);
  EXPECT_EQ(distanza(std::string(70, 'a'), std::string(80, 'b')), 80u);
  const std::vector<std::string> comandi{"run", "compile", "codici"};
  EXPECT_EQ(forse_intendevi("rnu", comandi), "run");
  EXPECT_EQ(forse_intendevi("codice", comandi), "codici");
  EXPECT_EQ(forse_intendevi("compilatore", comandi), std::nullopt);
  EXPECT_EQ(forse_intendevi("xyz", comandi), std::nullopt);
}

TEST(Opzioni, ValoreScrittoAncheInUnaRigaSbagliata) {
  // How a usage error is reported depends on one option, read also when the rest is wrong.
  const Opzione opzioni[] = {
      {"formato", "FORMATO", "testo o json"},
      {"forza", nullptr, "sostituisce"},
      {"dir", "CARTELLA", "cartella", Valore::percorso},
  };
  using V = std::optional<std::string>;
  const struct {
    std::vector<std::string> argomenti;
    V atteso;
  } casi[] = {
      {{"a", "--formato", "json", "--boh"}, "json"},
      {{"--dri", "x", "--formato=json"}, "json"},
      {{"--form", "json"}, "json"},
      {{"--for", "json"}, std::nullopt},  // "--for" may be --forza as well
      {{"--", "--formato", "json"}, std::nullopt},
      {{"--formato"}, std::nullopt},
      {{"--dir", "--formato=json"}, "json"},  // read on its own, as the author meant it
  };
  for (const auto& c : casi) {
    EXPECT_EQ(valore_scritto(c.argomenti, opzioni, "formato"), c.atteso) << c.argomenti[0];
  }
  EXPECT_EQ(valore_scritto(std::vector<std::string>{"--formato", "json"}, kOpzioni, "formato"),
            std::nullopt);  // a command without the option
}

}  // namespace
