// The whole run of the embedded scenario, in a temporary folder: sources and documents written,
// both sources parsed and deleted, code markers placed, check codes stored, compiled files written.
#include <gtest/gtest.h>

#include <sstream>

#include "app/comandi.h"
#include "run/esecuzione.h"
#include "sources/scenario.h"
#include "support/supporto.h"

namespace compattatore {
namespace {
namespace fs = std::filesystem;

class CorsaIncorporata : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    cartella_ = new prova::CartellaTemporanea();
    run_ = new Esecuzione(Esecuzione::nella_cartella(
        NomiScenario::incorporato(), cartella_->percorso(),
        [](const Segnalazione& s) { codici_.push_back(numero(s.codice)); }));
    dati_linea(cartella_->percorso(), NomiScenario::incorporato());
    dati_treno(cartella_->percorso(), NomiScenario::incorporato());
    esito_ = run_->memorizza_percorso(1).esito;
  }
  static void TearDownTestSuite() {
    delete run_;
    delete cartella_;
  }
  static const Tratto& t(int s) { return run_->modello().tratti.at(static_cast<size_t>(s)); }
  static const Voce& v(int i) { return run_->modello().elenco.at(static_cast<size_t>(i)); }

  static inline prova::CartellaTemporanea* cartella_ = nullptr;
  static inline Esecuzione* run_ = nullptr;
  static inline Esito esito_ = Esito::non_dimensionato;
  static inline std::vector<int32_t> codici_;
};

TEST_F(CorsaIncorporata, CompilaSenzaCodiciECancellaISorgenti) {
  EXPECT_EQ(esito_, Esito::scritto);
  EXPECT_EQ(run_->codice_errore(), 0);
  EXPECT_TRUE(codici_.empty());  // no code, and no warning or note either
  EXPECT_EQ(prova::elenco_file(cartella_->percorso()),
            (std::vector<std::string>{"Viterbo_Orte_Roma_Via_Linea_Cintura_3349.dat",
                                      "Viterbo_Orte_Roma_Via_Linea_Cintura_3349.sim",
                                      "Viterbo_Orte_Roma_Via_Linea_Cintura_linea.dat"}));
  EXPECT_EQ(fs::file_size(run_->file(FileScenario::tracciato)), 20u * 131000u - 36u);
  EXPECT_EQ(fs::file_size(run_->file(FileScenario::tratti)), 15u * 2620u + 15u);
  // The stretch file holds the model as it stands: the signal on 929 at offset 15 * 929.
  const std::string dat = prova::leggi(run_->file(FileScenario::tratti));
  EXPECT_EQ(dat.substr(15 * 929, 9), std::string("\x01\x2A\x00\x0B\x00\x0B\x00\x08\x00", 9));
}

TEST_F(CorsaIncorporata, TestataEFigure) {
  EXPECT_EQ(run_->modello().ultimo_tratto(), 2620);
  // Kilometric sections, ordered by start, 100 added for verso 1.
  EXPECT_EQ(v(81).campo_1, 54500);
  EXPECT_EQ(v(81).campo_2, 118850);
  EXPECT_EQ(v(82).campo_1, 39100);
  EXPECT_EQ(v(82).campo_2, 135250);
  EXPECT_EQ(v(83).campo_1, 0);
  EXPECT_EQ(v(83).campo_2, 39150);
  EXPECT_EQ(v(84).campo_1, 120);
  EXPECT_EQ(v(84).campo_2, 124000);
  EXPECT_EQ(v(84).campo_3, 6);
  EXPECT_EQ(v(85).campo_1, 1);      // sfondo uno
  EXPECT_EQ(v(85).campo_2, 0);      // sfondo tre
  EXPECT_EQ(v(85).campo_3, 51000);  // sfondo due
  EXPECT_EQ(v(85).testo, prova::kNome);
  EXPECT_EQ(v(85).intero_1, 610);
  EXPECT_EQ(v(85).orario, 33881);
  EXPECT_EQ(v(86).campo_1, 46400);
  EXPECT_EQ(v(86).campo_2, 106850);
  EXPECT_EQ(v(86).campo_3, 9);
  EXPECT_EQ(v(86).testo, "3349");
  EXPECT_EQ(v(86).intero_1, 100);
  EXPECT_EQ(v(86).intero_3, 6);
  EXPECT_EQ(v(86).intero_4, 13);
  EXPECT_EQ(v(86).intero_5, 40);
  EXPECT_EQ(t(1).valore_1, 5121);
  EXPECT_EQ(t(1).valore_2, 2452);
  // Board texts from entry 80 downwards.
  EXPECT_EQ(v(80).testo, "(Ponte Fiume)(  Tevere   )");
  EXPECT_EQ(v(79).testo, "(1\xB0 BIVIO)(ORTE SUD)");
}

TEST_F(CorsaIncorporata, ElementiDellaLinea) {
  // Gradients: level to stretch 99, -5 per mille from 100.
  EXPECT_EQ(t(0).pendenza, 100);
  EXPECT_EQ(t(99).pendenza, 100);
  EXPECT_EQ(t(100).pendenza, 95);
  EXPECT_EQ(t(2617).pendenza, 100);
  EXPECT_EQ(t(2618).pendenza, 0);  // the last three stretches keep 0
  // Speed indicator boards at 55050 and 6700.
  EXPECT_EQ(t(1102).oggetto, 6);
  EXPECT_EQ(t(1102).valore_1, 2828);
  EXPECT_EQ(t(1102).valore_2, 3232);
  EXPECT_EQ(t(1102).valore_3, 5050);
  EXPECT_EQ(t(1102).valore_4, 0);
  EXPECT_EQ(t(135).valore_1, 1400);
  EXPECT_EQ(t(135).valore_4, 20);
  // Mountains 6950-7050 type 2, and 11200-12000 type 12: type 2 on 224 to 239.
  EXPECT_EQ(t(138).montagna, 0);
  EXPECT_EQ(t(139).montagna, 2);
  EXPECT_EQ(t(140).montagna, 2);
  EXPECT_EQ(t(141).montagna, 0);
  for (int s = 224; s <= 239; ++s) EXPECT_EQ(t(s).montagna, 2) << s;
}

TEST_F(CorsaIncorporata, OggettiDelTreno) {
  // Signal 46400 on 929 with its approach bytes.
  EXPECT_EQ(t(929).oggetto, 1);
  EXPECT_EQ(t(929).valore_1, 42);
  EXPECT_EQ(t(929).valore_2, 11);
  EXPECT_EQ(t(929).valore_3, 11);
  EXPECT_EQ(t(929).valore_4, 8);
  EXPECT_EQ(t(927).preavviso, 81);
  EXPECT_EQ(t(925).preavviso, 82);
  EXPECT_EQ(t(923).preavviso, 83);
  EXPECT_EQ(t(921).preavviso, 84);
  // Slowdown 46350, 80 km/h, 1950 m, d_v 80.
  const struct {
    int tratto, oggetto, v1, v2, v3;
  } rallentamenti[] = {{904, 4, 80, 80, 0}, {928, 3, 80, 80, 1}, {967, 2, 80, 80, 1},
                       {2109, 4, 30, 0, 0}, {2133, 3, 30, 0, 1}, {2137, 2, 30, 0, 1},
                       {2108, 5, 1, 0, 0},  {2107, 5, 2, 0, 0},  {2106, 5, 3, 0, 0},
                       {2105, 5, 4, 0, 0}};
  for (const auto& r : rallentamenti) {
    EXPECT_EQ(t(r.tratto).oggetto, r.oggetto) << r.tratto;
    EXPECT_EQ(t(r.tratto).valore_1, r.v1) << r.tratto;
    EXPECT_EQ(t(r.tratto).valore_2, r.v2) << r.tratto;
    EXPECT_EQ(t(r.tratto).valore_3, r.v3) << r.tratto;
  }
  // Code change 270 at 46500 on 930; code cut "AC" at 54500 on 1090.
  EXPECT_EQ(t(930).oggetto, 12);
  EXPECT_EQ(t(930).valore_1, 270);
  EXPECT_EQ(t(1090).oggetto, 13);
  // Speed profile: 65 km/h (13) on 0 to 40, 95 km/h (19) from 41.
  EXPECT_EQ(t(0).velocita, 13);
  EXPECT_EQ(t(40).velocita, 13);
  EXPECT_EQ(t(41).velocita, 19);
  EXPECT_EQ(t(0).aderenza, 100);
  EXPECT_EQ(t(2618).velocita, 0);
}

TEST_F(CorsaIncorporata, Stazioni) {
  // VITERBO P.F.: type 8, zone -400..400, stop on 7, approach bytes on 6 to 3.
  const Voce& viterbo = v(1);
  EXPECT_EQ(viterbo.testo, "VITERBO P.F.");
  EXPECT_EQ(viterbo.tipo_voce, 8);
  EXPECT_EQ(viterbo.campo_1, -400);
  EXPECT_EQ(viterbo.campo_2, 400);
  EXPECT_EQ(viterbo.campo_3, 0);
  EXPECT_EQ(viterbo.intero_1, 1);
  EXPECT_EQ(viterbo.intero_2, 1);
  EXPECT_EQ(viterbo.intero_3, 4);
  EXPECT_EQ(viterbo.flag_2, 1);
  EXPECT_EQ(viterbo.orario, (6 * 60 + 14) * 60);
  EXPECT_EQ(t(7).oggetto, 10);
  EXPECT_EQ(t(7).valore_1, 1);
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(t(7 - k).preavviso, 80 + k) << k;
  // Grotte S. Stefano: type 24 with the longer zone, stop on 460 (its approach bytes give way to
  // those of the signal at 23300, read later).
  EXPECT_EQ(v(3).campo_1, 22700);
  EXPECT_EQ(v(3).campo_2, 23050);
  EXPECT_EQ(v(3).flag_3, 1);
  EXPECT_EQ(t(460).oggetto, 10);
  EXPECT_EQ(t(460).valore_1, 3);
  // S. Nicola, type 27: a zone, no stopping point.
  EXPECT_EQ(v(4).campo_1, 31750);
  EXPECT_EQ(v(4).campo_2, 31950);
  // ROMA TERMINI, the 18th: type 6, zone 118150..118800, stop on 2375, no approach bytes.
  EXPECT_EQ(v(18).testo, "ROMA TERMINI");
  EXPECT_EQ(v(18).campo_1, 118150);
  EXPECT_EQ(v(18).campo_2, 118800);
  EXPECT_EQ(v(18).flag_4, 0);
  EXPECT_EQ(t(2375).oggetto, 10);
  EXPECT_EQ(t(2375).valore_1, 18);
  EXPECT_EQ(t(2374).preavviso, 0);
  EXPECT_EQ(v(19).testo, "");
}

TEST_F(CorsaIncorporata, MarcatoriDiCodiceIntornoADueRallentamenti) {
  // Slowdown 46350 (80 km/h): start 928, end (46350 + 1950) / 50 + 1 = 967.
  //   windows before the start: 928-5 = 923, 928-11 = 917, 928-18 = 910, all free;
  //   walk every 8 from 928: 936, 944, 952; 960 holds the code point 48000 (48000 / 50), so the
  //   marker goes back to 959 and the next comes 7 later, on 966; the walk ends on 967;
  //   the first signal after the end is 48900 on 979: the marker goes on 978.
  // Slowdown 106600 (30 km/h): start 2133, end 2137.
  //   windows 2128, 2122, 2115; the walk meets the end after 4 stretches: no marker inside;
  //   the signal 106850 on 2138 follows the end directly: 2137 holds the end, so 2136.
  //   The signal 105000 on 2101 lies within 20 stretches before the warning on 2109: 2100.
  for (int s : {923, 917, 910, 936, 944, 952, 959, 966, 978, 2128, 2122, 2115, 2136, 2100}) {
    EXPECT_EQ(t(s).oggetto, 12) << s;
    EXPECT_EQ(t(s).valore_1, 180) << s;
  }
  for (int s : {960, 2134, 2135}) EXPECT_NE(t(s).valore_1, 180) << s;
  EXPECT_EQ(t(923).preavviso, 83);  // a marker changes nothing but kind and first value
}

TEST(CorsaDelProgramma, SeiFileConIByteDiSempre) {
  // The plain run by each of its spellings.
  const std::vector<std::vector<std::string>> righe = {
      {"--dir", "@"}, {"--dir=@"}, {"esegui", "--dir", "@"}, {"run", "--dir=@"}};
  for (const auto& modello : righe) {
    prova::CartellaTemporanea d;
    std::vector<std::string> argomenti = modello;
    for (auto& a : argomenti) {
      if (const size_t i = a.find('@'); i != std::string::npos)
        a.replace(i, 1, d.percorso().string());
    }
    const auto r = prova::esegui_programma(argomenti, d.percorso());
    EXPECT_EQ(r.stato, 0) << r.err;
    EXPECT_EQ(r.out, "Attendere\n");
    EXPECT_EQ(r.err, "");
    ASSERT_EQ(prova::elenco_file(d.percorso()).size(), 6u) << modello[0];
    prova::controlla_byte(d.percorso(), prova::kDocumentiAttesi);
    prova::controlla_byte(d.percorso(), prova::kCompilatiAttesi);
  }
}

TEST(CorsaDelProgramma, SenzaDirScriveAccantoAllEseguibile) {
  prova::CartellaTemporanea d;
  fs::create_directory(d / "bin");
  fs::create_directory(d / "altrove");
  fs::copy_file(COMPATTATORE_ESEGUIBILE, d / "bin" / "compattatore");
  const auto r = prova::esegui_programma({}, d / "altrove", false, d / "bin" / "compattatore");
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_TRUE(prova::elenco_file(d / "altrove").empty());
  EXPECT_EQ(prova::elenco_file(d / "bin").size(),
            7u);  // the program, 3 documents, 3 compiled files
  EXPECT_TRUE(fs::exists(d / "bin" / "Viterbo_Orte_Roma_Via_Linea_Cintura_3349.dat"));
}

TEST(CorsaDelProgramma, CartellaDiSolaLetturaStatoUnoENessunFile) {
#if defined(_WIN32)
  GTEST_SKIP() << prova::kSenzaCartelleSolaLettura;
#else
  prova::CartellaTemporanea d;
  const fs::path ro = d / "ro";
  fs::create_directory(ro);
  prova::scrivi(ro / "Viterbo_Orte_Roma_Via_Linea_Cintura_3349.dat", "vecchio");
  fs::permissions(d.percorso(), fs::perms::owner_all | fs::perms::others_exec);
  fs::permissions(ro, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                          fs::perms::others_exec);
  const auto r = prova::esegui_programma({"--dir", ro.string()}, ro, true);
  EXPECT_EQ(r.stato, 1);
  EXPECT_NE(r.err.find("impossibile scrivere nella cartella " + ro.string() +
                       ": permesso negato (Permission denied)"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(prova::elenco_file(ro),
            std::vector<std::string>{"Viterbo_Orte_Roma_Via_Linea_Cintura_3349.dat"});
  EXPECT_EQ(prova::leggi(ro / "Viterbo_Orte_Roma_Via_Linea_Cintura_3349.dat"), "vecchio");
#endif
}

TEST(CorsaDelProgramma, SenzaFlagLineaGliAltriFileUguali) {
  prova::CartellaTemporanea con, senza;
  for (auto* d : {&con, &senza}) {
    Esecuzione run = Esecuzione::nella_cartella(NomiScenario::incorporato(), d->percorso());
    dati_linea(d->percorso(), run.nomi());
    dati_treno(d->percorso(), run.nomi());
    ASSERT_EQ(run.memorizza_percorso(d == &con ? 1 : 0).esito, Esito::scritto);
    EXPECT_EQ(run.codice_errore(), 0);
  }
  EXPECT_EQ(prova::elenco_file(senza.percorso()),
            (std::vector<std::string>{"Viterbo_Orte_Roma_Via_Linea_Cintura_3349.dat",
                                      "Viterbo_Orte_Roma_Via_Linea_Cintura_3349.sim"}));
  for (const char* f : {"Viterbo_Orte_Roma_Via_Linea_Cintura_3349.dat",
                        "Viterbo_Orte_Roma_Via_Linea_Cintura_3349.sim"}) {
    EXPECT_EQ(prova::leggi(con / f), prova::leggi(senza / f)) << f;
  }
}

}  // namespace
}  // namespace compattatore
