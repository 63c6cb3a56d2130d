#include "decompilatore/sorgente.h"

#include <algorithm>
#include <string_view>

#include "model/cp1252.h"
#include "sources/testo.h"

namespace compattatore {

std::string parola(Chiave c) { return cp1252::a_utf8(riga(c).forma); }

Riga riga(std::string parola, std::initializer_list<int64_t> numeri) {
  Riga r{std::move(parola), {}, std::nullopt};
  for (int64_t v : numeri) r.celle.push_back(std::to_string(v));
  return r;
}

Riga riga(Chiave c, std::initializer_list<int64_t> numeri) { return riga(parola(c), numeri); }

void sezione(std::vector<std::string>& out, Chiave intestazione, const std::vector<Riga>& righe) {
  out.push_back(parola(intestazione));
  size_t parola = 0;
  std::vector<size_t> larghezze;
  for (const Riga& r : righe) {
    parola = std::max(parola, r.parola.size());
    if (larghezze.size() < r.celle.size()) larghezze.resize(r.celle.size());
    for (size_t j = 0; j < r.celle.size(); ++j) {
      larghezze[j] = std::max(larghezze[j], r.celle[j].size());
    }
  }
  for (const Riga& r : righe) {
    std::string l = r.parola + "," + std::string(parola - r.parola.size(), ' ');
    for (size_t j = 0; j < r.celle.size(); ++j) {
      if (j > 0) l += ",";
      l += std::string(2 + larghezze[j] - r.celle[j].size(), ' ') + r.celle[j];
    }
    if (r.testo) {
      l += ",";
      if (!r.testo->empty()) l += "  " + *r.testo;
    }
    out.push_back(std::move(l));
  }
}

std::string valore_generale(Chiave c, std::initializer_list<int64_t> numeri, const char* forma) {
  const RigaChiave& k = riga(c);
  std::string l = cp1252::a_utf8(forma ? forma : k.forma) + ",";
  bool primo = true;
  for (int64_t v : numeri) {
    if (!primo && k.separatore != ' ') l += k.separatore;
    l += "    " + std::to_string(v);
    primo = false;
  }
  return l;
}

std::optional<std::string> voce_testo(const std::string& byte) {
  for (const char ch : byte) {
    const auto c = static_cast<unsigned char>(ch);
    // Line ends and NUL end the item or the source; five bytes have no character.
    if (c == '\r' || c == '\n' || c == 0 || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 ||
        c == 0x9D) {
      return std::nullopt;
    }
  }
  auto bianco = [](char c) { return c == ' ' || c == '\t'; };
  const bool tra_virgolette =
      !byte.empty() && (byte.find(',') != std::string::npos || bianco(byte.front()) ||
                        bianco(byte.back()) || byte.front() == '"');
  if (!tra_virgolette) return cp1252::a_utf8(byte);
  if (byte.find('"') != std::string::npos) return std::nullopt;
  return "\"" + cp1252::a_utf8(byte) + "\"";
}

std::string byte_sorgente(const std::vector<std::string>& righe) {
  std::vector<std::string_view> tabella(righe.begin(), righe.end());
  tabella.push_back(kFineTabella);
  return testo_cp1252(tabella);
}

}  // namespace compattatore
