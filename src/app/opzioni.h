// The options of one command, read from its command line with the C library's getopt_long, and the
// matching "Opzioni:" block of its help.
#pragma once

#include <cstddef>
#include <filesystem>
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

/// What the value of an option is: a text (a name, a number, a choice), or a file or folder.
enum class Valore { testo, percorso };

/// One long option of a command. All strings are static (a command's table is a constant array).
struct Opzione {
  const char* nome;               // without the leading "--"; "help" is reserved
  const char* argomento;          // name of its value in help ("CARTELLA"); nullptr for a flag
  const char* aiuto;              // one line of help, Italian
  Valore valore = Valore::testo;  // a path comes back in OpzioniLette::percorsi
  const char* alias = nullptr;    // an older spelling read as the same option, not shown in help
  char corta = 0;                 // a one-letter spelling ("-o"), 0 when none
  // What the shell's completion offers for its value: for a text, the fixed words it takes,
  // separated by blanks (nullptr: nothing to offer); for a path, the pattern of the files it
  // names (nullptr: a folder).
  const char* completa = nullptr;
};

/// What the command line of one command held. Every file or folder it names (the options marked
/// Valore::percorso, and every operand) is a path already, made from the UTF-8 text of the
/// command line: a command never builds a path from a string of its own.
struct OpzioniLette {
  std::map<std::string, std::string> valori;  // text options, by `nome`, also when given by alias
  std::map<std::string, std::filesystem::path> percorsi;  // path options, by `nome`
  std::set<std::string> flag;                             // flags given, by `nome`
  std::vector<std::filesystem::path> operandi;            // operands, in order: files or folders
  bool aiuto = false;  // --help or -h was given; what follows it is not read

  /// Whether the option `nome` (a flag, a text or a path) was given.
  bool presente(const std::string& nome) const;
  /// The value given to the text option `nome`, if it was given.
  std::optional<std::string> valore(const std::string& nome) const;
  /// The path given to the path option `nome`, if it was given.
  std::optional<std::filesystem::path> percorso(const std::string& nome) const;
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

/// The value that `argomenti` give to the option `nome` of `opzioni` (`--nome V`, `--nome=V`, or
/// a unique beginning of its name), read on its own, also from a command line that
/// `leggi_opzioni` refuses: how a usage error must be reported can depend on it.
std::optional<std::string> valore_scritto(std::span<const std::string> argomenti,
                                          std::span<const Opzione> opzioni, std::string_view nome);

/// The "Opzioni:" block of a command's help, one aligned line per option and one for --help.
std::string aiuto_opzioni(std::span<const Opzione> opzioni);

}  // namespace compattatore
