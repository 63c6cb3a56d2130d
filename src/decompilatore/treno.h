// The inverse of the train source: from the table and the stretches back to the lines that give
// them. Each step reads what it needs of the model, marks the objects its lines account for and
// reports what no line gives.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "decompilatore/preavvisi.h"
#include "decompilatore/ricostruzione.h"
#include "decompilatore/sorgente.h"

namespace compattatore {

/// The value of a code change point that the code-marker pass writes.
inline constexpr int16_t kValoreMarcatore = 180;

/// The lines of the train source, section by section.
struct SorgenteTreno {
  std::vector<std::string> generale;
  std::vector<Riga> aderenze, velocita, rallentamenti;
  std::vector<FontePreavvisi> punti;     // stations and signals, in the order they are written
  std::map<int64_t, Riga> abbattimenti;  // code points other than markers, by stretch
  std::vector<int64_t> marcatori;        // code points with the markers' value
  std::set<int64_t> marcatori_scritti;   // those of them written as lines

  /// The whole source, "[generale]" to "[fine]".
  std::vector<std::string> righe() const;
};

/// Cars, braked mass, sand, clock.
void generale_treno(Ricostruzione& r, SorgenteTreno& out);
/// The adhesion and speed profiles.
void profili_treno(Ricostruzione& r, SorgenteTreno& out);
/// The stations, from entry 1 up to the entries of the board texts, which start at `cursore`
/// + 1. Each writes approach bytes.
std::vector<FontePreavvisi> stazioni_treno(Ricostruzione& r, int cursore);
/// The signals, their values taken apart into the items that form them. Each writes approach
/// bytes.
std::vector<FontePreavvisi> segnali_treno(Ricostruzione& r);
/// The slowdowns, their warning boards and marked stretches told apart from the start.
void rallentamenti_treno(Ricostruzione& r, SorgenteTreno& out);
/// Code cut points, and code change points (markers are set aside for the check to place).
void codici_treno(Ricostruzione& r, SorgenteTreno& out);
/// Objects that no step has accounted for.
void oggetti_rimasti(Ricostruzione& r);

}  // namespace compattatore
