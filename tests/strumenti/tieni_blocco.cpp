// Holds the run lock of one output name in a folder for a while, as a run that takes long would:
//   tieni_blocco CARTELLA SECONDI NOME...
// Of the names NOME, the one whose lock a run takes last (the locks are taken in the order of
// their file names), so that a run of those names holds all its other locks while it waits. Says
// "preso NOME" once the lock is held, and lets it go after SECONDI seconds.
#include <algorithm>
#include <chrono>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "io/blocco.h"
#include "io/console.h"
#include "io/sistema.h"
#include "io/temporanei.h"

int main(int argc, char** argv) {
  const std::vector<std::string> a = compattatore::argomenti_programma(argc, argv);
  if (a.size() < 3) {
    std::cerr << "uso: tieni_blocco CARTELLA SECONDI NOME...\n";
    return 2;
  }
  const std::string nome =
      *std::max_element(a.begin() + 2, a.end(), [](const std::string& x, const std::string& y) {
        return compattatore::nome_blocco(x) < compattatore::nome_blocco(y);
      });
  compattatore::BloccoCorsa blocco(compattatore::percorso_utf8(a[0]), {nome});
  compattatore::uscita_standard() << "preso " << nome << std::endl;
  std::this_thread::sleep_for(std::chrono::seconds(std::stoi(a[1])));
  return 0;
}
