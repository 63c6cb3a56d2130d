// Prints the table of keywords and headers, for the test of the editors' grammars: one line per
// row, its fields separated by tabs,
//   SORGENTE GENERE NOME FORMA...
// SORGENTE is "linea" (both sections of the line source) or "treno", GENERE "parola" or
// "intestazione", NOME the row's name, and each FORMA a spelling an author may write for it
// without a warning (UTF-8).
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "model/cp1252.h"
#include "model/parole.h"

int main() {
  using namespace compattatore;
  for (const RigaChiave& r : kRigheChiavi) {
    std::vector<std::string> tutte = compattatore::forme(r);
    if (r.altra_forma != nullptr &&
        std::find(tutte.begin(), tutte.end(), r.altra_forma) == tutte.end()) {
      tutte.push_back(r.altra_forma);  // `velocità`
    }
    std::cout << (r.ambito == Ambito::treno ? "treno" : "linea") << '\t'
              << (r.genere == Genere::parola ? "parola" : "intestazione") << '\t' << r.nome;
    for (const std::string& forma : tutte) std::cout << '\t' << cp1252::a_utf8(forma);
    std::cout << '\n';
  }
  return 0;
}
