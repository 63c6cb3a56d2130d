#include "output/compilati.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "model/regole.h"

namespace compattatore {
namespace {

// Appends little-endian fields to a byte buffer.
class Byte {
 public:
  explicit Byte(std::string& out) : out_(out) {}
  void u8(uint8_t v) { out_ += static_cast<char>(v); }
  void i16(int16_t v) { intero(static_cast<uint16_t>(v), 2); }
  void u16(uint16_t v) { intero(v, 2); }
  void i32(int32_t v) { intero(static_cast<uint32_t>(v), 4); }
  void f64(double v) { intero(std::bit_cast<uint64_t>(v), 8); }
  void testo(const std::string& t) {
    u16(entro<uint16_t>(static_cast<int64_t>(t.size()), "lunghezza del testo"));
    out_ += t;
  }

 private:
  void intero(uint64_t v, int n) {
    for (int i = 0; i < n; ++i) out_ += static_cast<char>((v >> (8 * i)) & 0xFF);
  }
  std::string& out_;
};

void coordinata(Byte& b, const Coordinata& c) {
  if (const auto* i = std::get_if<int16_t>(&c)) {
    b.u16(2);
    b.i16(*i);
  } else if (const auto* d = std::get_if<double>(&c)) {
    b.u16(5);
    b.f64(*d);
  } else {
    b.u16(0);
  }
}

}  // namespace

std::string byte_tracciato(const Tracciato& tracciato) {
  std::string out;
  out.reserve(tracciato.x.size() * 20);
  Byte b(out);
  for (const auto& c : tracciato.x) coordinata(b, c);
  for (const auto& c : tracciato.y) coordinata(b, c);
  return out;
}

std::string byte_elenco(const Elenco& elenco) {
  std::string out;
  Byte b(out);
  for (const auto& v : elenco) {
    b.u8(v.tipo_voce);
    b.i32(v.campo_1);
    b.i32(v.campo_2);
    b.i32(v.campo_3);
    b.u8(v.opzione);
    b.testo(v.testo);
    b.i16(v.intero_1);
    b.i16(v.intero_2);
    b.i16(v.intero_3);
    b.i16(v.intero_4);
    b.i16(v.intero_5);
    b.u8(v.flag_1);
    b.u8(v.flag_2);
    b.u8(v.flag_3);
    b.u8(v.flag_4);
    b.i32(v.orario);
  }
  return out;
}

std::string byte_tratti(const std::vector<Tratto>& tratti) {
  std::string out;
  out.reserve(tratti.size() * 15);
  Byte b(out);
  for (const auto& t : tratti) {
    b.u8(t.oggetto);
    b.i16(t.valore_1);
    b.i16(t.valore_2);
    b.i16(t.valore_3);
    b.i16(t.valore_4);
    b.u8(t.tempo_segnale);
    b.u8(t.preavviso);
    b.u8(t.montagna);
    b.u8(t.velocita);
    b.u8(t.pendenza);
    b.u8(t.aderenza);
  }
  return out;
}

}  // namespace compattatore
