// Readers of the three compiled files, the exact inverse of the writers in compilati.h: reading
// the bytes a writer produced gives back the model it was given. A file that is truncated, too
// long or holds something no writer produces is refused with the byte where reading stopped and
// what was expected there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "formato/punti_tracciato.h"
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

/// A file's bytes piece by piece: fills up to `quanti` bytes at `dove` and returns how many, 0
/// only at the end.
using PezziDaLeggere = std::function<size_t(char* dove, size_t quanti)>;
/// Receives the values of a route plan in file order, a batch at a time: `primo` counts from 0
/// over coordinate 0 of every point, then coordinate 1.
using ValoriTracciato = std::function<void(size_t primo, std::span<const Coordinata> valori)>;

/// `<nome>_linea.dat` walked once in pieces, checked as leggi_tracciato checks it, each value
/// handed to `valori` (when given). Returns the number of values (twice the points).
size_t scorri_tracciato(const PezziDaLeggere& sorgente, const std::string& file,
                        const ValoriTracciato& valori);

/// `<nome>_linea.dat`: coordinate 0 of every point, then coordinate 1, each a tagged value.
/// `file` names the file in errors. `apri` gives the file from its start: it is walked twice,
/// once to count the points, once to read them, in pieces.
Tracciato leggi_tracciato(const std::function<PezziDaLeggere()>& apri, const std::string& file);
/// The same from the whole file in memory.
Tracciato leggi_tracciato(std::string_view byte, const std::string& file);

/// `<nome>_<treno>.sim`: exactly 87 entries and nothing after them.
Elenco leggi_elenco(std::string_view byte, const std::string& file);

/// `<nome>_<treno>.dat`: one or more stretches of 15 bytes.
std::vector<Tratto> leggi_tratti(std::string_view byte, const std::string& file);

}  // namespace compattatore
