#include "sources/testo.h"

#include <stdexcept>

#include "io/file_sicuro.h"
#include "model/cp1252.h"

namespace compattatore {

std::string testo_cp1252(TabellaRighe righe) {
  std::string byte;
  for (const std::string_view riga : righe) {
    if (riga == kFineTabella) return byte;
    byte += cp1252::da_utf8(riga);
    byte += "\r\n";
  }
  throw std::logic_error("tabella di righe senza il segno di fine \"" + std::string(kFineTabella) +
                         "\"");
}

void scrivi_testo(const std::filesystem::path& file, TabellaRighe righe, Durata durata) {
  scrivi_file(file, testo_cp1252(righe), durata);
}

}  // namespace compattatore
