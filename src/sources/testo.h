// Text files of the scenario: a line table written in Windows-1252 with CR LF line ends.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "io/file_sicuro.h"

namespace compattatore {

/// The element that closes every line table. It ends the file and is never written.
inline constexpr std::string_view kFineTabella = "riferimento fine del file";

/// A line table: the lines of one text file in UTF-8, in file order, closed by kFineTabella.
/// An empty element is an empty line; elements after the end marker are not part of the file.
using TabellaRighe = std::span<const std::string_view>;

/// The bytes of the file that `righe` describes: every line before the end marker converted to
/// Windows-1252, exactly as held (leading and trailing blanks kept), each followed by CR LF, the
/// last one included; no byte-order mark. Throws std::logic_error when the table holds no end
/// marker, and cp1252::NonRappresentabile for a character that Windows-1252 cannot hold.
std::string testo_cp1252(TabellaRighe righe);

/// Replaces `file` with the text of `righe` (see testo_cp1252). The whole text is built before
/// the disk is touched, so a line that cannot be converted leaves an older file as it was.
/// `durata` says whether it is flushed to the disk. Throws ErroreFile when the file cannot be
/// written.
void scrivi_testo(const std::filesystem::path& file, TabellaRighe righe,
                  Durata durata = Durata::durevole);

}  // namespace compattatore
