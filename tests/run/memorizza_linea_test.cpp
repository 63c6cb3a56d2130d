// The line phase inside the whole run: which sources stay, which compiled files are written.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "app/rapporto.h"
#include "run/esecuzione.h"
#include "support/supporto.h"

namespace compattatore {
namespace {

using prova::righe;
using prova::sorgente_linea;

const std::string kLinea = "Prova_linea.txt";
const std::string kTreno = "Prova_7-.txt";
const std::string kTracciato = "Prova_linea.dat";
const std::string kElenco = "Prova_7.sim";
const std::string kTratti = "Prova_7.dat";

struct Corsa {
  int32_t codice;
  Esito esito;
  int uscita;
  std::vector<std::string> file;
};

// One run over a folder holding the given line source (none when `linea` is null) and a train
// source.
Corsa esegui(const char* linea) {
  prova::CartellaTemporanea cartella;
  if (linea) prova::scrivi(cartella / kLinea, linea);
  prova::scrivi(cartella / kTreno, prova::sorgente_treno({}));
  Esecuzione run = Esecuzione::nella_cartella(prova::nomi("Prova", "7"), cartella.percorso());
  const RisultatoPercorso r = run.memorizza_percorso(1);
  std::ostringstream err;
  const int uscita = concludi(r, err);
  return {run.codice_errore(), r.esito, uscita, prova::elenco_file(cartella.percorso())};
}

TEST(MemorizzaLinea, CodiciDellaFaseLineaNellaCorsa) {
  // A 1000 m route with a curve and a gradient, then `altre` feature lines.
  const auto lunga = [](std::vector<std::string> altre) {
    altre.insert(altre.begin(), {"curvad1, 100, 100", "pendenza, 1000, 5"});
    return sorgente_linea(altre);
  };
  const std::vector<std::string> compilati_e_treno = {kTracciato, kTratti, kElenco, kTreno};
  const std::vector<std::string> compilati = {kTracciato, kTratti, kElenco};
  const std::vector<std::string> solo_treno = {kTreno};
  const struct {
    const char* caso;
    std::string linea;
    bool manca;
    int32_t codice;
    Esito esito;
    int uscita;
    std::vector<std::string> file;
  } casi[] = {
      // Stopped before `tratti` exists: no compiled file, exit status 1.
      {"101: nessuna sorgente", "", true, 101, Esito::non_dimensionato, 1, solo_treno},
      {"102", righe({"titolo"}), false, 102, Esito::non_dimensionato, 1, solo_treno},
      {"1", sorgente_linea({}, 1000001), false, 1, Esito::non_dimensionato, 1, solo_treno},
      {"25 senza lunghezza",
       righe({"[generale]", "[curve]", "[fine]"}),
       false,
       25,
       Esito::non_dimensionato,
       1,
       {}},
      // Stopped later: the compiled files are written from what was stored, exit status 2.
      {"3", sorgente_linea({}, 1000, {"ripetizione segnali 9, 25, 100"}), false, 3, Esito::scritto,
       2, compilati_e_treno},
      {"4", sorgente_linea({}, 1000, {"ripetizione segnali 9, 50, 120"}), false, 4, Esito::scritto,
       2, compilati_e_treno},
      {"5", sorgente_linea({}, 1000, {"ripetizione segnali, 50, 100"}), false, 5, Esito::scritto, 2,
       compilati_e_treno},
      {"6", lunga({"indicatori_vmax, 2000, 70,,,0,,,,0", "cartello_indicatore, 2000, (A)"}), false,
       6, Esito::scritto, 2, compilati_e_treno},
      {"21", lunga({"cartello_indicatore, 2000, (A)", "indicatori_vmax, 2000, 70,,,0,,,,0"}), false,
       21, Esito::scritto, 2, compilati_e_treno},
      {"103", lunga({"curva, 500, 100"}), false, 103, Esito::scritto, 2, compilati_e_treno},
      // 15 goes on to the train source, which is read and deleted.
      {"15", lunga({"pendenza, 9000, 5"}), false, 15, Esito::scritto, 2, compilati},
      // A run-time fault after `tratti` exists: both sources deleted, the files still written.
      {"25 dopo la lunghezza", lunga({"pendenza, 2000, 300"}), false, 25, Esito::scritto, 2,
       compilati},
      {"0", lunga({}), false, 0, Esito::scritto, 0, compilati},
  };
  for (const auto& c : casi) {
    const Corsa e = esegui(c.manca ? nullptr : c.linea.c_str());
    EXPECT_EQ(e.codice, c.codice) << c.caso;
    EXPECT_EQ(e.esito, c.esito) << c.caso;
    EXPECT_EQ(e.uscita, c.uscita) << c.caso;
    std::vector<std::string> attesi = c.file;
    std::sort(attesi.begin(), attesi.end());
    EXPECT_EQ(e.file, attesi) << c.caso;
  }
}

TEST(MemorizzaLinea, GuastoNelFileDelTrenoCancellaEntrambiISorgenti) {
  prova::CartellaTemporanea cartella;
  prova::scrivi(cartella / kLinea, sorgente_linea({}, 10000));
  prova::scrivi(cartella / kTreno,
                prova::sorgente_treno({"numero vetture, 6", "orologio, 40000, 0, 0"}));
  Esecuzione run = Esecuzione::nella_cartella(prova::nomi("Prova", "7"), cartella.percorso());
  EXPECT_EQ(run.memorizza_percorso(0).esito, Esito::scritto);
  EXPECT_EQ(run.codice_errore(), 25);
  EXPECT_EQ(run.modello().elenco[voce::figure_treno].campo_3, 6);  // stored before the fault
  EXPECT_EQ(prova::elenco_file(cartella.percorso()), (std::vector<std::string>{kTratti, kElenco}));
}

TEST(MemorizzaLinea, CodiciOltreLOttantesimo) {
  std::vector<std::string> montagne, cartelli;
  for (int i = 0; i < 81; ++i) {
    montagne.push_back("montagna, " + std::to_string(100 * i + 50) + ", " +
                       std::to_string(100 * i + 100) + ", 1");
    cartelli.push_back("cartello_indicatore, " + std::to_string(100 * i + 50) + ", (C)");
  }
  const Corsa m = esegui(sorgente_linea(montagne, 10000).c_str());
  EXPECT_EQ(m.codice, 26);
  EXPECT_EQ(m.file, (std::vector<std::string>{kTreno, kTratti, kElenco, kTracciato}));
  const Corsa c = esegui(sorgente_linea(cartelli, 10000).c_str());
  EXPECT_EQ(c.codice, 27);
  EXPECT_EQ(c.file, (std::vector<std::string>{kTreno, kTratti, kElenco, kTracciato}));
}

TEST(MemorizzaLinea, PosizioneELuogoDelCodice) {
  prova::CartellaTemporanea cartella;
  prova::scrivi(cartella / kLinea, sorgente_linea({"indicatori_vmax, 2000, 70,,,0,,,,0",
                                                   "cartello_indicatore,  2010,  (A)"}));
  prova::scrivi(cartella / kTreno, prova::sorgente_treno({}));
  std::vector<Segnalazione> codici;
  std::vector<Segnalazione> avvisi;
  Esecuzione run = Esecuzione::nella_cartella(
      prova::nomi("Prova", "7"), cartella.percorso(), [&](const Segnalazione& s) {
        (s.gravita == Gravita::errore ? codici : avvisi).push_back(s);
      });
  run.memorizza_percorso(1);
  // Both boards lie past the 1000 m of the line, and the train source is not read.
  ASSERT_EQ(avvisi.size(), 3u);
  EXPECT_EQ(avvisi[0].avviso, Avviso::oltre_la_linea);
  EXPECT_EQ(avvisi[1].avviso, Avviso::oltre_la_linea);
  EXPECT_EQ(avvisi[2].avviso, Avviso::treno_non_letto);
  ASSERT_EQ(codici.size(), 1u);
  EXPECT_EQ(codici[0].codice, Codice::cartello_occupato);
  EXPECT_EQ(codici[0].posizione, 2010);
  EXPECT_EQ(run.posizione_errore(), 2010);
  EXPECT_EQ(codici[0].luogo.riga, 5);
  EXPECT_EQ(codici[0].luogo.testo, "cartello_indicatore,  2010,  (A)");
  EXPECT_EQ(codici[0].luogo.colonna, 23);
  EXPECT_EQ(codici[0].luogo.lunghezza, 4);
  // The note names the speed indicator board that holds the stretch, on line 4.
  ASSERT_EQ(codici[0].note.size(), 1u);
  EXPECT_EQ(codici[0].note[0].luogo.riga, 4);
  EXPECT_EQ(codici[0].note[0].testo,
            "il tratto 41 è occupato da un indicatore di velocità massima, scritto qui");
  EXPECT_EQ(codici[0].luogo.file, (cartella / kLinea).string());
}

}  // namespace
}  // namespace compattatore
