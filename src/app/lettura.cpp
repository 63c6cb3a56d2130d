#include "app/lettura.h"

#include <algorithm>
#include <filesystem>

#include "app/comandi.h"
#include "formato/lettori.h"
#include "io/file_sicuro.h"
#include "io/sistema.h"
#include "model/cp1252.h"
#include "model/regole.h"
#include "post/codici_gara.h"

namespace compattatore {

std::optional<ScenarioCompilato> leggi_scenario(const std::vector<std::filesystem::path>& operandi,
                                                const std::string& comando, std::ostream& err) {
  const auto trovati = trova_compilati(operandi);
  if (const auto* e = std::get_if<std::string>(&trovati)) {
    errore_uso(err, comando, *e);
    return std::nullopt;
  }
  try {
    return leggi_compilati(std::get<FileCompilati>(trovati));
  } catch (const ErroreLettura& e) {
    err << "compattatore " << comando << ": " << e.what() << "\n";
  } catch (const ErroreFile& e) {
    err << "compattatore " << comando << ": impossibile leggere '" << e.file.string()
        << "': " << e.motivo << "\n";
  }
  return std::nullopt;
}

bool stessa_destinazione(const std::filesystem::path& a, const std::filesystem::path& b) {
  if (stesso_file(a, b)) return true;
  std::error_code e1, e2;
  const auto pa = std::filesystem::absolute(a, e1).lexically_normal();
  const auto pb = std::filesystem::absolute(b, e2).lexically_normal();
  return !e1 && !e2 && pa == pb;
}

bool ControlloCodici::validi() const {
  return std::all_of(valori.begin(), valori.end(),
                     [](const ValoreControllo& v) { return v.valido(); });
}

std::optional<ControlloCodici> controlla_codici(const ScenarioCompilato& s) {
  if (!s.con_elenco) return std::nullopt;
  const Elenco& e = s.modello.elenco;
  const Voce& testa = e[voce::intestazione];
  const bool con_tratto_1 = s.modello.tratti.size() > 1;
  const Tratto* t1 = con_tratto_1 ? &s.modello.tratti[1] : nullptr;
  ControlloCodici c;
  c.chiave = cp1252::a_utf8(chiave_gara(e));
  c.valori = {
      {"codice_gara_st", "voce 85 orario", testa.orario, codice_gara_st(e)},
      {"codice_gara_og", "tratto 1 valore_2",
       t1 ? std::optional<int32_t>(t1->valore_2) : std::nullopt, codice_gara_og(e)},
      {"valore fisso", "voce 85 intero_1", testa.intero_1, kFissoIntestazione},
      {"valore fisso", "tratto 1 valore_1",
       t1 ? std::optional<int32_t>(t1->valore_1) : std::nullopt, kFissoTratto},
  };
  return c;
}

}  // namespace compattatore
