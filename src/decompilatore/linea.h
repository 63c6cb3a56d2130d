// The inverse of the line source: from the table and the stretches (and the route plan, when
// there is one) back to the lines that give them. Each step reads what it needs of the model,
// marks the objects its lines account for and reports what no line gives.
#pragma once

#include <string>
#include <vector>

#include "decompilatore/ricostruzione.h"
#include "decompilatore/sorgente.h"

namespace compattatore {

/// The lines of the line source, section by section.
struct SorgenteLinea {
  std::vector<std::string> generale;
  std::vector<Riga> curve, pendenze, montagne, indicatori, cartelli;

  /// The whole source, "[generale]" to "[fine]".
  std::vector<std::string> righe() const;
};

/// Route length, kilometric sections, backgrounds, signal repetition.
void generale_linea(Ricostruzione& r, SorgenteLinea& out);
/// The curves, found again from the route plan (only with a plan).
void curve_linea(Ricostruzione& r, SorgenteLinea& out);
/// A gradient line at 0 and at every stretch where the gradient changes.
void pendenze_linea(Ricostruzione& r, SorgenteLinea& out);
/// A mountain line for every run of stretches of one type, with its markers.
void montagne_linea(Ricostruzione& r, SorgenteLinea& out);
/// The speed indicator boards.
void indicatori_linea(Ricostruzione& r, SorgenteLinea& out);
/// The boards, with their texts. Returns the entry below the last board text: the stations of
/// the train source end before it.
int cartelli_linea(Ricostruzione& r, SorgenteLinea& out);

}  // namespace compattatore
