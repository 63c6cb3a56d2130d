#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "model/modello.h"
#include "model/regole.h"
#include "parse/fasi.h"
#include "parse/lettore.h"
#include "support/supporto.h"

namespace compattatore {
namespace {

// A train phase after a line phase that sized `tratti` for `lunghezza` metres (124000: stretches
// 0 to 2620), recording every code set.
struct Prova {
  Modello modello;
  prova::RegistroErrori registro;
  std::vector<Segnalazione>& codici = registro.segnalazioni;
  int32_t cursore_cartelli = voce::primo_cartello;  // as the line phase left it

  explicit Prova(int32_t lunghezza = 124000) { modello.crea_tratti(lunghezza, false); }
  Prova(const Prova&) = delete;

  void leggi_testo(const std::string& testo) {
    LettoreVoci lettore(testo, "treno.txt");
    fase_treno(modello, registro, lettore, OpzioniTreno{cursore_cartelli});
  }
  int32_t codice_errore() const { return numero(registro.codice_errore()); }
  int32_t posizione_errore() const { return registro.posizione_errore(); }
  // A train source of these lines, from line 2 (see prova::sorgente_treno).
  void leggi(const std::vector<std::string>& righe) { leggi_testo(prova::sorgente_treno(righe)); }
  Modello& m() { return modello; }
  Tratto& t(int i) { return modello.tratti.at(static_cast<size_t>(i)); }
  Voce& v(int i) { return modello.elenco.at(static_cast<size_t>(i)); }
};

// A station line with the given position, type, platform length, items 5 and 6 and name.
std::string stazione(int p, int tipo, int l, int f4 = 0, int f3 = 0,
                     const std::string& nome = "Stazione") {
  return "stazione, " + std::to_string(p) + ", " + std::to_string(tipo) + ", " + std::to_string(l) +
         ", 0, " + std::to_string(f4) + ", " + std::to_string(f3) +
         ", 0,0,0, 4,1,1, 30, 6,23, 0, " + nome;
}

// ---- profiles ----

TEST(FaseTreno, ProfiloVelocita) {
  Prova p;
  p.leggi({"velocita,       0,    65", "VeLoCiTa,    2050,    95"});
  EXPECT_EQ(p.codice_errore(), 0);
  for (int s = 0; s <= 40; ++s) ASSERT_EQ(p.t(s).velocita, 13) << s;
  for (int s = 41; s <= 2617; ++s) ASSERT_EQ(p.t(s).velocita, 19) << s;
  for (int s = 2618; s <= 2620; ++s) EXPECT_EQ(p.t(s).velocita, 0) << s;
}

TEST(FaseTreno, ProfiloVelocitaPassoIndietroScriveUnTratto) {
  Prova p;
  // The second item lies before the cursor: it still writes one stretch with the previous speed.
  p.leggi({"velocita, 1000, 50", "velocita, 500, 80", "velocita, 2000, 62"});
  for (int s = 0; s <= 19; ++s) ASSERT_EQ(p.t(s).velocita, 0) << s;
  EXPECT_EQ(p.t(20).velocita, 10);
  for (int s = 21; s <= 39; ++s) ASSERT_EQ(p.t(s).velocita, 16) << s;
  EXPECT_EQ(p.t(40).velocita, 12);  // 62 / 5 = 12.4
  EXPECT_EQ(p.t(2617).velocita, 12);
}

TEST(FaseTreno, ProfiloAderenzaBassi8Bit) {
  Prova p;
  p.leggi({"aderenza, 0, 300", "aderenza, 100, 70", "aderenza, 9000, -1"});
  EXPECT_EQ(p.t(0).aderenza, 44);
  EXPECT_EQ(p.t(1).aderenza, 44);
  for (int s = 2; s <= 179; ++s) ASSERT_EQ(p.t(s).aderenza, 70) << s;
  for (int s = 180; s <= 2617; ++s) ASSERT_EQ(p.t(s).aderenza, 255) << s;
  EXPECT_EQ(p.t(2618).aderenza, 0);
}

TEST(FaseTreno, VelocitaFuoriDalByteEGuasto) {
  {
    Prova p;  // written by the next speed item
    EXPECT_THROW(p.leggi({"velocita, 0, 50", "velocita, 1000, 1300", "velocita, 2000, 50"}),
                 GuastoEsecuzione);
    EXPECT_EQ(p.t(19).velocita, 10);
    EXPECT_EQ(p.t(20).velocita, 0);
  }
  {
    Prova p;  // written by the end steps
    EXPECT_THROW(p.leggi({"velocita, 0, 1300"}), GuastoEsecuzione);
  }
  {
    Prova p;
    EXPECT_THROW(p.leggi({"velocita, 0, -5"}), GuastoEsecuzione);
  }
  Prova p;
  p.leggi({"velocita, 0, 1275"});  // 255, the largest
  EXPECT_EQ(p.t(100).velocita, 255);
}

TEST(FaseTreno, AderenzaOltreLUltimoTrattoEGuasto) {
  // Each item at the same position still moves the adhesion cursor by one stretch: past the
  // last one the write is refused as a fault, never made outside the array.
  Prova p(0);  // stretches 0 to 140
  EXPECT_THROW(p.leggi(std::vector<std::string>(145, "aderenza, 100, 70")), GuastoEsecuzione);
  EXPECT_EQ(p.t(140).aderenza, 70);
}

// ---- train figures ----

TEST(FaseTreno, FigureDelTreno) {
  Prova p;
  p.leggi({"numero vetture,    6", "percentuale massa frenata,    120", "sabbia,    100",
           "orologio,    6               13            40 "});
  EXPECT_EQ(p.v(voce::figure_treno).campo_3, 6);
  EXPECT_EQ(p.v(voce::figure_treno).campo_1, 120);
  EXPECT_EQ(p.v(voce::treno).intero_1, 100);
  EXPECT_EQ(p.v(voce::treno).intero_3, 6);
  EXPECT_EQ(p.v(voce::treno).intero_4, 13);
  EXPECT_EQ(p.v(voce::treno).intero_5, 40);
  EXPECT_EQ(p.codice_errore(), 0);
}

TEST(FaseTreno, UnaVoceConPiuParoleChiave) {
  Prova p;
  // Tests in their order: "vetture" reads first, then "sabbia".
  p.leggi({"SABBIA e Vetture, 7, 55"});
  EXPECT_EQ(p.v(voce::figure_treno).campo_3, 7);
  EXPECT_EQ(p.v(voce::treno).intero_1, 55);
}

TEST(FaseTreno, NumeriTroppoGrandiPerIlCampoSonoGuasti) {
  const std::vector<std::string> righe = {
      "orologio, 40000, 0, 0",
      "sabbia, 32768",
      "numero vetture, 3000000000",
      stazione(5000, 300, 300),
      "stazione, 5000, 24, 300, 0, 0, 0, 70000,0,0, 4,1,1, 30, 6,23, 0, X",
      "stazione, 5000, 24, 300, 0, 0, 0, 0,0,0, 4,1,1, 30, 600000,0, 0, X",
  };
  for (const auto& r : righe) {
    Prova p;
    EXPECT_THROW(p.leggi({r}), GuastoEsecuzione) << r;
  }
  Prova p;
  p.leggi({"orologio, 32767, -32768, 0", "sabbia, -1"});
  EXPECT_EQ(p.v(voce::treno).intero_3, 32767);
  EXPECT_EQ(p.v(voce::treno).intero_4, -32768);
  EXPECT_EQ(p.v(voce::treno).intero_1, -1);
}

// ---- header, end of file, dashes ----

TEST(FaseTreno, VociPrimaDellIntestazioneIgnorate) {
  Prova p;
  p.leggi_testo(prova::righe({"numero vetture, 6", "velocita, 0, 50", "[generale]", "sabbia, 10",
                              "[fine]", "riferimento fine del file"}));
  EXPECT_EQ(p.v(voce::figure_treno).campo_3, 0);
  EXPECT_EQ(p.t(100).velocita, 0);
  EXPECT_EQ(p.v(voce::treno).intero_1, 10);
}

TEST(FaseTreno, SenzaIntestazioneNienteMemorizzato) {
  for (const std::string& testo :
       {prova::righe({"numero vetture, 6", "velocita, 0, 50", "aderenza, 0, 70", "[fine]"}),
        std::string{}}) {
    Prova p;
    p.leggi_testo(testo);
    EXPECT_EQ(p.codice_errore(), 0);
    EXPECT_TRUE(p.codici.empty());
    EXPECT_EQ(p.m().elenco, Modello{}.elenco);
    Modello vuoto;
    vuoto.crea_tratti(124000, false);
    EXPECT_EQ(p.m().tratti, vuoto.tratti);
  }
}

TEST(FaseTreno, UltimaVoceDelFile) {
  {
    Prova p;  // a single keyword item on the last line is never interpreted
    p.leggi_testo("[generale]\r\nsabbia, 10\r\nnumero vetture\r\n");
    EXPECT_EQ(p.codice_errore(), 0);
    EXPECT_EQ(p.v(voce::treno).intero_1, 10);
  }
  for (const std::string fine : {"", "\r\n"}) {
    Prova p;  // a last line with numbers is processed
    p.leggi_testo("[generale]\r\nsabbia, 10" + fine);
    EXPECT_EQ(p.v(voce::treno).intero_1, 10);
  }
  {
    Prova p;  // its numbers missing: a read past the end
    EXPECT_THROW(p.leggi_testo("[generale]\r\nvelocita, 100"), GuastoEsecuzione);
  }
}

TEST(FaseTreno, RegolaDelTrattino) {
  Prova p;
  p.leggi({"---- figure ----", "numero vetture, 6", "- sabbia, 5"});
  EXPECT_EQ(p.v(voce::figure_treno).campo_3, 6);
  EXPECT_EQ(p.v(voce::treno).intero_1, 0);  // "- sabbia" passed over; 5 matches nothing

  Prova q;  // at most two items in a row are passed over; the third is tested as it is
  q.leggi({"-a-, -b-, -c- vetture, 6", "-a-, -b- sabbia, 5"});
  EXPECT_EQ(q.v(voce::figure_treno).campo_3, 6);
  EXPECT_EQ(q.v(voce::treno).intero_1, 0);
}

// ---- stations ----

TEST(FaseTreno, StazioneDiEsempioTuttiIValori) {
  Prova p;
  p.leggi({"stazione,       0,  8,  400,  0, 0, 0,  1,1,0,  4,1,1,    1,   6,14, 0, VITERBO P.F."});
  Voce atteso;
  atteso.campo_3 = 0;
  atteso.tipo_voce = 8;
  atteso.intero_1 = 1;
  atteso.intero_2 = 1;
  atteso.intero_3 = 4;
  atteso.intero_4 = 1;
  atteso.intero_5 = 1;
  atteso.flag_2 = 1;
  atteso.orario = (6 * 60 + 14) * 60;
  atteso.testo = "VITERBO P.F.";
  atteso.campo_1 = -400;
  atteso.campo_2 = 400;
  EXPECT_EQ(p.v(1), atteso);
  EXPECT_EQ(p.t(7).oggetto, oggetto::fermata);
  EXPECT_EQ(p.t(7).valore_1, 1);
  EXPECT_EQ(p.t(6).preavviso, 81);
  EXPECT_EQ(p.t(5).preavviso, 82);
  EXPECT_EQ(p.t(4).preavviso, 83);
  EXPECT_EQ(p.t(3).preavviso, 84);
  EXPECT_EQ(p.t(2).preavviso, 0);
  EXPECT_EQ(p.codice_errore(), 0);
}

TEST(FaseTreno, StazioniDelloScenario) {
  Prova p;
  p.leggi({"stazione,       0,  8,  400,  0, 0, 0,  1,1,0,  4,1,1,    1,   6,14, 0, VITERBO P.F.",
           "stazione,   22850, 24,  300,  0, 1, 1,  0,0,0,  4,1,1,   30,   6,45, 0, Vetralla",
           "stazione,  118650,  6,  500,  0, 1, 1,  0,0,0,  4,1,1,    0,   8,15,30, ROMA TERMINI"});
  EXPECT_EQ(p.codice_errore(), 0);
  const Voce& b = p.v(2);
  EXPECT_EQ(b.campo_1, 22700);
  EXPECT_EQ(b.campo_2, 23050);
  EXPECT_EQ(b.flag_3, 1);  // not the first station: kept
  EXPECT_EQ(b.flag_4, 0);  // platform below 600 m
  EXPECT_EQ(p.t(460).oggetto, oggetto::fermata);
  EXPECT_EQ(p.t(460).valore_1, 2);
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(p.t(460 - k).preavviso, 80 + k) << k;

  const Voce& c = p.v(3);
  EXPECT_EQ(c.campo_1, 118650 - 500);
  EXPECT_EQ(c.campo_2, 118650 + 150);
  EXPECT_EQ(c.flag_3, 0);
  EXPECT_EQ(c.flag_4, 0);
  EXPECT_EQ(c.orario, (8 * 60 + 15) * 60 + 30);
  EXPECT_EQ(c.testo, "ROMA TERMINI");
  EXPECT_EQ(p.t(2375).oggetto, oggetto::fermata);
  EXPECT_EQ(p.t(2375).valore_1, 3);
  for (int s = 2370; s <= 2374; ++s) EXPECT_EQ(p.t(s).preavviso, 0) << s;
}

TEST(FaseTreno, ZoneDiStazionePerTipo) {
  const struct {
    int tipo, f3;
    int32_t campo_1, campo_2;
    int fermata;  // 0: none
    bool preavviso;
  } casi[] = {
      {5, 1, 4700, 5150, 102, false}, {6, 0, 4700, 5150, 102, false},
      {7, 1, 4700, 5300, 105, true},  {8, 0, 4700, 5300, 105, true},
      {24, 0, 4850, 5150, 102, true}, {24, 1, 4850, 5200, 103, true},
      {1, 0, 4850, 5150, 102, true},  {25, 0, 4850, 5150, 0, false},
      {27, 1, 4850, 5200, 0, false},
  };
  for (const auto& c : casi) {
    Prova p;
    p.leggi({stazione(5000, c.tipo, 300, 0, c.f3)});
    EXPECT_EQ(p.codice_errore(), 0) << c.tipo;
    EXPECT_EQ(p.v(1).campo_1, c.campo_1) << c.tipo;
    EXPECT_EQ(p.v(1).campo_2, c.campo_2) << c.tipo;
    EXPECT_EQ(p.v(1).flag_3, 0) << c.tipo;  // first station
    int fermate = 0, preavvisi = 0;
    for (const Tratto& t : p.m().tratti) {
      fermate += t.oggetto == oggetto::fermata;
      preavvisi += t.preavviso != 0;
    }
    EXPECT_EQ(fermate, c.fermata ? 1 : 0) << c.tipo;
    if (c.fermata) {
      EXPECT_EQ(p.t(c.fermata).oggetto, oggetto::fermata) << c.tipo;
    }
    EXPECT_EQ(preavvisi, c.preavviso ? 4 : 0) << c.tipo;
    if (c.preavviso) {
      EXPECT_EQ(p.t(c.fermata - 4).preavviso, 84) << c.tipo;
    }
  }
}

TEST(FaseTreno, BandiereDellaPrimaStazione) {
  Prova p;
  p.leggi({stazione(5000, 24, 600, 1, 1), stazione(10000, 24, 600, 1, 1),
           stazione(20000, 24, 500, 1, 1)});
  EXPECT_EQ(p.v(1).flag_3, 0);
  EXPECT_EQ(p.v(1).flag_4, 0);
  EXPECT_EQ(p.v(1).campo_2, 5350);  // still 50 m longer
  EXPECT_EQ(p.v(2).flag_3, 1);
  EXPECT_EQ(p.v(2).flag_4, 1);
  EXPECT_EQ(p.v(3).flag_3, 1);
  EXPECT_EQ(p.v(3).flag_4, 0);  // platform below 600 m
}

TEST(FaseTreno, NomeDiStazioneFinoA65535Byte) {
  Prova p;
  const std::string lungo(65535, 'A');
  p.leggi({stazione(5000, 24, 300, 0, 0, lungo)});
  EXPECT_EQ(p.v(1).testo, lungo);
  EXPECT_EQ(p.codice_errore(), 0);

  Prova q;
  EXPECT_THROW(q.leggi({stazione(5000, 24, 300, 0, 0, lungo + "A")}), GuastoEsecuzione);
  EXPECT_EQ(q.v(1).orario, (6 * 60 + 23) * 60);  // read before the name
  EXPECT_EQ(q.v(1).testo, "");
}

TEST(FaseTreno, StazioneTipoFuoriDalByteConservaLaPosizione) {
  Prova p;
  EXPECT_THROW(p.leggi({stazione(5000, 300, 300)}), GuastoEsecuzione);
  EXPECT_EQ(p.v(1).campo_3, 5000);
  EXPECT_EQ(p.v(1).tipo_voce, 0);
}

// The code last set, as the diagnostics received it: its position when it records one, and the
// source line.
void controlla_fermata_di_fase(Prova& p, int32_t codice, std::optional<int32_t> posizione,
                               int riga) {
  EXPECT_EQ(p.codice_errore(), codice);
  ASSERT_FALSE(p.codici.empty());
  EXPECT_EQ(numero(p.codici.back().codice), codice);
  EXPECT_EQ(p.codici.back().posizione, posizione);
  EXPECT_EQ(p.codici.back().luogo.file, "treno.txt");
  EXPECT_EQ(p.codici.back().luogo.riga, riga);
  EXPECT_EQ(p.posizione_errore(), posizione.value_or(0));
}

// A station entry stopped after its position (and its type), the rest never read.
Voce fino_alla_posizione(int32_t p, uint8_t tipo = 0) {
  Voce v;
  v.campo_3 = p;
  v.tipo_voce = tipo;
  return v;
}

// The entry of a `stazione(p, tipo, l, 0, 0, nome)` line read whole, with its zone.
Voce letta(int32_t p, uint8_t tipo, int32_t inizio_zona, int32_t fine_zona,
           const std::string& nome = "Stazione") {
  Voce v = fino_alla_posizione(p, tipo);
  v.campo_1 = inizio_zona;
  v.campo_2 = fine_zona;
  v.intero_3 = 4;
  v.intero_4 = 1;
  v.intero_5 = 1;
  v.flag_2 = 30;
  v.orario = (6 * 60 + 23) * 60;
  v.testo = nome;
  return v;
}

std::vector<std::string> ottanta_stazioni() {
  std::vector<std::string> r;
  for (int k = 1; k <= 80; ++k) r.push_back(stazione(1000 * k, 27, 100));
  return r;
}

TEST(FaseTreno, ControlliDelleStazioni) {
  struct Fermata {
    int tratto, stazione;
    bool operator==(const Fermata&) const = default;
  };
  // The lines go between "velocita, 0, 50" (line 2) and "sabbia, 10".
  const struct {
    const char* caso;
    std::vector<std::string> righe;
    int32_t codice;  // 0: accepted
    std::optional<int32_t> posizione = std::nullopt;
    int riga = 0;                       // the line that sets the code
    int indice = 1;                     // the station entry looked at
    Voce voce;                          // what it holds afterwards
    std::vector<Fermata> fermate = {};  // stopping points: stretch and station number
    std::vector<int> preavvisi = {};    // stretches with approach bytes
    int32_t cursore_cartelli = voce::primo_cartello;
    std::string cartello = {};  // a board text the line phase left in entry 1
  } casi[] = {
      {.caso = "8: posizione non multipla di 50",
       .righe = {stazione(5025, 24, 300)},
       .codice = 8,
       .posizione = 5025,
       .riga = 3,
       .voce = fino_alla_posizione(5025)},
      {.caso = "9: banchina non multipla di 100",
       .righe = {stazione(5000, 24, 250)},
       .codice = 9,
       .posizione = 5000,
       .riga = 3,
       .voce = fino_alla_posizione(5000, 24)},
      {.caso = "24: fermata troppo vicina all'inizio, la voce resta intera",
       .righe = {stazione(50, 24, 100, 0, 0, "Capolinea")},
       .codice = 24,
       .riga = 3,
       .voce = letta(50, 24, 0, 100, "Capolinea")},
      {.caso = "15: oltre il margine di 800 m dalla fine",
       .righe = {stazione(130250, 27, 300)},
       .codice = 15,
       .posizione = 130250,
       .riga = 3,
       .voce = fino_alla_posizione(130250)},
      {.caso = "ultima posizione entro il margine",
       .righe = {stazione(130200, 27, 300)},
       .codice = 0,
       .voce = letta(130200, 27, 130050, 130350)},
      {.caso = "22: zone a meno di 350 m (una zona di tipo 27 conta)",
       .righe = {stazione(5000, 27, 300), stazione(5400, 24, 300, 0, 0, "B")},
       .codice = 22,
       .posizione = 5400,
       .riga = 4,
       .indice = 2,
       .voce = letta(5400, 24, 5250, 5550, "B"),
       .fermate = {{110, 2}},
       .preavvisi = {106, 107, 108, 109}},
      {.caso = "zone a 350 m esatti",
       .righe = {stazione(5000, 27, 300), stazione(5650, 24, 300)},
       .codice = 0,
       .indice = 2,
       .voce = letta(5650, 24, 5500, 5800),
       .fermate = {{115, 2}},
       .preavvisi = {111, 112, 113, 114}},
      {.caso = "7: punto di cambio codice sulla fermata",
       .righe = {stazione(5000, 24, 300), "abbattimento, 5100, 270"},
       .codice = 7,
       .posizione = 5100,
       .riga = 4,
       .voce = letta(5000, 24, 4850, 5150),
       .fermate = {{102, 1}},
       .preavvisi = {98, 99, 100, 101}},
      {.caso = "10: con 77 cartelli, posto per due stazioni",
       .righe = {stazione(5000, 24, 300), stazione(10000, 24, 300, 0, 0, "Seconda")},
       .codice = 10,
       .riga = 4,
       .indice = 2,
       .voce = letta(10000, 24, 9850, 10150, "Seconda"),
       .fermate = {{102, 1}, {202, 2}},
       .preavvisi = {98, 99, 100, 101, 198, 199, 200, 201},
       .cursore_cartelli = 3},
      {.caso = "10: senza cartelli la 79a stazione è memorizzata, poi rifiutata",
       .righe = ottanta_stazioni(),
       .codice = 10,
       .riga = 2 + 79,
       .indice = 79,
       .voce = letta(79000, 27, 78950, 79050)},
      {.caso = "10: con 79 cartelli la voce 1 è ancora libera",
       .righe = {stazione(5000, 24, 300)},
       .codice = 10,
       .riga = 3,
       .voce = letta(5000, 24, 4850, 5150),
       .fermate = {{102, 1}},
       .preavvisi = {98, 99, 100, 101},
       .cursore_cartelli = 1},
      {.caso = "10: con 80 cartelli la voce 1 tiene un testo che resta",
       .righe = {stazione(5000, 24, 300)},
       .codice = 10,
       .riga = 3,
       .voce =
           [] {
             Voce v;
             v.testo = "(Ponte)";
             return v;
           }(),
       .cursore_cartelli = 0,
       .cartello = "(Ponte)"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.caso);
    Prova p;
    p.cursore_cartelli = c.cursore_cartelli;
    p.v(1).testo = c.cartello;
    std::vector<std::string> righe = {"velocita, 0, 50"};
    righe.insert(righe.end(), c.righe.begin(), c.righe.end());
    righe.push_back("sabbia, 10");
    p.leggi(righe);
    if (c.codice == 0) {
      EXPECT_TRUE(p.codici.empty());
      EXPECT_EQ(p.v(voce::treno).intero_1, 10);
    } else {
      controlla_fermata_di_fase(p, c.codice, c.posizione, c.riga);
      EXPECT_EQ(p.v(voce::treno).intero_1, 0);  // the line after is never read
    }
    // Code 15 leaves the main loop and the end steps still run; the other codes stop the phase.
    EXPECT_EQ(p.t(2000).velocita, c.codice == 0 || c.codice == 15 ? 10 : 0);
    EXPECT_EQ(p.v(c.indice), c.voce);
    for (int k = c.indice + 1; k <= voce::primo_cartello; ++k) {
      ASSERT_EQ(p.v(k), Voce{}) << "voce " << k;
    }
    std::vector<Fermata> fermate;
    std::vector<int> preavvisi;
    for (int s = 0; s <= 2620; ++s) {
      if (p.t(s).oggetto != oggetto::libero) {
        EXPECT_EQ(p.t(s).oggetto, oggetto::fermata) << s;
        fermate.push_back({s, p.t(s).valore_1});
      }
      if (p.t(s).preavviso != 0) preavvisi.push_back(s);
    }
    EXPECT_EQ(fermate, c.fermate);
    EXPECT_EQ(preavvisi, c.preavvisi);
  }
}

// ---- code change and cut points ----

TEST(FaseTreno, CambioETaglioCodice) {
  Prova p;
  p.t(930).oggetto = oggetto::segno_montagna;
  p.leggi({"abbattimento,   54500,   AC", "abbattimento,   46500,   270", "abbattimento, 60000, 0",
           "abbattimento, 60100, -3", "abbattimento, 60200, 70000"});
  EXPECT_EQ(p.codice_errore(), 0);
  Tratto taglio;
  taglio.oggetto = oggetto::taglio_codice;
  EXPECT_EQ(p.t(1090), taglio);
  EXPECT_EQ(p.t(1200), taglio);
  EXPECT_EQ(p.t(1202), taglio);
  EXPECT_EQ(p.t(930).oggetto, oggetto::cambio_codice);
  EXPECT_EQ(p.t(930).valore_1, 270);
  EXPECT_EQ(p.t(1204).valore_1, static_cast<int16_t>(70000 - 65536));
}

// ---- signals and slowdowns ----

TEST(FaseTreno, SegnaleERallentamentoDelFileTreno) {
  Prova p;
  p.leggi({"segnale,   46400,   2, 4, 1,  1, 0,    2,  2,1,1, 0",
           "rallentamento,   46350,    80, 1950, 1,  0,  80"});
  EXPECT_EQ(p.codice_errore(), 0);
  EXPECT_EQ(p.t(929).oggetto, oggetto::segnale);
  EXPECT_EQ(p.t(929).valore_1, 42);
  EXPECT_EQ(p.t(929).valore_4, 8);
  EXPECT_EQ(p.t(921).preavviso, 84);
  EXPECT_EQ(p.t(904).oggetto, oggetto::avviso_rallentamento);
  EXPECT_EQ(p.t(928).oggetto, oggetto::inizio_rallentamento);
  EXPECT_EQ(p.t(967).oggetto, oggetto::fine_rallentamento);
  EXPECT_EQ(p.t(967).valore_3, 1);
}

TEST(FaseTreno, CodiciDelleRoutineFermanoLaFase) {
  const struct {
    std::vector<std::string> righe;
    int32_t codice, posizione;
  } casi[] = {
      {{"segnale, 46400, 2, 4, 1, 1, 0, 2, 2, 1, 1, 0", "segnale, 46410, 1, 0,0,0,0,0,0,0,0,0"},
       16,
       46410},
      {{"segnale, 46400, 2, 4, 1, 1, 0, 2, 2, 1, 1, 0", "rallentamento, 47600, 30, 100, 0, 0, 0"},
       17,
       47600},
      {{"segnale, 46400, 2, 4, 1, 1, 0, 2, 2, 1, 1, 0", "rallentamento, 46400, 30, 100, 0, 0, 0"},
       18,
       46400},
      {{"segnale, 46400, 2, 4, 1, 1, 0, 2, 2, 1, 1, 0", "rallentamento, 46000, 30, 400, 0, 0, 0"},
       19,
       46000},
      {{"segnale, 46400, 2, 4, 1, 1, 0, 2, 2, 1, 1, 0", "rallentamento, 47650, 30, 100, 0, 1, 0"},
       20,
       47650},
  };
  for (const auto& c : casi) {
    Prova p;
    std::vector<std::string> righe = {"velocita, 0, 50"};
    righe.insert(righe.end(), c.righe.begin(), c.righe.end());
    righe.push_back("sabbia, 10");
    p.leggi(righe);
    controlla_fermata_di_fase(p, c.codice, c.posizione, 4);
    EXPECT_EQ(p.v(voce::treno).intero_1, 0) << c.codice;
    EXPECT_EQ(p.t(2000).velocita, 0) << c.codice;
    if (c.codice == 20) {
      EXPECT_EQ(p.t(930).oggetto, oggetto::avviso_rallentamento);  // 47650 - 1200
      EXPECT_EQ(p.t(954).oggetto, oggetto::inizio_rallentamento);
      EXPECT_EQ(p.t(956).oggetto, oggetto::fine_rallentamento);
    }
  }
}

TEST(FaseTreno, Codice15DellaLineaFermaAlPrimoSegnaleORallentamento) {
  for (const std::string riga :
       {"segnale, 46400, 2, 4, 1, 1, 0, 2, 2, 1, 1, 0", "rallentamento, 46400, 30, 100, 0, 0, 0"}) {
    Prova p;
    p.registro.preimposta(Codice::fuori_percorso, 777);  // left by the line phase
    p.leggi({"velocita, 0, 50", "numero vetture, 6", riga, "sabbia, 10"});
    controlla_fermata_di_fase(p, 15, 46400, 4);
    EXPECT_EQ(p.v(voce::figure_treno).campo_3, 6);
    EXPECT_NE(p.t(929).oggetto, 0) << riga;  // the object is stored
    EXPECT_EQ(p.v(voce::treno).intero_1, 0) << riga;
    EXPECT_EQ(p.t(2000).velocita, 0) << riga;  // no end steps
  }
  Prova p;  // without such lines the code stays as it was and the phase ends normally
  p.registro.preimposta(Codice::fuori_percorso, 777);
  p.leggi({"velocita, 0, 50", "abbattimento, 46500, 270", "sabbia, 10"});
  EXPECT_EQ(p.codice_errore(), 15);
  EXPECT_EQ(p.posizione_errore(), 777);
  EXPECT_EQ(p.v(voce::treno).intero_1, 10);
  EXPECT_EQ(p.t(2000).velocita, 10);
}

// ---- positions outside the route ----

TEST(FaseTreno, Codice15PosizioniFuoriDalPercorso) {
  const struct {
    std::string riga;
    int32_t posizione;
  } casi[] = {
      // the range rule: 2620 stretches, so 130900 is the last accepted position
      {"velocita, 130901, 50", 130901},
      {"aderenza, 131000, 50", 131000},
      {"segnale, 130950, 1, 0,0,0,0,0,0,0,0,0", 130950},
      {"rallentamento, 130950, 30, 0, 0, 0, 0", 130950},
      {"abbattimento, 130950, 270", 130950},
      // before the route start
      {"velocita, -50, 50", -50},
      {"aderenza, -1, 50", -1},
      {"abbattimento, -100, 270", -100},
      {"segnale, -50, 1, 0,0,0,0,0,0,0,0,0", -50},
      {"rallentamento, -50, 30, 100, 0, 0, 0", -50},
      {stazione(-100, 27, 100), -100},
      // objects that would reach outside `tratti`
      {"segnale, 300, 1, 0,0,0,0,0,0,0,0,0", 300},           // approach bytes below stretch 0
      {"rallentamento, 130000, 30, 2000, 0, 0, 0", 130000},  // end beyond the last stretch
      {stazione(130000, 8, 1200), 130000},                   // stopping point on 2623
      {stazione(129000, 24, 5000, 0, 1), 129000},
  };
  for (const auto& c : casi) {
    Prova p;
    p.leggi({"velocita, 0, 50", c.riga, "sabbia, 10"});
    controlla_fermata_di_fase(p, 15, c.posizione, 3);
    EXPECT_EQ(p.v(voce::treno).intero_1, 0) << c.riga;  // the main loop was left
    EXPECT_EQ(p.t(2000).velocita, 10) << c.riga;        // the end steps ran
    EXPECT_EQ(p.v(1), Voce{}) << c.riga;                // nothing of the item stored
    for (int s = 0; s <= 2620; ++s) {
      ASSERT_EQ(p.t(s).oggetto, 0) << c.riga << " " << s;
      ASSERT_EQ(p.t(s).preavviso, 0) << c.riga << " " << s;
    }
  }
  Prova p;  // the largest stopping stretch that fits
  p.leggi({stazione(130000, 8, 1000)});
  EXPECT_EQ(p.codice_errore(), 0);
  EXPECT_EQ(p.t(2619).oggetto, oggetto::fermata);
}

// ---- end steps ----

TEST(FaseTreno, Codice2SezioniChilometriche) {
  for (int indice : {voce::sezione_tre, voce::sezione_due, voce::sezione_uno}) {
    for (bool inizio : {true, false}) {
      Prova p;
      (inizio ? p.v(indice).campo_1 : p.v(indice).campo_2) = -25;
      p.leggi({"velocita, 0, 50"});
      EXPECT_EQ(p.codice_errore(), 2) << indice;
      ASSERT_EQ(p.codici.size(), 1u);
      EXPECT_EQ(p.codici[0].posizione, std::nullopt);
      EXPECT_EQ(p.t(2617).velocita, 10);  // the profiles are complete
    }
  }
  {
    Prova p;  // a code 15 of this phase is replaced
    p.v(voce::sezione_uno).campo_2 = 40;
    p.leggi({"velocita, 200000, 50"});
    EXPECT_EQ(p.codice_errore(), 2);
    EXPECT_EQ(p.posizione_errore(), 200000);
  }
  Prova p;
  p.v(voce::sezione_uno).campo_1 = -50;
  p.v(voce::sezione_uno).campo_2 = 41150;
  p.v(voce::sezione_uno).campo_3 = 7;  // the third value is not checked
  p.leggi({});
  EXPECT_EQ(p.codice_errore(), 0);
}

}  // namespace
}  // namespace compattatore
