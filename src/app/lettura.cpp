#include "app/lettura.h"

#include <filesystem>

#include "app/comandi.h"
#include "app/diagnostica.h"
#include "formato/lettori.h"
#include "io/file_sicuro.h"
#include "io/sistema.h"

namespace compattatore {

bool leggendo(const std::string& comando, std::ostream& err, const std::function<void()>& lavoro) {
  try {
    lavoro();
    return true;
  } catch (const ErroreLettura& e) {
    err << "compattatore " << comando << ": " << e.what() << "\n";
  } catch (const ErroreFile& e) {
    err << "compattatore " << comando << ": impossibile leggere '" << e.file.string()
        << "': " << e.motivo << "\n";
  }
  return false;
}

std::optional<ScenarioCompilato> leggi_scenario(const std::vector<std::filesystem::path>& operandi,
                                                const std::string& comando, std::ostream& err,
                                                LetturaTracciato tracciato) {
  std::optional<ScenarioCompilato> letto;
  leggendo(comando, err, [&] {
    const auto trovati = trova_compilati(operandi);
    if (const auto* e = std::get_if<std::string>(&trovati)) {
      errore_uso(err, comando, *e);
      return;
    }
    letto = leggi_compilati(std::get<FileCompilati>(trovati), tracciato);
  });
  return letto;
}

std::optional<std::string> non_cartella(const std::filesystem::path& cartella) {
  if (e_cartella(cartella)) return std::nullopt;
  const std::string nome = visibile(cartella.string());
  if (esiste(cartella)) return "'" + nome + "' non è una cartella";
  return "la cartella '" + nome + "' non esiste";
}

bool stessa_destinazione(const std::filesystem::path& a, const std::filesystem::path& b) {
  if (stesso_file(a, b)) return true;
  std::error_code e1, e2;
  const auto pa = std::filesystem::absolute(a, e1).lexically_normal();
  const auto pb = std::filesystem::absolute(b, e2).lexically_normal();
  return !e1 && !e2 && pa == pb;
}

}  // namespace compattatore
