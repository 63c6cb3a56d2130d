#include "io/errori_sistema.h"

namespace compattatore {

std::string motivo_sistema(std::error_code e) {
  static constexpr struct {
    std::errc condizione;
    const char* testo;
  } kTesti[] = {
      {std::errc::permission_denied, "permesso negato"},
      {std::errc::operation_not_permitted, "operazione non permessa"},
      {std::errc::no_space_on_device, "spazio esaurito sul disco"},
      {std::errc::is_a_directory, "al suo posto c'è una cartella"},
      {std::errc::no_such_file_or_directory, "file o cartella inesistente"},
      {std::errc::read_only_file_system, "file system di sola lettura"},
      {std::errc::filename_too_long, "nome troppo lungo"},
      {std::errc::file_too_large, "file troppo grande per il sistema"},
      {std::errc::not_a_directory, "una parte del percorso non è una cartella"},
      {std::errc::io_error, "errore di lettura o scrittura sul disco"},
      {std::errc::too_many_files_open, "troppi file aperti"},
      {std::errc::too_many_files_open_in_system, "troppi file aperti nel sistema"},
      {std::errc::device_or_resource_busy, "file o cartella in uso"},
      {std::errc::too_many_symbolic_link_levels, "troppi collegamenti simbolici"},
      {std::errc::file_exists, "esiste già"},
      {std::errc::no_lock_available, "blocco dei file non disponibile"},
  };
  const std::string originale = e.message();
  for (const auto& t : kTesti) {
    if (e == t.condizione) return std::string(t.testo) + " (" + originale + ")";
  }
  return originale;
}

bool scrittura_negata(std::error_code e) {
  return e == std::errc::permission_denied || e == std::errc::operation_not_permitted ||
         e == std::errc::read_only_file_system;
}

}  // namespace compattatore
