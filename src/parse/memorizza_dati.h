// The parse of both sources into the model.
#pragma once

namespace compattatore {

class Esecuzione;
class LettoreVoci;

/// Reads the line source, then (when the line phase ended with code 0 or 15) the train source.
/// A run-time fault in either phase becomes code 25: the sources that still exist are deleted
/// (when the run deletes its sources at all) and the function returns normally.
void memorizza_dati(Esecuzione& run);

/// The line phase: general section, then features; sizes `tratti`.
void fase_linea(Esecuzione& run, LettoreVoci& lettore);

/// The train phase: train figures, profiles, stations, code points, signals, slowdowns.
void fase_treno(Esecuzione& run, LettoreVoci& lettore);

}  // namespace compattatore
