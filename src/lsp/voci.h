// A source's lines as the editor needs them: in which section each is read, which keyword or
// header its first item is, and where each of its values stands, all from the table of source
// fields and the parser's own item reader, one line at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lsp/testo.h"
#include "model/parole.h"

namespace compattatore::lsp {

/// Which of the two sources a file is.
enum class TipoSorgente { linea, treno };

/// From the file's name: `..._linea.txt` is the line source, anything else the train source.
TipoSorgente tipo_da_nome(std::string_view nome_file);

/// One item of a line: its characters [inizio, fine) from 0, and what is written (UTF-8).
struct Campo {
  size_t inizio = 0;
  size_t fine = 0;
  std::string scritto;
};

/// One line read as the parser would read it on its own.
struct RigaLetta {
  std::optional<Ambito> ambito;        // nothing before "[generale]"
  const RigaChiave* chiave = nullptr;  // the keyword or header of its first item
  bool intestazione = false;           // the first item is a bracketed header (known or not)
  Campo parola;                        // the first item
  std::vector<Campo> valori;           // the keyword's values written on this line, in order
  std::vector<std::optional<int64_t>> numeri;  // each value read as a number (none for a text)
  bool avanza = false;                         // the line holds more items than the keyword reads
};

/// The section in which each line of `testo` is read (up to line `fino`, when given).
std::vector<std::optional<Ambito>> ambiti(const TestoDocumento& testo, TipoSorgente tipo,
                                          size_t fino = SIZE_MAX);
/// The section in which line `r` is read.
std::optional<Ambito> ambito_della_riga(const TestoDocumento& testo, TipoSorgente tipo, size_t r);

/// Line `r` of `testo`, read in `ambito`.
RigaLetta leggi_riga(const TestoDocumento& testo, size_t r, std::optional<Ambito> ambito);

/// Which value of `riga` stands at character `colonna`: its index, or nothing.
std::optional<size_t> valore_a(const RigaLetta& riga, size_t colonna);

/// The value `v` written as `numero`, as it will be stored (Italian), or "" when it cannot be
/// told from the value alone.
std::string come_memorizzato(const RigaValore& v, int64_t numero);

}  // namespace compattatore::lsp
