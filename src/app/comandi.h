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
