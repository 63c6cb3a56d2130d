#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "sources/scenario.h"
#include "sources/testo.h"
#include "support/supporto.h"

namespace compattatore {
namespace {

using prova::CartellaTemporanea;
namespace fs = std::filesystem;

using prova::kFileLinea;
using prova::kFileNote;
using prova::kFileRallentamenti;
using prova::kFileScheda;
using prova::kFileTreno;
using prova::kNome;

void scrivi_tutti(const fs::path& cartella) {
  const NomiScenario nomi = NomiScenario::incorporato();
  dati_linea(cartella, nomi);
  dati_treno(cartella, nomi);
  dati_note(cartella, nomi);
  dati_rallentamenti(cartella, nomi);
  dati_scheda(cartella, nomi);
}

// The five files written once, as lines of Windows-1252 bytes.
struct Scritti {
  Scritti() {
    scrivi_tutti(dir.percorso());
    for (const auto& f : {kFileLinea, kFileTreno, kFileNote, kFileRallentamenti, kFileScheda}) {
      byte[f] = prova::leggi(dir / f);
      righe[f] = prova::righe_crlf(byte[f]);
    }
  }
  CartellaTemporanea dir;
  std::map<std::string, std::string> byte;
  std::map<std::string, std::vector<std::string>> righe;
};

const Scritti& scritti() {
  static const Scritti s;
  return s;
}
const std::vector<std::string>& linea() { return scritti().righe.at(kFileLinea); }
const std::vector<std::string>& treno() { return scritti().righe.at(kFileTreno); }

// Text before the first comma: the keyword item of a source line.
std::string chiave(const std::string& riga) { return riga.substr(0, riga.find(',')); }

bool cifra(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// The whole numbers of a source line after its keyword (empty fields are skipped).
std::vector<long> numeri(const std::string& riga) {
  std::vector<long> out;
  for (size_t i = riga.find(',') + 1; i < riga.size();) {
    const size_t inizio = i;
    if (riga[i] == '-') ++i;
    if (i < riga.size() && cifra(riga[i])) {
      while (i < riga.size() && cifra(riga[i])) ++i;
      out.push_back(std::stol(riga.substr(inizio, i - inizio)));
    } else {
      i = inizio + 1;
    }
  }
  return out;
}

// Whether `testo` has the form `modello`: "#" stands for a whole number (an optional minus sign
// and one or more digits), "$" for one digit, every other character for itself.
bool ha_forma(const std::string& testo, const std::string& modello) {
  size_t i = 0;
  for (const char m : modello) {
    if (m == '#') {
      if (i < testo.size() && testo[i] == '-') ++i;
      const size_t inizio = i;
      while (i < testo.size() && cifra(testo[i])) ++i;
      if (i == inizio) return false;
    } else if (i < testo.size() && (m == '$' ? cifra(testo[i]) : testo[i] == m)) {
      ++i;
    } else {
      return false;
    }
  }
  return i == testo.size();
}

// --- The five files --------------------------------------------------------------------------

TEST(FileScenario, OgniScrittoreScriveIlSuoFileNellaCartella) {
  CartellaTemporanea dir;
  scrivi_tutti(dir.percorso());
  std::vector<std::string> attesi = {kFileLinea, kFileTreno, kFileNote, kFileRallentamenti,
                                     kFileScheda};
  std::sort(attesi.begin(), attesi.end());
  EXPECT_EQ(prova::elenco_file(dir.percorso()), attesi);
}

TEST(FileScenario, RigheEPrimaEUltimaRiga) {
  const std::string stelle(110, '*');
  struct Caso {
    std::string file;
    size_t righe;
    std::string prima;
    std::string ultima;
  };
  const Caso casi[] = {
      {kFileLinea, 199, "[generale]", "[fine]"},
      {kFileTreno, 120, "[generale]", "[fine]"},
      {kFileNote, 64, stelle, "  Settebagni e Roma Tiburtina."},
      {kFileRallentamenti, 45, "", " H - Interessa solo la linea locale-merci "},
      {kFileScheda, 58, "", ""},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.file);
    const auto& righe = scritti().righe.at(c.file);
    ASSERT_EQ(righe.size(), c.righe);
    EXPECT_EQ(righe.front(), c.prima);
    EXPECT_EQ(righe.back(), c.ultima);
    // CR LF closes the last line too; no byte-order mark; the end marker is never written.
    const std::string& byte = scritti().byte.at(c.file);
    EXPECT_EQ(byte.substr(byte.size() - 2), "\r\n");
    EXPECT_NE(byte.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(byte.find("riferimento fine del file"), std::string::npos);
  }
}

TEST(FileScenario, UnFilePiuLungoDiUnaCorsaPrecedenteESostituitoIntero) {
  CartellaTemporanea dir;
  const std::string vecchio = std::string(300000, 'v') + "\r\n";
  for (const auto& f : {kFileLinea, kFileTreno, kFileNote, kFileRallentamenti, kFileScheda}) {
    prova::scrivi(dir / f, vecchio);
  }
  scrivi_tutti(dir.percorso());
  for (const auto& f : {kFileLinea, kFileTreno, kFileNote, kFileRallentamenti, kFileScheda}) {
    EXPECT_EQ(prova::leggi(dir / f), scritti().byte.at(f)) << f;
  }
  EXPECT_EQ(prova::elenco_file(dir.percorso()).size(), 5u);  // no temporary file left behind
}

TEST(FileScenario, OgniTabellaIncorporataSiConverteEFinisceColSegno) {
  const std::pair<const char*, TabellaRighe> tabelle[] = {
      {"linea", tabella_linea()},   {"treno", tabella_treno()},
      {"note", tabella_note()},     {"rallentamenti", tabella_rallentamenti()},
      {"scheda", tabella_scheda()},
  };
  for (const auto& [nome, t] : tabelle) {
    SCOPED_TRACE(nome);
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(t.back(), kFineTabella);
    EXPECT_EQ(std::count(t.begin(), t.end(), kFineTabella), 1);
    EXPECT_LE(t.size(), 1001u);  // the table's room: indexes 0 to 1000
    EXPECT_NO_THROW(testo_cp1252(t));
  }
}

TEST(FileScenario, CaratteriFuoriDallAsciiSoloQuelliAmmessi) {
  // The sources hold ASCII and the degree sign; the documents also à, è, ò, ù.
  const auto ammessi = [](const std::string& byte, const std::string& oltre_ascii) {
    for (const char ch : byte) {
      if (static_cast<unsigned char>(ch) >= 0x80 && oltre_ascii.find(ch) == std::string::npos) {
        return false;
      }
    }
    return true;
  };
  EXPECT_TRUE(ammessi(scritti().byte.at(kFileLinea), "\xB0"));
  EXPECT_TRUE(ammessi(scritti().byte.at(kFileTreno), "\xB0"));
  for (const auto& f : {kFileNote, kFileRallentamenti, kFileScheda}) {
    EXPECT_TRUE(ammessi(scritti().byte.at(f), "\xB0\xE0\xE8\xF2\xF9")) << f;
  }
}

// --- Line source -------------------------------------------------------------------------------

// clang-format off
TEST(SorgenteLinea, SezioniERigheAlloroPosto) {
  struct Tratto {
    size_t da, a;
    std::string chiave;  // the keyword item; for curves, "curvad$" or "curvas$"
  };
  const Tratto tratti[] = {
      {1, 1, "[generale]"},          {2, 2, "lunghezza percorso"},
      {3, 3, "progressiva chilometrica uno"}, {4, 4, "progressiva chilometrica due"},
      {5, 5, "progressiva chilometrica tre"}, {6, 6, "sfondo uno"},
      {7, 7, "sfondo due"},          {8, 8, "sfondo tre"},
      {9, 9, "ripetizione segnali 9 codici"},
      {10, 10, "[curve]"},           {11, 85, "curva?$"},
      {86, 86, "[pendenze]"},        {87, 148, "pendenza"},
      {149, 149, "[montagne]"},      {150, 169, "montagna"},
      {170, 170, "[cartelli]"},      {171, 189, "indicatori_vmax"},
      {190, 190, "[indicazioni]"},   {191, 198, "cartello_indicatore"},
      {199, 199, "[fine]"},
  };
  ASSERT_EQ(linea().size(), 199u);
  for (const auto& t : tratti) {
    for (size_t n = t.da; n <= t.a; ++n) {
      const std::string k = chiave(linea()[n - 1]);
      const bool ok = t.chiave == "curva?$" ? ha_forma(k, "curvad$") || ha_forma(k, "curvas$")
                                            : k == t.chiave;
      EXPECT_TRUE(ok) << "riga " << n << ": " << linea()[n - 1];
    }
  }
}
// clang-format on

// clang-format off
TEST(SorgenteLinea, RigheCitateAlloroNumero) {
  const std::pair<size_t, std::string> citate[] = {
      {2, "lunghezza percorso,    124000"},
      {3, "progressiva chilometrica uno,    0,    39050,    1"},
      {4, "progressiva chilometrica due,    39100,    135150,    1"},
      {5, "progressiva chilometrica tre,    54500,    118750,    1"},
      {6, "sfondo uno,    1"},
      {7, "sfondo due,    51000"},
      {8, "sfondo tre,    0"},
      {9, "ripetizione segnali 9 codici,    46400,    106850"},
      {11, "curvad4,  500,  300"},
      {85, "curvas2,  117700,  300"},
      {87, "pendenza,   0,    0"},
      {88, "pendenza,  5000,   -5"},
      {145, "pendenza,  101700,  0 "},
      {148, "pendenza,  117900,   0"},
      {150, "montagna,   6950,  7050,  2"},
      {169, "montagna,   112350,  112400,  2"},
      {171, "indicatori_vmax,  500,  65,  70,  80,  0,  ,  ,  ,  0"},
      {189, "indicatori_vmax,  115000,  85,  90,  90,  0,  85,  90,  90,  0"},
      {191, "cartello_indicatore,  35800,   (Ponte Fiume)(  Tevere   )"},
      {192, "cartello_indicatore,  54800,   (1\xB0 BIVIO)(ORTE SUD)"},
      {193, "cartello_indicatore,  55000,   (1\xB0 BIVIO)(ORTE SUD)"},
      {194, "cartello_indicatore,  107900,   (ROMA SMISTAMENTO)"},
      {195, "cartello_indicatore,  108200,   (ROMA SMISTAMENTO)"},
      {196, "cartello_indicatore,  108750,   (Dev. U.         )(Roma Smistamento)(Innesto L. Merci)"},
      {197, "cartello_indicatore,  112450,   (Doppio Bivio)(Nomentano   )"},
      {198, "cartello_indicatore,  112600,   (Doppio Bivio)(Nomentano   )"},
  };
  for (const auto& [n, testo] : citate) EXPECT_EQ(linea()[n - 1], testo) << "riga " << n;
}
// clang-format on

TEST(SorgenteLinea, RigheDiEsempioPresenti) {
  const std::string esempi[] = {
      "curvas6,  54700,  50",
      "curvas1,  55800,  2600",
      "pendenza,  29850,   -35",
      "pendenza,  10350,   29",
      "pendenza,  100700,  -7",
      "montagna,   11200,  12000,  12",
      "montagna,   91150,  92850,  11",
      "indicatori_vmax,  55050,  140,  160,  250,  0,  140,  160,  250,  0",
  };
  for (const auto& e : esempi) {
    EXPECT_NE(std::find(linea().begin(), linea().end(), e), linea().end()) << e;
  }
  // The gap of 100 m between these two mountains makes the second one type 3.
  const auto m = std::find(linea().begin(), linea().end(), "montagna,   66850,  67800,  2");
  ASSERT_NE(m, linea().end());
  EXPECT_EQ(*(m + 1), "montagna,   67900,  69500,  1");
  // Three consecutive boards with stripes 2, 1 and 0.
  const auto b = std::find(linea().begin(), linea().end(),
                           "indicatori_vmax,  6700,  70,  75,  75,  2,  ,  ,  ,  0");
  ASSERT_LT(b + 2, linea().end());
  EXPECT_EQ(*(b + 1), "indicatori_vmax,  6950,  70,  75,  75,  1,  ,  ,  ,  0");
  EXPECT_EQ(*(b + 2), "indicatori_vmax,  7150,  70,  75,  75,  0,  ,  ,  ,  0");
}

TEST(SorgenteLinea, Curve) {
  std::map<std::string, int> per_chiave;
  long lunghezza_minima = 1000000, lunghezza_massima = 0, fine_precedente = -1;
  for (size_t n = 11; n <= 85; ++n) {
    const std::string& r = linea()[n - 1];
    EXPECT_TRUE(ha_forma(r, "curvad$,  #,  #") || ha_forma(r, "curvas$,  #,  #")) << r;
    ++per_chiave[chiave(r)];
    const auto v = numeri(r);
    ASSERT_EQ(v.size(), 2u) << r;
    EXPECT_GT(v[0], fine_precedente) << r;  // ascending and not overlapping
    fine_precedente = v[0] + v[1];
    lunghezza_minima = std::min(lunghezza_minima, v[1]);
    lunghezza_massima = std::max(lunghezza_massima, v[1]);
  }
  const std::map<std::string, int> attese = {
      {"curvad1", 2},  {"curvad2", 5}, {"curvad3", 6}, {"curvad4", 17},
      {"curvad5", 7},  {"curvas1", 2}, {"curvas2", 4}, {"curvas3", 11},
      {"curvas4", 17}, {"curvas5", 2}, {"curvas6", 2},
  };
  EXPECT_EQ(per_chiave, attese);
  EXPECT_EQ(lunghezza_minima, 50);
  EXPECT_EQ(lunghezza_massima, 2600);
}

TEST(SorgenteLinea, Pendenze) {
  int due_e_tre = 0;
  long precedente = -1, minima = 0, massima = 0;
  for (size_t n = 87; n <= 148; ++n) {
    const std::string& r = linea()[n - 1];
    const auto v = numeri(r);
    ASSERT_EQ(v.size(), 2u) << r;
    EXPECT_GT(v[0], precedente) << r;
    EXPECT_EQ(v[0] % 50, 0) << r;
    precedente = v[0];
    minima = std::min(minima, v[1]);
    massima = std::max(massima, v[1]);
    if (ha_forma(r, "pendenza,  #,   #")) ++due_e_tre;
  }
  EXPECT_EQ(due_e_tre, 58);
  EXPECT_EQ(linea()[143 - 1].substr(0, 11), "pendenza,  ");
  EXPECT_TRUE(ha_forma(linea()[143 - 1], "pendenza,  #,  #"));
  EXPECT_TRUE(ha_forma(linea()[144 - 1], "pendenza,  #,  #"));
  EXPECT_EQ(minima, -35);
  EXPECT_EQ(massima, 29);
}

TEST(SorgenteLinea, Montagne) {
  std::map<long, int> per_tipo;
  long fine_precedente = -1;
  for (size_t n = 150; n <= 169; ++n) {
    const std::string& r = linea()[n - 1];
    EXPECT_TRUE(ha_forma(r, "montagna,   #,  #,  #")) << r;
    const auto v = numeri(r);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_GE(v[0], fine_precedente) << r;
    EXPECT_LT(v[0], v[1]) << r;
    fine_precedente = v[1];
    ++per_tipo[v[2]];
  }
  EXPECT_EQ(per_tipo, (std::map<long, int>{{1, 3}, {2, 6}, {11, 2}, {12, 9}}));
}

TEST(SorgenteLinea, IndicatoriDiVelocita) {
  int un_lato = 0, due_lati = 0, strisce = 0;
  long precedente = -1;
  for (size_t n = 171; n <= 189; ++n) {
    const std::string& r = linea()[n - 1];
    if (ha_forma(r, "indicatori_vmax,  #,  #,  #,  #,  $,  ,  ,  ,  0")) ++un_lato;
    if (ha_forma(r, "indicatori_vmax,  #,  #,  #,  #,  $,  #,  #,  #,  0")) ++due_lati;
    const auto v = numeri(r);
    EXPECT_GT(v[0], precedente) << r;
    precedente = v[0];
    if (v[4] != 0) ++strisce;
  }
  EXPECT_EQ(un_lato, 14);
  EXPECT_EQ(due_lati, 5);
  EXPECT_EQ(strisce, 2);  // only the boards at 6700 and 6950
}

TEST(SorgenteLinea, CartelliIndicatoriInOrdine) {
  long precedente = -1;
  for (size_t n = 191; n <= 198; ++n) {
    const long p = numeri(linea()[n - 1]).at(0);
    EXPECT_GT(p, precedente);
    precedente = p;
  }
}

// --- Train source ------------------------------------------------------------------------------

// clang-format off
TEST(SorgenteTreno, SezioniERigheAlloroPosto) {
  struct Tratto {
    size_t da, a;
    std::string chiave;
  };
  const Tratto tratti[] = {
      {1, 1, "[generale]"},          {2, 2, "numero vetture"},
      {3, 3, "percentuale massa frenata"}, {4, 4, "sabbia"},
      {5, 5, "orologio"},            // the clock is the last general item
      {6, 6, "[aderenze]"},          {7, 12, "aderenza"},
      {13, 13, "[vel_limite]"},      {14, 31, "velocita"},
      {32, 32, "[stazioni]"},        {33, 50, "stazione"},
      {51, 51, "[rallentamenti]"},   {52, 56, "rallentamento"},
      {57, 57, "[segnali]"},         {58, 101, "segnale"},
      {102, 102, "[codici]"},        {103, 119, "abbattimento"},
      {120, 120, "[fine]"},
  };
  ASSERT_EQ(treno().size(), 120u);
  for (const auto& t : tratti) {
    for (size_t n = t.da; n <= t.a; ++n) {
      EXPECT_EQ(chiave(treno()[n - 1]), t.chiave) << "riga " << n;
    }
  }
}
// clang-format on

// clang-format off
TEST(SorgenteTreno, RigheCitateAlloroNumero) {
  const std::pair<size_t, std::string> citate[] = {
      {2, "numero vetture,    6"},
      {3, "percentuale massa frenata,    120"},
      {4, "sabbia,    100"},
      {5, "orologio,    6               13            40 "},
      {7, "aderenza,   0,    100"},
      {8, "aderenza,    9000,    70"},
      {12, "aderenza,   83500,    90"},
      {14, "velocita,       0,    65"},
      {15, "velocita,    2050,    95"},
      {25, "velocita,   55100,   160"},
      {31, "velocita,  117050,    30"},
      {33, "stazione,       0,  8,  400,  0, 0, 0,  1,1,0,  4,1,1,    1,   6,14, 0, VITERBO P.F."},
      {35, "stazione,   22850, 24,  300,  0, 0, 1,  0,0,0,  4,1,1,   30,   6,32, 0, Grotte S. Stefano"},
      {40, "stazione,   46650, 26,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, 2\xB0 Bivio Orte Nord"},
      {41, "stazione,   52400,  4,  400,  1, 0, 0,  4,1,2,  2,1,1,   60,   7, 1, 0, ORTE"},
      {50, "stazione,  118650,  6,  500,  1, 0, 0,  1,1,0,  2,1,1,    0,   7,46, 0, ROMA TERMINI"},
      {52, "rallentamento,   46350,    80, 1950, 1,  0,  80"},
      {53, "rallentamento,   50900,    50,  400, 0,  1,  0"},
      {54, "rallentamento,   82150,    50,  600, 1,  1,  50"},
      {55, "rallentamento,   86850,    80,  200, 0,  0,  0"},
      {56, "rallentamento,  106600,    30,  200, 1,  1,  0"},
      {58, "segnale,   10000,   2, 4, 1,  0, 0,    0,  0,0,0, 0"},
      {101, "segnale,  117050,   2, 2, 3,  1, 0,    2,  2,1,1, 0"},
  };
  for (const auto& [n, testo] : citate) EXPECT_EQ(treno()[n - 1], testo) << "riga " << n;
}
// clang-format on

TEST(SorgenteTreno, ProfiliEStazioniInOrdine) {
  for (const auto& [da, a] : {std::pair<size_t, size_t>{7, 12}, {14, 31}, {33, 50}, {52, 56}}) {
    long precedente = -1;
    for (size_t n = da; n <= a; ++n) {
      const long p = numeri(treno()[n - 1]).at(0);
      EXPECT_GT(p, precedente) << treno()[n - 1];
      precedente = p;
    }
  }
}

TEST(SorgenteTreno, Segnali) {
  std::map<long, int> per_lato;
  std::vector<std::string> con_tempo;
  long precedente = -1;
  for (size_t n = 58; n <= 101; ++n) {
    const std::string& r = treno()[n - 1];
    // The position is right-aligned in eight characters after "segnale,".
    EXPECT_TRUE(ha_forma(r, "segnale,   #,   $, $, $,  $, $,    $,  $,$,$, #") ||
                ha_forma(r, "segnale,  #,   $, $, $,  $, $,    $,  $,$,$, #"))
        << r;
    EXPECT_EQ(r.find(',', 8), 16u) << r;
    const auto v = numeri(r);
    ASSERT_EQ(v.size(), 11u) << r;
    EXPECT_GT(v[0], precedente) << r;
    EXPECT_EQ(v[0] % 50, 0) << r;
    precedente = v[0];
    ++per_lato[v[1]];
    if (v[10] != 0) con_tempo.push_back(r);
  }
  EXPECT_EQ(per_lato, (std::map<long, int>{{1, 13}, {2, 31}}));
  const std::vector<std::string> attesi = {
      "segnale,   38100,   2, 2, 3,  0, 0,    0,  0,0,0, 110",
      "segnale,   48900,   2, 3, 0,  0, 0,    0,  0,0,0, 210",
      "segnale,   51100,   2, 2, 3,  0, 0,    2,  2,0,0, 210",
      "segnale,  106850,   2, 3, 1,  0, 0,    0,  0,0,0, 250",
      "segnale,  108250,   2, 4, 1,  0, 0,    2,  2,1,0, 250",
      "segnale,  115750,   2, 3, 4,  0, 0,    1,  2,1,0, 110",
  };
  EXPECT_EQ(con_tempo, attesi);
  EXPECT_NE(std::find(treno().begin(), treno().end(),
                      "segnale,   46400,   2, 4, 1,  1, 0,    2,  2,1,1, 0"),
            treno().end());
}

TEST(SorgenteTreno, PuntiDiCambioETaglioCodice) {
  std::vector<std::string> attese;
  for (int p = 46500; p <= 50000; p += 500) {
    attese.push_back("abbattimento,   " + std::to_string(p) + ",   270");
  }
  for (int p : {54500, 54600, 54650, 54700, 54750}) {
    attese.push_back("abbattimento,   " + std::to_string(p) + ",   AC");
  }
  for (int p = 102450; p <= 103950; p += 500) {
    attese.push_back("abbattimento,  " + std::to_string(p) + ",   270");
  }
  const std::vector<std::string> righe(treno().begin() + 102, treno().begin() + 119);
  EXPECT_EQ(righe, attese);
}

}  // namespace
}  // namespace compattatore
