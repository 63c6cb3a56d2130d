#include "app/esecuzione.h"
#include "parse/lettore.h"
#include "parse/memorizza_dati.h"

namespace compattatore {

// Not built yet: the train source is read by a later change.
void fase_treno(Esecuzione&, LettoreVoci&) {}

}  // namespace compattatore
