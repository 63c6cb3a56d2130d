// A value written one way and stored another, a value that cannot be meant and the common slips of
// a new author: one table of small scenarios, each compiled from text, with the diagnostic
// expected at its file, line and item, its severity, name and words, and the value as written
// and as stored.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "compilazione/compila.h"
#include "support/supporto.h"

namespace compattatore {
namespace {

const std::string kLinea = prova::sorgente_linea({}, 10000);
const std::string kStazione = "stazione, 2000, 24, 300, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, A";
const std::string kTreno = prova::sorgente_treno({kStazione});

using Codice_o_avviso = std::variant<Codice, Avviso>;

struct Atteso {
  const char* caso;
  std::string linea;
  std::string treno;
  char file;         // 'L' the line source, 'T' the train source
  int riga;          // 0: the whole file
  const char* voce;  // the item the caret sits under, as it stands in that line ("" for none)
  Gravita gravita;
  Codice_o_avviso nome;
  const char* parole;                    // words the message holds
  const char* scritto = nullptr;         // the value as written, when the diagnostic carries one
  std::optional<int64_t> memorizzato{};  // ... and as stored
};

bool dello_stesso(const Segnalazione& s, const Atteso& a) {
  if (const auto* c = std::get_if<Codice>(&a.nome)) return s.codice == *c;
  return s.avviso == std::get<Avviso>(a.nome) && s.codice == Codice::nessuno;
}

std::string descrivi(const Segnalazione& s) {
  return s.luogo.file + ":" + std::to_string(s.luogo.riga) + ":" + std::to_string(s.luogo.colonna) +
         " " + std::to_string(numero(s.codice)) + "/" + riga_avviso(s.avviso).etichetta + " " +
         s.dettaglio;
}

TEST(ValoriScritti, OgniValoreDiversoDaComeScrittoHaLaSuaParola) {
  using G = Gravita;
  const std::vector<Atteso> casi = {
      // A value stored otherwise than written.
      {"una parola come pendenza", prova::sorgente_linea({"pendenza, 500, dodici"}, 10000), kTreno,
       'L', 4, "dodici", G::avviso, Avviso::non_numero, "'dodici' non è un numero: è letto come 0",
       "dodici", 0},
      {"aderenza oltre il byte", kLinea, prova::sorgente_treno({"aderenza, 0, 300", kStazione}),
       'T', 2, "300", G::avviso, Avviso::fuori_campo,
       "300 è fuori dal campo, da 0 a 255: è memorizzato come 44", "300", 44},
      {"codice oltre i 16 bit", kLinea,
       prova::sorgente_treno({kStazione, "abbattimento, 5000, 40000"}), 'T', 3, "40000", G::avviso,
       Avviso::fuori_campo, "è memorizzato come -25536", "40000", -25536},
      {"indicatore non multiplo di 5",
       prova::sorgente_linea({"indicatori_vmax, 500, 63, 70, 80, "
                              "0, , , , 0"},
                             10000),
       kTreno, 'L', 4, "63", G::avviso, Avviso::fuori_campo,
       "63 non è un multiplo di 5: non è memorizzato come scritto, e sconfina nella velocità del "
       "secondo lato",
       "63", std::nullopt},
      {"indicatore, secondo lato oltre il campo",
       prova::sorgente_linea({"indicatori_vmax, 500, 60, 70, 80, 0, 600, , , 0"}, 10000), kTreno,
       'L', 4, "600", G::avviso, Avviso::fuori_campo, "sconfina nella velocità del primo lato",
       "600", std::nullopt},
      {"segnale di un tipo che non c'è", kLinea,
       prova::sorgente_treno({kStazione, "segnale, 5000, 5, 4, 1, 0, 0, 0, 0,0,0, 0"}), 'T', 3,
       "5,", G::avviso, Avviso::fuori_campo, "5 è fuori dal campo, da 1 a 2", "5", std::nullopt},
      {"tempo di segnale alzato a 101", kLinea,
       prova::sorgente_treno({kStazione, "segnale, 5000, 2, 4, 1, 0, 0, 0, 0,0,0, 30"}), 'T', 3,
       "30", G::avviso, Avviso::tempo_del_segnale, "il tempo 30 s è memorizzato come 101", "30",
       101},
      {"tempo di un segnale che non lo tiene", kLinea,
       prova::sorgente_treno({kStazione, "segnale, 5000, 1, 4, 1, 0, 0, 0, 0,0,0, 150"}), 'T', 3,
       "150", G::avviso, Avviso::tempo_del_segnale, "solo un segnale di tipo 2 tiene un tempo",
       "150", 0},
      {"numero con la frazione", prova::sorgente_linea({"pendenza, 2000, 12.5"}, 10000), kTreno,
       'L', 4, "12.5", G::avviso, Avviso::numero_arrotondato, "il numero 12.5 è letto come 12"},
      // Stored as written, but cannot be meant.
      {"curva di lunghezza negativa", prova::sorgente_linea({"curvas3, 500, -500"}, 10000), kTreno,
       'L', 4, "-500", G::avviso, Avviso::lunghezza_non_positiva,
       "'curva', N: la lunghezza -500 m non è maggiore di 0", "-500", -500},
      {"velocità 0", kLinea, prova::sorgente_treno({"velocita, 100, 0", kStazione}), 'T', 2, " 0",
       G::avviso, Avviso::velocita_nulla, "la velocità 0 km/h non è maggiore di 0", "0", 0},
      {"velocità oltre ogni treno", kLinea, prova::sorgente_treno({"velocita, 0, 900", kStazione}),
       'T', 2, "900", G::avviso, Avviso::velocita_eccessiva, "oltre i 400 km/h", "900", 900},
      {"rallentamento a 0 km/h", kLinea,
       prova::sorgente_treno({kStazione, "rallentamento, 5000, 0, 400, 1, 0, 0"}), 'T', 3,
       " 0, 400", G::avviso, Avviso::velocita_nulla, "'rallentamento', v", "0", 0},
      {"rallentamento di lunghezza negativa", kLinea,
       prova::sorgente_treno({kStazione, "rallentamento, 5000, 50, -400, 1, 0, 0"}), 'T', 3, "-400",
       G::avviso, Avviso::lunghezza_non_positiva, "la lunghezza -400 m", "-400", -400},
      {"montagna di un tipo che non c'è", prova::sorgente_linea({"montagna, 500, 900, 7"}, 10000),
       kTreno, 'L', 4, "7", G::avviso, Avviso::tipo_inesistente,
       "'montagna', tipo: il tipo 7 non esiste: i tipi sono 1, 2, 11 e 12", "7", 7},
      // A code about one value: at that value, which its message shows as written.
      {"rallentamento di lunghezza negativa, il codice", kLinea,
       prova::sorgente_treno({kStazione, "rallentamento, 5000, 50, -400, 1, 0, 0"}), 'T', 3, "-400",
       G::errore, Codice::rallentamento_senza_marcatore,
       "'rallentamento', l: -400 m; il rallentamento non finisce prima della fine", "-400"},
      {"rallentamento che esce dal percorso per la lunghezza", kLinea,
       prova::sorgente_treno({kStazione, "rallentamento, 5000, 50, 9e4, 1, 0, 0"}), 'T', 3, "9e4",
       G::errore, Codice::fuori_percorso, "'rallentamento', l: 9e4 m", "9e4"},
      {"segnale oltre il percorso", kLinea,
       prova::sorgente_treno({kStazione, "segnale, 99999, 2, 4, 1, 0, 0, 0, 0,0,0, 0"}), 'T', 3,
       "99999", G::errore, Codice::fuori_percorso, "'segnale', P: 99999 m", "99999"},
      {"lunghezza del percorso fuori dai limiti", prova::sorgente_linea({}, 2000000), kTreno, 'L',
       2, "2000000", G::errore, Codice::lunghezza_fuori_campo, "'lunghezza percorso', L: 2000000 m",
       "2000000"},
      {"inizio della ripetizione non multiplo di 50",
       prova::sorgente_linea({}, 10000, {"ripetizione segnali 9 codici, 5025, 6000"}), kTreno, 'L',
       3, "5025", G::errore, Codice::ripetizione_inizio,
       "'ripetizione segnali 9 codici', inizio: "
       "5025 m",
       "5025", 5025},
      {"progressiva non multipla di 50",
       prova::sorgente_linea({}, 10000, {"progressiva chilometrica uno, 0, 1025, 0"}), kTreno, 'L',
       3, "1025", G::errore, Codice::progressiva_non_multipla,
       "'progressiva chilometrica uno', valore: 1025 m", "1025", 1025},
      {"stazione non multipla di 50", kLinea,
       prova::sorgente_treno({"stazione, 2010.4, 24, 300, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, A"}),
       'T', 2, "2010.4", G::errore, Codice::stazione_non_multipla, "'stazione', P: 2010.4 m",
       "2010.4", 2010},
      {"marciapiede non multiplo di 100", kLinea,
       prova::sorgente_treno({"stazione, 2000, 24, 350, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, A"}), 'T',
       2, "350", G::errore, Codice::marciapiede_non_multiplo, "'stazione', L: 350 m", "350"},
      {"pendenza che non entra nel suo byte",
       prova::sorgente_linea({"pendenza, 500, 300", "pendenza, 900, 0"}, 10000), kTreno, 'L', 4,
       "300", G::errore, Codice::guasto_lettura,
       "'pendenza', G: 300 per mille non entra nel campo (da -100 a 155 per mille)", "300"},
      {"tipo di stazione oltre il byte", kLinea,
       prova::sorgente_treno({"stazione, 2000, 300, 300, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, A"}),
       'T', 2, "300", G::errore, Codice::guasto_lettura,
       "'stazione', tipo: 300 non entra nel campo (da 0 a 255)", "300"},
      {"indicatore a 0 km/h",
       prova::sorgente_linea({"indicatori_vmax, 500, 0, 70, 80, 0, , , , 0"}, 10000), kTreno, 'L',
       4, " 0,", G::avviso, Avviso::velocita_nulla, "'indicatori_vmax', vas", "0", 0},
      {"montagna che finisce prima di cominciare",
       prova::sorgente_linea({"montagna, 600, 500, 1"}, 10000), kTreno, 'L', 4, "500", G::avviso,
       Avviso::zona_rovesciata, "la fine 500 m non viene dopo l'inizio 600 m", "500", 500},
      {"ripetizione che finisce prima",
       prova::sorgente_linea({}, 10000,
                             {"ripetizione segnali 9 codici, "
                              "5000, 4000"}),
       kTreno, 'L', 3, "4000", G::avviso, Avviso::zona_rovesciata, "non viene dopo l'inizio 5000",
       "4000", 4000},
      {"marciapiede di 0 m", kLinea,
       prova::sorgente_treno({"stazione, 2000, 24, 0, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, A"}), 'T',
       2, " 0,", G::avviso, Avviso::lunghezza_non_positiva, "'stazione', L", "0", 0},
      {"orologio a 75 minuti", kLinea, prova::sorgente_treno({"orologio, 6 75 0", kStazione}), 'T',
       2, "75", G::avviso, Avviso::orario_impossibile, "75 è fuori da 0 a 59 min", "75", 75},
      // The common slips.
      {"virgola decimale", prova::sorgente_linea({"pendenza, 500, 12,5"}, 10000), kTreno, 'L', 4,
       "12,5", G::avviso, Avviso::virgola_decimale,
       "'12,5' è letto come 12 e 5: la virgola separa i valori", "12,5", 12},
      {"virgola decimale in mezzo alla riga", kLinea,
       prova::sorgente_treno({kStazione, "rallentamento, 5000, 12,5, 400, 1, 0, 0"}), 'T', 3, ",5,",
       G::avviso, Avviso::virgola_decimale,
       "'12,5' è letto come due valori, 12 e 5: la virgola separa i valori, i valori dopo 'v' "
       "slittano di un posto",
       "12,5", 12},
      {"virgola decimale fra i valori di una stazione", kLinea,
       prova::sorgente_treno({"stazione, 2000, 24, 300, 0, 0, 0, 0,0,0, 0,0,0, 30,5, 6,0,0, A"}),
       'T', 2, ",5,", G::avviso, Avviso::virgola_decimale, "'30,5' è letto come due valori"},
      {"valori in più scritti vicini: non una virgola decimale", kLinea,
       prova::sorgente_treno({"stazione, 2000, 24, 300, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, A, 7"}),
       'T', 2, " 7", G::avviso, Avviso::valori_in_piu, "il resto della riga è ignorato"},
      {"virgolette mai chiuse",
       prova::sorgente_linea({"cartello_indicatore, 500, \"(Ponte)", "pendenza, 2000, 3"}, 10000),
       kTreno, 'L', 4, "\"", G::avviso, Avviso::virgolette_aperte,
       "le virgolette aperte qui non si chiudono: il testo finisce con il file, alla riga 6 e il "
       "testo prende 3 righe"},
      {"virgolette chiuse alla riga dopo",
       prova::sorgente_linea({"cartello_indicatore, 500, \"(Ponte)", "\""}, 10000), kTreno, 'L', 4,
       "\"", G::avviso, Avviso::virgolette_aperte, "si chiudono solo alla riga 5"},
      {"testo dopo le virgolette", kLinea,
       prova::sorgente_treno(
           {"stazione, 2000, 24, 300, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, \"Borgo\" Nuovo"}),
       'T', 2, "Nuovo", G::avviso, Avviso::dopo_le_virgolette,
       "'Nuovo' segue le virgolette chiuse e non è letto"},
      {"commento con una parola chiave", kLinea,
       prova::sorgente_treno({"# qui la stazione di partenza", kStazione}), 'T', 2, "# qui",
       G::avviso, Avviso::parola_contenuta, "contiene la parola chiave 'stazione'"},
      // Sources that hold no train, and a line source that stops the parse.
      {"il file della linea come treno", kLinea, prova::sorgente_linea({"pendenza, 500, 3"}, 10000),
       'T', 2, "lunghezza percorso", G::avviso, Avviso::parole_della_linea,
       "è una parola chiave del file della linea"},
      {"treno vuoto", kLinea, "", 'T', 0, "", G::avviso, Avviso::senza_generale,
       "il file del treno è vuoto"},
      {"treno senza stazioni", kLinea, prova::sorgente_treno({"numero vetture, 6"}), 'T', 0, "",
       G::avviso, Avviso::senza_stazioni, "non ha stazioni"},
      {"guasto nella linea",
       prova::sorgente_linea({"pendenza, 500, 300", "pendenza, 900, 0"}, 10000), kTreno, 'T', 0, "",
       G::avviso, Avviso::treno_non_letto,
       "il file del treno non è letto: la lettura si è fermata al codice 25"},
  };
  for (const Atteso& a : casi) {
    RaccoltaSegnalazioni errori;
    OpzioniCompilazione o;
    compila_testi(Identita{"P", "7"}, Sorgente::testo("P_linea.txt", a.linea),
                  Sorgente::testo("P_7-.txt", a.treno), o, errori);
    const std::string file = a.file == 'L' ? "P_linea.txt" : "P_7-.txt";
    const std::string& testo = a.file == 'L' ? a.linea : a.treno;
    int colonna = 0;
    if (*a.voce != '\0') {
      const std::vector<std::string> righe = prova::righe_crlf(testo);
      ASSERT_LE(a.riga, static_cast<int>(righe.size())) << a.caso;
      const size_t dove = righe[static_cast<size_t>(a.riga - 1)].find(a.voce);
      ASSERT_NE(dove, std::string::npos) << a.caso;
      colonna = static_cast<int>(dove) + 1 + (a.voce[0] == ' ' ? 1 : 0);
    }
    std::string tutte;
    const Segnalazione* trovata = nullptr;
    for (const Segnalazione& s : errori.tutte) {
      tutte += "\n  " + descrivi(s);
      if (!trovata && dello_stesso(s, a) && s.luogo.file == file && s.luogo.riga == a.riga &&
          s.luogo.colonna == colonna && s.gravita == a.gravita) {
        trovata = &s;
      }
    }
    EXPECT_NE(trovata, nullptr) << a.caso << ": atteso a " << file << ":" << a.riga << ":"
                                << colonna << ", avuto:" << tutte;
    if (trovata == nullptr) continue;
    EXPECT_NE(trovata->dettaglio.find(a.parole), std::string::npos)
        << a.caso << ": " << trovata->dettaglio;
    if (a.scritto != nullptr) {
      ASSERT_TRUE(trovata->valore.has_value()) << a.caso;
      EXPECT_EQ(trovata->valore->scritto, a.scritto) << a.caso;
      EXPECT_EQ(trovata->valore->memorizzato, a.memorizzato) << a.caso;
    }
  }
}

// A comment line that holds a keyword takes its values from the line after: that is told at the
// comment's own line, before anything the values lead to.
TEST(ValoriScritti, IlCommentoConUnaParolaChiaveVienePrima) {
  RaccoltaSegnalazioni errori;
  const std::string treno = prova::sorgente_treno({"# qui la stazione di partenza", kStazione});
  compila_testi(Identita{"P", "7"}, Sorgente::testo("P_linea.txt", kLinea),
                Sorgente::testo("P_7-.txt", treno), OpzioniCompilazione{}, errori);
  ASSERT_GE(errori.tutte.size(), 3u);
  EXPECT_EQ(errori.tutte[0].avviso, Avviso::parola_contenuta);
  EXPECT_EQ(errori.tutte[0].luogo.riga, 2);
  EXPECT_EQ(errori.tutte[1].avviso, Avviso::valori_mancanti);
  EXPECT_EQ(errori.tutte[1].luogo.riga, 2);
  EXPECT_EQ(errori.tutte[1].dettaglio,
            "'stazione' legge 17 valori, la riga ne ha 0: tutti sono presi dalla riga 3");
  bool errore = false;
  for (const Segnalazione& s : errori.tutte) errore = errore || s.codice != Codice::nessuno;
  EXPECT_TRUE(errore);  // the station line's items are read one place off
}

}  // namespace
}  // namespace compattatore
