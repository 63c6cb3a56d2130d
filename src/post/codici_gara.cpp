#include "post/codici_gara.h"

#include "model/cp1252.h"

namespace compattatore {
namespace {
constexpr const char* kRiempitivo = "zzyyxxwwvvuuttssrrqqppkkjj";
constexpr size_t kCaratteri = 25;
}  // namespace

std::string chiave_gara(const Elenco& elenco) {
  std::string chiave =
      cp1252::minuscole(elenco[voce::treno].testo + elenco[voce::intestazione].testo) + kRiempitivo;
  chiave.resize(kCaratteri);
  return chiave;
}

int16_t codice_gara_og(const Elenco& elenco) {
  int32_t somma = 0;  // at most 25 * 255: always fits 16 bits
  for (const char c : chiave_gara(elenco)) somma += static_cast<unsigned char>(c);
  return static_cast<int16_t>(somma);
}

int32_t codice_gara_st(const Elenco& elenco) {
  int32_t somma = 0;
  int32_t i = 1;
  for (const char c : chiave_gara(elenco)) somma += i++ * static_cast<unsigned char>(c);
  return somma;
}

}  // namespace compattatore
