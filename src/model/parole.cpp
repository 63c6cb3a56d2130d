#include "model/parole.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "model/regole.h"

namespace compattatore {
namespace {

constexpr size_t kChiavi = std::size(kRigheChiavi);
constexpr size_t kValori = std::size(kRigheValori);

// The values of every keyword follow one another, keyword after keyword in the table's order:
// the values of `c` are one run of the table.
constexpr bool valori_raggruppati() {
  for (size_t i = 1; i < kValori; ++i) {
    if (static_cast<size_t>(kRigheValori[i].chiave) <
        static_cast<size_t>(kRigheValori[i - 1].chiave)) {
      return false;
    }
  }
  for (const RigaValore& v : kRigheValori) {
    if (riga(v.chiave).genere != Genere::parola) return false;
  }
  return true;
}
static_assert(valori_raggruppati(), "the values are grouped by keyword, in the keywords' order");

// Within a section the keywords' tests are numbered 1, 2, ... without a gap; headers have none.
constexpr bool prove_numerate() {
  for (const RigaChiave& r : kRigheChiavi) {
    if ((r.genere == Genere::intestazione) != (r.prova == 0)) return false;
    int stesso_numero = 0;
    int nella_sezione = 0;
    for (const RigaChiave& q : kRigheChiavi) {
      if (q.ambito != r.ambito || q.genere != Genere::parola) continue;
      ++nella_sezione;
      if (q.prova == r.prova) ++stesso_numero;
    }
    if (r.genere == Genere::parola && (stesso_numero != 1 || r.prova > nella_sezione)) return false;
  }
  return true;
}
static_assert(prove_numerate(), "the tests of a section are numbered from 1, each once");

// The group of entries of each role.
constexpr GruppoVoci kGruppoDelRuolo[] = {
#define COMPATTATORE_GRUPPO(gruppo, ...) GruppoVoci::gruppo,
    COMPATTATORE_RUOLI_VOCE(COMPATTATORE_GRUPPO)
#undef COMPATTATORE_GRUPPO
};

// A value stored in `elenco` names a role of the entry it goes to, one stored in `tratti` a field
// of the stretch; any other names no field.
constexpr bool campi_al_loro_posto() {
  for (const RigaValore& v : kRigheValori) {
    const Dove& d = v.dove;
    const bool elenco = d.tabella == TabellaModello::elenco;
    if (d.ruolo.has_value() != elenco) return false;
    if (d.campo.has_value() != (d.tabella == TabellaModello::tratti)) return false;
    if (!elenco) continue;
    const GruppoVoci g = kGruppoDelRuolo[static_cast<size_t>(*d.ruolo)];
    const IntervalloVoci voci = voci_del_gruppo(g);
    const bool al_posto = d.indice == Dove::kStazione ? g == GruppoVoci::stazione
                          : d.indice == Dove::kCartello
                              ? g == GruppoVoci::cartello
                              : g != GruppoVoci::stazione && g != GruppoVoci::cartello &&
                                    d.indice >= voci.prima && d.indice <= voci.ultima;
    if (!al_posto) return false;
  }
  return true;
}
static_assert(campi_al_loro_posto(), "every stored value names a field of the entry it goes to");

constexpr std::array<std::pair<size_t, size_t>, kChiavi> inizio_e_fine() {
  std::array<std::pair<size_t, size_t>, kChiavi> t{};
  for (size_t i = 0; i < kValori; ++i) {
    auto& [inizio, fine] = t[static_cast<size_t>(kRigheValori[i].chiave)];
    if (fine == 0) inizio = i;
    fine = i + 1;
  }
  return t;
}
constexpr auto kValoriDi = inizio_e_fine();

bool contiene(std::string_view voce, std::string_view cosa) {
  return voce.find(cosa) != std::string_view::npos;
}

// The keywords of one section, by the order of their tests.
template <Ambito A>
std::span<const RigaChiave* const> per_prova() {
  static const std::vector<const RigaChiave*> righe = [] {
    std::vector<const RigaChiave*> r;
    for (const RigaChiave& c : kRigheChiavi) {
      if (c.ambito == A && c.genere == Genere::parola) r.push_back(&c);
    }
    std::sort(r.begin(), r.end(),
              [](const RigaChiave* a, const RigaChiave* b) { return a->prova < b->prova; });
    return r;
  }();
  return righe;
}

}  // namespace

std::span<const RigaValore> valori(Chiave c) {
  const auto [inizio, fine] = kValoriDi[static_cast<size_t>(c)];
  return std::span<const RigaValore>(kRigheValori).subspan(inizio, fine - inizio);
}

std::optional<int64_t> memorizzato(const RigaValore& v, int64_t scritto) {
  switch (v.memoria) {
    case Memoria::bassi_8:
      return static_cast<uint8_t>(scritto);
    case Memoria::bassi_16:
      return static_cast<int16_t>(scritto);
    case Memoria::quinti:
      return arrotonda(static_cast<double>(scritto) / 5.0) * 5;
    case Memoria::come_scritto:
    case Memoria::piu_cento:
    case Memoria::tratto_piu_uno:
    case Memoria::tratto:
    case Memoria::tratto_meno_uno:
      return scritto;
    case Memoria::composto:
    case Memoria::non_memorizzato:
    case Memoria::testo:
      break;
  }
  return std::nullopt;
}

std::span<const RigaChiave* const> in_ordine_di_prova(Ambito ambito) {
  switch (ambito) {
    case Ambito::linea_generale:
      return per_prova<Ambito::linea_generale>();
    case Ambito::linea_elementi:
      return per_prova<Ambito::linea_elementi>();
    case Ambito::treno:
      break;
  }
  return per_prova<Ambito::treno>();
}

bool corrisponde(const RigaChiave& r, std::string_view esatta, std::string_view bassa) {
  const std::string_view voce = r.maiuscole == Maiuscole::contano ? esatta : bassa;
  for (const char* c : r.contiene) {
    if (*c != '\0' && !contiene(voce, c)) return false;
  }
  return true;
}

std::optional<int> classe_curva(std::string_view bassa) {
  for (int classe = 1; classe <= static_cast<int>(std::size(kCurvature)); ++classe) {
    if (contiene(bassa, std::string(1, static_cast<char>('0' + classe)))) return classe;
  }
  return std::nullopt;
}

std::string forma_curva(bool sinistra, int classe) {
  return riga(Chiave::curva).forma + std::string(1, sinistra ? 's' : 'd') +
         std::string(1, static_cast<char>('0' + classe));
}

std::optional<std::string> forma_letta(const RigaChiave& r, std::string_view bassa) {
  switch (r.variante) {
    case Variante::nessuna:
      break;
    case Variante::codici:
      if (contiene(bassa, "4")) return r.altra_forma;
      break;
    case Variante::curva:
      if (const auto c = classe_curva(bassa)) return forma_curva(contiene(bassa, "s"), *c);
      return std::nullopt;
  }
  return r.forma;
}

std::vector<std::string> forme(const RigaChiave& r) {
  switch (r.variante) {
    case Variante::nessuna:
      break;
    case Variante::codici:
      return {r.forma, r.altra_forma};
    case Variante::curva: {
      std::vector<std::string> f;
      for (const bool sinistra : {false, true}) {
        for (int classe = 1; classe <= static_cast<int>(std::size(kCurvature)); ++classe) {
          f.push_back(forma_curva(sinistra, classe));
        }
      }
      return f;
    }
  }
  return {r.forma};
}

}  // namespace compattatore
