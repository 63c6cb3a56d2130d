#include "model/nomi_scenario.h"

#include "model/cp1252.h"

namespace compattatore {
namespace {

constexpr std::string_view kFineLinea = "_linea.txt";
constexpr std::string_view kFineTreno = "-.txt";

// The characters that Windows refuses in a file name, besides the folder separators and the
// control characters.
constexpr const char* kVietatiDaWindows = "<>:\"|?*";

// The device that Windows reserves the name `byte` (Windows-1252) for, whatever the letter case
// and whatever follows a point ("con.txt" too): CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to
// LPT9, with the superscript digits as well.
std::optional<std::string> dispositivo(std::string_view byte) {
  std::string prima = cp1252::minuscole(byte.substr(0, byte.find('.')));
  while (!prima.empty() && prima.back() == ' ') prima.pop_back();
  for (const char* n : {"con", "prn", "aux", "nul"}) {
    if (prima == n) return cp1252::a_utf8(byte.substr(0, 3));
  }
  if (prima.size() == 4 && (prima.starts_with("com") || prima.starts_with("lpt"))) {
    const char cifra = prima[3];
    if ((cifra >= '1' && cifra <= '9') || cifra == '\xB9' || cifra == '\xB2' || cifra == '\xB3') {
      return cp1252::a_utf8(byte.substr(0, 4));
    }
  }
  return std::nullopt;
}

// The last component of a path written with either separator.
std::string_view base(std::string_view file) {
  const size_t i = file.find_last_of("/\\");
  return i == std::string_view::npos ? file : file.substr(i + 1);
}

}  // namespace

std::optional<NomiScenario> NomiScenario::crea(std::string nome, std::string treno,
                                               std::string* difetto_trovato) {
  for (const auto& [cosa, valore] :
       {std::pair<std::string_view, const std::string&>{"nome dello scenario", nome},
        {"numero del treno", treno}}) {
    if (auto d = difetto(cosa, valore)) {
      if (difetto_trovato) *difetto_trovato = *d;
      return std::nullopt;
    }
  }
  return NomiScenario(std::move(nome), std::move(treno));
}

NomiScenario NomiScenario::incorporato() {
  return NomiScenario("Viterbo_Orte_Roma_Via_Linea_Cintura", "3349");
}

std::optional<std::string> NomiScenario::difetto(std::string_view cosa, const std::string& valore) {
  const std::string c(cosa);
  if (valore.empty()) return c + " vuoto";
  // The value is echoed only once it is known to be clean UTF-8 without control characters.
  std::string byte;
  try {
    byte = cp1252::da_utf8(valore);
  } catch (const cp1252::NonRappresentabile& e) {
    return c + ": " + e.what();
  }
  for (const char ch : valore) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x20 || b == 0x7F) {
      static const char* cifre = "0123456789ABCDEF";
      return c + " contiene un carattere di controllo (U+00" + cifre[b >> 4] + cifre[b & 0xF] + ")";
    }
  }
  const std::string detto = c + " '" + valore + "'";
  if (valore.find_first_of("/\\") != std::string::npos) {
    return detto + " contiene un separatore di cartelle";
  }
  // Windows, where the simulator runs, holds none of these in a file name.
  if (const size_t i = valore.find_first_of(kVietatiDaWindows); i != std::string::npos) {
    return detto + " contiene '" + valore[i] + "', che Windows non accetta nei nomi dei file (" +
           kVietatiDaWindows + ")";
  }
  if (valore.back() == '.' || valore.back() == ' ') {
    return detto + " finisce con " + (valore.back() == '.' ? "un punto" : "uno spazio") +
           ", che Windows toglie dai nomi dei file";
  }
  if (const auto d = dispositivo(byte)) {
    return detto + " è riservato da Windows al dispositivo " + *d +
           " (anche con un'estensione): nessun file può chiamarsi così";
  }
  return std::nullopt;
}

std::optional<std::string> NomiScenario::nome_da_file_linea(std::string_view file) {
  const std::string_view b = base(file);
  if (!b.ends_with(kFineLinea) || b.size() == kFineLinea.size()) return std::nullopt;
  return std::string(b.substr(0, b.size() - kFineLinea.size()));
}

std::optional<std::string> NomiScenario::treno_da_file_treno(std::string_view file,
                                                             std::string_view nome) {
  const std::string_view b = base(file);
  const std::string inizio = std::string(nome) + "_";
  if (!b.ends_with(kFineTreno) || b.size() <= inizio.size() + kFineTreno.size() ||
      b.substr(0, inizio.size()) != inizio) {
    return std::nullopt;
  }
  return std::string(b.substr(inizio.size(), b.size() - inizio.size() - kFineTreno.size()));
}

std::string NomiScenario::file(FileScenario f) const {
  const std::string nt = nome_ + "_" + treno_;
  switch (f) {
    case FileScenario::sorgente_linea:
      return nome_ + std::string(kFineLinea);
    case FileScenario::sorgente_treno:
      return nt + std::string(kFineTreno);
    case FileScenario::note:
      return nt + "_note.txt";
    case FileScenario::rallentamenti:
      return nt + "_rallentamenti.txt";
    case FileScenario::scheda:
      return nt + "_scheda_treno.txt";
    case FileScenario::tracciato:
      return nome_ + "_linea.dat";
    case FileScenario::elenco:
      return nt + ".sim";
    case FileScenario::tratti:
      return nt + ".dat";
  }
  return {};
}

}  // namespace compattatore
