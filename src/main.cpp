#include <string>
#include <vector>

#include "app/comandi.h"
#include "io/console.h"

int main(int argc, char** argv) {
  const std::vector<std::string> argomenti = compattatore::argomenti_programma(argc, argv);
  std::ostream& err = compattatore::errore_standard();
  try {
    return compattatore::principale(argomenti, compattatore::uscita_standard(), err);
  } catch (const std::exception& e) {
    err << "compattatore: errore interno: " << e.what() << "\n";
    return 1;
  }
}
