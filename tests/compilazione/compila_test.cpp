// The one compile from text: the same bytes as the plain run, faults at their own place, which
// sources the parse comes to, and a failed reserved-field check.
#include "compilazione/compila.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/regole.h"
#include "sources/scenario.h"
#include "sources/testo.h"
#include "support/supporto.h"

namespace compattatore {
namespace {

const Identita kProva{"Prova", "7"};

Compilazione compila(const std::string& linea, const std::string& treno,
                     prova::RegistroErrori& errori, bool con_tracciato = false) {
  OpzioniCompilazione o;
  o.con_tracciato = con_tracciato;
  return compila_testi(kProva, Sorgente::testo("P_linea.txt", linea),
                       Sorgente::testo("P_7-.txt", treno), o, errori);
}

Sorgente illeggibile(const char* file) {
  Sorgente s{file};
  s.stato = Sorgente::Stato::illeggibile;
  s.guasto = std::string(file) + ": permesso negato";
  return s;
}

TEST(Compila, SorgentiIncorporateDannoIFileDellaCorsa) {
  prova::RegistroErrori errori;
  const Compilazione c = compila_testi(Identita{"Viterbo_Orte_Roma_Via_Linea_Cintura", "3349"},
                                       Sorgente::testo("linea", testo_cp1252(tabella_linea())),
                                       Sorgente::testo("treno", testo_cp1252(tabella_treno())),
                                       OpzioniCompilazione{}, errori);
  ASSERT_TRUE(c.completa());
  EXPECT_TRUE(errori.segnalazioni.empty());
  EXPECT_TRUE(errori.avvisi.empty());
  EXPECT_EQ(c.segni_di_codice, 29);
  EXPECT_TRUE(c.letta_linea && c.letto_treno);
  const auto& corsa = prova::cartella_incorporata();
  EXPECT_EQ(c.byte(TipoCompilato::tracciato),
            prova::leggi(corsa / "Viterbo_Orte_Roma_Via_Linea_Cintura_linea.dat"));
  EXPECT_EQ(c.byte(TipoCompilato::elenco),
            prova::leggi(corsa / "Viterbo_Orte_Roma_Via_Linea_Cintura_3349.sim"));
  EXPECT_EQ(c.byte(TipoCompilato::tratti),
            prova::leggi(corsa / "Viterbo_Orte_Roma_Via_Linea_Cintura_3349.dat"));
}

TEST(Compila, UnGuastoTieneIlSuoLuogo) {
  const struct {
    const char* caso;
    std::vector<std::string> treno;
    int riga;     // of the item the fault belongs to
    int colonna;  // 0: the last item read, whatever its column
  } casi[] = {
      // A clock value too large for 16 bits: the item read last.
      {"orologio", {"numero vetture, 6", "orologio, 40000, 0, 0", "velocita, 0, 50"}, 3, 0},
      // A speed is stored when the next speed line comes: the fault is at the speed written.
      {"velocita", {"velocita, 0, 5000", "velocita, 500, 50"}, 2, 14},
  };
  for (const auto& k : casi) {
    prova::RegistroErrori errori;
    const Compilazione c =
        compila(prova::sorgente_linea({}, 10000), prova::sorgente_treno(k.treno), errori);
    ASSERT_FALSE(errori.segnalazioni.empty()) << k.caso;
    const Segnalazione& s = errori.segnalazioni.back();
    EXPECT_EQ(s.codice, Codice::guasto_lettura) << k.caso;
    EXPECT_EQ(s.luogo.file, "P_7-.txt") << k.caso;
    EXPECT_EQ(s.luogo.riga, k.riga) << k.caso;
    if (k.colonna != 0) {
      EXPECT_EQ(s.luogo.colonna, k.colonna) << k.caso;
    }
    EXPECT_TRUE(c.letto_treno) << k.caso;
    EXPECT_TRUE(c.completa()) << k.caso;  // the route was sized: the files are still written
  }
}

TEST(Compila, QualiSorgentiLaLetturaRaggiunge) {
  const std::string buona = prova::sorgente_linea({}, 10000);
  const std::string treno = prova::sorgente_treno({"velocita, 0, 50"});
  {
    // The line source is not there: code 101, nothing read, no route.
    prova::RegistroErrori errori;
    Sorgente manca{"P_linea.txt"};
    manca.stato = Sorgente::Stato::mancante;
    const Compilazione c = compila_testi(kProva, manca, Sorgente::testo("P_7-.txt", treno),
                                         OpzioniCompilazione{}, errori);
    EXPECT_EQ(errori.numeri(), std::vector<int32_t>{101});
    EXPECT_EQ(c.fine, FineCompilazione::non_dimensionata);
    EXPECT_FALSE(c.letta_linea || c.letto_treno);
  }
  {
    // A code that stops the line source: the train source, unreadable here, is never reached.
    prova::RegistroErrori errori;
    const Compilazione c =
        compila_testi(kProva, Sorgente::testo("P_linea.txt", prova::sorgente_linea({}, 2000000)),
                      illeggibile("P_7-.txt"), OpzioniCompilazione{}, errori);
    EXPECT_EQ(errori.numeri(), std::vector<int32_t>{1});
    ASSERT_EQ(errori.avvisi.size(), 1u);
    EXPECT_EQ(errori.avvisi[0].avviso, Avviso::treno_non_letto);
    EXPECT_TRUE(c.letta_linea);
    EXPECT_FALSE(c.letto_treno);
  }
  {
    // Reached, the unreadable train source is code 25 at the file, with the reason.
    prova::RegistroErrori errori;
    const Compilazione c = compila_testi(kProva, Sorgente::testo("P_linea.txt", buona),
                                         illeggibile("P_7-.txt"), OpzioniCompilazione{}, errori);
    ASSERT_EQ(errori.numeri(), std::vector<int32_t>{25});
    EXPECT_EQ(errori.segnalazioni[0].luogo, (Luogo{"P_7-.txt", 0, {}}));
    EXPECT_EQ(errori.segnalazioni[0].dettaglio, "P_7-.txt: permesso negato");
    EXPECT_TRUE(c.letto_treno);
    EXPECT_TRUE(c.completa());
  }
}

TEST(Compila, CampoRiservatoFermaLaCompilazioneSenzaToccareLaParola) {
  prova::RegistroErrori errori;
  // A code change at 50 m lands on stretch 1 (a code point takes stretch P / 50).
  const Compilazione c =
      compila(prova::sorgente_linea({}, 10000),
              prova::sorgente_treno({"abbattimento, 50, 270", "velocita, 0, 50"}), errori);
  ASSERT_EQ(c.fine, FineCompilazione::campo_riservato);
  ASSERT_TRUE(c.arresto.has_value());
  EXPECT_EQ(c.arresto->codice, Codice::campo_riservato_1);
  EXPECT_EQ(c.arresto->luogo.riga, 2);  // the line that put the object there
  EXPECT_EQ(c.arresto->tratto, 1);
  EXPECT_EQ(errori.codice_errore(), Codice::nessuno);
}

}  // namespace
}  // namespace compattatore
