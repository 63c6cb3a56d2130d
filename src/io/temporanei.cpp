#include "io/temporanei.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <random>
#include <system_error>
#include <vector>

#include "io/piattaforma.h"

namespace compattatore {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kInizio = ".compattatore-";
constexpr std::string_view kFineTemporaneo = ".tmp";
constexpr std::string_view kFineBlocco = ".blocco";
constexpr std::string_view kFineDiario = ".diario";
constexpr std::string_view kVecchioTemporaneo = ".nuovo-";

// Six characters that differ from call to call and from process to process.
std::string sei_caratteri() {
  static std::atomic<uint64_t> contatore{0};
  thread_local std::mt19937_64 generatore = [] {
    std::random_device rd;
    const auto adesso =
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::seed_seq seme{static_cast<uint64_t>(rd()), static_cast<uint64_t>(rd()),
                       static_cast<uint64_t>(piattaforma::id_processo()), adesso};
    return std::mt19937_64(seme);
  }();
  static constexpr char kCifre[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  uint64_t v = generatore() ^ (contatore.fetch_add(1) * 0x9E3779B97F4A7C15ULL);
  std::string s(6, '0');
  for (char& c : s) {
    c = kCifre[v % 36];
    v /= 36;
  }
  return s;
}

// "<nome>.nuovo-<process>-<n>" of `nome`, with a process no longer running.
bool vecchio_temporaneo_orfano(std::string_view voce, std::string_view nome) {
  if (!voce.starts_with(nome)) return false;
  voce.remove_prefix(nome.size());
  if (!voce.starts_with(kVecchioTemporaneo)) return false;
  voce.remove_prefix(kVecchioTemporaneo.size());
  long processo = 0;
  const auto [p, ec] = std::from_chars(voce.data(), voce.data() + voce.size(), processo);
  if (ec != std::errc{} || p == voce.data() + voce.size() || *p != '-') return false;
  const std::string_view resto(p + 1, static_cast<size_t>(voce.data() + voce.size() - p - 1));
  if (resto.empty() || resto.find_first_not_of("0123456789") != std::string_view::npos) {
    return false;
  }
  return !piattaforma::processo_vivo(processo);
}

}  // namespace

std::string impronta(std::string_view nome) {
  // FNV-1a, 64 bits.
  uint64_t h = 0xcbf29ce484222325ULL;
  for (const char ch : nome) {
    auto b = static_cast<unsigned char>(ch);
    if (b >= 'A' && b <= 'Z') b = static_cast<unsigned char>(b + ('a' - 'A'));
    h = (h ^ b) * 0x100000001b3ULL;
  }
  static constexpr char kCifre[] = "0123456789abcdef";
  std::string s(16, '0');
  for (int i = 15; i >= 0; --i) {
    s[static_cast<size_t>(i)] = kCifre[h & 0xF];
    h >>= 4;
  }
  return s;
}

std::string prefisso_temporanei(std::string_view nome) {
  return std::string(kInizio) + impronta(nome) + "-";
}

std::string nome_temporaneo(std::string_view nome) {
  return prefisso_temporanei(nome) + sei_caratteri() + std::string(kFineTemporaneo);
}

std::string nome_blocco(std::string_view nome) {
  return std::string(kInizio) + impronta(nome) + std::string(kFineBlocco);
}

std::string nome_diario(std::string_view nome) {
  return std::string(kInizio) + impronta(nome) + std::string(kFineDiario);
}

std::string blocco_dell_impronta(std::string_view impronta) {
  return std::string(kInizio) + std::string(impronta) + std::string(kFineBlocco);
}

std::optional<NomeProprio> nome_proprio(std::string_view voce) {
  if (!voce.starts_with(kInizio)) return std::nullopt;
  voce.remove_prefix(kInizio.size());
  if (voce.size() < 16 ||
      voce.substr(0, 16).find_first_not_of("0123456789abcdef") != std::string_view::npos) {
    return std::nullopt;
  }
  const std::string h(voce.substr(0, 16));
  voce.remove_prefix(16);
  if (voce == kFineBlocco) return NomeProprio{FileProprio::blocco, h};
  if (voce == kFineDiario) return NomeProprio{FileProprio::diario, h};
  if (voce.size() == 1 + 6 + kFineTemporaneo.size() && voce[0] == '-' &&
      voce.ends_with(kFineTemporaneo)) {
    return NomeProprio{FileProprio::temporaneo, h};
  }
  return std::nullopt;
}

int rimuovi_temporanei_orfani(const fs::path& cartella, std::span<const std::string> nomi,
                              std::span<const std::string> da_tenere) {
  std::vector<std::string> prefissi;
  for (const auto& n : nomi) prefissi.push_back(prefisso_temporanei(n));
  int rimossi = 0;
  std::vector<fs::path> voci;
  piattaforma::voci_cartella(cartella.empty() ? fs::path(".") : cartella, voci);
  for (const fs::path& v : voci) {
    const std::string voce = v.filename().string();
    bool orfano = false;
    for (size_t i = 0; i < nomi.size() && !orfano; ++i) {
      orfano = (voce.starts_with(prefissi[i]) && voce.size() > kFineTemporaneo.size() &&
                voce.substr(voce.size() - kFineTemporaneo.size()) == kFineTemporaneo) ||
               vecchio_temporaneo_orfano(voce, nomi[i]);
    }
    if (orfano && std::find(da_tenere.begin(), da_tenere.end(), voce) != da_tenere.end()) {
      orfano = false;
    }
    if (orfano && !piattaforma::rimuovi(v)) ++rimossi;
  }
  return rimossi;
}

}  // namespace compattatore
