// What the fuzz targets share: the entry point libFuzzer calls, an error sink that keeps only the
// error word, the limits that keep one execution short, and the compile every target but the
// item reader's runs: the run's own compile from text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "compilazione/compila.h"
#include "formato/lettori.h"
#include "model/segnalazione.h"

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

/// The options of a compile of `ingresso`: the plan for one input in `quota`, routes cut. The
/// encoding is found as the run finds it.
inline OpzioniCompilazione opzioni(std::string_view ingresso, unsigned quota = kQuotaTracciato) {
  OpzioniCompilazione o;
  o.con_tracciato = per_una_quota(ingresso, quota);
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

/// The run's compile of `linea` and `treno`, then the bytes of every file it gives, each checked
/// against the size its model says.
inline void compila(const std::string& linea, const std::string& treno,
                    const OpzioniCompilazione& o) {
  Parola errori;
  const Compilazione c = compila_testi(Identita{"Fuzz", "1"}, Sorgente::testo("F_linea.txt", linea),
                                       Sorgente::testo("F_1-.txt", treno), o, errori);
  if (!c.completa()) return;
  if (c.byte(TipoCompilato::tratti).size() != 15 * c.modello.tratti.size()) __builtin_trap();
  c.byte(TipoCompilato::elenco);
  // The plan's file holds no count: read back, it must give the same plan.
  if (o.con_tracciato &&
      leggi_tracciato(c.byte(TipoCompilato::tracciato), "F_linea.dat") != c.modello.tracciato) {
    __builtin_trap();
  }
}

}  // namespace compattatore::fuzz
