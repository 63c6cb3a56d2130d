// Faults on demand, for the tests: the system calls of the io layer counted one by one, and the
// Nth made to fail with a chosen error, or to end the process on the spot. Built only with
// COMPATTATORE_GUASTI (the builds with tests); without it every call goes straight to the system
// and nothing here exists.
#pragma once

#if defined(COMPATTATORE_GUASTI)

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace compattatore::guasti {

/// The kinds of system call that are counted.
#define COMPATTATORE_CHIAMATE(X)         \
  X(apri, "apertura")                    \
  X(scrivi, "scrittura")                 \
  X(leggi, "lettura")                    \
  X(sincronizza, "salvataggio su disco") \
  X(rinomina, "rinomina")                \
  X(collega, "secondo nome")             \
  X(rimuovi, "rimozione")                \
  X(blocca, "blocco")                    \
  X(elenca, "elenco della cartella")

enum class Chiamata : uint8_t {
#define COMPATTATORE_VOCE(nome, testo) nome,
  COMPATTATORE_CHIAMATE(COMPATTATORE_VOCE)
#undef COMPATTATORE_VOCE
};

/// What the kind of call is, in a few words.
std::string_view nome(Chiamata c);

/// From now on, counts the calls from 1; call `n` fails with the error number `errore` (errno),
/// or, with `muori`, ends the process at once with status `kStatoMorte`, without a word and
/// without removing anything. `n` 0 only counts. With `solo`, `n` counts only the calls of that
/// kind (all are still recorded).
void arma(long n, int errore, bool muori = false, std::optional<Chiamata> solo = std::nullopt);
/// Stops counting and failing.
void disarma();
/// The calls counted since `arma`, in order.
std::vector<Chiamata> chiamate();

inline constexpr int kStatoMorte = 86;

/// Called by the platform before each counted call: true when this call is to fail, with errno
/// set to the chosen error.
bool scatta(Chiamata c);

/// A call that changed the disk, as a recording keeps it once the call has succeeded: enough to
/// replay on a copy of the folder what the disk may hold after a crash at any point.
struct Operazione {
  enum class Tipo : uint8_t {
    crea,            // a new file, `percorso`, open as `maniglia`
    crea_se_manca,   // the same, or the file that was already there (lock files)
    scrivi,          // `dati` written at `posizione` of `maniglia`
    salva_file,      // `maniglia` flushed to the disk
    salva_cartella,  // the names of the folder `percorso` flushed to the disk
    rinomina,        // `percorso` renamed over `altro`
    collega,         // `altro` made a second name of `percorso`
    rimuovi,         // the name `percorso` removed
  };
  Tipo tipo{};
  std::string percorso;
  std::string altro;
  std::intptr_t maniglia = -1;
  std::int64_t posizione = 0;
  std::string dati;
};

/// Starts recording (forgetting what was recorded before), or stops.
void registra(bool attiva);
/// A recording is on.
bool registrando();
/// What was recorded, in order.
std::vector<Operazione> registrate();
/// Called by the platform after each call that changed the disk, while a recording is on.
void annota(Operazione o);

}  // namespace compattatore::guasti

#endif
