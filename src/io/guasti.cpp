#include "io/guasti.h"

#if defined(COMPATTATORE_GUASTI)

#include <cerrno>
#include <cstdlib>
#include <mutex>

namespace compattatore::guasti {
namespace {

std::mutex guardia;
bool armato = false;
long bersaglio = 0;
int errore_scelto = 0;
bool morte = false;
std::optional<Chiamata> tipo_contato;
long del_tipo = 0;
std::vector<Chiamata> contate;
bool registra_attiva = false;
std::vector<Operazione> registro;

}  // namespace

std::string_view nome(Chiamata c) {
  switch (c) {
#define COMPATTATORE_VOCE(n, testo) \
  case Chiamata::n:                 \
    return testo;
    COMPATTATORE_CHIAMATE(COMPATTATORE_VOCE)
#undef COMPATTATORE_VOCE
  }
  return "";
}

void arma(long n, int errore, bool muori, std::optional<Chiamata> solo) {
  std::lock_guard g(guardia);
  tipo_contato = solo;
  del_tipo = 0;
  armato = true;
  bersaglio = n;
  errore_scelto = errore;
  morte = muori;
  contate.clear();
}

void disarma() {
  std::lock_guard g(guardia);
  armato = false;
}

std::vector<Chiamata> chiamate() {
  std::lock_guard g(guardia);
  return contate;
}

bool scatta(Chiamata c) {
  std::lock_guard g(guardia);
  if (!armato) return false;
  contate.push_back(c);
  if (tipo_contato && c == *tipo_contato) ++del_tipo;
  const long contata =
      tipo_contato ? (c == *tipo_contato ? del_tipo : 0) : static_cast<long>(contate.size());
  if (contata != bersaglio) return false;
  if (morte) std::_Exit(kStatoMorte);  // no destructor, no handler, no buffer flushed
  errno = errore_scelto;
  return true;
}

void registra(bool attiva) {
  std::lock_guard g(guardia);
  registra_attiva = attiva;
  if (attiva) registro.clear();
}

bool registrando() {
  std::lock_guard g(guardia);
  return registra_attiva;
}

std::vector<Operazione> registrate() {
  std::lock_guard g(guardia);
  return registro;
}

void annota(Operazione o) {
  std::lock_guard g(guardia);
  if (registra_attiva) registro.push_back(std::move(o));
}

}  // namespace compattatore::guasti

#endif
