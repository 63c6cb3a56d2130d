// Two compiled files of the same kind compared field by field: one line per field that differs,
// naming the stretch, entry or point, the field, and the old and new value.
#pragma once

#include <string>
#include <vector>

#include "model/campi.h"
#include "model/modello.h"

namespace compattatore {

/// One numeric field in which two records differ: its row and the two stored numbers.
template <class R>
struct CampoDiverso {
  const RigaCampo<R>* campo;
  int64_t a;
  int64_t b;
};

/// The fields in which `a` and `b` differ, in file order.
std::vector<CampoDiverso<Tratto>> campi_diversi(const Tratto& a, const Tratto& b);
/// The numeric fields in which `a` and `b` differ, in file order; the text is compared apart.
std::vector<CampoDiverso<Voce>> campi_diversi(const Voce& a, const Voce& b);

/// "tratto 929 (46400 m) valore_1: 42 -> 43"; stretches present on one side only in one line.
std::vector<std::string> confronta_tratti(const std::vector<Tratto>& a,
                                          const std::vector<Tratto>& b);

/// "voce 5 (Sipicciano) orario: 24150 (6:42:30) -> 24160 (6:42:40)".
std::vector<std::string> confronta_elenco(const Elenco& a, const Elenco& b);

/// Points that differ, in runs of consecutive points: the run, how many, and its first point
/// with both coordinates before and after. At most `serie` runs are listed, then how many more.
/// Values compare as they are written: a double and an integer of the same number differ, and
/// so do 0.0 and -0.0.
std::vector<std::string> confronta_tracciato(const Tracciato& a, const Tracciato& b,
                                             size_t serie = 20);

}  // namespace compattatore
