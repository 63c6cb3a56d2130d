#include "run/esecuzione.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/supporto.h"

namespace compattatore {
namespace {
namespace fs = std::filesystem;
using prova::CartellaTemporanea;

constexpr const char* kNome = "Viterbo_Orte_Roma_Via_Linea_Cintura";

// A parsed model of a 0 m route (stretches 0 to 140) with the embedded identity.
Esecuzione run_pronta(const fs::path& cartella, int32_t flag_linea = 1) {
  Esecuzione run = Esecuzione::dell_autore(NomiScenario::incorporato(), cartella, cartella / "l",
                                           cartella / "t", flag_linea != 0);
  run.modello().crea_tratti(0, flag_linea != 0);
  run.modello().elenco[voce::intestazione].testo = kNome;
  run.modello().elenco[voce::treno].testo = "3349";
  return run;
}

const char* kCompilati[] = {"Viterbo_Orte_Roma_Via_Linea_Cintura_linea.dat",
                            "Viterbo_Orte_Roma_Via_Linea_Cintura_3349.sim",
                            "Viterbo_Orte_Roma_Via_Linea_Cintura_3349.dat"};

TEST(Esecuzione, ScriveIValoriRiservatiEICodiciDiControllo) {
  CartellaTemporanea d;
  Esecuzione run = run_pronta(d.percorso());
  ASSERT_EQ(run.completa_e_scrivi().esito, Esito::scritto);
  EXPECT_EQ(prova::elenco_file(d.percorso()),
            (std::vector<std::string>{kCompilati[2], kCompilati[1], kCompilati[0]}));

  // Stretch 1 at bytes 15 to 29: valore_1 5121 (0x1401), valore_2 2452 (0x0994).
  const std::string dat = prova::leggi(d / kCompilati[2]);
  ASSERT_EQ(dat.size(), 15u * 141u);
  EXPECT_EQ(dat.substr(15, 5), std::string("\x00\x01\x14\x94\x09", 5));
  // Entry 85 follows 85 empty entries of 34 bytes: text of 35 bytes, intero_1 610 (0x0262),
  // orario 33881 (0x8459).
  const std::string sim = prova::leggi(d / kCompilati[1]);
  const size_t e85 = 85 * 34;
  EXPECT_EQ(sim.substr(e85 + 14, 2), std::string("\x23\x00", 2));
  EXPECT_EQ(sim.substr(e85 + 16, 35), kNome);
  EXPECT_EQ(sim.substr(e85 + 51, 2), std::string("\x62\x02", 2));
  EXPECT_EQ(sim.substr(e85 + 65, 4), std::string("\x59\x84\x00\x00", 4));
  EXPECT_EQ(sim.substr(e85 + 69 + 14, 2), std::string("\x04\x00", 2));  // entry 86: "3349"
  EXPECT_EQ(sim.size(), 87u * 34u + 35u + 4u);
}

TEST(Esecuzione, CampiRiservatiOccupatiFermanoLaScrittura) {
  struct Caso {
    const char* nome;
    void (*guasta)(Modello&);
    int32_t codice;
  };
  const Caso casi[] = {
      {"valore_1 del tratto 1", [](Modello& m) { m.tratti[1].valore_1 = 7; }, 1250},
      {"intero_1 della voce 85", [](Modello& m) { m.elenco[85].intero_1 = 1; }, 1250},
      {"valore_2 del tratto 1", [](Modello& m) { m.tratti[1].valore_2 = -1; }, 1251},
      {"orario della voce 85", [](Modello& m) { m.elenco[85].orario = 9; }, 1251},
  };
  for (const auto& c : casi) {
    CartellaTemporanea d;
    prova::scrivi(d / "Viterbo_Orte_Roma_Via_Linea_Cintura_3349_note.txt", "note");
    Esecuzione run = run_pronta(d.percorso());
    c.guasta(run.modello());
    const RisultatoPercorso r = run.completa_e_scrivi();
    EXPECT_EQ(r.esito, Esito::campo_riservato) << c.nome;
    EXPECT_EQ(numero(r.codice), c.codice) << c.nome;
    // No compiled file; the document written before stays.
    EXPECT_EQ(prova::elenco_file(d.percorso()),
              std::vector<std::string>{"Viterbo_Orte_Roma_Via_Linea_Cintura_3349_note.txt"})
        << c.nome;
  }
}

TEST(Esecuzione, SenzaFlagLineaNienteTracciatoEGliAltriUguali) {
  CartellaTemporanea con, senza;
  Esecuzione a = run_pronta(con.percorso(), 1);
  Esecuzione b = run_pronta(senza.percorso(), 0);
  a.modello().tratti[50].oggetto = 6;
  b.modello().tratti[50].oggetto = 6;
  ASSERT_EQ(a.completa_e_scrivi().esito, Esito::scritto);
  ASSERT_EQ(b.completa_e_scrivi().esito, Esito::scritto);
  EXPECT_FALSE(fs::exists(senza / kCompilati[0]));
  EXPECT_EQ(prova::leggi(con / kCompilati[1]), prova::leggi(senza / kCompilati[1]));
  EXPECT_EQ(prova::leggi(con / kCompilati[2]), prova::leggi(senza / kCompilati[2]));
}

TEST(Esecuzione, FileCompilatiPiuLunghiSostituitiPerIntero) {
  CartellaTemporanea d;
  for (const char* f : kCompilati) prova::scrivi(d / f, std::string(5000000, 'v'));
  Esecuzione run = run_pronta(d.percorso());
  ASSERT_EQ(run.completa_e_scrivi().esito, Esito::scritto);
  EXPECT_EQ(fs::file_size(d / kCompilati[2]), 15u * 141u);
  // The plan of this model was never computed: 2 x 7001 empty values of 2 bytes.
  EXPECT_EQ(fs::file_size(d / kCompilati[0]), 4u * 7001u);
  EXPECT_EQ(prova::elenco_file(d.percorso()).size(), 3u);
}

TEST(Esecuzione, ScritturaFallitaTieneIFileVecchi) {
#if defined(_WIN32)
  GTEST_SKIP() << prova::kSenzaCartelleSolaLettura;
#else
  CartellaTemporanea d;
  const fs::path ro = d / "ro";
  fs::create_directory(ro);
  for (const char* f : kCompilati) prova::scrivi(ro / f, "vecchio");
  fs::permissions(d.percorso(),
                  fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  fs::permissions(ro, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                          fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  const int stato = prova::in_processo_figlio(
      [&] {
        Esecuzione run = run_pronta(ro);
        const RisultatoPercorso r = run.completa_e_scrivi();
        const bool nomina_il_file =
            r.messaggio.find(
                "Viterbo_Orte_Roma_Via_Linea_Cintura_linea.dat: permesso negato "
                "(Permission denied)") != std::string::npos;
        return r.esito == Esito::scrittura_fallita && nomina_il_file ? 0 : 1;
      },
      true);
  EXPECT_EQ(stato, 0);
  for (const char* f : kCompilati) EXPECT_EQ(prova::leggi(ro / f), "vecchio") << f;
  EXPECT_EQ(prova::elenco_file(ro).size(), 3u);
#endif
}

}  // namespace
}  // namespace compattatore
