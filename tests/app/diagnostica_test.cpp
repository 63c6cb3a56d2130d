#include "app/diagnostica.h"

#include <gtest/gtest.h>

#include "model/avvisi.h"
#include "model/codici.h"
#include "support/supporto.h"

namespace compattatore {
namespace {

// The line of the remedy that follows a code's source line and caret.
std::string aiuto(Codice c) { return std::string("    aiuto: ") + riga_codice(c).rimedio + "\n"; }

TEST(Diagnostica, FormeDelMessaggio) {
  const struct {
    Segnalazione s;
    const char* atteso;
  } casi[] = {
      {{Codice::segnale_occupato, 46400, {"T-.txt", 60, "segnale,   46400,   2"}, ""},
       "T-.txt:60: errore 16: il segnale cade su un tratto già occupato (posizione 46400 m)\n"
       "    segnale,   46400,   2\n"},
      {{Codice::stazione_non_multipla, std::nullopt, {"T-.txt", 3, "stazione, 12345"}, ""},
       "T-.txt:3: errore 8: la posizione della stazione non è multipla di 50 m\n"
       "    stazione, 12345\n"},
      {{Codice::rallentamento_senza_marcatore, 46400, {}, ""},
       "errore 13: dentro un rallentamento, o prima del primo segnale dopo la sua fine, non c'è un "
       "tratto libero per un segno di codice (tratto 928, posizione 46400 m)\n"},
      {{Codice::manca_linea, std::nullopt, {"cartella/A_linea.txt", 0, ""}, ""},
       "cartella/A_linea.txt: errore 101: il file della linea non esiste\n"},
      {{Codice::guasto_lettura,
        std::nullopt,
        {"A_linea.txt", 7, "pendenza, 1, 300"},
        "numero da 0 a 255: 400 non entra nel campo"},
       "A_linea.txt:7: errore 25: errore durante la lettura: numero da 0 a 255: 400 non entra nel "
       "campo\n    pendenza, 1, 300\n"},
      // The source line is shown in UTF-8.
      {{Codice::cartello_occupato,
        54800,
        {"L.txt", 192, "cartello_indicatore,  54800,   (1\xB0 BIVIO)"},
        ""},
       "L.txt:192: errore 6: un cartello indicatore cade su un tratto già occupato (posizione "
       "54800 m)\n"
       "    cartello_indicatore,  54800,   (1° BIVIO)\n"},
  };
  for (const auto& c : casi) EXPECT_EQ(messaggio_errore(c.s), c.atteso + aiuto(c.s.codice));
}

TEST(Diagnostica, OgniCodiceEOgniAvvisoDiceCosaCambiare) {
  // The remedy is printed under every error and warning: each row has one, in Italian, and
  // points at nothing the author cannot read from the program itself.
  std::vector<std::pair<std::string, std::string>> righe;
  for (const RigaCodice& c : tabella_codici()) righe.emplace_back(c.nome, c.rimedio);
  for (const RigaAvviso& a : tabella_avvisi()) righe.emplace_back(a.etichetta, a.rimedio);
  for (const auto& [nome, rimedio] : righe) {
    EXPECT_GT(rimedio.size(), 10u) << nome;
    EXPECT_EQ(rimedio.find("README"), std::string::npos) << nome << ": " << rimedio;
    EXPECT_EQ(rimedio.find("Writing"), std::string::npos) << nome << ": " << rimedio;
  }
}

TEST(Diagnostica, RigaLungaTagliata) {
  const Segnalazione s{Codice::segnale_occupato, 1, {"T", 1, std::string(150, 'x')}, ""};
  const std::string m = messaggio_errore(s);
  EXPECT_NE(m.find("    " + std::string(100, 'x') + "...\n"), std::string::npos) << m;
}

TEST(Diagnostica, SegnoSottoLaVoceENote) {
  Segnalazione s{Codice::segnale_occupato, 2050, Luogo{"T-.txt", 3, "segnale, 2050, 2", 10, 4}, ""};
  s.note.push_back(Nota{Luogo{"T-.txt", 2, "stazione, 2000", 1, 8},
                        "il tratto 42 è occupato dal punto di fermata di una stazione, scritto "
                        "qui"});
  s.note.push_back(Nota{Luogo{}, "una nota senza luogo"});
  EXPECT_EQ(messaggio_errore(s),
            "T-.txt:3:10: errore 16: il segnale cade su un tratto già occupato (posizione 2050 m)\n"
            "    segnale, 2050, 2\n"
            "             ^~~~\n"
            "    aiuto: sposta il segnale di almeno 50 m, lontano da stazioni, rallentamenti e "
            "altri oggetti\n"
            "T-.txt:2:1: nota: il tratto 42 è occupato dal punto di fermata di una stazione, "
            "scritto qui\n"
            "    stazione, 2000\n"
            "    ^~~~~~~~\n"
            "nota: una nota senza luogo\n");

  // A warning with its name; a tab before the item keeps the caret under it.
  Segnalazione a{};
  a.gravita = Gravita::avviso;
  a.avviso = Avviso::numero_arrotondato;
  a.luogo = Luogo{"L.txt", 5, "\tpendenza, 2000, 12.5", 18, 4};
  a.dettaglio = "il numero 12.5 è letto come 12";
  EXPECT_EQ(messaggio_errore(a),
            "L.txt:5:18: avviso: il numero 12.5 è letto come 12 [numero-arrotondato]\n"
            "    \tpendenza, 2000, 12.5\n"
            "    \t                ^~~~\n"
            "    aiuto: scrivi un numero intero\n");

  // A note about a whole file, without a remedy; a code of the code-marker pass with its
  // stretch.
  Segnalazione n{};
  n.gravita = Gravita::nota;
  n.avviso = Avviso::letto_utf8;
  n.luogo = Luogo{"T-.txt", 0, ""};
  n.dettaglio = "il file è UTF-8";
  EXPECT_EQ(messaggio_errore(n), "T-.txt: nota: il file è UTF-8\n");
  Segnalazione m{Codice::finestra_senza_marcatore, 10050, Luogo{}, ""};
  m.tratto = 201;
  EXPECT_EQ(messaggio_errore(m),
            "errore 12: prima dell'inizio di un rallentamento non c'è un tratto libero per un "
            "segno di codice (tratto 201, posizione 10050 m)\n" +
                aiuto(Codice::finestra_senza_marcatore));
}

TEST(Diagnostica, RigaLungaMostrataAttornoAllaVoce) {
  const std::string riga = std::string(150, 'x') + "VOCE" + std::string(50, 'y');
  const Segnalazione s{Codice::segnale_occupato, std::nullopt, Luogo{"T", 1, riga, 151, 4}, ""};
  const std::string m = messaggio_errore(s);
  const std::string mostrata = "    ..." + std::string(40, 'x') + "VOCE" + std::string(50, 'y');
  EXPECT_NE(m.find(mostrata + "\n    " + std::string(3 + 40, ' ') + "^~~~\n"), std::string::npos)
      << m;
}

TEST(Diagnostica, NienteControlliVersoIlTerminale) {
  EXPECT_EQ(visibile("a\x1b]0;x\x07"
                     "b"),
            "a^[]0;x^Gb");
  EXPECT_EQ(visibile("\x1b[2J\r\n\t\x7f"), "^[[2J^M^J^I^?");
  EXPECT_EQ(visibile("Citt\xC3\xA0 \xC2\x9B"), "Citt\xC3\xA0 <U+009B>");  // C1 CSI
  EXPECT_EQ(visibile("\xFF\xC3"), "\\xFF\\xC3");
  EXPECT_EQ(riga_visibile("\x1b[2J\t\xB0"), "^[[2J\t\xC2\xB0");
}

}  // namespace
}  // namespace compattatore
