// `compattatore mostra` on the plain run's files: the summary, the check codes, single stretches,
// JSON, and the refusals.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "support/supporto.h"

namespace compattatore {
namespace {
namespace fs = std::filesystem;
using prova::esegui_programma;

// The timetable of the embedded scenario, in Windows-1252 order of the train source.
const char* kStazioni[] = {
    "VITERBO P.F.",       "Montefiascone",       "Grotte S. Stefano",  "S. Nicola", "Sipicciano",
    "ATTIGLIANO-BOMARZO", "Bassano in Teverina", "2° Bivio Orte Nord", "ORTE",      "P.C. GALLESE",
    "P.M. S. Oreste",     "P.C. Capena",         "P.C. Sette Bagni",   "Fidene",    "Nuovo Salario",
    "Roma Nomentana",     "ROMA TIBURTINA",      "ROMA TERMINI",
};

TEST(Mostra, RiepilogoDaOgnunoDeiTreFile) {
  const fs::path& d = prova::cartella_incorporata();
  const prova::Risultato r = esegui_programma({"mostra", prova::kFileElenco}, d);
  ASSERT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::string& o = r.out;
  for (const char* atteso : {
           "Scenario Viterbo_Orte_Roma_Via_Linea_Cintura, treno 3349\n",
           "  tracciato  Viterbo_Orte_Roma_Via_Linea_Cintura_linea.dat (2619964 byte): 131001 "
           "punti\n",
           "  tratti     Viterbo_Orte_Roma_Via_Linea_Cintura_3349.dat (39315 byte): tratti "
           "0-2620\n",
           "  codice_gara_st  voce 85 orario      33881  atteso  33881  valido\n",
           "  codice_gara_og  tratto 1 valore_2    2452  atteso   2452  valido\n",
           "  il simulatore accetta questi file\n",
           "  lunghezza 124000 m, metri_totali 131000, tratti 0-2620",
           "    da     39100 m  km 96+050    decrescente  (voce 82: progressiva 135250, verso 1)\n",
           "  massa frenata 120%, 6 vetture, sabbia 100, orologio 6:13:40\n",
           "Orario (18 stazioni)\n",
           "     9     52400 km 82+750       4   7:01:00   60s   52200..52600      1051  ORTE\n",
           "Segnali (44)\n",
           "     929     46400 km 88+750      4/2   1/1   1/1    0  2  2     0\n",
           "Rallentamenti (5)\n",
           "      45150      46350      48300   80 km/h    1950 m     80      1 no\n",
           // A code point stands where its line writes it: stretch 1090 from 54500 m.
           "  tratto   1090     54500 m  taglio del codice\n",
           "  da     11200 a     12000 m  tipo 2  tratti 224-239, 4 segni\n",
           "  tratto    717     35800 m  voce 80  (Ponte Fiume)(  Tevere   )\n",
           "  tratto   1102     55050 m   vas/vad 140/140 km/h  vbs/vbd 160/160 km/h  vcs/vcd "
           "250/250 km/h  strisces/strisced 0/0\n",
           // The route's tail, and its last three stretches, which no line fills.
           "  coda oltre la fine del percorso: tratti 2480-2620, da 124000 m (i 7000 m che il "
           "formato aggiunge dopo la fine)\n    i profili la riempiono con il loro ultimo valore, "
           "tranne i tratti 2618-2620, che nessuna riga scrive\n",
           "  da    117900 m     0 ‰    (tratti 2358-2479)\n"
           "  da    124000 m     0 ‰    (tratti 2480-2617)  coda oltre la fine del percorso\n"
           "  da    130900 m     -      (tratti 2618-2620)  coda: nessuna riga scrive questi "
           "tratti "
           "(byte 0)\n",
       }) {
    EXPECT_NE(o.find(atteso), std::string::npos) << atteso << "\n--- in:\n" << o;
  }
  for (const char* s : kStazioni) EXPECT_NE(o.find(s), std::string::npos) << s;
  EXPECT_EQ(o.find("Avvisi"), std::string::npos);

  // Any of the three files, all three, or the folder: the same scenario.
  for (const std::vector<std::string>& operandi :
       {std::vector<std::string>{prova::kFileTratti},
        {prova::kFileTracciato},
        {prova::kFileTratti, prova::kFileTracciato, prova::kFileElenco}}) {
    EXPECT_EQ(esegui_programma({"mostra", operandi[0]}, d).out, o) << operandi[0];
  }
  const prova::Risultato cartella = esegui_programma({"mostra", d.string()}, d);
  EXPECT_EQ(cartella.stato, 0);
  EXPECT_NE(cartella.out.find("Orario (18 stazioni)"), std::string::npos);
}

TEST(Mostra, CodiciNonValidiQuandoNomeOTrenoCambiano) {
  // The train number in the table becomes "3348": both codes no longer match it (the fourth
  // key character is one less: 4 less for the weighted sum, 1 less for the plain one).
  prova::CartellaTemporanea t;
  std::string sim = prova::leggi(prova::cartella_incorporata() / prova::kFileElenco);
  const size_t treno = sim.rfind(std::string("\x04\x00", 2) + "3349");
  ASSERT_NE(treno, std::string::npos);
  sim[treno + 5] = '8';
  prova::scrivi(t / (prova::kNome + "_3348.sim"), sim);
  fs::copy_file(prova::cartella_incorporata() / prova::kFileTratti,
                t / (prova::kNome + "_3348.dat"));
  const prova::Risultato r = esegui_programma({"mostra", prova::kNome + "_3348.sim"}, t.percorso());
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_NE(r.out.find("  codice_gara_st  voce 85 orario      33881  atteso  33877  NON VALIDO\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("  codice_gara_og  tratto 1 valore_2    2452  atteso   2451  NON VALIDO\n"),
            std::string::npos);
  EXPECT_NE(r.out.find("  il simulatore rifiuta questi file\n"), std::string::npos);
  // Without the route plan beside it, the plan is reported missing.
  EXPECT_NE(r.out.find("  tracciato  -: non trovato\n"), std::string::npos);
}

TEST(Mostra, TrattiUnoPerRigaNellUnitaDellAutore) {
  // Each stretch from its start; speed and gradient in km/h and per mille; the object as its
  // line wrote it, at the position written (one stretch before, for a point object).
  const prova::Risultato r = esegui_programma({"mostra", prova::kFileTratti, "--tratti", "928-929"},
                                              prova::cartella_incorporata());
  ASSERT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(r.out,
            "tratto      da oggetto                    valore_1 valore_2 valore_3 valore_4 "
            "tempo_segnale preavviso montagna velocita pendenza aderenza  oggetto nei sorgenti\n"
            "           (m)                                                                      "
            "                             (km/h)      (‰)\n"
            "   928   46400   3 inizio_rallentamento         80       80        1        0      "
            "       0         0        0      105        2       88  rallentamento (inizio) a "
            "46350 m: v 80 km/h, l 1950 m, f_tt 1, f_ta 0, d_v 80\n"
            "   929   46450   1 segnale                      42       11       11        8      "
            "       0         0        0      105        2       88  segnale a 46400 m: sx 2, s1 "
            "4, s2 1, s3 1, rapp 0, dx 2, d1 2, d2 1, d3 1, tempo 0 s\n");

  // The tail: its last three stretches have no profile value.
  const prova::Risultato coda = esegui_programma(
      {"mostra", prova::kFileTratti, "--tratti", "2617-2618"}, prova::cartella_incorporata());
  EXPECT_NE(coda.out.find("  2617  130850   0 libero                        0        0        0"
                          "        0             0         0        0       30        0       90"
                          "  [coda]\n"),
            std::string::npos)
      << coda.out;
  EXPECT_NE(coda.out.find("        0        -        -        -  [coda senza profilo]\n"),
            std::string::npos)
      << coda.out;
}

TEST(Mostra, JsonConOgniCampo) {
  const prova::Risultato r =
      esegui_programma({"mostra", "--json", prova::kFileElenco}, prova::cartella_incorporata());
  ASSERT_EQ(r.stato, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["nome"], prova::kNome);
  EXPECT_EQ(j["treno"], "3349");
  EXPECT_EQ(j["codici_controllo"]["validi"], true);
  ASSERT_EQ(j["stazioni"].size(), std::size(kStazioni));
  for (size_t i = 0; i < std::size(kStazioni); ++i)
    EXPECT_EQ(j["stazioni"][i]["nome"], kStazioni[i]);
  EXPECT_EQ(j["segnali"].size(), 44u);
  EXPECT_EQ(j["rallentamenti"].size(), 5u);
  EXPECT_EQ(j["elenco"].size(), 87u);
  EXPECT_EQ(j["elenco"][85]["orario"], 33881);
  // Each entry names its role, and what its fields hold there.
  EXPECT_EQ(j["elenco"][85]["gruppo"], "intestazione");
  EXPECT_EQ(j["elenco"][85]["ruoli"]["orario"], "codice_gara_st");
  EXPECT_EQ(j["elenco"][84]["ruoli"]["campo_2"], "lunghezza");
  EXPECT_EQ(j["elenco"][81]["gruppo"], "sezione_km");
  EXPECT_EQ(j["elenco"][1]["gruppo"], "stazione");
  EXPECT_EQ(j["elenco"][1]["ruoli"]["campo_3"], "posizione");
  EXPECT_EQ(j["elenco"][1]["ruoli"]["testo"], "nome");
  const auto& cartello = j["elenco"][j["cartelli"][0]["voce"].get<size_t>()];
  EXPECT_EQ(cartello["gruppo"], "cartello");
  EXPECT_EQ(cartello["ruoli"], nlohmann::json::parse(R"({"testo": "testo"})"));
  EXPECT_TRUE(j["elenco"][0]["gruppo"].is_null());
  EXPECT_TRUE(j["elenco"][0]["ruoli"].empty());
  ASSERT_EQ(j["tratti"].size(), 2621u);
  // A stretch from its start, its fields in the author's units with the stored numbers beside
  // them, and its object as the line wrote it.
  const auto& segnale = j["tratti"][929];
  EXPECT_EQ(segnale["da"], 46450);
  EXPECT_EQ(segnale["parte"], "percorso");
  EXPECT_EQ(segnale["valore_1"], 42);
  EXPECT_EQ(segnale["nome_oggetto"], "segnale");
  EXPECT_EQ(segnale["velocita"], 105);
  EXPECT_EQ(segnale["pendenza"], 2);
  EXPECT_EQ(segnale["memorizzati"],
            nlohmann::json::parse(R"({"velocita": 21, "pendenza": 102, "aderenza": 88})"));
  EXPECT_EQ(segnale["sorgente"]["chiave"], "segnale");
  EXPECT_EQ(segnale["sorgente"]["posizione"], 46400);
  EXPECT_EQ(segnale["sorgente"]["valori"]["d1"], 2);
  // The tail: marked, and without profile values on its last three stretches.
  EXPECT_EQ(j["percorso"]["coda"], nlohmann::json::parse(R"({"metri": 7000, "primo_tratto": 2480,
            "da": 124000, "primo_tratto_senza_profilo": 2618})"));
  EXPECT_EQ(j["tratti"][2480]["parte"], "coda");
  EXPECT_EQ(j["tratti"][2618]["parte"], "senza_profilo");
  EXPECT_TRUE(j["tratti"][2618]["pendenza"].is_null());
  EXPECT_EQ(j["tratti"][2618]["memorizzati"]["pendenza"], 0);
  const auto& pendenze = j["profili"]["pendenza"];
  EXPECT_EQ(pendenze.back(), nlohmann::json::parse(R"({"da": 130900, "primo_tratto": 2618,
            "ultimo_tratto": 2620, "parte": "senza_profilo", "valore": null, "memorizzato": 0})"));
  EXPECT_EQ(j["punti_codice"][0]["posizione"].get<int>() % 50, 0);
  EXPECT_EQ(j["rallentamenti"][0]["lunghezza"], 1950);
  EXPECT_EQ(j["rallentamenti"][0]["posizione_inizio"], 46350);
  // The plan keeps its three kinds of value: integer, double, empty.
  EXPECT_EQ(j["tracciato"]["punti"], 131001);
  EXPECT_TRUE(j["tracciato"]["y"][1].is_number_integer());
  EXPECT_TRUE(j["tracciato"]["y"][2].is_number_float());
  EXPECT_TRUE(j["tracciato"]["y"][131000].is_null());
  // Written piece by piece, laid out as the whole document dumps.
  EXPECT_EQ(nlohmann::ordered_json::parse(r.out).dump(1) + "\n", r.out);

  const prova::Risultato parte = esegui_programma(
      {"mostra", "--json", "--tratti=929", prova::kFileElenco}, prova::cartella_incorporata());
  const auto k = nlohmann::json::parse(parte.out);
  ASSERT_EQ(k["tratti"].size(), 1u);
  EXPECT_EQ(k["tratti"][0]["tratto"], 929);
}

// Real documents agree with doc/mostra.schema.json: the embedded scenario without its plan (a
// signal, a slowdown, the tail), its stretches alone, a stretch of a kind the model does not know,
// and a small compiled route with its plan. Checked by tests/strumenti/valida_json.py
// (Debian's python3-jsonschema); a Windows test has no Python to start.
TEST(Mostra, JsonSecondoLoSchema) {
#if defined(_WIN32)
  GTEST_SKIP() << "nessun Python nel test per Windows";
#else
  prova::CartellaTemporanea t;
  const fs::path& d = prova::cartella_incorporata();
  fs::create_directories(t / "senza_tracciato");
  fs::create_directories(t / "solo_tratti");
  fs::create_directories(t / "piccolo");
  for (const std::string& f : {prova::kFileElenco, prova::kFileTratti}) {
    fs::copy_file(d / f, t / "senza_tracciato" / f);
  }
  // Stretch 5's object becomes kind 99, which no line writes.
  std::string dat = prova::leggi(d / prova::kFileTratti);
  dat[5 * 15] = 99;
  prova::scrivi(t / "solo_tratti" / prova::kFileTratti, dat);
  prova::scrivi(t / "Piccolo_linea.txt",
                "[generale]\r\nlunghezza percorso, 1000\r\n[curve]\r\ncurvad3, 200, 300\r\n"
                "[fine]\r\n");
  prova::scrivi(t / "Piccolo_1-.txt",
                "[generale]\r\nstazione, 500, 24, 300, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, A\r\n"
                "[fine]\r\n");
  ASSERT_EQ(esegui_programma({"compila", "Piccolo_linea.txt", "Piccolo_1-.txt", "--dir", "piccolo"},
                             t.percorso())
                .stato,
            0);
  const struct {
    std::vector<std::string> argomenti;
    const char* documento;
  } casi[] = {
      {{"mostra", "--json", "--tratti=920-935", "senza_tracciato"}, "oggetti.json"},
      {{"mostra", "--json", "--tratti=2610-2620", "senza_tracciato"}, "coda.json"},
      {{"mostra", "--json", "--tratti=0-10", "solo_tratti/" + prova::kFileTratti}, "tratti.json"},
      {{"mostra", "--json", "piccolo"}, "piccolo.json"},
  };
  std::string documenti;
  for (const auto& c : casi) {
    const prova::Risultato r = esegui_programma(c.argomenti, t.percorso());
    ASSERT_EQ(r.stato, 0) << c.documento << ": " << r.err;
    prova::scrivi(t / c.documento, r.out);
    documenti += std::string(" ") + c.documento;
  }
  const std::string sorgenti = COMPATTATORE_SORGENTI;
  const prova::Risultato v = esegui_programma(
      {"-c", "python3 '" + sorgenti + "/tests/strumenti/valida_json.py' --schema '" + sorgenti +
                 "/doc/mostra.schema.json' --documenti" + documenti},
      t.percorso(), false, "/bin/sh");
  EXPECT_EQ(v.stato, 0) << v.err;
  // The unknown kind is named as such.
  const auto j = nlohmann::json::parse(prova::leggi(t / "tratti.json"));
  EXPECT_TRUE(j["tratti"][5]["sorgente"]["chiave"].is_null());
  EXPECT_NE(j["tratti"][5]["sorgente"]["descrizione"].get<std::string>().find("sconosciuto"),
            std::string::npos);
#endif
}

TEST(Mostra, RifiutiConStato1) {
  prova::CartellaTemporanea t;
  const std::string dat = prova::leggi(prova::cartella_incorporata() / prova::kFileTratti);
  prova::scrivi(t / "Corto_1.dat", dat.substr(0, 100));
  prova::scrivi(t / "Testo_1.sim", "[generale]\r\nlunghezza percorso, 1000\r\n");
  prova::scrivi(t / "note.txt", "x");
  fs::create_directory(t / "vuota");
  const struct {
    std::vector<std::string> argomenti;
    const char* messaggio;
  } casi[] = {
      {{"mostra", "Corto_1.dat"},
       "compattatore mostra: Corto_1.dat: byte 90: il file finisce nel tratto 6: attesi 15 byte, "
       "ne restano 10 (la dimensione del file, 100 byte, non è un multiplo di 15)\n"},
      {{"mostra", "Testo_1.sim"},
       "compattatore mostra: Testo_1.sim: byte 16: il file finisce qui: attesi 26478 byte per il "
       "testo della voce 0"},
      {{"mostra", "Manca_1.sim"}, "compattatore mostra: il file 'Manca_1.sim' non esiste\n"},
      {{"mostra", "note.txt"}, "compattatore mostra: 'note.txt' non è un file compilato"},
      {{"mostra", "vuota"}, "compattatore mostra: la cartella 'vuota' non contiene file compilati"},
      {{"mostra", "Corto_1.dat", "Corto_1.dat"}, "compattatore mostra: due file di tratti"},
      {{"mostra"}, "compattatore mostra: manca il file compilato da mostrare\n"},
      {{"mostra", "Corto_1.dat", "--tratti", "9-3"},
       "compattatore mostra: --tratti vuole un tratto o un intervallo come 120-130, non '9-3'\n"},
  };
  for (const auto& c : casi) {
    const prova::Risultato r = esegui_programma(c.argomenti, t.percorso());
    EXPECT_EQ(r.stato, 1) << c.argomenti[1];
    EXPECT_EQ(r.out, "") << c.argomenti[1];
    EXPECT_EQ(r.err.rfind(c.messaggio, 0), 0u) << r.err;
  }
  const prova::Risultato oltre = esegui_programma(
      {"mostra", prova::kFileTratti, "--tratti", "2600-2621"}, prova::cartella_incorporata());
  EXPECT_EQ(oltre.stato, 1);
  EXPECT_NE(oltre.err.find("il tratto 2621 non esiste: i tratti vanno da 0 a 2620"),
            std::string::npos);
}

}  // namespace
}  // namespace compattatore
