// The system's reasons for a failed file operation, told in Italian.
#pragma once

#include <string>
#include <system_error>

namespace compattatore {

/// The reason for `e` in Italian, followed by the system's own text in brackets:
/// "permesso negato (Permission denied)". A reason without an Italian text is the system's text
/// alone.
std::string motivo_sistema(std::error_code e);

/// The system refused to write: no permission, or a read-only file system.
bool scrittura_negata(std::error_code e);

}  // namespace compattatore
