// The command line and the standard streams on POSIX systems: bytes, passed on as they are.
#include <iostream>

#include "io/console.h"

namespace compattatore {

std::vector<std::string> argomenti_programma(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::ostream& uscita_standard() { return std::cout; }
std::ostream& errore_standard() { return std::cerr; }

std::istream& ingresso_standard() {
  std::cin.tie(nullptr);
  return std::cin;
}

}  // namespace compattatore
