// What the program asks of the system besides writing files safely: its own folder, whether a
// file or folder is there, whether two names are one file, removing a file, and advice on memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace compattatore {

/// The path named by the UTF-8 text `testo`: a name from the command line (the option reader
/// makes every file and folder named there a path with it), or one the program makes. Paths are
/// never built from a std::string directly, which on Windows reads the bytes in the local code
/// page; the other way, `path::string()` gives UTF-8 on every system (libstdc++).
std::filesystem::path percorso_utf8(std::string_view testo);

/// The folder of the running executable (the current folder when the system cannot tell).
std::filesystem::path cartella_programma();

/// Something exists under `p` (an error while looking counts as "no").
bool esiste(const std::filesystem::path& p);
/// `p` is a folder.
bool e_cartella(const std::filesystem::path& p);
/// `p` is a regular file (or a link to one).
bool e_file(const std::filesystem::path& p);
/// The size of the regular file `p` in bytes, or nothing when it cannot be told.
std::optional<uintmax_t> dimensione_file(const std::filesystem::path& p);
/// The regular files directly inside the folder `cartella`, sorted by name. Throws ErroreFile
/// when the folder cannot be read: a failed listing is never taken for an empty folder.
std::vector<std::filesystem::path> file_nella_cartella(const std::filesystem::path& cartella);
/// `a` and `b` are one file: the same file of the same device, also when one is a link to the
/// other or a second name of it. False when either is missing.
bool stesso_file(const std::filesystem::path& a, const std::filesystem::path& b);
/// Creates the folder `p` (and the folders above it); true when it exists afterwards.
bool crea_cartella(const std::filesystem::path& p);
/// Removes the file `p`; a file that is not there is no error, nor is any other failure.
void cancella(const std::filesystem::path& p);

/// Advises the system to back the untouched memory `m` with large pages where it offers them,
/// so that filling it costs a few page faults rather than one per small page. Only advice: the
/// content does not change, and a system that does not take it is no error.
void consiglia_pagine_grandi(std::span<std::byte> m);

}  // namespace compattatore
