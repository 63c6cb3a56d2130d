#include <iostream>
#include <string>
#include <vector>

#include "app/comandi.h"

int main(int argc, char** argv) {
  std::vector<std::string> argomenti(argv + 1, argv + argc);
  try {
    return compattatore::principale(argomenti, std::cout, std::cerr);
  } catch (const std::exception& e) {
    std::cerr << "compattatore: errore interno: " << e.what() << "\n";
    return 1;
  }
}
