// The operating system under the io layer: the few calls that differ from one system to another,
// each small, with one implementation file per system (piattaforma_posix.cpp). Nothing outside
// src/io includes this header, and no type of a system's own appears in it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

namespace compattatore::piattaforma {

/// An open file of the system (a descriptor or a handle), opaque above this header.
using Maniglia = std::intptr_t;
inline constexpr Maniglia kNessunaManiglia = -1;

// Files written whole.

/// Creates `file` for writing; it must not exist yet. A new file gets the usual permissions.
std::error_code crea_esclusivo(const std::filesystem::path& file, Maniglia& m);
/// Writes all of `dati` at the current end of `m`.
std::error_code scrivi(Maniglia m, std::string_view dati);
/// Gives the open file `m` the permission bits `permessi`.
std::error_code imposta_permessi(Maniglia m, std::filesystem::perms permessi);
/// Flushes `m` to the disk and closes it; it is closed even when the flush fails.
std::error_code chiudi_su_disco(Maniglia m);
/// Closes `m` (after a failure, or a lock file).
void chiudi(Maniglia m);
/// Flushes the names of a folder (the renames done in it) to the disk, where the system can.
void sincronizza_cartella(const std::filesystem::path& cartella);

// Files read whole.

/// Opens `file` for reading.
std::error_code apri_lettura(const std::filesystem::path& file, Maniglia& m);
/// Reads up to `quanti` bytes of `m` into `dove`; `letti` 0 is the end of the file.
std::error_code leggi(Maniglia m, char* dove, std::size_t quanti, std::size_t& letti);
/// Closes a file opened with apri_lettura.
void chiudi_lettura(Maniglia m);

// Names.

/// Adds to `voci` the entries of the folder `cartella` (each `cartella / name`), in the system's
/// order.
std::error_code voci_cartella(const std::filesystem::path& cartella,
                              std::vector<std::filesystem::path>& voci);

/// Renames `da` over `a` in one step: `a` names the old file or the new one, never nothing.
std::error_code sostituisci(const std::filesystem::path& da, const std::filesystem::path& a);
/// A second name `nuovo` for `esistente` (a link named `esistente` is itself linked, not the
/// file it points to). Fails where the file system has no second names.
std::error_code collega(const std::filesystem::path& esistente, const std::filesystem::path& nuovo);
/// Removes the name `file`.
std::error_code rimuovi(const std::filesystem::path& file);
/// `a` and `b` name one file (links followed); false when either cannot be opened.
bool stesso_file(const std::filesystem::path& a, const std::filesystem::path& b);

// Locks: advisory, exclusive, released by the system when the process ends however it ends.

/// Opens the lock file `file`, creating it when it is not there.
std::error_code apri_blocco(const std::filesystem::path& file, Maniglia& m);
/// Takes the lock of the open lock file `m`. With `attendi` waits while another holds it;
/// without, returns std::errc::resource_unavailable_try_again at once.
std::error_code blocca(Maniglia m, bool attendi);
/// The file system of the lock file cannot lock: the run goes on without the lock.
bool blocco_non_supportato(std::error_code e);
/// `m` is still the file named `file`: it was not removed (and perhaps made anew) meanwhile.
bool e_ancora(Maniglia m, const std::filesystem::path& file);

// Files removed if a signal ends the process: interrupt, termination, hang-up, broken pipe,
// file size limit. The handlers remove what is registered, then the signal ends the process as
// it would have (a signal the process ignores stays ignored). Only the process that registered
// a file removes it (not a child made by fork).

/// Holds those signals back until `lascia_segnali`, so that the steps in between are not cut in
/// two by them; a signal that came meanwhile then acts. A file is created and registered between
/// the two, so that no signal finds it made and not yet registered. Calls do not nest.
void trattieni_segnali();
void lascia_segnali();
/// Registers `file`; returns a ticket for `dimentica`, or -1 when the register is full.
int registra_da_rimuovere(const std::filesystem::path& file);
/// Takes the file of `biglietto` off the register (-1: nothing).
void dimentica(int biglietto);

// Watching folders, until an interrupt.

/// From now on an interrupt (Ctrl+C) or a request to end (SIGTERM) no longer ends the process: it
/// is recorded for `interruzione_arrivata` and ends `attendi_notizie` at once. A step under way
/// goes on to its normal end, removing what it made as it always does.
void intercetta_interruzione();
/// An interrupt came since `intercetta_interruzione`.
bool interruzione_arrivata();
/// Notices of names made, changed, renamed or removed in the folders `cartelle`, or of a folder
/// itself removed, where the system gives them (Linux: inotify); kNessunaManiglia where it does
/// not, or when they cannot be had: then the caller looks at the files every time it wakes.
Maniglia apri_notizie(const std::vector<std::filesystem::path>& cartelle);
/// Waits up to `ms` milliseconds for a notice on `m` (with kNessunaManiglia: only for the time)
/// or an interrupt, and reads away the notices that came. True when one of them was about a name
/// of `nomi` (names without a folder) or a folder itself.
bool attendi_notizie(Maniglia m, int ms, const std::vector<std::filesystem::path>& nomi);
/// Closes what apri_notizie opened.
void chiudi_notizie(Maniglia m);

// Processes and the program.

/// The number of the running process.
long id_processo();
/// A process with number `id` is running.
bool processo_vivo(long id);
/// The folder of the running executable, or an empty path when the system cannot tell.
std::filesystem::path cartella_eseguibile();

// Memory.

/// Advises large pages for the untouched memory of `n` bytes at `inizio` (see sistema.h).
void consiglia_pagine_grandi(void* inizio, std::size_t n);

}  // namespace compattatore::piattaforma
