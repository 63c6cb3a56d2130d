// What the fuzz targets share: the entry point libFuzzer calls, an error sink that keeps only the
// error word, and the limits that keep one execution short.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/segnalazione.h"
#include "parse/fasi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n);

namespace compattatore::fuzz {

/// Routes are cut to this length (metres): an execution then walks at most 340 stretches.
inline constexpr int32_t kTaglioPercorso = 10000;
/// With the route plan, to this one: at most 10000 points.
inline constexpr int32_t kTaglioTracciato = 3000;
/// The route plan is drawn for about one input in `quota`.
inline constexpr unsigned kQuotaTracciato = 16;

/// The input as text.
inline std::string testo(const uint8_t* dati, size_t n) {
  return std::string(reinterpret_cast<const char*>(dati), n);
}

/// True for about one input in `su`, always the same inputs: the route plan is drawn for those
/// only.
inline bool per_una_quota(std::string_view dati, unsigned su) {
  uint32_t h = 2166136261u;
  for (const char c : dati) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return h % su == 0;
}

/// The options of the line phase for `sorgente`: the plan for one input in `quota`, routes cut.
inline OpzioniLinea opzioni_linea(std::string_view sorgente, unsigned quota = kQuotaTracciato) {
  OpzioniLinea o{per_una_quota(sorgente, quota)};
  o.taglio_percorso = o.con_tracciato ? kTaglioTracciato : kTaglioPercorso;
  return o;
}

/// An error sink that keeps the error word and nothing else.
class Parola : public Segnalatore {
 public:
  void ricevi(Segnalazione s) override { codice_ = s.codice; }
  Codice codice_errore() const override { return codice_; }

 private:
  Codice codice_ = Codice::nessuno;
};

}  // namespace compattatore::fuzz
