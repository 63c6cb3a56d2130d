#include "decompilatore/decompila.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <span>
#include <string_view>

#include "compilazione/compila.h"
#include "formato/compilati.h"
#include "formato/lettori.h"
#include "formato/scenario_compilato.h"
#include "model/regole.h"
#include "sources/scenario.h"
#include "sources/testo.h"
#include "support/supporto.h"

namespace compattatore {
namespace {

// The three compiled files of two sources, compiled in memory by the steps `compila` runs
// (parse, code markers, check codes, the byte writers), and the codes the compile set.
struct Compilati {
  std::string tracciato;  // empty without the route plan
  std::string elenco;
  std::string tratti;
  std::vector<int32_t> codici;
  bool operator==(const Compilati& o) const {
    return tracciato == o.tracciato && elenco == o.elenco && tratti == o.tratti;
  }
};

std::optional<Compilati> compila(const std::string& linea, const std::string& treno,
                                 bool con_tracciato = true) {
  prova::RegistroErrori errori;
  OpzioniCompilazione opzioni;
  opzioni.con_tracciato = con_tracciato;
  opzioni.codifica = Codifica::cp1252;
  const Compilazione m = compila_testi(Identita{"Prova", "1"}, Sorgente::testo("linea", linea),
                                       Sorgente::testo("treno", treno), opzioni, errori);
  if (!m.completa()) return std::nullopt;
  Compilati c;
  if (con_tracciato) c.tracciato = m.byte(TipoCompilato::tracciato);
  c.elenco = m.byte(TipoCompilato::elenco);
  c.tratti = m.byte(TipoCompilato::tratti);
  c.codici = errori.numeri();
  return c;
}

// The model the readers give back from compiled bytes.
Modello rileggi(const Compilati& c) {
  Modello m;
  m.tratti = leggi_tratti(c.tratti, "tratti");
  m.elenco = leggi_elenco(c.elenco, "elenco");
  if (!c.tracciato.empty()) m.tracciato = leggi_tracciato(c.tracciato, "tracciato");
  return m;
}

// Decompiles `x` and compiles the sources again.
struct Giro {
  Decompilato d;
  std::optional<Compilati> di_nuovo;
};
Giro giro(const Compilati& x) {
  Giro g{decompila(rileggi(x)), std::nullopt};
  g.di_nuovo = compila(byte_sorgente(g.d.linea), byte_sorgente(g.d.treno), !x.tracciato.empty());
  return g;
}

std::string unisci(const std::vector<std::string>& righe) {
  std::string s;
  for (const std::string& r : righe) s += r + "\n";
  return s;
}

std::string unisci(const std::vector<Problema>& problemi) {
  std::string s;
  for (const Problema& p : problemi) s += testo_problema(p) + "\n";
  return s;
}

// ---- the round trip

// Small scenarios that take the decompiler off the plain path: each compiles (code 0 unless a
// marker code is named) and must come back byte for byte.
struct CasoGiro {
  const char* nome;
  std::vector<std::string> linea;  // feature lines
  std::vector<std::string> treno;  // train lines
  std::vector<std::string> generale = {};
  int32_t lunghezza = 12000;
};

const CasoGiro kCasiGiro[] = {
    {"SegnaliVicini_IlPrimoScrittoVince",
     {},
     {"segnale, 5100, 2, 4, 1, 0, 0, 0, 0, 0, 0, 0",
      "segnale, 5000, 1, 1, 0, 0, 0, 2, 0, 0, 0, 0"}},
    {"SegnaleScrittoPrimaDellaStazione",
     {},
     {"[segnali]", "segnale, 5150, 2, 4, 1, 0, 0, 2, 0, 0, 0, 0", "[stazioni]",
      "stazione, 5000, 24, 300, 0, 0, 0, 0, 0, 0, 4, 1, 1, 30, 6, 23, 0, Prova"}},
    {"MontagneAttaccateDiTipoDiverso",
     {"montagna, 1500, 2000, 2", "montagna, 200, 300, 1", "montagna, 1000, 1500, 1"},
     {}},
    {"MontagnaA150MetriSpostataNeiSuoiTratti",
     {"montagna, 1000, 1925, 1", "montagna, 2125, 3000, 2"},
     {}},
    {"MontagneConSegniETipiOltre10",
     {"montagna, 1000, 2000, 22", "montagna, 3000, 4000, -244", "montagna, 5000, 5300, 11"},
     {"abbattimento, 1150, 270"}},
    {"RallentamentoSulTratto31ConAvviso", {}, {"rallentamento, 1510, 50, 200, 0, 1, 0"}},
    {"RallentamentoSulTratto31SenzaAvviso", {}, {"rallentamento, 1500, 50, 200, 0, 1, 0"}},
    {"RallentamentoLungo0", {}, {"rallentamento, 3000, 50, 0, 1, 0, 0"}},
    {"RallentamentiConVelocitaSulCartello",
     {},
     {"rallentamento, 3000, 50, 400, 1, 1, 50", "rallentamento, 6000, 120, 300, 0, 0, 0"}},
    // Warning board on stretch 77, a signal on 71 in its look-back, a code point on 70.
    {"PuntoDiCodice180PrimaDiUnSegnale",
     {},
     {"rallentamento, 5000, 50, 200, 0, 0, 0", "segnale, 3500, 2, 4, 1, 0, 0, 0, 0, 0, 0, 0",
      "abbattimento, 3500, 180"}},
    {"PuntoDiCodice270AbbassatoA180",
     {"indicatori_vmax, 3400, 60, 60, 60, 0, , , , 0"},
     {"rallentamento, 5000, 50, 200, 0, 0, 0", "segnale, 3500, 2, 4, 1, 0, 0, 0, 0, 0, 0, 0",
      "abbattimento, 3500, 270"}},
    {"CodiceDaValoreOltre32767", {}, {"abbattimento, 5000, 65536", "abbattimento, 5100, -3"}},
    {"IndicatoriConVelocitaNonMultipleDi5",
     {"indicatori_vmax, 500, 62, 70, 80, 1, 33, 0, 0, 2",
      "indicatori_vmax, 900, -5, 0, 0, 0, 0, 0, 0, 0"},
     {}},
    {"PrimaStazioneConZonaAllungata",
     {},
     {"stazione, 1000, 24, 300, 0, 1, 1, 0, 0, 0, 4, 1, 1, 30, 6, 23, 0, Prima",
      "stazione, 5000, 7, 600, 0, 1, 0, 0, 0, 0, 4, 1, 1, 30, 6, 23, 5, Seconda",
      "stazione, 9000, 30, 700, 2, 1, 0, -1, 2, 3, -4, 5, 6, 7, -1, 70, 0, Terza"}},
    {"NomiETestiTraVirgolette",
     {"cartello_indicatore, 3000, \"  Ponte, Fiume  \"", "cartello_indicatore, 4000, (Scalo)",
      "cartello_indicatore, 5000, \"\""},
     {"stazione, 1000, 27, 300, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, \"Orte, Nord\"",
      "stazione, 5000, 27, 300, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, Bivio \"Sud\""}},
    {"TempiDeiSegnali",
     {},
     {"segnale, 3000, 2, 4, 1, 0, 0, 0, 0, 0, 0, 50",
      "segnale, 4000, 1, 1, 0, 0, 0, 2, 0, 0, 0, 90",
      "segnale, 5000, 2, 4, 1, 0, 0, 0, 0, 0, 0, 300",
      "segnale, 6000, 2, 4, 1, 0, 4, 0, 0, 0, 0, 0"}},
    {"ProfiliFinoAlTerzultimoTratto",
     {"pendenza, 0, -100", "pendenza, 600, 155", "pendenza, 625, 3"},
     {"velocita, 0, 62", "velocita, 800, 0", "velocita, 18900, 30", "aderenza, 100, 300",
      "aderenza, 18850, 7"}},
    {"CurveSovrappostePerLaStessaClasseEUnaDopoLAltra",
     {"curvad4, 500, 300", "curvas5, 700, 300", "curvad2, 2000, 100", "curvad2, 2100, 100",
      "curvas6, 2300, 1"},
     {}},
    {"SezioniConLoStessoInizio",
     {},
     {},
     {"progressiva chilometrica uno, 0, 1000, 1", "progressiva chilometrica due, 0, 2000, 0",
      "progressiva chilometrica tre, 500, 3000, 1", "ripetizione segnali 4 codici, 1000, 3000"}},
    {"SezioneSoloUnoERipetizioneSenzaFine",
     {},
     {},
     {"progressiva chilometrica uno, 0, 39050, 1", "ripetizione segnali 9 codici, 1000, 0",
      "sfondo uno, -3", "sfondo due, 7", "sfondo tre, 9"}},
    {"MarcatoreSenzaPostoCodice13",
     {"indicatori_vmax, 3350, 60, 60, 60, 0, , , , 0",
      "indicatori_vmax, 3400, 60, 60, 60, 0, , , , 0",
      "indicatori_vmax, 3450, 60, 60, 60, 0, , , , 0"},
     {"rallentamento, 3000, 30, 1000, 0, 0, 0"}},
};

void PrintTo(const CasoGiro& c, std::ostream* os) { *os << c.nome; }

class GiroPiccolo : public testing::TestWithParam<CasoGiro> {};

TEST_P(GiroPiccolo, TornaBytePerByte) {
  const CasoGiro& c = GetParam();
  const std::optional<Compilati> x = compila(
      prova::sorgente_linea(c.linea, c.lunghezza, c.generale), prova::sorgente_treno(c.treno));
  ASSERT_TRUE(x);
  const Giro g = giro(*x);
  EXPECT_TRUE(g.d.problemi.empty()) << unisci(g.d.problemi);
  ASSERT_TRUE(g.di_nuovo) << unisci(g.d.linea) << unisci(g.d.treno);
  EXPECT_EQ(g.di_nuovo->codici, x->codici);
  EXPECT_TRUE(*g.di_nuovo == *x) << unisci(g.d.linea) << unisci(g.d.treno);
}

INSTANTIATE_TEST_SUITE_P(Casi, GiroPiccolo, testing::ValuesIn(kCasiGiro),
                         [](const auto& info) { return std::string(info.param.nome); });

// ---- the embedded scenario

// The compiled files of the plain run, read back.
Modello modello_incorporato() {
  const auto& c = prova::cartella_incorporata();
  return leggi_compilati(
             {c / prova::kFileTracciato, c / prova::kFileElenco, c / prova::kFileTratti})
      .modello;
}

// The items of each line: split at commas, blanks around them dropped; the numbers of the clock
// line split at blanks. Lines without items are left out.
std::vector<std::vector<std::string>> voci(std::span<const std::string_view> righe) {
  auto pulisci = [](std::string_view v) {
    const size_t a = v.find_first_not_of(" \t");
    if (a == std::string_view::npos) return std::string();
    return std::string(v.substr(a, v.find_last_not_of(" \t") - a + 1));
  };
  std::vector<std::vector<std::string>> r;
  for (std::string_view riga : righe) {
    if (riga == kFineTabella) break;
    std::vector<std::string> v;
    for (size_t i = 0;;) {
      const size_t virgola = riga.find(',', i);
      v.push_back(pulisci(riga.substr(i, virgola - i)));
      if (virgola == std::string_view::npos) break;
      i = virgola + 1;
    }
    if (v[0] == "orologio") {
      const std::string numeri = v[1];
      v.resize(1);
      for (size_t i = 0; (i = numeri.find_first_not_of(' ', i)) != std::string::npos;) {
        const size_t fine = numeri.find(' ', i);
        v.push_back(numeri.substr(i, fine - i));
        i = fine;
      }
    }
    if (!(v.size() == 1 && v[0].empty())) r.push_back(std::move(v));
  }
  return r;
}

std::vector<std::vector<std::string>> voci(const std::vector<std::string>& righe) {
  const std::vector<std::string_view> viste(righe.begin(), righe.end());
  return voci(viste);
}

TEST(DecompilaIncorporato, TornaBytePerByteSenzaProblemi) {
  const Modello m = modello_incorporato();
  const Decompilato d = decompila(m);
  EXPECT_TRUE(d.problemi.empty()) << unisci(d.problemi);
  EXPECT_TRUE(d.avvisi.empty()) << unisci(d.avvisi);
  EXPECT_FALSE(d.senza_tracciato);
  const auto& c = prova::cartella_incorporata();
  const std::optional<Compilati> y = compila(byte_sorgente(d.linea), byte_sorgente(d.treno));
  ASSERT_TRUE(y);
  Compilati x{prova::leggi(c / prova::kFileTracciato),
              prova::leggi(c / prova::kFileElenco),
              prova::leggi(c / prova::kFileTratti),
              {}};
  // The identity of the embedded scenario, not the test's "Prova"/"1".
  Modello rinominato = rileggi(*y);
  rinominato.elenco[voce::intestazione] = m.elenco[voce::intestazione];
  rinominato.elenco[voce::treno].testo = m.elenco[voce::treno].testo;
  rinominato.tratti[1] = m.tratti[1];
  EXPECT_EQ(byte_tracciato(rinominato.tracciato), x.tracciato);
  EXPECT_EQ(byte_elenco(rinominato.elenco), x.elenco);
  EXPECT_EQ(byte_tratti(rinominato.tratti), x.tratti);
}

// Item by item, the rebuilt sources are the embedded ones: the same lines in the same order with
// the same numbers and texts; only blanks differ. One number cannot come back: a mountain that
// begins at most 150 m after the one before it ends takes type 3, whatever its line says.
TEST(DecompilaIncorporato, SiLeggeComeGliOriginali) {
  const Decompilato d = decompila(modello_incorporato());
  std::vector<std::vector<std::string>> linea = voci(tabella_linea());
  for (auto& v : linea) {
    if (v == std::vector<std::string>{"montagna", "67900", "69500", "1"}) v[3] = "3";
  }
  EXPECT_EQ(voci(d.linea), linea);
  EXPECT_EQ(voci(d.treno), voci(tabella_treno()));
  EXPECT_EQ(d.linea.size(), 199u);
  EXPECT_EQ(d.treno.size(), 120u);
}

// Without the route plan the line source has no curves; compiled without the plan it gives the
// same table and stretches.
TEST(DecompilaIncorporato, SenzaTracciatoNessunaCurva) {
  Modello m = modello_incorporato();
  m.tracciato = Tracciato{};
  const Decompilato d = decompila(m);
  EXPECT_TRUE(d.problemi.empty()) << unisci(d.problemi);
  EXPECT_TRUE(d.senza_tracciato);
  ASSERT_EQ(d.avvisi.size(), 1u);
  EXPECT_EQ(d.avvisi[0].tipo, TipoProblema::senza_tracciato);
  for (const std::string& l : d.linea) EXPECT_NE(l.rfind("curva", 0), 0u) << l;
  const std::vector<std::string> curve = {"[curve]", "[pendenze]"};
  EXPECT_NE(std::search(d.linea.begin(), d.linea.end(), curve.begin(), curve.end()), d.linea.end());
}

// ---- scenarios of the generator

#ifdef COMPATTATORE_GENERATORE
// The generator (bench/genera_scenario) runs as a process for each seed; its two sources are
// compiled here in memory, decompiled and compiled again. Routes of 10 to 30 km keep the test
// short; bench sweeps run longer routes by hand.
TEST(DecompilaGenerati, OgniScenarioTornaBytePerByte) {
  prova::CartellaTemporanea cartella;
  constexpr int kScenari = 200;
  int tornati = 0, totale = 0;
  std::string mancati;
  for (int k = 0; k < kScenari; ++k) {
    const int seme = 1 + k;
    const int metri = 10000 + (k * 7919) % 20001;
    const std::filesystem::path d = cartella / ("s" + std::to_string(k));
    const prova::Risultato r =
        prova::esegui_programma({"--metri", std::to_string(metri), "--seme", std::to_string(seme),
                                 "--nome", "Prova", "--treno", "1", "--dir", d.string()},
                                cartella.percorso(), false, COMPATTATORE_GENERATORE);
    ASSERT_EQ(r.stato, 0) << r.err;
    const std::string linea = prova::leggi(d / "Prova_linea.txt");
    const std::string treno = prova::leggi(d / "Prova_1-.txt");
    std::filesystem::remove_all(d);
    // Every tenth scenario also goes round without the route plan.
    for (const bool con_tracciato : {true, false}) {
      if (!con_tracciato && k % 10 != 0) continue;
      const std::optional<Compilati> x = compila(linea, treno, con_tracciato);
      ASSERT_TRUE(x) << "seme " << seme;
      EXPECT_TRUE(x->codici.empty()) << "seme " << seme;
      const Giro g = giro(*x);
      ++totale;
      if (g.d.problemi.empty() && g.di_nuovo && *g.di_nuovo == *x) {
        ++tornati;
      } else {
        mancati += "seme " + std::to_string(seme) + ", " + std::to_string(metri) + " m" +
                   (con_tracciato ? "" : ", senza tracciato") + ":\n" + unisci(g.d.problemi);
      }
    }
  }
  std::cout << "[ giro     ] " << tornati << " di " << totale
            << " scenari generati tornano byte per byte\n";
  EXPECT_EQ(tornati, totale) << mancati;
  EXPECT_GE(totale, kScenari);
}
#endif

// ---- what cannot be turned back

// A small scenario with one thing of each kind, compiled: the files that the table below spoils.
Compilati base() {
  static const std::optional<Compilati> c =
      compila(prova::sorgente_linea({"curvad4, 2000, 300", "montagna, 3000, 4000, 12",
                                     "indicatori_vmax, 5000, 60, 60, 60, 0, , , , 0",
                                     "cartello_indicatore, 5500, (Ponte)"},
                                    12000),
              prova::sorgente_treno(
                  {"velocita, 0, 60", "aderenza, 0, 90",
                   "stazione, 1000, 24, 300, 0, 0, 0, 0, 0, 0, 4, 1, 1, 30, 6, 23, 0, Alfa",
                   "stazione, 8000, 24, 300, 0, 0, 0, 0, 0, 0, 4, 1, 1, 30, 6, 33, 0, Beta",
                   "rallentamento, 6000, 50, 400, 1, 1, 0",
                   "segnale, 7000, 2, 4, 1, 0, 0, 0, 0, 0, 0, 0", "abbattimento, 9000, 270"}));
  return *c;
}

struct CasoIrreversibile {
  const char* nome;
  std::function<void(Modello&)> guasta;
  // One problem of the list: its kind, its place (entry, stretch, first plan point named) and
  // the values its text names.
  TipoProblema tipo;
  int64_t dove;
  std::vector<Problema::Valore> valori;
  bool sorgenti_come_prima;  // the sources written compile to the unspoilt files
  std::vector<DifferenzaCampo> diversi = {};
};

Voce& v(Modello& m, int i) { return m.elenco[static_cast<size_t>(i)]; }
Tratto& t(Modello& m, int s) { return m.tratti[static_cast<size_t>(s)]; }

using P = TipoProblema;

const CasoIrreversibile kIrreversibili[] = {
    {"OggettoSconosciuto",
     [](Modello& m) { t(m, 50).oggetto = 7; },
     P::oggetto_senza_riga,
     50,
     {7, "sconosciuto"},
     true},
    {"PreavvisoSenzaSegnale",
     [](Modello& m) { t(m, 60).preavviso = 37; },
     P::preavviso_senza_fonte,
     60,
     {37},
     true},
    {"FineDiRallentamentoSola",
     [](Modello& m) {
       t(m, 150).oggetto = oggetto::fine_rallentamento;
       t(m, 150).valore_1 = 40;
     },
     P::fine_senza_inizio,
     150,
     {},
     true},
    {"AvvisoSolo",
     [](Modello& m) {
       t(m, 150).oggetto = oggetto::avviso_rallentamento;
       t(m, 150).valore_1 = 40;
     },
     P::senza_rallentamento,
     150,
     {"avviso di rallentamento"},
     true},
    // Past 1500 m a start needs its warning board 24 stretches before it.
    {"RallentamentoSenzaAvviso",
     [](Modello& m) {
       t(m, 200).oggetto = oggetto::inizio_rallentamento;
       t(m, 200).valore_1 = 40;
     },
     P::avviso_mancante,
     176,
     {200},
     false},
    {"ZonaDiStazioneSenzaMarciapiede",
     [](Modello& m) { v(m, 1).campo_1 -= 50; },
     P::zona_senza_marciapiede,
     1,
     {800, 1150},
     false},
    {"StazioneNonMultiplaDi50",
     [](Modello& m) { v(m, 1).campo_3 += 25; },
     P::stazione_non_multipla,
     1,
     {1025},
     false},
    {"Flag4CheUnSorgenteAzzera",
     [](Modello& m) { v(m, 2).flag_4 = 1; },
     P::flag_4_azzerato,
     2,
     {1},
     true},
    {"FermataMancante",
     [](Modello& m) {
       for (Tratto& x : m.tratti) {
         if (x.oggetto == oggetto::fermata && x.valore_1 == 2) {
           x.oggetto = oggetto::libero;
           x.valore_1 = 0;
         }
       }
     },
     P::fermata_mancante,
     162,
     {"voce 2 (Beta)", "libero"},
     true},
    // The station's own stopping point still counts when another one names its entry.
    {"SecondaFermataDellaStazione",
     [](Modello& m) {
       t(m, 250).oggetto = oggetto::fermata;
       t(m, 250).valore_1 = 2;
     },
     P::oggetto_senza_riga,
     250,
     {10, "fermata"},
     true},
    {"TestoConByteNonDefinito",
     [](Modello& m) { v(m, 80).testo = "Ponte\x81"; },
     P::testo_non_riscrivibile,
     80,
     {},
     false},
    {"CartelloConUnAltraVoce",
     [](Modello& m) {
       t(m, 111).valore_1 = 75;
       std::swap(v(m, 75).testo, v(m, 80).testo);
     },
     P::cartello_altra_voce,
     111,
     {75, 1, 80},
     true},
    {"CodiceDiControlloSbagliato",
     [](Modello& m) { v(m, 85).orario += 1; },
     P::codici_di_controllo,
     0,
     {"Prova", "1"},
     true},
    {"PuntoDelTracciatoSpostato",
     [](Modello& m) {
       m.tracciato.imposta_reale(2100, Asse::x, m.tracciato.valore(2100, Asse::x) + 1e-6);
     },
     P::punti_senza_passo,
     2100,
     {"2100, 2101, 2102"},
     true},
    {"PuntoDelTracciatoIntero",
     [](Modello& m) { m.tracciato.imposta_intero(3000, Asse::y, int16_t{3000}); },
     P::punti_non_doppi,
     3000,
     {"3000"},
     true},
    {"PrimoPuntoDelTracciato",
     [](Modello& m) { m.tracciato.imposta_intero(0, Asse::y, 3); },
     P::punti_iniziali,
     0,
     {},
     true},
    {"PendenzaNellUltimoTratto",
     [](Modello& m) { m.tratti.back().pendenza = 100; },
     P::pendenza_in_coda,
     380,
     {100},
     true},
    {"VelocitaNellUltimoTratto",
     [](Modello& m) { m.tratti.back().velocita = 12; },
     P::velocita_in_coda,
     380,
     {12},
     true},
    {"SegnoDiMontagnaFuoriDaOgniMontagna",
     [](Modello& m) { t(m, 30).oggetto = oggetto::segno_montagna; },
     P::segno_montagna_solo,
     30,
     {},
     true},
    {"SegnoDiMontagnaFuoriPosto",
     [](Modello& m) { t(m, 61).oggetto = oggetto::segno_montagna; },
     P::oggetto_senza_riga,
     61,
     {11, "segno di montagna"},
     true},
    {"SegnaleSenzaPreavvisi",
     [](Modello& m) {
       t(m, 5).oggetto = oggetto::segnale;
       t(m, 5).valore_1 = 40;
     },
     P::segnale_senza_preavvisi,
     5,
     {},
     true},
    {"TaglioDiCodiceInFondo",
     [](Modello& m) { t(m, 379).oggetto = oggetto::taglio_codice; },
     P::fuori_percorso,
     379,
     {"taglio codice"},
     true},
    {"RipetizioneCon7Codici",
     [](Modello& m) {
       v(m, 86).campo_1 = 1000;
       v(m, 86).campo_2 = 3000;
       v(m, 86).campo_3 = 7;
     },
     P::ripetizione_senza_riga,
     86,
     {1000, 3000, 7},
     true},
    {"SezioniChilometricheDisordinate",
     [](Modello& m) {
       v(m, 81).campo_2 = 500;
       v(m, 82).campo_1 = 100;
     },
     P::sezioni_disordinate,
     81,
     {},
     false},
    {"TrattiDiUnAltraLunghezza",
     [](Modello& m) { v(m, 84).campo_2 = 14000; },
     P::lunghezza_altri_tratti,
     84,
     {14000, 420, 380},
     false},
    // A field no step reads: only the comparison after the compile finds it.
    {"ValoreCheNessunaRigaDa",
     [](Modello& m) { t(m, 200).valore_4 = 9; },
     P::tratto_diverso,
     200,
     {},
     true,
     {{"valore_4", "9", "0"}}},
};

void PrintTo(const CasoIrreversibile& c, std::ostream* os) { *os << c.nome; }

class Irreversibile : public testing::TestWithParam<CasoIrreversibile> {};

TEST_P(Irreversibile, DiceCosaEDoveEScriveIlResto) {
  const CasoIrreversibile& c = GetParam();
  const Compilati x = base();
  ASSERT_TRUE(x.codici.empty());
  Modello m = rileggi(x);
  c.guasta(m);
  const Decompilato d = decompila(m);
  const bool trovato = std::any_of(d.problemi.begin(), d.problemi.end(), [&](const Problema& p) {
    return p.tipo == c.tipo && p.numero == c.dove && p.valori == c.valori && p.diversi == c.diversi;
  });
  EXPECT_TRUE(trovato) << unisci(d.problemi);
  const std::optional<Compilati> y = compila(byte_sorgente(d.linea), byte_sorgente(d.treno));
  ASSERT_TRUE(y) << unisci(d.linea) << unisci(d.treno);
  if (c.sorgenti_come_prima) {
    EXPECT_TRUE(*y == x) << unisci(d.problemi);
  }
}

INSTANTIATE_TEST_SUITE_P(Casi, Irreversibile, testing::ValuesIn(kIrreversibili),
                         [](const auto& info) { return std::string(info.param.nome); });

}  // namespace
}  // namespace compattatore
