#include "formato/lettori.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "formato/compilati.h"
#include "run/esecuzione.h"
#include "sources/scenario.h"
#include "support/percorso_prova.h"
#include "support/supporto.h"

namespace compattatore {
namespace {

using prova::Attesi;

// An entry of 34 bytes with an empty text.
std::string voce_vuota() { return Attesi().zeri(14).i16(0).zeri(18).byte(); }

std::string elenco_vuoto(size_t voci = 87) {
  std::string b;
  for (size_t i = 0; i < voci; ++i) b += voce_vuota();
  return b;
}

TEST(LeggiElenco, CampiDaByteCostruitiDallaTabella) {
  std::string byte = voce_vuota();
  byte += Attesi()
              .u8(8)
              .i32(-400)
              .i32(400)
              .i32(0)
              .u8(3)
              .i16(12)
              .testo_puro("VITERBO P.F.")
              .i16(1)
              .i16(-2)
              .i16(4)
              .i16(32767)
              .i16(-32768)
              .u8(255)
              .u8(1)
              .u8(0)
              .u8(7)
              .i32(22440)
              .byte();
  byte += elenco_vuoto(85);
  const Elenco e = leggi_elenco(byte, "x.sim");
  const Voce& v = e[1];
  EXPECT_EQ(v.tipo_voce, 8);
  EXPECT_EQ(v.campo_1, -400);
  EXPECT_EQ(v.campo_2, 400);
  EXPECT_EQ(v.opzione, 3);
  EXPECT_EQ(v.testo, "VITERBO P.F.");
  EXPECT_EQ(v.intero_2, -2);
  EXPECT_EQ(v.intero_4, 32767);
  EXPECT_EQ(v.intero_5, -32768);
  EXPECT_EQ(v.flag_1, 255);
  EXPECT_EQ(v.flag_4, 7);
  EXPECT_EQ(v.orario, 22440);
  EXPECT_EQ(e[0], Voce{});
  EXPECT_EQ(e[86], Voce{});
}

TEST(LeggiTratti, QuindiciByteATratto) {
  std::string byte(15 * 3, '\0');
  byte += std::string("\x01\x2A\x00\xFF\xFF\x0B\x00\x00\x80\x6E\x51\x02\x13\x5F\xC8", 15);
  const std::vector<Tratto> t = leggi_tratti(byte, "x.dat");
  ASSERT_EQ(t.size(), 4u);
  EXPECT_EQ(t[0], Tratto{});
  const Tratto& s = t[3];
  EXPECT_EQ(s.oggetto, 1);
  EXPECT_EQ(s.valore_1, 42);
  EXPECT_EQ(s.valore_2, -1);
  EXPECT_EQ(s.valore_3, 11);
  EXPECT_EQ(s.valore_4, -32768);
  EXPECT_EQ(s.tempo_segnale, 110);
  EXPECT_EQ(s.preavviso, 81);
  EXPECT_EQ(s.montagna, 2);
  EXPECT_EQ(s.velocita, 19);
  EXPECT_EQ(s.pendenza, 95);
  EXPECT_EQ(s.aderenza, 200);
}

TEST(LeggiTracciato, CoordinataZeroPoiCoordinataUno) {
  // Three points: (0, 0) and (0, 1) as integers, then a double and an empty value.
  Attesi a;
  a.i16(2).i16(0).i16(2).i16(0).i16(5).f64(-1.5);
  a.i16(2).i16(0).i16(2).i16(1).i16(0);
  const Tracciato t = leggi_tracciato(a.byte(), "x_linea.dat");
  ASSERT_EQ(t.punti(), 3u);
  EXPECT_EQ(t.tipo(0, Asse::x), TipoCoordinata::intera);
  EXPECT_EQ(t.intero(0, Asse::x), 0);
  EXPECT_EQ(t.tipo(1, Asse::y), TipoCoordinata::intera);
  EXPECT_EQ(t.intero(1, Asse::y), 1);
  EXPECT_EQ(t.tipo(2, Asse::x), TipoCoordinata::reale);
  EXPECT_EQ(t.valore(2, Asse::x), -1.5);
  EXPECT_EQ(t.tipo(2, Asse::y), TipoCoordinata::vuota);
}

// A model with every kind of value the files hold: extremes, negatives, texts, all three tags.
Modello modello_di_prova() {
  Modello m = prova::percorso();
  Tratto& s = m.tratti[929];
  s = {1, 42, -1, 11, -32768, 110, 81, 2, 19, 95, 200};
  m.tratti[2620] = {255, 32767, -32768, 1, -1, 255, 255, 255, 255, 255, 255};
  m.elenco[1] = {8,      -400, 400, 2147483647, 3, "VITERBO P.F.", 1, -2, 4, 32767,
                 -32768, 255,  1,   0,          7, -2147483647 - 1};
  m.elenco[80].testo = std::string(65535, '\xE8');  // the longest text, Windows-1252 bytes
  m.elenco[85].testo = "Nome";
  m.elenco[86].testo = "7";
  m.tracciato.crea(5);
  m.tracciato.imposta_intero(0, Asse::x, -32768);
  m.tracciato.imposta_intero(0, Asse::y, 32767);
  m.tracciato.imposta_reale(2, Asse::x, -0.0);
  m.tracciato.imposta_reale(2, Asse::y, 1e300);
  m.tracciato.imposta_reale(3, Asse::x, 4.9e-324);
  m.tracciato.imposta_reale(4, Asse::y, 0.5);
  return m;
}

void atteso_andata_e_ritorno(const Modello& m, const std::string& chi) {
  const std::string elenco = byte_elenco(m.elenco);
  const std::string tratti = byte_tratti(m.tratti);
  EXPECT_EQ(leggi_elenco(elenco, "x.sim"), m.elenco) << chi;
  EXPECT_EQ(leggi_tratti(tratti, "x.dat"), m.tratti) << chi;
  if (!m.tracciato.vuoto()) {
    const std::string tracciato = byte_tracciato(m.tracciato);
    const Tracciato letto = leggi_tracciato(tracciato, "x_linea.dat");
    // Compared as bytes too: -0.0 equals 0.0 as a number but not as a file.
    EXPECT_TRUE(letto == m.tracciato) << chi;
    EXPECT_EQ(byte_tracciato(letto), tracciato) << chi;
  }
}

TEST(LetturaEScrittura, AndataERitornoDiOgniModello) {
  atteso_andata_e_ritorno(modello_di_prova(), "modello di prova");
  atteso_andata_e_ritorno(prova::percorso(), "percorso vuoto");

  prova::CartellaTemporanea d;
  Esecuzione run = Esecuzione::nella_cartella(NomiScenario::incorporato(), d.percorso());
  dati_linea(d.percorso(), NomiScenario::incorporato());
  dati_treno(d.percorso(), NomiScenario::incorporato());
  ASSERT_EQ(run.memorizza_percorso(1).esito, Esito::scritto);
  atteso_andata_e_ritorno(run.modello(), "scenario incorporato");
  // And the files the run wrote read back to the same model.
  EXPECT_EQ(leggi_tratti(prova::leggi(d / prova::kFileTratti), "x"), run.modello().tratti);
  EXPECT_EQ(leggi_elenco(prova::leggi(d / prova::kFileElenco), "x"), run.modello().elenco);
  EXPECT_TRUE(leggi_tracciato(prova::leggi(d / prova::kFileTracciato), "x") ==
              run.modello().tracciato);
}

#ifdef COMPATTATORE_GENERATORE
TEST(LetturaEScrittura, AndataERitornoDegliScenariGenerati) {
  // Random valid scenarios of the benchmark's generator, every kind of feature in them.
  for (const int metri : {3000, 20000, 131000}) {
    for (int seme = 1; seme <= 4; ++seme) {
      prova::CartellaTemporanea d;
      const prova::Risultato g =
          prova::esegui_programma({"--metri", std::to_string(metri), "--nome", "Gen", "--treno",
                                   "1", "--dir", ".", "--seme", std::to_string(seme)},
                                  d.percorso(), false, COMPATTATORE_GENERATORE);
      ASSERT_EQ(g.stato, 0) << g.err;
      Esecuzione run = Esecuzione::dell_autore(prova::nomi("Gen", "1"), d.percorso(),
                                               d / "Gen_linea.txt", d / "Gen_1-.txt", true);
      ASSERT_EQ(run.esegui().esito, Esito::scritto) << metri << " m, seme " << seme;
      atteso_andata_e_ritorno(run.modello(),
                              std::to_string(metri) + " m, seme " + std::to_string(seme));
    }
  }
}
#endif

enum class Tipo { tracciato, elenco, tratti };

void leggi(Tipo tipo, const std::string& byte) {
  switch (tipo) {
    case Tipo::tracciato:
      leggi_tracciato(byte, "f");
      break;
    case Tipo::elenco:
      leggi_elenco(byte, "f");
      break;
    case Tipo::tratti:
      leggi_tratti(byte, "f");
      break;
  }
}

// A source handing the bytes over `passo` at a time, as a slow file or a pipe may.
std::function<PezziDaLeggere()> a_passi(const std::string& byte, size_t passo) {
  return [&byte, passo]() -> PezziDaLeggere {
    return [&byte, passo, pos = size_t{0}](char* dove, size_t quanti) mutable {
      const size_t n = std::min({passo, quanti, byte.size() - pos});
      std::memcpy(dove, byte.data() + pos, n);
      pos += n;
      return n;
    };
  };
}

TEST(LeggiTracciato, APezziComeIntero) {
  // Values cut anywhere by the end of a read give the same plan, and a broken file the same
  // error at the same byte, as the whole file in memory.
  const std::string buono = byte_tracciato(modello_di_prova().tracciato);
  const std::string guasti[] = {
      buono.substr(0, buono.size() - 3),      // a double cut short at the end
      buono + Attesi().i16(2).i16(0).byte(),  // an odd number of values
      buono.substr(0, 20) + Attesi().i16(9).byte() + buono.substr(20),  // an unknown tag
  };
  for (size_t passo : {1, 2, 3, 7, 9, 10, 11, 4096}) {
    EXPECT_TRUE(leggi_tracciato(a_passi(buono, passo), "f") == modello_di_prova().tracciato)
        << passo;
    for (const std::string& guasto : guasti) {
      std::string intero, a_pezzi;
      try {
        leggi_tracciato(guasto, "f");
      } catch (const ErroreLettura& e) {
        intero = e.what();
      }
      try {
        leggi_tracciato(a_passi(guasto, passo), "f");
      } catch (const ErroreLettura& e) {
        a_pezzi = e.what();
      }
      EXPECT_FALSE(intero.empty());
      EXPECT_EQ(a_pezzi, intero) << passo;
    }
  }
}

TEST(LetturaEScrittura, FileGuastiRifiutatiConByteEAttesa) {
  const std::string voce_lunga = Attesi().zeri(14).i16(40000).testo_puro("abc").byte();
  const std::string vuote_86 = elenco_vuoto(86);
  struct Caso {
    const char* nome;
    Tipo tipo;
    std::string byte;
    uint64_t offset;
    const char* atteso;  // part of the message
  };
  const Caso casi[] = {
      {"tracciato vuoto", Tipo::tracciato, "", 0, "file vuoto"},
      {"etichetta 7", Tipo::tracciato, Attesi().i16(7).i16(0).byte(), 0, "etichetta 7"},
      {"etichetta dopo un valore", Tipo::tracciato, Attesi().i16(2).i16(0).i16(3).byte(), 4,
       "etichetta 3 sconosciuta nel valore 1"},
      {"etichetta a metà", Tipo::tracciato, Attesi().i16(0).u8(0).byte(), 2,
       "attesi 2 byte per l'etichetta del valore 1"},
      {"intero troncato", Tipo::tracciato, Attesi().i16(2).u8(1).byte(), 2,
       "attesi 2 byte per il valore 0"},
      {"double troncato", Tipo::tracciato, Attesi().i16(5).zeri(7).byte(), 2,
       "attesi 8 byte per il valore 0 del tracciato (doppia precisione), ne restano 7"},
      {"numero dispari di valori", Tipo::tracciato, Attesi().i16(0).i16(0).i16(0).byte(), 6,
       "dispari"},
      {"elenco vuoto", Tipo::elenco, "", 0, "file vuoto"},
      {"86 voci", Tipo::elenco, vuote_86, 86 * 34, "la voce 86"},
      {"un byte dopo la voce 86", Tipo::elenco, elenco_vuoto() + "x", 87 * 34,
       "1 byte dopo la voce 86"},
      {"testo oltre la fine", Tipo::elenco, voce_lunga, 16,
       "attesi 40000 byte per il testo della voce 0 (tanti ne dichiarano i 2 byte di "
       "lunghezza prima di lui), ne restano 3"},
      {"voce finita nel testo", Tipo::elenco, vuote_86 + Attesi().zeri(14).i16(2).byte(),
       86 * 34 + 16, "il testo della voce 86"},
      {"voce finita dopo il testo", Tipo::elenco, vuote_86 + voce_vuota().substr(0, 30),
       86 * 34 + 16, "voce 86 (dopo il testo"},
      {"file di testo come elenco", Tipo::elenco, "[generale]\r\n", 0, "la voce 0"},
      {"tratti vuoti", Tipo::tratti, "", 0, "file vuoto"},
      {"tratto incompleto", Tipo::tratti, std::string(16, '\0'), 15,
       "il file finisce nel tratto 1: attesi 15 byte, ne resta 1"},
      {"file di testo come tratti", Tipo::tratti, "ciao", 0, "non è un multiplo di 15"},
      {"troppi tratti", Tipo::tratti, std::string(15 * (kMassimoTratti + 1), '\0'),
       15 * kMassimoTratti, "al massimo 20141 tratti"},
  };
  for (const auto& c : casi) {
    try {
      leggi(c.tipo, c.byte);
      ADD_FAILURE() << c.nome << ": letto senza errori";
    } catch (const ErroreLettura& e) {
      EXPECT_EQ(e.file, "f") << c.nome;
      EXPECT_EQ(e.byte, c.offset) << c.nome << ": " << e.what();
      EXPECT_NE(e.atteso.find(c.atteso), std::string::npos) << c.nome << ": " << e.what();
      EXPECT_EQ(std::string(e.what()), "f: byte " + std::to_string(c.offset) + ": " + e.atteso);
    }
  }
}

TEST(LetturaEScrittura, TracciatoOltreIlPercorsoPiuLungo) {
  // 2 * 1007001 empty values are the longest plan; one more is refused at its own byte.
  std::string byte(2 * 2 * kMassimoPuntiTracciato + 2, '\0');
  try {
    leggi_tracciato(byte, "f");
    ADD_FAILURE() << "letto senza errori";
  } catch (const ErroreLettura& e) {
    EXPECT_EQ(e.byte, 2 * 2 * kMassimoPuntiTracciato) << e.what();
  }
  byte.resize(byte.size() - 2);
  EXPECT_EQ(leggi_tracciato(byte, "f").punti(), kMassimoPuntiTracciato);
}

}  // namespace
}  // namespace compattatore
