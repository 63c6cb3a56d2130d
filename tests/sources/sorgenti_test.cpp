#include <gtest/gtest.h>

#include <algorithm>
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

void scrivi_tutti(const fs::path& cartella) {
  const NomiScenario nomi = NomiScenario::incorporato();
  dati_linea(cartella, nomi);
  dati_treno(cartella, nomi);
  dati_note(cartella, nomi);
  dati_rallentamenti(cartella, nomi);
  dati_scheda(cartella, nomi);
}

// The five files written once: their Windows-1252 bytes by file name.
struct Scritti {
  Scritti() {
    scrivi_tutti(dir.percorso());
    for (const auto& f : {kFileLinea, kFileTreno, kFileNote, kFileRallentamenti, kFileScheda}) {
      byte[f] = prova::leggi(dir / f);
    }
  }
  CartellaTemporanea dir;
  std::map<std::string, std::string> byte;
};

const Scritti& scritti() {
  static const Scritti s;
  return s;
}

// The bytes of each file are pinned by their size and SHA-256; the tests after the first check
// the rules every file keeps, which a changed hash alone would not name.

TEST(FileScenario, CinqueFileConIByteDiSempre) {
  CartellaTemporanea dir;
  scrivi_tutti(dir.percorso());
  prova::controlla_byte(dir.percorso(), prova::kSorgentiAttese);
  prova::controlla_byte(dir.percorso(), prova::kDocumentiAttesi);
  std::vector<std::string> attesi;
  for (const auto& f : prova::kSorgentiAttese) attesi.push_back(f.nome);
  for (const auto& f : prova::kDocumentiAttesi) attesi.push_back(f.nome);
  std::sort(attesi.begin(), attesi.end());
  EXPECT_EQ(prova::elenco_file(dir.percorso()), attesi);  // each writer names its own file
}

TEST(FileScenario, RigheChiuseDaCrLfSenzaBomNeSegnoDiFine) {
  for (const auto& [file, byte] : scritti().byte) {
    SCOPED_TRACE(file);
    // Every line ends in CR LF, the last one too, with no CR or LF alone inside a line.
    EXPECT_FALSE(prova::righe_crlf(byte).empty());
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

}  // namespace
}  // namespace compattatore
