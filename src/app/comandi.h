// The commands of the program: one table, one option reader, one help for each.
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "app/opzioni.h"

namespace compattatore {

/// Exit statuses of a command.
inline constexpr int kUscitaOk = 0;         // done; for a run: compiled files written, code 0
inline constexpr int kUscitaFallita = 1;    // usage error, or no compiled file written
inline constexpr int kUscitaConCodice = 2;  // compiled files written, codice_errore not 0 (or a
                                            // warning under --avvisi-come-errori)

/// A command of the program: its name, its operands and options, its help and what runs it.
struct Comando {
  const char* nome;
  const char* alias;        // an older English name, still accepted; nullptr when none
  const char* operandi;     // the operands in the usage line ("" when none)
  const char* descrizione;  // one line, for the list of commands
  const char* spiegazione;  // the body of the command's help
  std::span<const Opzione> opzioni;
  int (*esegui)(const OpzioniLette&, std::ostream&, std::ostream&);
  size_t operandi_minimi;
  size_t operandi_massimi;
  const char* se_mancano;          // the usage error when there are fewer operands than the least
  int stato_uso = kUscitaFallita;  // the exit status of a usage error
  // What the shell's completion offers for the operands, one entry per operand separated by
  // blanks, the last one for every operand after it: "/" a folder, else the patterns of the
  // files, separated by commas (folders are offered too). nullptr: nothing.
  const char* completa_operandi = nullptr;
};

/// The commands, in the order of the general help.
std::span<const Comando> comandi();
/// The program without a command: the plain run, with the version besides.
const Comando& comando_principale();
/// The first lines of the general help: what the program is.
extern const char* const kPresentazione;
/// The exit statuses that the help of `c` lists after its options ("" when its text says them).
const char* stato_uscita(const Comando& c);
/// The help of `c`, as "compattatore COMANDO --help" prints it; its usage line alone.
void aiuto_comando(std::ostream& out, const Comando& c);
std::string uso(const Comando& c);

/// The manual page compattatore(1), in roff, made from the table of commands.
std::string pagina_man();
/// The bash completion of the program, made from the table of commands.
std::string completamento_bash();

/// Runs the command line `argomenti` (without the program name) and returns the exit status.
int principale(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err);

/// The commands, each with the options it reads (see comandi.cpp for the table).
int comando_esegui(const OpzioniLette& o, std::ostream& out, std::ostream& err);
int comando_compila(const OpzioniLette& o, std::ostream& out, std::ostream& err);
int comando_verifica(const OpzioniLette& o, std::ostream& out, std::ostream& err);
int comando_esempio(const OpzioniLette& o, std::ostream& out, std::ostream& err);
int comando_codici(const OpzioniLette& o, std::ostream& out, std::ostream& err);
int comando_mostra(const OpzioniLette& o, std::ostream& out, std::ostream& err);
int comando_confronta(const OpzioniLette& o, std::ostream& out, std::ostream& err);
int comando_disegna(const OpzioniLette& o, std::ostream& out, std::ostream& err);
int comando_decompila(const OpzioniLette& o, std::ostream& out, std::ostream& err);
int comando_lsp(const OpzioniLette& o, std::ostream& out, std::ostream& err);
int comando_ripara(const OpzioniLette& o, std::ostream& out, std::ostream& err);

/// The usage error of `comando` ("" for the program itself): one line naming it and what is
/// wrong, then where to read more. Returns kUscitaFallita.
int errore_uso(std::ostream& err, const std::string& comando, const std::string& messaggio);

}  // namespace compattatore
