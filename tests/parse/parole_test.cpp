// The table of source fields against the phases that read the sources: how many values each
// keyword reads, where a value stored as written goes, the ranges and multiples and their codes,
// and how an item is recognised as a keyword (with the warnings that say so).
#include "model/parole.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/campi.h"
#include "model/regole.h"
#include "model/ruoli_voci.h"
#include "parse/fasi.h"
#include "parse/lettore.h"
#include "support/supporto.h"

namespace compattatore {
namespace {

constexpr int32_t kLunghezza = 10000;

// Both phases over a line source and a train source (the train one only when the line phase
// leaves the run going), recording codes and warnings; a run-time fault is recorded as such.
struct Corsa {
  Modello m;
  prova::RegistroErrori registro;
  bool guasto = false;

  Corsa(const std::string& linea, const std::string& treno, bool con_tracciato) {
    try {
      LettoreVoci l(linea, "linea.txt");
      const EsitoLinea e = fase_linea(m, registro, l, OpzioniLinea{con_tracciato});
      const Codice c = registro.codice_errore();
      if (m.dimensionato() && (c == Codice::nessuno || c == Codice::fuori_percorso)) {
        LettoreVoci t(treno, "treno.txt");
        fase_treno(m, registro, t, OpzioniTreno{e.cursore_cartelli, e.progressive});
      }
    } catch (const GuastoEsecuzione&) {
      guasto = true;
    }
  }
  Codice codice() const { return registro.codice_errore(); }
  // The messages of the warnings of kind `a`.
  std::vector<std::string> avvisi(Avviso a) const {
    std::vector<std::string> m;
    for (const Segnalazione& s : registro.avvisi) {
      if (s.avviso == a) m.push_back(s.dettaglio);
    }
    return m;
  }
};

// A line of keyword `c` with `valori`, spelt as an author writes it.
std::string riga_di(Chiave c, const std::vector<std::string>& valori) {
  const RigaChiave& r = riga(c);
  std::string s = forme(r).front();
  for (size_t i = 0; i < valori.size(); ++i) {
    s += i == 0 || r.separatore == ',' ? ", " : std::string(1, r.separatore);
    s += valori[i];
  }
  return s;
}

// One run with `righe` in the section of `c` on a route of kLunghezza metres.
Corsa esegui(Chiave c, const std::vector<std::string>& righe) {
  const bool con_tracciato = c == Chiave::curva;
  switch (riga(c).ambito) {
    case Ambito::linea_generale:
      return Corsa(prova::sorgente_linea({}, kLunghezza, righe), prova::sorgente_treno({}),
                   con_tracciato);
    case Ambito::linea_elementi:
      return Corsa(prova::sorgente_linea(righe, kLunghezza), prova::sorgente_treno({}),
                   con_tracciato);
    case Ambito::treno:
      break;
  }
  return Corsa(prova::sorgente_linea({}, kLunghezza), prova::sorgente_treno(righe), con_tracciato);
}

// For every keyword, values that make a line that stores everything, and the lines before it
// that it needs: the three kilometric sections keep their order, a station is the second one.
struct Esempio {
  std::vector<std::string> valori;
  std::vector<std::string> prima{};
};
const std::map<Chiave, Esempio> kEsempi = {
    {Chiave::lunghezza_percorso, {{"10000"}}},
    {Chiave::progressiva_uno,
     {{"1000", "5000", "0"},
      {"progressiva chilometrica tre, 3000, 7000, 0",
       "progressiva chilometrica due, 2000, 6000, 0"}}},
    {Chiave::progressiva_due,
     {{"2000", "6000", "0"},
      {"progressiva chilometrica tre, 3000, 7000, 0",
       "progressiva chilometrica uno, 1000, 5000, 0"}}},
    {Chiave::progressiva_tre,
     {{"3000", "7000", "0"},
      {"progressiva chilometrica due, 2000, 6000, 0",
       "progressiva chilometrica uno, 1000, 5000, 0"}}},
    {Chiave::sfondo_uno, {{"7"}}},
    {Chiave::sfondo_due, {{"7"}}},
    {Chiave::sfondo_tre, {{"7"}}},
    {Chiave::ripetizione_segnali, {{"1000", "2000"}}},
    {Chiave::pendenza, {{"500", "5"}}},
    {Chiave::curva, {{"500", "100"}}},
    {Chiave::montagna, {{"500", "1000", "1"}}},
    {Chiave::indicatori_vmax, {{"500", "60", "60", "60", "0", "60", "60", "60", "0"}}},
    {Chiave::cartello_indicatore, {{"700", "(A)"}}},
    {Chiave::numero_vetture, {{"6"}}},
    {Chiave::percentuale_massa_frenata, {{"120"}}},
    {Chiave::sabbia, {{"100"}}},
    {Chiave::orologio, {{"6", "13", "40"}}},
    {Chiave::aderenza, {{"500", "80"}}},
    {Chiave::velocita, {{"500", "80"}}},
    {Chiave::stazione,
     {{"2000", "24", "600", "0", "1", "1", "0", "0", "0", "0", "0", "0", "30", "6", "0", "0", "B"},
      {"stazione, 1000, 24, 300, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, A"}}},
    {Chiave::rallentamento, {{"5000", "60", "500", "0", "0", "0"}}},
    {Chiave::segnale, {{"4000", "2", "4", "1", "0", "0", "0", "0", "0", "0", "0"}}},
    {Chiave::abbattimento, {{"3000", "270"}}},
};

// The example line of `c`, its value `i` replaced by `valore` when given.
Corsa esegui_esempio(Chiave c, std::optional<std::pair<size_t, std::string>> cambio = {}) {
  const Esempio& e = kEsempi.at(c);
  std::vector<std::string> valori = e.valori;
  if (cambio) valori.at(cambio->first) = cambio->second;
  std::vector<std::string> righe = e.prima;
  righe.push_back(riga_di(c, valori));
  return esegui(c, righe);
}

// Where value `v` stands among the values of its keyword.
size_t indice(const RigaValore& v) {
  const std::span<const RigaValore> vv = valori(v.chiave);
  return static_cast<size_t>(&v - vv.data());
}

TEST(ParoleDellaTabella, OgniParolaHaUnEsempio) {
  for (const RigaChiave& r : kRigheChiavi) {
    if (r.genere != Genere::parola) continue;
    ASSERT_TRUE(kEsempi.count(r.chiave)) << r.nome;
    EXPECT_EQ(kEsempi.at(r.chiave).valori.size(), valori(r.chiave).size()) << r.nome;
  }
}

// Each keyword reads as many values as its rows: its line as an author writes it is read without a
// word, and one value more is left over.
TEST(ParoleDellaTabella, OgniParolaLeggeISuoiValori) {
  for (const RigaChiave& r : kRigheChiavi) {
    if (r.genere != Genere::parola) continue;
    const Corsa giusta = esegui_esempio(r.chiave);
    EXPECT_FALSE(giusta.guasto) << r.nome;
    EXPECT_EQ(giusta.codice(), Codice::nessuno) << r.nome;
    for (const Avviso a : {Avviso::valori_mancanti, Avviso::valori_in_piu, Avviso::parola_contenuta,
                           Avviso::parola_sconosciuta}) {
      EXPECT_TRUE(giusta.avvisi(a).empty()) << r.nome << ": " << giusta.avvisi(a).front();
    }
    std::vector<std::string> troppi = kEsempi.at(r.chiave).valori;
    troppi.push_back("9");
    std::vector<std::string> righe = kEsempi.at(r.chiave).prima;
    righe.push_back(riga_di(r.chiave, troppi));
    const auto in_piu = esegui(r.chiave, righe).avvisi(Avviso::valori_in_piu);
    const size_t n = valori(r.chiave).size();
    ASSERT_EQ(in_piu.size(), 1u) << r.nome;
    EXPECT_EQ(in_piu[0].rfind("'" + forme(r).front() + "' legge " + std::to_string(n) +
                                  (n == 1 ? " valore:" : " valori:"),
                              0),
              0u)
        << in_piu[0];
  }
}

// A value stored as written in an entry goes to the field its row names.
TEST(ParoleDellaTabella, IValoriComeScrittiVannoNelCampoDellaRiga) {
  int controllati = 0;
  for (const RigaValore& v : kRigheValori) {
    if (v.memoria != Memoria::come_scritto || v.dove.tabella != TabellaModello::elenco) continue;
    const size_t i = indice(v);
    const std::string& scritto = kEsempi.at(v.chiave).valori.at(i);
    // A change that keeps multiples of 50 and 100, and fits a byte.
    const int64_t passo =
        v.lettura == ModoLettura::i32 || v.lettura == ModoLettura::posizione ? 100 : 1;
    const int64_t nuovo = std::stoll(scritto) + passo;
    const Corsa c = esegui_esempio(v.chiave, std::pair{i, std::to_string(nuovo)});
    ASSERT_EQ(c.codice(), Codice::nessuno) << v.nome;
    const size_t entrata =
        v.dove.indice == Dove::kStazione ? 2 : static_cast<size_t>(v.dove.indice);
    const Voce& voce = c.m.elenco.at(entrata);
    const RigaRuolo& ruolo = riga_ruolo(v.dove.ruolo.value());
    EXPECT_EQ(numero(voce, ruolo.ruolo), nuovo)
        << riga(v.chiave).nome << " " << v.nome << " in " << entrata << " " << ruolo.nome;
    ++controllati;
  }
  EXPECT_GT(controllati, 30);
}

// A value off its multiple sets the code its row names; a number beyond its range too (code 25 is
// the run-time fault), and the range's own ends are stored.
TEST(ParoleDellaTabella, MultipliEIntervalliDelleRighe) {
  auto esito = [](const RigaValore& v, int64_t valore) {
    const Corsa c = esegui_esempio(v.chiave, std::pair{indice(v), std::to_string(valore)});
    return c.guasto ? Codice::guasto_lettura : c.codice();
  };
  for (const RigaValore& v : kRigheValori) {
    const std::string nome = std::string(riga(v.chiave).nome) + " " + v.nome;
    const int64_t scritto =
        v.lettura == ModoLettura::testo ? 0 : std::stoll(kEsempi.at(v.chiave).valori.at(indice(v)));
    if (v.multiplo.passo != 0) {
      EXPECT_EQ(esito(v, scritto + v.multiplo.passo / 2), v.multiplo.codice) << nome;
      EXPECT_EQ(esito(v, scritto + v.multiplo.passo), Codice::nessuno) << nome;
    }
    if (v.codice == Codice::nessuno) continue;
    const Intervallo& i = v.intervallo;
    if (v.lettura == ModoLettura::posizione) {
      EXPECT_EQ(esito(v, kLunghezza + i.massimo + 50), v.codice) << nome;
      EXPECT_EQ(esito(v, i.minimo - 50), v.codice) << nome;
      continue;
    }
    if (i.minimo == kInteri32.minimo && i.massimo == kInteri32.massimo) continue;
    EXPECT_EQ(esito(v, i.massimo), Codice::nessuno) << nome;
    EXPECT_EQ(esito(v, i.massimo + 1), v.codice) << nome;
    EXPECT_EQ(esito(v, i.minimo), Codice::nessuno) << nome;
    // A speed of -1 or -2 km/h still rounds to a fifth of 0.
    EXPECT_EQ(esito(v, i.minimo - (v.memoria == Memoria::quinti ? 3 : 1)), v.codice) << nome;
  }
}

// How an item is read as a keyword, or why it is not: the warning it gets, as written.
TEST(ParoleDellaTabella, RiconoscimentoDelleParoleChiave) {
  const struct {
    Ambito ambito;
    std::string voce;
    Avviso avviso;
    std::string messaggio;  // empty: no warning about the keyword
  } casi[] = {
      // The general section: letter case counts for some keywords, and one item may be two.
      {Ambito::linea_generale, "LUNGHEZZA Percorso, 10000", Avviso::nessuno, ""},
      {Ambito::linea_generale, "Sfondo uno, 7", Avviso::parola_sconosciuta,
       "'Sfondo uno' non è letta: in questa parola chiave le maiuscole contano; scrivi 'sfondo "
       "uno'"},
      {Ambito::linea_generale, "progressiva due tre, 3000, 7000, 0, 2000, 6000, 0",
       Avviso::parola_contenuta,
       "'progressiva due tre' contiene le parole chiave 'progressiva chilometrica tre' e "
       "'progressiva chilometrica due' ed è letta come ciascuna"},
      {Ambito::linea_generale, "ripetizione segnali 4 codici, 1000, 2000", Avviso::nessuno, ""},
      {Ambito::linea_generale, "ripetizione segnali, 1000, 2000", Avviso::parola_contenuta,
       "'ripetizione segnali' contiene la parola chiave 'ripetizione segnali 9 codici' ed è letta "
       "come tale"},
      {Ambito::linea_generale, "progressiva chilometrica dre, 0, 0, 0", Avviso::parola_sconosciuta,
       "'progressiva chilometrica dre' non è una parola chiave del file della linea: la riga è "
       "ignorata; forse intendevi 'progressiva chilometrica due'?"},
      {Ambito::linea_generale, "progressiva: 5", Avviso::parola_sconosciuta,
       "'progressiva: 5' non è una parola chiave del file della linea: la riga è ignorata; forse "
       "intendevi 'progressiva chilometrica uno'?"},
      {Ambito::linea_generale, "curvad4, 500, 100", Avviso::parola_sconosciuta,
       "'curvad4' non si legge nella sezione [generale]: la riga è ignorata (scrivila dopo "
       "un'intestazione come [curve] o [pendenze])"},
      // The features: curves by side and class.
      {Ambito::linea_elementi, "curvad4, 500, 100", Avviso::nessuno, ""},
      {Ambito::linea_elementi, "curva4, 500, 100", Avviso::parola_contenuta,
       "'curva4' è letta come 'curvad4': curva a destra di classe 4 (raggio 1000 m)"},
      {Ambito::linea_elementi, "CurvaS6x, 500, 100", Avviso::parola_contenuta,
       "'CurvaS6x' è letta come 'curvas6': curva a sinistra di classe 6 (raggio 333 m)"},
      {Ambito::linea_elementi, "curvax, 500, 100", Avviso::nessuno, ""},  // code 103
      {Ambito::linea_elementi, "indicat cartello, 700, (A)", Avviso::parola_contenuta,
       "'indicat cartello' contiene la parola chiave 'cartello_indicatore' ed è letta come tale"},
      {Ambito::linea_elementi, "[Pendenze]", Avviso::nessuno, ""},
      {Ambito::linea_elementi, "[curv]", Avviso::parola_sconosciuta,
       "'[curv]' non è un'intestazione del file della linea; forse intendevi '[curve]'?"},
      {Ambito::linea_elementi, "sfondo uno, 7", Avviso::parola_sconosciuta,
       "'sfondo uno' si legge solo nella sezione [generale], prima della prima intestazione che la "
       "chiude: qui la riga è ignorata"},
      {Ambito::linea_elementi, "cuvrad3, 500, 100", Avviso::parola_sconosciuta,
       "'cuvrad3' non è una parola chiave del file della linea: la riga è ignorata; forse "
       "intendevi 'curvad3'?"},
      {Ambito::linea_elementi, "stazione, 500", Avviso::parola_sconosciuta,
       "'stazione' è una parola chiave del file del treno: nel file della linea la riga è "
       "ignorata"},
      // The train source.
      {Ambito::treno, "Velocit\xE0, 500, 80", Avviso::nessuno, ""},
      {Ambito::treno, "VELOCITA, 500, 80", Avviso::nessuno, ""},
      {Ambito::treno, "stazione segnale, 4000, 2, 4, 1, 0, 0, 0, 0,0,0, 0",
       Avviso::parola_contenuta,
       "'stazione segnale' contiene le parole chiave 'segnale' e 'stazione' ed è letta come "
       "ciascuna"},
      {Ambito::treno, "x, sabbia, 100", Avviso::parola_contenuta,
       "'sabbia', in mezzo alla riga, è letta come parola chiave"},
      {Ambito::treno, "numero: 5", Avviso::parola_sconosciuta,
       "'numero: 5' non è una parola chiave del file del treno: la riga è ignorata; forse "
       "intendevi 'numero vetture'?"},
      {Ambito::treno, "[stazion]", Avviso::parola_sconosciuta,
       "'[stazion]' non è un'intestazione del file del treno; forse intendevi '[stazioni]'?"},
      {Ambito::treno, "[aderenze]", Avviso::nessuno, ""},
      {Ambito::treno, "pendenza, 500, 5", Avviso::parole_della_linea,
       "'pendenza' è una parola chiave del file della linea: nel file del treno la riga è "
       "ignorata"},
  };
  for (const auto& c : casi) {
    const Chiave sezione = c.ambito == Ambito::linea_generale   ? Chiave::lunghezza_percorso
                           : c.ambito == Ambito::linea_elementi ? Chiave::curva
                                                                : Chiave::sabbia;
    const Corsa corsa = esegui(sezione, {c.voce});
    std::vector<std::string> parole = corsa.avvisi(Avviso::parola_contenuta);
    for (const Avviso a : {Avviso::parola_sconosciuta, Avviso::parole_della_linea}) {
      for (std::string& m : corsa.avvisi(a)) parole.push_back(m);
    }
    if (c.messaggio.empty()) {
      EXPECT_TRUE(parole.empty()) << c.voce << ": " << parole.front();
      continue;
    }
    const auto dello_stesso = corsa.avvisi(c.avviso);
    ASSERT_EQ(dello_stesso.size(), 1u) << c.voce;
    EXPECT_EQ(dello_stesso[0], c.messaggio);
  }
}

}  // namespace
}  // namespace compattatore
