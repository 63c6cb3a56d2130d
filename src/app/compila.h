// `compattatore compile`: an author's own line and train sources through the same pipeline.
#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>

namespace compattatore {

/// The command: `compile LINEA TRENO [--dir OUT] [--nome N] [--treno T] [--no-plan]`.
int comando_compila(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace compattatore
