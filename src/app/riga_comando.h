// The command line: the plain run and the subcommands, dispatched from one table.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace compattatore {

/// Runs the command line `argomenti` (without the program name) and returns the exit status.
int principale(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err);

}  // namespace compattatore
