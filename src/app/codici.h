// Every code the run can set: what it means and what the author should change.
#pragma once

#include <cstdint>
#include <span>

namespace compattatore {

struct Codice {
  int32_t codice;
  const char* significato;  // what is wrong, in Italian
  const char* rimedio;      // what the author should change
};

/// All codes, in ascending order.
std::span<const Codice> tutti_i_codici();

/// The entry of `codice`, or nullptr for a code the run never sets.
const Codice* cerca_codice(int32_t codice);

}  // namespace compattatore
