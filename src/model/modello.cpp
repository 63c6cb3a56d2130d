#include "model/modello.h"

#include <bit>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "model/regole.h"

namespace compattatore {

void Tracciato::Libera::operator()(std::byte* p) const { std::free(p); }

void Tracciato::crea(int32_t metri_totali) {
  blocco_.reset();
  punti_ = 0;
  if (metri_totali < 0) throw GuastoEsecuzione("tracciato di lunghezza negativa");
  const size_t punti = static_cast<size_t>(metri_totali) + 1;
  // calloc: a large block comes zeroed from the system and untouched, so no page is written
  // before its point is drawn.
  auto* b = static_cast<std::byte*>(std::calloc(punti, kBytePunto));
  if (b == nullptr) throw std::bad_alloc();
  blocco_.reset(b);
  punti_ = punti;
}

Tracciato::Tracciato(const Tracciato& altro) { *this = altro; }

Tracciato& Tracciato::operator=(const Tracciato& altro) {
  if (this == &altro) return *this;
  if (altro.vuoto()) {
    blocco_.reset();
    punti_ = 0;
    return *this;
  }
  crea(static_cast<int32_t>(altro.punti_ - 1));
  std::memcpy(blocco_.get(), altro.blocco_.get(), punti_ * kBytePunto);
  return *this;
}

Tracciato::Tracciato(Tracciato&& altro) noexcept
    : blocco_(std::move(altro.blocco_)), punti_(std::exchange(altro.punti_, 0)) {}

Tracciato& Tracciato::operator=(Tracciato&& altro) noexcept {
  blocco_ = std::move(altro.blocco_);
  punti_ = std::exchange(altro.punti_, 0);
  return *this;
}

size_t Tracciato::fine_serie(size_t i, Asse a) const {
  const uint8_t* t = tipi();
  const int s = spostamento(a);
  const uint8_t tipo = (t[i] >> s) & 0x0F;
  size_t j = i + 1;
  // Eight points at a time while their bytes equal point i's (both kinds alike), then one by one.
  uint64_t otto = 0;
  std::memset(&otto, t[i], sizeof otto);
  for (uint64_t v = 0; j + sizeof v <= punti_; j += sizeof v) {
    std::memcpy(&v, t + j, sizeof v);
    if (v != otto) break;
  }
  while (j < punti_ && ((t[j] >> s) & 0x0F) == tipo) ++j;
  return j;
}

bool stessa_coordinata(const Tracciato& a, const Tracciato& b, size_t i, Asse asse) {
  const TipoCoordinata t = a.tipo(i, asse);
  if (t != b.tipo(i, asse)) return false;
  return t == TipoCoordinata::vuota ||
         std::bit_cast<uint64_t>(a.valore(i, asse)) == std::bit_cast<uint64_t>(b.valore(i, asse));
}

bool operator==(const Tracciato& a, const Tracciato& b) {
  if (a.punti_ != b.punti_) return false;
  for (size_t i = 0; i < a.punti_; ++i) {
    if (!stesso_punto(a, b, i)) return false;
  }
  return true;
}

Tratto& Modello::tratto(int64_t i) {
  if (i < 0 || i >= static_cast<int64_t>(tratti.size())) {
    throw GuastoEsecuzione("tratto " + std::to_string(i) + " fuori da tratti (0-" +
                           std::to_string(static_cast<int64_t>(tratti.size()) - 1) + ")");
  }
  return tratti[static_cast<size_t>(i)];
}

void Modello::crea_tratti(int32_t lunghezza, bool con_tracciato) {
  metri_totali = entro<int32_t>(int64_t{lunghezza} + kCodaPercorso, "metri_totali");
  const int32_t ultimo = cinquantesimi(metri_totali);
  if (ultimo < 1) throw GuastoEsecuzione("percorso troppo corto");
  tratti.assign(static_cast<size_t>(ultimo) + 1, Tratto{});
  if (con_tracciato) {
    tracciato.crea(metri_totali);
  } else {
    tracciato = Tracciato{};
  }
}

}  // namespace compattatore
