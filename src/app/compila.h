// `compattatore compile`: an author's own line and train sources through the same pipeline.
#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>

namespace compattatore {

/// `nome` from a line source named `<nome>_linea.txt`; nothing when the name does not fit.
std::optional<std::string> nome_da_file_linea(const std::string& file);
/// `treno` from a train source named `<nome>_<treno>-.txt`; nothing when the name does not fit.
std::optional<std::string> treno_da_file_treno(const std::string& file, const std::string& nome);

/// The command: `compile LINEA TRENO [--dir OUT] [--nome N] [--treno T] [--no-plan]`.
int comando_compila(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace compattatore
