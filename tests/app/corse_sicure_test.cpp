// Runs as a user or another run meets them: many at once in one folder, killed halfway, over
// files with their own permissions, beside folders and links, with long names, in a folder that
// cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <map>
#include <thread>

#include "io/file_sicuro.h"
#include "io/temporanei.h"
#include "sources/scenario.h"
#include "support/supporto.h"

namespace compattatore {
namespace {
namespace fs = std::filesystem;
using prova::CartellaTemporanea;
using prova::esegui_programma;

// The folder holds exactly the six files of the plain run, with their bytes.
void sei_file_giusti(const fs::path& cartella) {
  std::vector<std::string> attesi;
  for (const auto* gruppo : {&prova::kDocumentiAttesi, &prova::kCompilatiAttesi}) {
    for (const auto& f : *gruppo) attesi.push_back(f.nome);
  }
  std::sort(attesi.begin(), attesi.end());
  EXPECT_EQ(prova::elenco_file(cartella), attesi);
  prova::controlla_byte(cartella, prova::kDocumentiAttesi);
  prova::controlla_byte(cartella, prova::kCompilatiAttesi);
}

// Files of the program's own making: temporaries and lock files.
std::vector<std::string> resti(const fs::path& cartella) {
  std::vector<std::string> r;
  for (const auto& f : prova::elenco_file(cartella)) {
    if (f.starts_with(".compattatore-") || f.find(".nuovo-") != std::string::npos) r.push_back(f);
  }
  return r;
}

// A station, so that the train has somewhere to stop.
const std::string kStazione = "stazione, 2000, 24, 300, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, A\r\n";

TEST(CorseSicure, VentiCorseInsiemeNellaStessaCartella) {
  CartellaTemporanea d;
  const std::vector<std::vector<std::string>> righe(24, {"--dir", d.percorso().string()});
  const auto risultati = prova::esegui_insieme(righe, d.percorso());
  int in_attesa = 0;
  for (const auto& r : risultati) {
    EXPECT_EQ(r.stato, 0) << r.err;
    EXPECT_EQ(r.out, "Attendere\n");
    if (!r.err.empty()) {
      // The only thing a run may say: once, that it waits for another.
      EXPECT_EQ(r.err, "compattatore: un'altra esecuzione scrive gli stessi file in '" +
                           d.percorso().string() + "': attendo che finisca\n");
      ++in_attesa;
    }
  }
  EXPECT_GT(in_attesa, 0);
  sei_file_giusti(d.percorso());
}

TEST(CorseSicure, DueCompilazioniDiverseSugliStessiNomiNonSiMescolano) {
  // Two scenarios of different lengths compiled at once under one name into one folder: the
  // three files are wholly one run's or wholly the other's.
  CartellaTemporanea d;
  const std::string treno = "[generale]\r\nnumero vetture,    6\r\n" + kStazione + "[fine]\r\n";
  prova::scrivi(d / "corta.txt", "[generale]\r\nlunghezza percorso,    10000\r\n[fine]\r\n");
  prova::scrivi(d / "lunga.txt", "[generale]\r\nlunghezza percorso,    60000\r\n[fine]\r\n");
  prova::scrivi(d / "treno.txt", treno);
  const std::vector<std::string> file = {"S_linea.dat", "S_1.sim", "S_1.dat"};
  auto riga = [&](const char* linea, const std::string& uscita) {
    return std::vector<std::string>{"compila", linea, "treno.txt", "--nome", "S",
                                    "--treno", "1",   "--dir",     uscita};
  };
  std::map<std::string, std::vector<std::string>> attesi;
  for (const char* linea : {"corta.txt", "lunga.txt"}) {
    const std::string uscita = std::string(linea) + ".out";
    fs::create_directory(d / uscita);
    ASSERT_EQ(esegui_programma(riga(linea, uscita), d.percorso()).stato, 0);
    for (const auto& f : file) attesi[linea].push_back(prova::leggi(d / uscita / f));
  }
  fs::create_directory(d / "insieme");
  for (int giro = 0; giro < 12; ++giro) {
    const auto risultati = prova::esegui_insieme(
        {riga("corta.txt", "insieme"), riga("lunga.txt", "insieme")}, d.percorso());
    for (const auto& r : risultati) EXPECT_EQ(r.stato, 0) << r.err;
    std::vector<std::string> trovati;
    for (const auto& f : file) trovati.push_back(prova::leggi(d / "insieme" / f));
    // Either may finish last.
    EXPECT_TRUE(trovati == attesi["corta.txt"] || trovati == attesi["lunga.txt"])
        << "giro " << giro;
    EXPECT_EQ(prova::elenco_file(d / "insieme").size(), 3u);
  }
}

TEST(CorseSicure, UnaCartellaAlPostoDiUnFileCompilatoNonCambiaNessunFile) {
  CartellaTemporanea d;
  prova::scrivi(d / prova::kFileTracciato, "vecchio tracciato");
  prova::scrivi(d / prova::kFileElenco, "vecchio elenco");
  fs::create_directory(d / prova::kFileTratti);
  const auto r = esegui_programma({"--dir", d.percorso().string()}, d.percorso());
  EXPECT_EQ(r.stato, 1);
  EXPECT_NE(r.err.find("impossibile scrivere " + (d / prova::kFileTratti).string() +
                       ": al suo posto c'è una cartella (Is a directory)"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(prova::leggi(d / prova::kFileTracciato), "vecchio tracciato");
  EXPECT_EQ(prova::leggi(d / prova::kFileElenco), "vecchio elenco");
  EXPECT_TRUE(resti(d.percorso()).empty());
}

TEST(CorseSicure, CompilaNonSostituisceISuoiSorgenti) {
  CartellaTemporanea d;
  dati_linea(d.percorso(), NomiScenario::incorporato());
  dati_treno(d.percorso(), NomiScenario::incorporato());
  const std::string linea = prova::leggi(d / prova::kFileLinea);
  const std::string treno = prova::leggi(d / prova::kFileTreno);
  // Sources named like the outputs, a link named like an output, and a second name of a source.
  fs::copy_file(d / prova::kFileLinea, d / "X_linea.dat");
  fs::copy_file(d / prova::kFileTreno, d / "X_1.sim");
  fs::create_directory(d / "secondi");
  fs::create_hard_link(d / prova::kFileTreno, d / "secondi" / "X_1.sim");
  struct Caso {
    std::vector<std::string> argomenti;
    std::string sorgente;
  };
  std::vector<Caso> casi = {
      {{"compile", "X_linea.dat", "X_1.sim", "--nome", "X", "--treno", "1"}, "X_linea.dat"},
      {{"compila", prova::kFileLinea, prova::kFileTreno, "--nome", "X", "--treno", "1",
        "--senza-tracciato", "--dir", "secondi"},
       prova::kFileTreno},
  };
#if !defined(_WIN32)  // Wine makes symbolic links, but opens no file through them
  fs::create_directory(d / "collegati");
  fs::create_symlink(d / prova::kFileLinea, d / "collegati" / "X_1.dat");
  casi.push_back({{"compila", prova::kFileLinea, prova::kFileTreno, "--nome", "X", "--treno", "1",
                   "--dir", "collegati"},
                  prova::kFileLinea});
#endif
  const auto prima = prova::elenco_file(d.percorso());
  for (const auto& c : casi) {
    const auto r = esegui_programma(c.argomenti, d.percorso());
    EXPECT_EQ(r.stato, 1) << r.err;
    EXPECT_NE(r.err.find("sostituirebbe il sorgente '" + c.sorgente + "'"), std::string::npos)
        << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(prova::leggi(d / "X_linea.dat"), linea);
  EXPECT_EQ(prova::leggi(d / "X_1.sim"), treno);
  EXPECT_EQ(prova::leggi(d / prova::kFileLinea), linea);
  EXPECT_EQ(prova::leggi(d / prova::kFileTreno), treno);
  EXPECT_EQ(prova::elenco_file(d.percorso()), prima);
  EXPECT_EQ(prova::elenco_file(d / "secondi"), std::vector<std::string>{"X_1.sim"});
#if !defined(_WIN32)
  EXPECT_EQ(prova::elenco_file(d / "collegati"), std::vector<std::string>{"X_1.dat"});
#endif
}

TEST(CorseSicure, UnaCorsaTerminataNonLasciaTemporanei) {
#if defined(_WIN32)
  GTEST_SKIP() << prova::kSenzaSegnali;
#else
  // SIGTERM, SIGINT and SIGHUP at moments spread over the run: whatever the run had finished
  // stays, its temporaries and lock files go.
  CartellaTemporanea d;
  int interrotte = 0;
  int giro = 0;
  for (const int segnale : {SIGTERM, SIGINT, SIGHUP}) {
    for (int ritardo_ms = 0; ritardo_ms <= 120; ritardo_ms += 10, ++giro) {
      const int pid = prova::avvia_programma({"--dir", d.percorso().string()}, d.percorso());
      std::this_thread::sleep_for(std::chrono::milliseconds(ritardo_ms));
      ::kill(pid, segnale);
      const int stato = prova::attendi_processo(pid);
      EXPECT_TRUE(stato == 0 || stato == -segnale) << stato;
      interrotte += stato == -segnale ? 1 : 0;
      EXPECT_EQ(resti(d.percorso()), std::vector<std::string>{}) << "giro " << giro;
    }
  }
  EXPECT_GT(interrotte, 0);
  // The compiled files are whole: old or new, never a part.
  ASSERT_EQ(esegui_programma({"--dir", d.percorso().string()}, d.percorso()).stato, 0);
  sei_file_giusti(d.percorso());
#endif
}

TEST(CorseSicure, ITemporaneiDiUnaCorsaUccisaVannoViaAllaProssima) {
  CartellaTemporanea d;
  // A temporary of the stretch file, left by a process killed outright while writing it, and
  // one of the kind earlier versions left, by a process that no longer runs.
#if defined(_WIN32)
  // No child process runs a function of the test here: the temporary is written as the killed
  // process would have left it.
  prova::scrivi(d / (prefisso_temporanei(prova::kFileTratti) + "abc123.tmp"), "a metà");
#else
  const int stato = prova::in_processo_figlio(
      [&] {
        Sostituzione s;
        s.prepara(d / prova::kFileTratti, "a metà");
        ::raise(SIGKILL);
        return 0;
      },
      false);
  EXPECT_EQ(stato, -1);
#endif
  const int morto = prova::processo_terminato();
  prova::scrivi(d / (prova::kFileTratti + ".nuovo-" + std::to_string(morto) + "-0"), "vecchio");
  ASSERT_EQ(resti(d.percorso()).size(), 2u);
  // Runs killed outright at moments spread over the run leave what they leave; the next run
  // removes all of it.
  for (int ritardo_ms = 5; ritardo_ms <= 125; ritardo_ms += 20) {
    const int pid = prova::avvia_programma({"--dir", d.percorso().string()}, d.percorso());
    std::this_thread::sleep_for(std::chrono::milliseconds(ritardo_ms));
    prova::uccidi(pid);
    prova::attendi_processo(pid);
  }
  const auto r = esegui_programma({"--dir", d.percorso().string()}, d.percorso());
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(r.err, "");
  sei_file_giusti(d.percorso());
}

TEST(CorseSicure, IFileSostituitiTengonoIPermessi) {
#if defined(_WIN32)
  GTEST_SKIP() << prova::kSenzaBitPosix;
#else
  CartellaTemporanea d;
  ASSERT_EQ(esegui_programma({"--dir", d.percorso().string()}, d.percorso()).stato, 0);
  const fs::perms solo_io = fs::perms::owner_read | fs::perms::owner_write;
  const fs::perms gruppo = solo_io | fs::perms::group_read;
  fs::permissions(d / prova::kFileTratti, solo_io);
  fs::permissions(d / prova::kFileElenco, gruppo);
  fs::permissions(d / prova::kFileNote, solo_io);
  const auto r = esegui_programma({"--dir", d.percorso().string()}, d.percorso());
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(fs::status(d / prova::kFileTratti).permissions(), solo_io);
  EXPECT_EQ(fs::status(d / prova::kFileElenco).permissions(), gruppo);
  EXPECT_EQ(fs::status(d / prova::kFileNote).permissions(), solo_io);
  sei_file_giusti(d.percorso());
#endif
}

TEST(CorseSicure, UnNomeDi240Caratteri) {
  CartellaTemporanea d;
  prova::scrivi(d / "linea.txt", "[generale]\r\nlunghezza percorso,    10000\r\n[fine]\r\n");
  prova::scrivi(d / "treno.txt",
                "[generale]\r\nnumero vetture,    6\r\n" + kStazione + "[fine]\r\n");
  const std::string nome(240, 'n');
  const auto r = esegui_programma(
      {"compila", "linea.txt", "treno.txt", "--nome", nome, "--treno", "1"}, d.percorso());
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(prova::elenco_file(d.percorso()),
            (std::vector<std::string>{"linea.txt", nome + "_1.dat", nome + "_1.sim",
                                      nome + "_linea.dat", "treno.txt"}));
}

TEST(CorseSicure, ErroriDelSistemaInItalianoESuggerimentoDiDir) {
#if defined(_WIN32)
  GTEST_SKIP() << prova::kSenzaCartelleSolaLettura;
#else
  CartellaTemporanea d;
  fs::create_directory(d / "bin");
  fs::copy_file(COMPATTATORE_ESEGUIBILE, d / "bin" / "compattatore");
  fs::create_directory(d / "altrove");
  const fs::perms sola_lettura = fs::perms::owner_read | fs::perms::owner_exec |
                                 fs::perms::others_read | fs::perms::others_exec;
  fs::permissions(d.percorso(), fs::perms::owner_all | fs::perms::others_exec);
  fs::permissions(d / "bin", sola_lettura);
  fs::permissions(d / "altrove", fs::perms::owner_all | fs::perms::others_all);
  const std::string negato = ": permesso negato (Permission denied)\n";
  // The program's own folder cannot be written: the message says so in Italian and offers --dir.
  const auto r = esegui_programma({}, d / "altrove", true, d / "bin" / "compattatore");
  EXPECT_EQ(r.stato, 1);
  EXPECT_EQ(r.err, "compattatore: impossibile scrivere nella cartella " + (d / "bin").string() +
                       negato +
                       "compattatore: la cartella del programma non si può scrivere: usa --dir "
                       "CARTELLA per lavorare in un'altra cartella\n");
  // With --dir the author chose the folder: no suggestion.
  const auto con_dir = esegui_programma({"--dir", (d / "bin").string()}, d / "altrove", true,
                                        d / "bin" / "compattatore");
  EXPECT_EQ(con_dir.stato, 1);
  EXPECT_EQ(con_dir.err,
            "compattatore: impossibile scrivere nella cartella " + (d / "bin").string() + negato);
  // And there the run works.
  const auto altrove = esegui_programma({"--dir", (d / "altrove").string()}, d / "altrove", true,
                                        d / "bin" / "compattatore");
  EXPECT_EQ(altrove.stato, 0) << altrove.err;
  EXPECT_EQ(prova::elenco_file(d / "bin"), std::vector<std::string>{"compattatore"});
#endif
}

}  // namespace
}  // namespace compattatore
