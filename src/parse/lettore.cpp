#include "parse/lettore.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "model/regole.h"

namespace compattatore {
namespace {

bool spazio(char c) { return c == ' ' || c == '\t'; }

// The value of a numeric item: an optional sign and decimal digits, or a decimal number with a
// fraction or exponent (rounded half to even). Anything else is not a number and reads as 0.
int64_t valore_numerico(std::string_view t, const char* cosa) {
  while (!t.empty() && spazio(t.front())) t.remove_prefix(1);
  while (!t.empty() && spazio(t.back())) t.remove_suffix(1);
  if (t.empty()) return 0;
  std::string_view corpo = t;
  if (corpo.front() == '+') {
    corpo.remove_prefix(1);
    if (corpo.empty() || corpo.front() == '+' || corpo.front() == '-') return 0;
  }
  int64_t intero = 0;
  auto [p, ec] = std::from_chars(corpo.data(), corpo.data() + corpo.size(), intero);
  if (p == corpo.data() + corpo.size()) {
    if (ec == std::errc::result_out_of_range) {
      throw GuastoEsecuzione(std::string(cosa) + ": il numero " + std::string(t) +
                             " è troppo grande");
    }
    if (ec == std::errc{}) return intero;
  }
  double reale = 0;
  auto [q, ec2] =
      std::from_chars(corpo.data(), corpo.data() + corpo.size(), reale, std::chars_format::general);
  if (q != corpo.data() + corpo.size()) return 0;
  if (ec2 == std::errc::result_out_of_range) {
    // from_chars leaves the value alone: tell a very small fraction from a very large number.
    if (std::fabs(std::strtod(std::string(corpo).c_str(), nullptr)) < 1.0) return 0;
    throw GuastoEsecuzione(std::string(cosa) + ": il numero " + std::string(t) +
                           " è troppo grande");
  }
  if (ec2 != std::errc{}) return 0;
  if (!std::isfinite(reale)) return 0;  // "inf", "nan": words, not numbers
  if (std::fabs(reale) > 9.0e18) {
    throw GuastoEsecuzione(std::string(cosa) + ": il numero " + std::string(t) +
                           " è troppo grande");
  }
  return arrotonda(reale);
}

}  // namespace

LettoreVoci::LettoreVoci(std::string contenuto, std::string file)
    : dati_(std::move(contenuto)), file_(std::move(file)) {}

bool LettoreVoci::fine_riga() const {
  return pos_ < dati_.size() && (dati_[pos_] == '\r' || dati_[pos_] == '\n');
}

void LettoreVoci::consuma_fine_riga() {
  if (pos_ < dati_.size() && dati_[pos_] == '\r') ++pos_;
  if (pos_ < dati_.size() && dati_[pos_] == '\n') ++pos_;
  ++riga_;
}

// Consumes the delimiter that ends an item: a comma, or a line end.
void LettoreVoci::consuma_delimitatore() {
  if (pos_ >= dati_.size()) return;
  if (dati_[pos_] == ',') {
    ++pos_;
  } else if (fine_riga()) {
    consuma_fine_riga();
  }
}

void LettoreVoci::inizio_voce() {
  if (a_fine()) {
    throw GuastoEsecuzione("lettura oltre la fine del file " + file_);
  }
  while (pos_ < dati_.size() && spazio(dati_[pos_])) ++pos_;
  riga_voce_ = riga_;
}

std::string LettoreVoci::leggi_testo() {
  inizio_voce();
  std::string voce;
  if (pos_ < dati_.size() && dati_[pos_] == '"') {
    ++pos_;
    while (pos_ < dati_.size() && dati_[pos_] != '"') {
      if (dati_[pos_] == '\n' ||
          (dati_[pos_] == '\r' && (pos_ + 1 >= dati_.size() || dati_[pos_ + 1] != '\n'))) {
        ++riga_;
      }
      voce += dati_[pos_++];
    }
    if (pos_ < dati_.size()) ++pos_;  // closing quote
    // Whatever stands between the closing quote and the delimiter is passed over.
    while (pos_ < dati_.size() && dati_[pos_] != ',' && !fine_riga()) ++pos_;
  } else {
    while (pos_ < dati_.size() && dati_[pos_] != ',' && !fine_riga()) voce += dati_[pos_++];
    while (!voce.empty() && spazio(voce.back())) voce.pop_back();
  }
  consuma_delimitatore();
  return voce;
}

int64_t LettoreVoci::leggi_numero(const char* cosa) {
  inizio_voce();
  std::string voce;
  if (pos_ < dati_.size() && dati_[pos_] == '"') {
    voce = leggi_testo();  // a quoted number: the text between the quotes
    return valore_numerico(voce, cosa);
  }
  while (pos_ < dati_.size() && dati_[pos_] != ',' && !fine_riga() && !spazio(dati_[pos_])) {
    voce += dati_[pos_++];
  }
  // A number ended by a blank: the blanks after it belong to it, and so does a comma or a line
  // end that follows them; another item on the same line is left for the next read.
  while (pos_ < dati_.size() && spazio(dati_[pos_])) ++pos_;
  consuma_delimitatore();
  return valore_numerico(voce, cosa);
}

int32_t LettoreVoci::leggi_i32() {
  return entro<int32_t>(leggi_numero("numero"), "numero a 32 bit");
}
int16_t LettoreVoci::leggi_i16() {
  return entro<int16_t>(leggi_numero("numero"), "numero a 16 bit");
}
uint8_t LettoreVoci::leggi_u8() {
  return entro<uint8_t>(leggi_numero("numero"), "numero da 0 a 255");
}

std::string_view LettoreVoci::testo_riga(int n) const {
  if (n < 1) return {};
  size_t inizio = 0;
  int riga = 1;
  while (riga < n) {
    const size_t fine = dati_.find_first_of("\r\n", inizio);
    if (fine == std::string::npos) return {};
    inizio = fine +
             ((dati_[fine] == '\r' && fine + 1 < dati_.size() && dati_[fine + 1] == '\n') ? 2 : 1);
    ++riga;
  }
  if (inizio > dati_.size()) return {};
  const size_t fine = dati_.find_first_of("\r\n", inizio);
  return std::string_view(dati_).substr(
      inizio, fine == std::string::npos ? std::string::npos : fine - inizio);
}

}  // namespace compattatore
