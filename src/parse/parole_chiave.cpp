#include "parse/parole_chiave.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "model/cp1252.h"
#include "model/somiglianza.h"

namespace compattatore {
namespace {

// Every spelling of the rows of `genere` in the sections `ambiti`, in the order of the table.
std::vector<std::string> forme_di(Genere genere, std::initializer_list<Ambito> ambiti) {
  std::vector<std::string> f;
  for (const RigaChiave& r : kRigheChiavi) {
    if (r.genere != genere || std::find(ambiti.begin(), ambiti.end(), r.ambito) == ambiti.end()) {
      continue;
    }
    for (std::string& forma : forme(r)) {
      if (std::find(f.begin(), f.end(), forma) == f.end()) f.push_back(std::move(forma));
    }
  }
  return f;
}

const std::vector<std::string> kGenerale = forme_di(Genere::parola, {Ambito::linea_generale});
const std::vector<std::string> kElementi = forme_di(Genere::parola, {Ambito::linea_elementi});
const std::vector<std::string> kTreno = forme_di(Genere::parola, {Ambito::treno});
const std::vector<std::string> kIntestazioniLinea =
    forme_di(Genere::intestazione, {Ambito::linea_generale, Ambito::linea_elementi});
const std::vector<std::string> kIntestazioniTreno = forme_di(Genere::intestazione, {Ambito::treno});

bool tra(const std::vector<std::string>& parole, std::string_view p) {
  for (const auto& q : parole) {
    if (q == p) return true;
  }
  return false;
}

// The leading letters of `s`, up to the first character that is not a letter.
std::string prima_parola(std::string_view s) {
  size_t n = 0;
  while (n < s.size() && ((s[n] >= 'a' && s[n] <= 'z') || s[n] == '_')) ++n;
  return std::string(s.substr(0, n));
}

std::string tra_virgolette(std::string_view s) { return "'" + std::string(s) + "'"; }

}  // namespace

bool della_linea(std::string_view bassa) { return tra(kGenerale, bassa) || tra(kElementi, bassa); }

std::optional<std::string> parola_sconosciuta(std::string_view voce, Ambito ambito) {
  const std::string bassa = cp1252::minuscole(voce);
  const std::string esatta = cp1252::a_utf8(voce);  // for the messages
  if (bassa.empty()) return std::nullopt;
  const bool linea = ambito != Ambito::treno;
  const std::string file = linea ? "del file della linea" : "del file del treno";
  const std::vector<std::string>& intestazioni = linea ? kIntestazioniLinea : kIntestazioniTreno;

  if (bassa.front() == '[') {
    if (tra(intestazioni, bassa)) return std::nullopt;
    // Any other header is harmless: sections are a convention. One that is a slip for a known
    // header is worth a word.
    if (auto vicina = forse_intendevi(bassa, intestazioni)) {
      return tra_virgolette(esatta) + " non è un'intestazione " + file + "; forse intendevi " +
             tra_virgolette(*vicina) + "?";
    }
    return std::nullopt;
  }

  const std::string non_e = tra_virgolette(esatta) + " non è una parola chiave " + file;
  if (ambito == Ambito::linea_generale && tra(kElementi, bassa)) {
    return tra_virgolette(esatta) +
           " non si legge nella sezione [generale]: la riga è ignorata (scrivila dopo "
           "un'intestazione come [curve] o [pendenze])";
  }
  if (ambito == Ambito::linea_elementi && tra(kGenerale, bassa)) {
    return tra_virgolette(esatta) +
           " si legge solo nella sezione [generale], prima della prima intestazione che la "
           "chiude: qui la riga è ignorata";
  }
  if (linea && tra(kTreno, bassa)) {
    return tra_virgolette(esatta) +
           " è una parola chiave del file del treno: nel file della linea la riga è ignorata";
  }
  if (!linea && della_linea(bassa)) {
    return tra_virgolette(esatta) +
           " è una parola chiave del file della linea: nel file del treno la riga è ignorata";
  }
  if (ambito == Ambito::linea_generale && tra(kGenerale, bassa)) {
    // Matched in lower case only: these keywords are read with their letter case.
    return tra_virgolette(esatta) +
           " non è letta: in questa parola chiave le maiuscole contano; scrivi " +
           tra_virgolette(cp1252::a_utf8(bassa));
  }
  std::vector<std::string> candidate;
  if (linea) {
    candidate = ambito == Ambito::linea_generale ? kGenerale : kElementi;
  } else {
    candidate = kTreno;
  }
  std::optional<std::string> vicina = forse_intendevi(bassa, candidate);
  if (!vicina) {
    // "lunghezza: 1000" is far from "lunghezza percorso" as a whole, not in its first word.
    const std::string prima = prima_parola(bassa);
    for (const std::string& c : candidate) {
      if (prima.size() >= 4 && prima_parola(c) == prima) {
        vicina = c;
        break;
      }
    }
  }
  if (vicina) {
    return non_e + ": la riga è ignorata; forse intendevi " + tra_virgolette(*vicina) + "?";
  }
  return non_e + ": la riga è ignorata";
}

bool quasi_generale(std::string_view voce) {
  const std::string bassa = cp1252::minuscole(voce);
  return bassa.find("general") != std::string::npos || distanza(bassa, "[generale]") <= 2;
}

}  // namespace compattatore
