#include "app/rapporto.h"

#include <gtest/gtest.h>

#include <sstream>

namespace compattatore {
namespace {

TEST(Rapporto, StatoDUscita) {
  std::ostringstream err;
  EXPECT_EQ(concludi({Esito::scritto, ""}, err), 0);
  EXPECT_EQ(err.str(), "");
  RisultatoPercorso con_codice{Esito::scritto, ""};
  con_codice.codice_errore = 15;
  con_codice.posizione_errore = 46400;
  con_codice.con_posizione = true;
  EXPECT_EQ(concludi(con_codice, err), 2);
  EXPECT_NE(err.str().find("codice_errore 15, posizione_errore 46400 m"), std::string::npos)
      << err.str();
  // No position is printed when none was recorded.
  RisultatoPercorso senza_posizione{Esito::scritto};
  senza_posizione.codice_errore = 2;
  std::ostringstream err3;
  EXPECT_EQ(concludi(senza_posizione, err3), 2);
  EXPECT_EQ(err3.str(), "compattatore: file compilati scritti con codice_errore 2\n");
  RisultatoPercorso senza_percorso{Esito::non_dimensionato, "x"};
  senza_percorso.codice_errore = 101;
  std::ostringstream err2;
  EXPECT_EQ(concludi(senza_percorso, err2), 1);
  EXPECT_EQ(err2.str().rfind(" Errore n. 101\n", 0), 0u) << err2.str();
}

TEST(Rapporto, CampoRiservatoRiportatoConLoSpazioIniziale) {
  for (const Codice c : {Codice::campo_riservato_1, Codice::campo_riservato_2}) {
    std::ostringstream err;
    EXPECT_EQ(concludi({Esito::campo_riservato, "", c}, err), 1);
    // The report line exactly, then what to change.
    const std::string attesa = " Errore n. " + std::to_string(numero(c)) + "\n";
    EXPECT_EQ(err.str().substr(0, attesa.size()), attesa);
    EXPECT_NE(err.str().find("campo riservato occupato"), std::string::npos) << err.str();
  }
}

TEST(Rapporto, SenzaUnTrenoDaGuidare) {
  // Each warning that leaves no train makes a run without a code end with 2, and says why once;
  // when several came, the first in this order is named.
  const struct {
    std::vector<Avviso> avvisi;
    const char* motivo;  // nullptr: the scenario has its train
  } casi[] = {
      {{Avviso::senza_stazioni}, "il file del treno non ha stazioni"},
      {{Avviso::senza_generale}, "il file del treno è vuoto o non ha la riga [generale]"},
      {{Avviso::parole_della_linea}, "il file del treno contiene righe del file della linea"},
      {{Avviso::senza_stazioni, Avviso::parole_della_linea, Avviso::stesso_file},
       "il file del treno è il file della linea"},
      {{Avviso::parola_sconosciuta, Avviso::senza_fine}, nullptr},
  };
  for (const auto& c : casi) {
    std::ostringstream err;
    Resoconto resoconto(err, Formato::json);
    for (const Avviso a : c.avvisi) {
      Segnalazione s{};
      s.gravita = Gravita::avviso;
      s.avviso = a;
      resoconto.ricevi(s);
    }
    const Conclusione conclusione{&resoconto, false};
    EXPECT_EQ(concludi({Esito::scritto, ""}, err, conclusione), c.motivo ? 2 : 0);
    if (!c.motivo) {
      EXPECT_EQ(err.str().find("treno da guidare"), std::string::npos) << err.str();
      continue;
    }
    EXPECT_EQ(err.str(), std::string("compattatore: file compilati scritti, ma lo scenario non ha "
                                     "un treno da guidare: ") +
                             c.motivo + "\ncompattatore: " + std::to_string(c.avvisi.size()) +
                             (c.avvisi.size() == 1 ? " avviso\n" : " avvisi\n"));
    // A code says more than the missing train: only the code is named.
    RisultatoPercorso con_codice{Esito::scritto, ""};
    con_codice.codice_errore = 15;
    EXPECT_EQ(stato_uscita(con_codice, conclusione), 2);
    EXPECT_EQ(fine_senza_treno(con_codice, conclusione), "");
  }
}

}  // namespace
}  // namespace compattatore
