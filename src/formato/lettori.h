// Readers of the three compiled files, the exact inverse of the writers in compilati.h: reading
// the bytes a writer produced gives back the model it was given. A file that is truncated, too
// long or holds something no writer produces is refused with the byte where reading stopped and
// what was expected there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/campi.h"
#include "model/modello.h"
#include "model/parole.h"
#include "model/regole.h"

namespace compattatore {

/// A compiled file that cannot be read: the file, the byte offset (from 0) where reading stopped
/// and what was expected there. `what()` joins the three in one Italian line.
struct ErroreLettura : std::runtime_error {
  ErroreLettura(std::string file, uint64_t byte, std::string atteso);
  std::string file;
  uint64_t byte;
  std::string atteso;
};

/// The longest route the line phase accepts (1000000 m), with the 7000 m beyond its end, has
/// 1007001 plan points and stretches 0 to 20140. No compiled file of a longer route exists.
inline constexpr size_t kMassimoPuntiTracciato =
    static_cast<size_t>(kLunghezzaPercorsoMassima) + kCodaPercorso + 1;
inline constexpr size_t kMassimoTratti =
    (static_cast<size_t>(kLunghezzaPercorsoMassima) + kCodaPercorso) / kMetriTratto + 1;
static_assert((kLunghezzaPercorsoMassima + kCodaPercorso) % kMetriTratto == 0);
/// The largest each file can be: every coordinate a double; every text 65535 bytes.
inline constexpr size_t kMassimoByteTracciato = kMassimoPuntiTracciato * 2 * 10;
inline constexpr size_t kMassimoByteElenco = kVociElenco * (kByteVoce + kMaxTesto);
inline constexpr size_t kMassimoByteTratti = kMassimoTratti * kByteTratto;

/// `<nome>_linea.dat`: coordinate 0 of every point, then coordinate 1, each a tagged value.
/// `file` names the file in errors.
Tracciato leggi_tracciato(std::string_view byte, const std::string& file);

/// `<nome>_<treno>.sim`: exactly 87 entries and nothing after them.
Elenco leggi_elenco(std::string_view byte, const std::string& file);

/// `<nome>_<treno>.dat`: one or more stretches of 15 bytes.
std::vector<Tratto> leggi_tratti(std::string_view byte, const std::string& file);

}  // namespace compattatore
