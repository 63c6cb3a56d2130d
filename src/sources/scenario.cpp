#include "sources/scenario.h"

#include "sources/testo.h"

namespace compattatore {

void dati_linea(const std::filesystem::path& cartella, const std::string& nome,
                const std::string&) {
  scrivi_testo(cartella / (nome + "_linea.txt"), tabella_linea());
}

void dati_treno(const std::filesystem::path& cartella, const std::string& nome,
                const std::string& treno) {
  scrivi_testo(cartella / (nome + "_" + treno + "-.txt"), tabella_treno());
}

void dati_note(const std::filesystem::path& cartella, const std::string& nome,
               const std::string& treno) {
  scrivi_testo(cartella / (nome + "_" + treno + "_note.txt"), tabella_note());
}

void dati_rallentamenti(const std::filesystem::path& cartella, const std::string& nome,
                        const std::string& treno) {
  scrivi_testo(cartella / (nome + "_" + treno + "_rallentamenti.txt"), tabella_rallentamenti());
}

void dati_scheda(const std::filesystem::path& cartella, const std::string& nome,
                 const std::string& treno) {
  scrivi_testo(cartella / (nome + "_" + treno + "_scheda_treno.txt"), tabella_scheda());
}

}  // namespace compattatore
