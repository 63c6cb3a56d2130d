// The options of one command, read from its command line with the C library's getopt_long, and the
// matching "Opzioni:" block of its help.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/somiglianza.h"

namespace compattatore {

/// One long option of a command. All strings are static (a command's table is a constant array).
struct Opzione {
  const char* nome;             // without the leading "--"; "help" is reserved
  const char* argomento;        // name of its value in help ("CARTELLA"); nullptr for a flag
  const char* aiuto;            // one line of help, Italian
  const char* alias = nullptr;  // an older spelling read as the same option, not shown in help
  char corta = 0;               // a one-letter spelling ("-o"), 0 when none
};

/// What the command line of one command held.
struct OpzioniLette {
  std::map<std::string, std::string> valori;  // by the option's `nome`, also when given by alias
  std::set<std::string> flag;                 // flags given, by `nome`
  std::vector<std::string> posizionali;       // operands, in order
  bool aiuto = false;                         // --help or -h was given; what follows it is not read

  /// Whether the option `nome` (a flag or an option with a value) was given.
  bool presente(const std::string& nome) const;
  /// The value given to option `nome`, if it was given.
  std::optional<std::string> valore(const std::string& nome) const;
};

/// Reads `argomenti` (without the program and command names) against the options of one command.
/// `--opt VALUE` and `--opt=VALUE` both work (and `-o VALUE`, `-oVALUE` for an option with a
/// short spelling), unique prefixes of option names are accepted,
/// options and operands may be mixed, a lone "-" is an operand, `--` ends the options, and
/// `--help`/`-h` always exist. Giving an option twice with different values is an error.
/// Returns the options read, or a one-line usage error in Italian without the program name.
/// Uses the C library's global parser state: safe to call repeatedly, not from several threads.
std::variant<OpzioniLette, std::string> leggi_opzioni(std::span<const std::string> argomenti,
                                                      std::span<const Opzione> opzioni);

/// The "Opzioni:" block of a command's help, one aligned line per option and one for --help.
std::string aiuto_opzioni(std::span<const Opzione> opzioni);

}  // namespace compattatore
