// A property over generated scenarios: change one number of one keyword line (wrap it past its
// field, negate it, make it a word, give it a fraction or a decimal comma), compile, and read
// the compiled files back through the readers. Wherever the value the files hold can be found
// from the table of source fields (where the value goes) and the tables of stored fields (how it
// is stored), and differs from the value written, the compile must have said something at that
// line; a word, a fraction or a comma can never be stored as written, so they always must.
//
// COMPATTATORE_MUTAZIONI and COMPATTATORE_SEME in the environment set how many changes are tried
// and from which seed (bench/verifica_mutazioni.sh tries many more, from many seeds).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "compilazione/compila.h"
#include "formato/lettori.h"
#include "model/campi.h"
#include "model/cp1252.h"
#include "model/parole.h"
#include "model/regole.h"
#include "model/ruoli_voci.h"
#include "support/supporto.h"

namespace compattatore {
namespace {

#ifdef COMPATTATORE_GENERATORE

// Every diagnostic's file and line.
class Righe : public Segnalatore {
 public:
  void ricevi(Segnalazione s) override {
    codice_ = s.codice;
    dove.push_back({s.luogo.file, s.luogo.riga});
  }
  Codice codice_errore() const override { return codice_; }
  void avvisa(Segnalazione s) override { dove.push_back({s.luogo.file, s.luogo.riga}); }
  bool a(const std::string& file, int riga) const {
    for (const auto& [f, r] : dove) {
      if (f == file && r == riga) return true;
    }
    return false;
  }

  std::vector<std::pair<std::string, int>> dove;

 private:
  Codice codice_ = Codice::nessuno;
};

std::string senza_spazi(std::string s) {
  const size_t i = s.find_first_not_of(" \t");
  if (i == std::string::npos) return {};
  return s.substr(i, s.find_last_not_of(" \t") - i + 1);
}

std::optional<int64_t> intero(const std::string& t) {
  if (t.empty()) return std::nullopt;
  size_t i = t[0] == '-' ? 1 : 0;
  if (i == t.size()) return std::nullopt;
  for (size_t k = i; k < t.size(); ++k) {
    if (t[k] < '0' || t[k] > '9') return std::nullopt;
  }
  return std::stoll(t);
}

// A keyword line of a generated source: its keyword and its comma-separated items.
struct RigaChiaveLetta {
  bool linea;  // of the line source
  int numero;  // line number, from 1
  Chiave chiave;
  std::vector<std::string> voci;  // item 0 is the keyword
  int stazione = 0;               // for a station line: which station, from 1
};

std::vector<std::string> dividi(const std::string& riga) {
  std::vector<std::string> voci;
  size_t da = 0;
  for (;;) {
    const size_t virgola = riga.find(',', da);
    voci.push_back(
        riga.substr(da, virgola == std::string::npos ? std::string::npos : virgola - da));
    if (virgola == std::string::npos) return voci;
    da = virgola + 1;
  }
}

std::optional<Chiave> chiave_di(const std::string& voce, bool linea) {
  const std::string bassa = cp1252::minuscole(voce);
  const std::vector<Ambito> ambiti =
      linea ? std::vector{Ambito::linea_generale, Ambito::linea_elementi}
            : std::vector{Ambito::treno};
  for (const Ambito a : ambiti) {
    for (const RigaChiave* r : in_ordine_di_prova(a)) {
      if (r->genere == Genere::parola && corrisponde(*r, voce, bassa)) return r->chiave;
    }
  }
  return std::nullopt;
}

std::vector<RigaChiaveLetta> righe_chiave(const std::string& testo, bool linea) {
  std::vector<RigaChiaveLetta> r;
  int stazioni = 0;
  const std::vector<std::string> righe = prova::righe_crlf(testo);
  for (size_t i = 0; i < righe.size(); ++i) {
    std::vector<std::string> voci = dividi(righe[i]);
    const std::optional<Chiave> c = chiave_di(senza_spazi(voci[0]), linea);
    if (!c || riga(*c).separatore != ',' || voci.size() != valori(*c).size() + 1) continue;
    RigaChiaveLetta l{linea, static_cast<int>(i) + 1, *c, std::move(voci)};
    if (*c == Chiave::stazione) l.stazione = ++stazioni;
    r.push_back(std::move(l));
  }
  return r;
}

// The value of row `v`, written on the line `l`, as the compiled files hold it in the value's
// unit; nothing where the tables cannot tell (a value combined with others, a position, a value
// used but not stored, a rule that clears it).
std::optional<int64_t> nei_file(const RigaValore& v, const RigaChiaveLetta& l, const Elenco& e,
                                const std::vector<Tratto>& tratti) {
  const Dove& d = v.dove;
  if (v.lettura == ModoLettura::posizione) return std::nullopt;
  if (d.tabella == TabellaModello::elenco && d.ruolo) {
    if (v.chiave == Chiave::progressiva_uno || v.chiave == Chiave::progressiva_due ||
        v.chiave == Chiave::progressiva_tre || v.valore == ValoreChiave::ripetizione_segnali_fine ||
        v.valore == ValoreChiave::stazione_flag_3 || v.valore == ValoreChiave::stazione_flag_4 ||
        v.memoria != Memoria::come_scritto) {
      return std::nullopt;  // reordered, or cleared by a rule
    }
    const int indice = d.indice == Dove::kStazione ? l.stazione : d.indice;
    if (indice < 0) return std::nullopt;
    return numero(e.at(static_cast<size_t>(indice)), *d.ruolo);
  }
  if (d.tabella != TabellaModello::tratti || !d.campo) return std::nullopt;
  const std::optional<int64_t> p = intero(senza_spazi(l.voci[1]));
  if (!p) return std::nullopt;
  int64_t s = 0;
  if (v.memoria == Memoria::piu_cento || v.memoria == Memoria::quinti ||
      v.memoria == Memoria::bassi_8) {
    s = cinquantesimi(static_cast<double>(*p));  // a profile: from the stretch of its position
  } else if (v.valore == ValoreChiave::rallentamento_v) {
    s = arrotonda(static_cast<double>(*p) / 50.0 + 1.0);  // the slowdown's start
  } else {
    return std::nullopt;
  }
  if (s < 0 || s >= static_cast<int64_t>(tratti.size()) - 3) return std::nullopt;
  const auto& campo = riga_campo(*d.campo);
  return campo.in_unita(campo.valore(tratti[static_cast<size_t>(s)]));
}

// What the author meant by the item: nothing for a word, a fraction or a comma, which no stored
// integer is.
struct Mutazione {
  std::string testo;
  std::optional<int64_t> inteso;
};

Mutazione muta(int64_t v, std::mt19937& caso) {
  switch (caso() % 6) {
    case 0:
      return {std::to_string(v + 256), v + 256};
    case 1:
      return {std::to_string(v + 65536), v + 65536};
    case 2: {
      const int64_t n = v == 0 ? -5 : -v;
      return {std::to_string(n), n};
    }
    case 3:
      return {"dodici", std::nullopt};
    case 4:
      return {std::to_string(v) + ".5", std::nullopt};
    default:
      return {std::to_string(v) + ",5", std::nullopt};
  }
}

int dall_ambiente(const char* nome, int predefinito) {
  const char* n = std::getenv(nome);
  return n != nullptr ? std::atoi(n) : predefinito;
}

TEST(Mutazioni, OgniValoreMemorizzatoDiversamenteHaUnaParolaAllaSuaRiga) {
  struct Scenario {
    std::string linea, treno;
    std::vector<RigaChiaveLetta> righe;
  };
  std::vector<Scenario> scenari;
  const int seme_base = dall_ambiente("COMPATTATORE_SEME", 1);
  for (const int seme : {seme_base, seme_base + 1, seme_base + 2}) {
    prova::CartellaTemporanea d;
    const prova::Risultato g =
        prova::esegui_programma({"--metri", "20000", "--nome", "Gen", "--treno", "1", "--dir", ".",
                                 "--seme", std::to_string(seme)},
                                d.percorso(), false, COMPATTATORE_GENERATORE);
    ASSERT_EQ(g.stato, 0) << g.err;
    Scenario s{prova::leggi(d / "Gen_linea.txt"), prova::leggi(d / "Gen_1-.txt"), {}};
    s.righe = righe_chiave(s.linea, true);
    for (RigaChiaveLetta& r : righe_chiave(s.treno, false)) s.righe.push_back(std::move(r));
    ASSERT_FALSE(s.righe.empty());
    scenari.push_back(std::move(s));
  }

  std::mt19937 caso(static_cast<std::mt19937::result_type>(20 + seme_base));
  const int totale = dall_ambiente("COMPATTATORE_MUTAZIONI", 2000);
  int provate = 0, confrontate = 0;
  while (provate < totale) {
    const Scenario& s = scenari[caso() % scenari.size()];
    const RigaChiaveLetta& l = s.righe[caso() % s.righe.size()];
    const size_t k = 1 + caso() % (l.voci.size() - 1);
    const RigaValore& v = valori(l.chiave)[k - 1];
    const std::string scritto = senza_spazi(l.voci[k]);
    const std::optional<int64_t> prima = intero(scritto);
    if (v.lettura == ModoLettura::testo || !prima) continue;
    const Mutazione m = muta(*prima, caso);
    ++provate;

    std::vector<std::string> voci = l.voci;
    const size_t inizio = voci[k].find(scritto);
    voci[k].replace(inizio, scritto.size(), m.testo);
    std::string nuova = voci[0];
    for (size_t i = 1; i < voci.size(); ++i) nuova += "," + voci[i];
    std::vector<std::string> righe = prova::righe_crlf(l.linea ? s.linea : s.treno);
    righe[static_cast<size_t>(l.numero - 1)] = nuova;
    const std::string mutato = prova::righe(righe);

    Righe dette;
    OpzioniCompilazione o;
    const Compilazione c =
        compila_testi(Identita{"Gen", "1"}, Sorgente::testo("L", l.linea ? mutato : s.linea),
                      Sorgente::testo("T", l.linea ? s.treno : mutato), o, dette);
    const std::string file = l.linea ? "L" : "T";
    const std::string dove = file + ":" + std::to_string(l.numero) + " '" + nuova + "'";
    if (dette.a(file, l.numero)) continue;  // told at the line
    // A word where a word is read as 0 on purpose (a code cut) is what the author meant.
    const bool parola_voluta = m.testo == "dodici" && v.senso == Senso::parola_nulla;
    EXPECT_TRUE(m.inteso.has_value() || parola_voluta)
        << dove << ": nessuna parola per '" << m.testo << "'";
    if (!m.inteso || !c.completa() || dette.codice_errore() != Codice::nessuno) continue;
    const Elenco e = leggi_elenco(c.byte(TipoCompilato::elenco), "elenco");
    const std::vector<Tratto> t = leggi_tratti(c.byte(TipoCompilato::tratti), "tratti");
    const std::optional<int64_t> tenuto = nei_file(v, l, e, t);
    if (!tenuto) continue;
    ++confrontate;
    const int64_t atteso = v.memoria == Memoria::quinti ? *memorizzato(v, *m.inteso) : *m.inteso;
    EXPECT_EQ(*tenuto, atteso) << dove << ": " << v.nome << " memorizzato come " << *tenuto
                               << " senza una parola alla riga";
  }
  EXPECT_GT(confrontate, 0);
}

#endif

}  // namespace
}  // namespace compattatore
