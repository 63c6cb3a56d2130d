// Every ordinary mistake of a new author gives a diagnostic at the item it concerns: a table of
// small scenarios, each checked through the whole run (`Esecuzione::verifica`, which writes
// nothing), with the file, line, column, severity, code and words of the diagnostic expected.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "run/esecuzione.h"
#include "support/supporto.h"

namespace compattatore {
namespace {
namespace fs = std::filesystem;

// The diagnostics of one check of `linea` and `treno` (the train source the line source itself
// when `stesso_file`).
struct Verifica {
  prova::CartellaTemporanea cartella;
  std::vector<Segnalazione> tutte;
  RisultatoPercorso esito;

  Verifica(const std::string& linea, const std::string& treno, bool stesso_file = false,
           Codifica codifica = Codifica::automatica) {
    prova::scrivi(cartella / "L_linea.txt", linea);
    prova::scrivi(cartella / "L_7-.txt", treno);
    Esecuzione run = Esecuzione::verifica(
        prova::nomi("L", "7"), cartella / "L_linea.txt",
        cartella / (stesso_file ? "L_linea.txt" : "L_7-.txt"), true,
        [this](const Segnalazione& s) { tutte.push_back(s); }, codifica);
    esito = run.esegui();
  }
};

// A code number or the name of a warning.
using Codice_o_avviso = std::variant<Codice, Avviso>;

struct Atteso {
  const char* caso;
  std::string linea;
  std::string treno;
  char file;  // 'L' the line source, 'T' the train source
  int riga;
  int colonna;
  Gravita gravita;
  Codice_o_avviso codice;
  const char* parole;  // words the message holds
};

std::string descrivi(const Segnalazione& s) {
  return s.luogo.file + ":" + std::to_string(s.luogo.riga) + ":" + std::to_string(s.luogo.colonna) +
         " [" + std::to_string(static_cast<int>(s.gravita)) + "] " +
         std::to_string(numero(s.codice)) + "/" + riga_avviso(s.avviso).etichetta + " " +
         s.dettaglio;
}

bool corrisponde(const Segnalazione& s, const Atteso& a, const fs::path& cartella) {
  const std::string file = (cartella / (a.file == 'L' ? "L_linea.txt" : "L_7-.txt")).string();
  if (s.luogo.file != file || s.luogo.riga != a.riga || s.luogo.colonna != a.colonna ||
      s.gravita != a.gravita) {
    return false;
  }
  if (const auto* c = std::get_if<Codice>(&a.codice)) {
    if (s.codice != *c) return false;
  } else if (s.avviso != std::get<Avviso>(a.codice)) {
    return false;
  }
  const std::string testo = std::string(riga_codice(s.codice).significato) + " " + s.dettaglio;
  return testo.find(a.parole) != std::string::npos;
}

const std::string kLinea = prova::sorgente_linea({}, 10000);
const std::string kTreno =
    prova::sorgente_treno({"stazione, 2000, 24, 300, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, A"});
const std::string kStazione = "stazione, 2000, 24, 300, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, A";

TEST(Diagnosi, OgniSbaglioAlSuoPosto) {
  using G = Gravita;
  const Atteso casi[] = {
      // Keywords that the format passes over.
      {"pendenza sbagliata", prova::sorgente_linea({"pendneza, 2000, 12"}, 10000), kTreno, 'L', 4,
       1, G::avviso, Avviso::parola_sconosciuta, "forse intendevi 'pendenza'?"},
      {"stazione sbagliata", kLinea, prova::sorgente_treno({kStazione, "stazone, 5000, 24"}), 'T',
       3, 1, G::avviso, Avviso::parola_sconosciuta, "forse intendevi 'stazione'?"},
      {"segnale sbagliato", kLinea,
       prova::sorgente_treno({kStazione, "segnal, 4200, 2, 4, 1, 0, 0, 0, 0,0,0, 0"}), 'T', 3, 1,
       G::avviso, Avviso::parola_sconosciuta, "forse intendevi 'segnale'?"},
      {"curva senza direzione", prova::sorgente_linea({"curva4, 1500, 300"}, 10000), kTreno, 'L', 4,
       1, G::avviso, Avviso::parola_contenuta, "letta come 'curvad4': curva a destra"},
      {"maiuscola dove contano", prova::sorgente_linea({}, 10000, {"Sfondo uno, 1"}), kTreno, 'L',
       3, 1, G::avviso, Avviso::parola_sconosciuta, "le maiuscole contano; scrivi 'sfondo uno'"},
      {"parola del treno nella linea", prova::sorgente_linea({"velocita, 0, 80"}, 10000), kTreno,
       'L', 4, 1, G::avviso, Avviso::parola_sconosciuta, "parola chiave del file del treno"},
      {"[general] nel treno", kLinea, "[general]\r\n" + kStazione + "\r\n[fine]\r\n", 'T', 1, 1,
       G::avviso, Avviso::senza_generale, "non è [generale]"},
      {"treno vuoto", kLinea, "", 'T', 0, 0, G::avviso, Avviso::senza_generale,
       "il file del treno è vuoto"},
      {"treno senza stazioni", kLinea, prova::sorgente_treno({"numero vetture, 6"}), 'T', 0, 0,
       G::avviso, Avviso::senza_stazioni, "non ha stazioni"},
      {"linea senza [fine]", "[generale]\r\nlunghezza percorso, 10000\r\n[curve]\r\n", kTreno, 'L',
       3, 1, G::avviso, Avviso::senza_fine, "l'ultima voce non è letta"},
      // Values lent, left over or bent.
      {"segnale con cinque numeri", kLinea,
       prova::sorgente_treno(
           {kStazione, "segnale, 4200, 2, 4, 1, 0", "segnale, 4800, 2, 4, 1, 0, 0, 0, 0,0,0, 0"}),
       'T', 3, 1, G::avviso, Avviso::valori_mancanti,
       "'segnale' legge 11 valori, la riga ne ha 5: gli altri 6 sono presi dalla riga 4"},
      {"numeri in più", kLinea, prova::sorgente_treno({"velocita, 350, 90, 5", kStazione}), 'T', 2,
       20, G::avviso, Avviso::valori_in_piu, "'velocita' legge 2 valori"},
      {"numero con la virgola", prova::sorgente_linea({"pendenza, 2000, 12.5"}, 10000), kTreno, 'L',
       4, 17, G::avviso, Avviso::numero_arrotondato, "il numero 12.5 è letto come 12"},
      {"commento con una parola chiave", kLinea,
       prova::sorgente_treno({"# qui la stazione di partenza", kStazione}), 'T', 2, 1, G::avviso,
       Avviso::parola_contenuta, "contiene la parola chiave 'stazione'"},
      {"oltre la fine della linea", prova::sorgente_linea({"pendenza, 12000, 3"}, 10000), kTreno,
       'L', 4, 11, G::avviso, Avviso::oltre_la_linea, "oltre la fine della linea"},
      // Faults found later point at the value as written.
      {"velocità di 1300 km/h", kLinea,
       prova::sorgente_treno(
           {kStazione, "velocita, 0, 80", "velocita, 3000, 1300", "velocita, 4000, 90"}),
       'T', 4, 17, G::errore, Codice::guasto_lettura,
       "'velocita', v: 1300 km/h non entra nel campo"},
      {"[general] nella linea", "[general]\r\nlunghezza percorso, 10000\r\n[fine]\r\n", kTreno, 'L',
       1, 1, G::errore, Codice::manca_generale, "non è [generale]"},
      {"marciapiede, non posizione", kLinea,
       prova::sorgente_treno({"stazione, 350, 24, 350, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, A"}), 'T',
       2, 20, G::errore, Codice::marciapiede_non_multiplo, "'stazione', L: 350 m"},
      {"progressiva scritta male",
       prova::sorgente_linea({}, 10000, {"progressiva chilometrica uno,    0,    125,    1"}),
       kTreno, 'L', 3, 40, G::errore, Codice::progressiva_non_multipla,
       "'progressiva chilometrica uno', valore: 125 m"},
      {"treno non letto",
       prova::sorgente_linea({"cartello_indicatore, 500, (A)", "cartello_indicatore, 500, (B)"},
                             10000),
       kTreno, 'T', 0, 0, G::avviso, Avviso::treno_non_letto, "fermata al codice 6"},
      // Codes of the code-marker pass and of the reserved fields name the object's line.
      {"finestra occupata", kLinea,
       prova::sorgente_treno({kStazione, "segnale, 9750, 2, 4, 1, 0, 0, 0, 0,0,0, 0",
                              "segnale, 9700, 2, 4, 1, 0, 0, 0, 0,0,0, 0",
                              "segnale, 9650, 2, 4, 1, 0, 0, 0, 0,0,0, 0",
                              "rallentamento, 10000, 80, 400, 0, 0, 0"}),
       'T', 6, 1, G::errore, Codice::finestra_senza_marcatore, "tra 250 e 350 m"},
      {"campo riservato",
       prova::sorgente_linea({"indicatori_vmax,  0,  65,  70,  80,  0,  ,  ,  ,  0"}, 10000),
       kTreno, 'L', 4, 1, G::errore, Codice::campo_riservato_1,
       "un indicatore di velocità massima con primo valore 1300"},
      // Encodings.
      {"carattere fuori da Windows-1252", kLinea,
       prova::sorgente_treno({"stazione, 2000, 24, 300, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, Ω"}), 'T',
       2, 60, G::errore, Codice::carattere_fuori_codifica, "il carattere U+03A9"},
      {"UTF-8 letto e convertito", kLinea,
       prova::sorgente_treno({"stazione, 2000, 24, 300, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, Città"}),
       'T', 0, 0, G::nota, Avviso::letto_utf8, "convertito in Windows-1252"},
  };
  for (const Atteso& a : casi) {
    Verifica v(a.linea, a.treno);
    bool trovato = false;
    for (const Segnalazione& s : v.tutte)
      trovato = trovato || corrisponde(s, a, v.cartella.percorso());
    std::string tutte;
    for (const Segnalazione& s : v.tutte) tutte += "  " + descrivi(s) + "\n";
    EXPECT_TRUE(trovato) << a.caso << ", ricevute:\n" << tutte;
  }
}

TEST(Diagnosi, LaLineaDueVolte) {
  Verifica v(kLinea, kTreno, true);
  ASSERT_FALSE(v.tutte.empty());
  EXPECT_EQ(v.tutte[0].avviso, Avviso::stesso_file);
  EXPECT_EQ(v.tutte[0].luogo.file, (v.cartella / "L_linea.txt").string());
}

TEST(Diagnosi, GiaOccupatoDiceDaChe) {
  // A signal on the stretch of a station's stopping point: the note names the station's line.
  Verifica v(kLinea,
             prova::sorgente_treno({kStazione, "segnale, 2050, 2, 4, 1, 0, 0, 0, 0,0,0, 0"}));
  ASSERT_EQ(v.esito.codice_errore, 16);
  const Segnalazione& s = v.tutte.back();
  EXPECT_EQ(s.luogo.riga, 3);
  EXPECT_EQ(s.luogo.colonna, 10);
  ASSERT_EQ(s.note.size(), 1u);
  EXPECT_EQ(s.note[0].testo,
            "il tratto 42 è occupato dal punto di fermata di una stazione, scritto qui");
  EXPECT_EQ(s.note[0].luogo.riga, 2);
  EXPECT_EQ(s.note[0].luogo.colonna, 1);
  EXPECT_EQ(s.note[0].luogo.lunghezza, 8);  // "stazione"
}

TEST(Diagnosi, IMarcatoriNomimanoCiòCheIngombra) {
  Verifica v(kLinea, prova::sorgente_treno({kStazione, "segnale, 9750, 2, 4, 1, 0, 0, 0, 0,0,0, 0",
                                            "segnale, 9700, 2, 4, 1, 0, 0, 0, 0,0,0, 0",
                                            "segnale, 9650, 2, 4, 1, 0, 0, 0, 0,0,0, 0",
                                            "rallentamento, 10000, 80, 400, 0, 0, 0"}));
  const Segnalazione* dodici = nullptr;
  for (const auto& s : v.tutte) {
    if (s.codice == Codice::finestra_senza_marcatore) dodici = &s;
  }
  ASSERT_NE(dodici, nullptr);
  EXPECT_EQ(dodici->tratto, 201);
  EXPECT_EQ(dodici->posizione, 10050);
  ASSERT_EQ(dodici->note.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(dodici->note[i].luogo.riga, static_cast<int>(3 + i));
    EXPECT_NE(dodici->note[i].testo.find("occupato da un segnale"), std::string::npos);
  }
}

}  // namespace
}  // namespace compattatore
