// The language server: JSON-RPC 2.0 messages framed by `Content-Length` headers on a pair of
// streams, as the Language Server Protocol 3.17 has them. It keeps the open sources, checks each
// scenario a moment after the last edit and sends its diagnostics, and answers hover,
// completion, outline, quick fixes and definitions. It never writes a file.
#pragma once

#include <chrono>
#include <cstddef>
#include <istream>
#include <ostream>
#include <string>

namespace compattatore::lsp {

/// One framed message read from the stream.
struct Lettura {
  enum class Tipo {
    messaggio,  // `corpo` holds the message's bytes
    guasto,     // a header without a valid length, or a message too large: `corpo` says what
    fine,       // the stream ended
  };
  Tipo tipo = Tipo::fine;
  std::string corpo;
};

/// The largest message read whole; a larger one is passed over.
inline constexpr size_t kMassimoMessaggio = size_t{64} << 20;

/// Reads the next message: header lines up to an empty one, then `Content-Length` bytes. A
/// header line that holds `Content-Length:` after other bytes (a body sent without its length
/// runs into the next header) still counts, so the stream finds its footing again.
Lettura leggi_messaggio(std::istream& in);

/// `corpo` with its header, ready to send.
std::string incornicia(const std::string& corpo);

struct OpzioniServer {
  /// How long after an edit the scenario is checked: a burst of edits is checked once.
  std::chrono::milliseconds attesa{150};
};

/// Serves the protocol on `in` and `out` until `exit` or the end of `in`. Returns the exit
/// status: 0 after `shutdown`, 1 otherwise.
int servi(std::istream& in, std::ostream& out, const OpzioniServer& opzioni = {});

}  // namespace compattatore::lsp
