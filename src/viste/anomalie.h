// What a view finds in compiled files that no compile writes: an object of an unknown kind, a board
// or a stopping point pointing at the wrong entry, a file name or a file size that does not match
// the identity and the route length held in the table. One row per kind: its name and the text
// shown, with {1}, {2}, {3} standing for the values of the finding.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace compattatore {

// clang-format off
#define COMPATTATORE_ANOMALIE(X)                                                                   \
  X(oggetto_sconosciuto, "tratto {1}: oggetto {2} sconosciuto")                                    \
  X(cartello_fuori_voci,                                                                           \
    "tratto {1}: cartello con il testo della voce {2}, fuori dalle voci 1-80")                     \
  X(fermata_senza_stazione,                                                                        \
    "tratto {1}: punto di fermata della voce {2}, che non è una stazione")                         \
  X(nome_file_diverso,                                                                             \
    "il file dell'elenco si chiama {1}, ma nome e treno che contiene danno {2}")                   \
  X(tratti_diversi,                                                                                \
    "la lunghezza {1} m vuole i tratti 0-{2}, il file dei tratti ne ha 0-{3}")                     \
  X(punti_diversi,                                                                                 \
    "la lunghezza {1} m vuole {2} punti del tracciato, il file ne ha {3}")
// clang-format on

/// A kind of finding.
enum class Anomalia : uint8_t {
#define COMPATTATORE_VOCE_ENUM(nome, testo) nome,
  COMPATTATORE_ANOMALIE(COMPATTATORE_VOCE_ENUM)
#undef COMPATTATORE_VOCE_ENUM
};

/// One row of the table of findings.
struct RigaAnomalia {
  Anomalia anomalia;
  const char* nome;     // as in `Anomalia`
  const char* modello;  // the Italian text, with {1}, {2}, {3} for the values
};

/// All rows, in the order of the table.
std::span<const RigaAnomalia> tabella_anomalie();
/// The row of `a`.
const RigaAnomalia& riga_anomalia(Anomalia a);

/// One finding: its kind, the stretch it concerns (when it concerns one), and the values that
/// fill the row's text.
struct Rilievo {
  Anomalia anomalia;
  std::optional<int32_t> tratto;
  std::vector<std::string> valori;

  /// The row's text with the values in place.
  std::string testo() const;
  bool operator==(const Rilievo&) const = default;
};

/// A finding about stretch `tratto`, whose first value is the stretch itself.
Rilievo rilievo_tratto(Anomalia a, int32_t tratto, int64_t valore);

}  // namespace compattatore
