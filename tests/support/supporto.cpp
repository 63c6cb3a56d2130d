#include "support/supporto.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace prova {
namespace fs = std::filesystem;

CartellaTemporanea::~CartellaTemporanea() {
  std::error_code ec;
  // Folders made read-only by a test must become writable again to be removed.
  for (auto it = fs::recursive_directory_iterator(percorso_, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::permissions(percorso_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(percorso_, ec);
}

std::string leggi(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("impossibile leggere " + file.string());
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void controlla_byte(const fs::path& cartella, std::span<const FileAtteso> attesi) {
  for (const auto& f : attesi) {
    const std::string byte = leggi(cartella / f.nome);
    EXPECT_EQ(byte.size(), f.dimensione) << f.nome;
    EXPECT_EQ(sha256(byte), f.sha256) << f.nome;
  }
}

std::string righe(const std::vector<std::string>& linee) {
  std::string s;
  for (const auto& l : linee) s += l + "\r\n";
  return s;
}

std::string sorgente_linea(const std::vector<std::string>& elementi, int32_t lunghezza,
                           const std::vector<std::string>& generale) {
  std::vector<std::string> r = {"[generale]",
                                "lunghezza percorso,    " + std::to_string(lunghezza)};
  r.insert(r.end(), generale.begin(), generale.end());
  r.push_back("[curve]");
  r.insert(r.end(), elementi.begin(), elementi.end());
  r.push_back("[fine]");
  return righe(r);
}

std::string sorgente_treno(const std::vector<std::string>& linee) {
  std::vector<std::string> r = {"[generale]"};
  r.insert(r.end(), linee.begin(), linee.end());
  r.push_back("[fine]");
  r.push_back("riferimento fine del file");
  return righe(r);
}

void scrivi(const fs::path& file, const std::string& contenuto) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << contenuto;
  if (!out) throw std::runtime_error("impossibile scrivere " + file.string());
}

std::vector<std::string> elenco_file(const fs::path& cartella) {
  std::vector<std::string> nomi;
  for (const auto& e : fs::directory_iterator(cartella))
    nomi.push_back(e.path().filename().string());
  std::sort(nomi.begin(), nomi.end());
  return nomi;
}

std::vector<std::string> righe_crlf(const std::string& byte) {
  std::vector<std::string> righe;
  size_t inizio = 0;
  while (inizio < byte.size()) {
    size_t fine = byte.find("\r\n", inizio);
    if (fine == std::string::npos) {
      ADD_FAILURE() << "riga " << righe.size() + 1 << " senza CR LF alla fine del file";
      fine = byte.size();
    }
    righe.push_back(byte.substr(inizio, fine - inizio));
    EXPECT_EQ(righe.back().find_first_of("\r\n"), std::string::npos)
        << "CR o LF isolato nella riga " << righe.size();
    inizio = fine + 2;
  }
  return righe;
}

Attesi& Attesi::u8(unsigned v) {
  b_ += static_cast<char>(v & 0xFF);
  return *this;
}
Attesi& Attesi::i16(int v) {
  const auto u = static_cast<uint16_t>(v);
  b_ += static_cast<char>(u & 0xFF);
  b_ += static_cast<char>(u >> 8);
  return *this;
}
Attesi& Attesi::i32(long long v) {
  const auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) b_ += static_cast<char>((u >> (8 * i)) & 0xFF);
  return *this;
}
Attesi& Attesi::f64(double v) {
  uint64_t u;
  std::memcpy(&u, &v, sizeof u);
  for (int i = 0; i < 8; ++i) b_ += static_cast<char>((u >> (8 * i)) & 0xFF);
  return *this;
}
Attesi& Attesi::testo(const std::string& t) {
  i16(static_cast<int>(t.size()));
  b_ += t;
  return *this;
}
Attesi& Attesi::testo_puro(const std::string& t) {
  b_ += t;
  return *this;
}
Attesi& Attesi::zeri(size_t n) {
  b_.append(n, '\0');
  return *this;
}

const fs::path& cartella_incorporata() {
  static const CartellaTemporanea cartella;
  static const bool fatto = [] {
    const Risultato r =
        esegui_programma({"--dir", cartella.percorso().string()}, cartella.percorso());
    if (r.stato != 0) throw std::runtime_error("la corsa normale non riesce: " + r.err);
    return true;
  }();
  (void)fatto;
  return cartella.percorso();
}

}  // namespace prova
