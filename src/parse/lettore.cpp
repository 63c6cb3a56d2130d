#include "parse/lettore.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "model/cp1252.h"
#include "model/italiano.h"
#include "model/regole.h"

namespace compattatore {
namespace {

bool spazio(char c) { return c == ' ' || c == '\t'; }

struct Valore {
  int64_t valore = 0;
  bool reale = false;   // written with a fraction or an exponent
  bool numero = false;  // written as a number (not a word, not empty)
};

// The value of a numeric item: an optional sign and decimal digits, or a decimal number with a
// fraction or exponent (rounded half to even). Anything else is not a number and reads as 0.
Valore valore_numerico(std::string_view t, const char* cosa) {
  while (!t.empty() && spazio(t.front())) t.remove_prefix(1);
  while (!t.empty() && spazio(t.back())) t.remove_suffix(1);
  if (t.empty()) return {};
  std::string_view corpo = t;
  if (corpo.front() == '+') {
    corpo.remove_prefix(1);
    if (corpo.empty() || corpo.front() == '+' || corpo.front() == '-') return {};
  }
  int64_t intero = 0;
  auto [p, ec] = std::from_chars(corpo.data(), corpo.data() + corpo.size(), intero);
  if (p == corpo.data() + corpo.size()) {
    if (ec == std::errc::result_out_of_range) {
      throw GuastoEsecuzione(std::string(cosa) + ": il numero " + std::string(t) +
                             " è troppo grande");
    }
    if (ec == std::errc{}) return {intero, false, true};
  }
  double reale = 0;
  auto [q, ec2] =
      std::from_chars(corpo.data(), corpo.data() + corpo.size(), reale, std::chars_format::general);
  if (q != corpo.data() + corpo.size()) return {};
  if (ec2 == std::errc::result_out_of_range) {
    // from_chars leaves the value alone: tell a very small fraction from a very large number.
    if (std::fabs(std::strtod(std::string(corpo).c_str(), nullptr)) < 1.0) return {0, true, true};
    throw GuastoEsecuzione(std::string(cosa) + ": il numero " + std::string(t) +
                           " è troppo grande");
  }
  if (ec2 != std::errc{}) return {};
  if (!std::isfinite(reale)) return {};  // "inf", "nan": words, not numbers
  if (std::fabs(reale) > 9.0e18) {
    throw GuastoEsecuzione(std::string(cosa) + ": il numero " + std::string(t) +
                           " è troppo grande");
  }
  return {arrotonda(reale), true, true};
}

}  // namespace

LettoreVoci::LettoreVoci(std::string contenuto, std::string file, Segnalatore* avvisi)
    : dati_(std::move(contenuto)), file_(std::move(file)), avvisi_(avvisi) {}

bool LettoreVoci::fine_riga() const {
  return pos_ < dati_.size() && (dati_[pos_] == '\r' || dati_[pos_] == '\n');
}

void LettoreVoci::consuma_fine_riga() {
  if (pos_ < dati_.size() && dati_[pos_] == '\r') ++pos_;
  if (pos_ < dati_.size() && dati_[pos_] == '\n') ++pos_;
  ++riga_;
  inizio_riga_ = pos_;
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
  voce_ = Posto{riga_, static_cast<int>(pos_ - inizio_riga_) + 1, 0, inizio_riga_};
  ++letti_;
  if (riga_segno_ > 0 && riga_ > riga_segno_ && presi_dopo_++ == 0) primo_dopo_ = voce_;
}

// The item that began at voce_ ends before `fine`: on its own line, or (a quoted text that runs
// over line ends) at the end of its first line.
void LettoreVoci::fine_voce(size_t fine) {
  const size_t inizio = voce_.inizio_riga + static_cast<size_t>(voce_.colonna - 1);
  if (riga_ != voce_.riga) fine = voce_.inizio_riga + riga_da(voce_.inizio_riga).size();
  voce_.lunghezza = static_cast<int>(fine - std::min(inizio, fine));
  if (riga_segno_ > 0 && voce_.riga > riga_segno_ && presi_dopo_ == 1) primo_dopo_ = voce_;
}

std::string LettoreVoci::leggi_testo() {
  inizio_voce();
  return testo_voce();
}

// The text item that begins at the read position (inizio_voce done).
std::string LettoreVoci::testo_voce() {
  const size_t inizio = pos_;
  std::string voce;
  if (pos_ < dati_.size() && dati_[pos_] == '"') {
    const Posto apertura{voce_.riga, voce_.colonna, 1, voce_.inizio_riga};
    ++pos_;
    while (pos_ < dati_.size() && dati_[pos_] != '"') {
      if (dati_[pos_] == '\n' ||
          (dati_[pos_] == '\r' && (pos_ + 1 >= dati_.size() || dati_[pos_ + 1] != '\n'))) {
        ++riga_;
        inizio_riga_ = pos_ + 1;
      }
      voce += dati_[pos_++];
    }
    const bool chiusa = pos_ < dati_.size();
    if (chiusa) ++pos_;  // closing quote
    fine_voce(pos_);
    if (riga_ != apertura.riga || !chiusa) virgolette_aperte(apertura, chiusa);
    // Whatever stands between the closing quote and the delimiter is passed over.
    const size_t dopo = pos_;
    while (pos_ < dati_.size() && dati_[pos_] != ',' && !fine_riga()) ++pos_;
    dopo_le_virgolette(dopo);
  } else {
    while (pos_ < dati_.size() && dati_[pos_] != ',' && !fine_riga()) voce += dati_[pos_++];
    while (!voce.empty() && spazio(voce.back())) voce.pop_back();
    fine_voce(inizio + voce.size());
  }
  consuma_delimitatore();
  return voce;
}

int64_t LettoreVoci::leggi_numero(const char* cosa) {
  inizio_voce();
  if (pos_ < dati_.size() && dati_[pos_] == '"') {
    scritto_ = testo_voce();  // a quoted number: the text between the quotes
  } else {
    const size_t inizio = pos_;
    while (pos_ < dati_.size() && dati_[pos_] != ',' && !fine_riga() && !spazio(dati_[pos_])) {
      ++pos_;
    }
    scritto_.assign(dati_, inizio, pos_ - inizio);
    fine_voce(pos_);
    // A number ended by a blank: the blanks after it belong to it, and so does a comma or a line
    // end that follows them; another item on the same line is left for the next read.
    while (pos_ < dati_.size() && spazio(dati_[pos_])) ++pos_;
    consuma_delimitatore();
  }
  const Valore v = valore_numerico(scritto_, cosa);
  parola_ = !v.numero && scritto_.find_first_not_of(" \t") != std::string::npos;
  reale_ = v.reale;
  return v.valore;
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

// A quoted text that runs over its line, or to the end of the source: at the opening quote.
void LettoreVoci::virgolette_aperte(const Posto& apertura, bool chiusa) {
  if (avvisi_ == nullptr) return;
  // A text that runs to the end of a source ending with a line end ends on the line before.
  const bool a_capo = !chiusa && !dati_.empty() && (dati_.back() == '\n' || dati_.back() == '\r');
  const int ultima = a_capo ? riga_ - 1 : riga_;
  const int righe = ultima - apertura.riga + 1;
  const std::string fine =
      chiusa ? "si chiudono solo alla riga " + std::to_string(ultima)
             : "non si chiudono: il testo finisce con il file, alla riga " + std::to_string(ultima);
  avvisi_->segnala_avviso(
      Avviso::virgolette_aperte, luogo(apertura),
      "le virgolette aperte qui " + fine + " e il testo prende " + quanti(righe, "riga", "righe"));
}

// What stands between a closing quote and the delimiter, from `da`: passed over, and named.
void LettoreVoci::dopo_le_virgolette(size_t da) {
  if (avvisi_ == nullptr) return;
  const std::string_view resto = std::string_view(dati_).substr(da, pos_ - da);
  const size_t primo = resto.find_first_not_of(" \t");
  if (primo == std::string_view::npos) return;
  const size_t ultimo = resto.find_last_not_of(" \t");
  const Posto p{riga_, static_cast<int>(da + primo - inizio_riga_) + 1,
                static_cast<int>(ultimo - primo + 1), inizio_riga_};
  avvisi_->segnala_avviso(Avviso::dopo_le_virgolette, luogo(p),
                          "'" + cp1252::a_utf8(resto.substr(primo, ultimo - primo + 1)) +
                              "' segue le virgolette chiuse e non è letto");
}

bool LettoreVoci::prima_della_riga() const {
  if (voce_.riga == 0) return false;
  for (size_t i = voce_.inizio_riga; i < voce_.inizio_riga + static_cast<size_t>(voce_.colonna - 1);
       ++i) {
    if (!spazio(dati_[i])) return false;
  }
  return true;
}

std::string_view LettoreVoci::riga_da(size_t inizio) const {
  if (inizio > dati_.size()) return {};
  const size_t fine = dati_.find_first_of("\r\n", inizio);
  return std::string_view(dati_).substr(
      inizio, fine == std::string::npos ? std::string::npos : fine - inizio);
}

Luogo LettoreVoci::luogo(const Posto& p) const {
  if (p.riga == 0) return Luogo{file_, 0, {}};
  return Luogo{file_, p.riga, std::string(riga_da(p.inizio_riga)), p.colonna, p.lunghezza};
}

Posto LettoreVoci::da_a(const Posto& da, const Posto& a) {
  if (da.riga != a.riga || a.colonna < da.colonna) return da;
  Posto p = da;
  p.lunghezza = a.colonna + a.lunghezza - da.colonna;
  return p;
}

void LettoreVoci::segna_parola() {
  riga_segno_ = voce_.riga;
  letti_ = 0;
  presi_dopo_ = 0;
  primo_dopo_ = Posto{};
}

std::optional<Posto> LettoreVoci::resto_riga() const {
  if (pos_ == inizio_riga_ || a_fine()) return std::nullopt;
  const std::string_view resto = riga_da(pos_);
  const size_t primo = resto.find_first_not_of(" \t,");
  if (primo == std::string_view::npos) return std::nullopt;
  const size_t ultimo = resto.find_last_not_of(" \t");
  return Posto{riga_, static_cast<int>(pos_ + primo - inizio_riga_) + 1,
               static_cast<int>(ultimo - primo + 1), inizio_riga_};
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
