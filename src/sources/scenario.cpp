#include "sources/scenario.h"

namespace compattatore {

// Not built yet: the embedded texts are added by a later change.
void dati_linea(const std::filesystem::path&, const std::string&, const std::string&) {}
void dati_treno(const std::filesystem::path&, const std::string&, const std::string&) {}
void dati_note(const std::filesystem::path&, const std::string&, const std::string&) {}
void dati_rallentamenti(const std::filesystem::path&, const std::string&, const std::string&) {}
void dati_scheda(const std::filesystem::path&, const std::string&, const std::string&) {}

}  // namespace compattatore
