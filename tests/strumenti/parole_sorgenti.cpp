// Prints the table of keywords and headers as JSON, for the test of the editors' grammar:
//   {"linea": [RIGA...], "treno": [RIGA...]}
// where each RIGA is {"nome": "curva", "genere": "parola" or "intestazione", "forme": [...]}: the
// row's name and every spelling an author may write for it without a warning (UTF-8), the line
// source's two sections together.
#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "model/cp1252.h"
#include "model/parole.h"

int main() {
  using namespace compattatore;
  nlohmann::json tabella = {{"linea", nlohmann::json::array()}, {"treno", nlohmann::json::array()}};
  for (const RigaChiave& r : kRigheChiavi) {
    nlohmann::json forme = nlohmann::json::array();
    std::vector<std::string> tutte = compattatore::forme(r);
    if (r.altra_forma != nullptr &&
        std::find(tutte.begin(), tutte.end(), r.altra_forma) == tutte.end()) {
      tutte.push_back(r.altra_forma);  // `velocità`
    }
    for (const std::string& forma : tutte) forme.push_back(cp1252::a_utf8(forma));
    tabella[r.ambito == Ambito::treno ? "treno" : "linea"].push_back(
        {{"nome", r.nome},
         {"genere", r.genere == Genere::parola ? "parola" : "intestazione"},
         {"forme", forme}});
  }
  std::cout << tabella.dump(1) << '\n';
  return 0;
}
