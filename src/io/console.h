// The program's command line, standard output and standard error, as UTF-8 text on every system.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace compattatore {

/// The arguments after the program's name, in UTF-8. Where the system hands programs their
/// command line in an encoding of its own (Windows: UTF-16, of which `argv` keeps only what the
/// local code page can hold), it is read from the system and converted; elsewhere `argv` is it.
std::vector<std::string> argomenti_programma(int argc, char** argv);

/// Standard output and standard error, kept apart, for UTF-8 text: a console shows the text as
/// written, a file or a pipe receives the bytes unchanged (no line end is turned into another).
std::ostream& uscita_standard();
std::ostream& errore_standard();

/// Standard input as bytes, unchanged (no line end turned into another), for a program that
/// speaks a protocol on its standard streams. Not tied to standard output: it may be read on
/// one thread while another writes.
std::istream& ingresso_standard();

}  // namespace compattatore
