#include "app/opzioni.h"

#include <getopt.h>

#include <algorithm>
#include <climits>

#include "io/sistema.h"

namespace compattatore {

namespace {

// getopt_long returns this plus the option's index in the table, above every short option.
constexpr int kPrimoIndice = 256;

// The short options of a table for getopt_long. Leading '-': operands come back in order as
// option 1, so nothing is permuted and the POSIXLY_CORRECT environment variable cannot stop the
// reading at the first operand. Then ':': a missing value is reported apart from an unknown
// option. Then -h and the options' own short spellings.
std::string opzioni_corte(std::span<const Opzione> opzioni) {
  std::string corte = "-:h";
  for (const Opzione& o : opzioni) {
    if (o.corta == 0) continue;
    corte += o.corta;
    if (o.argomento != nullptr) corte += ':';
  }
  return corte;
}

// The index in `opzioni` of the option spelled `-c`.
std::optional<size_t> corta(std::span<const Opzione> opzioni, int c) {
  for (size_t i = 0; i < opzioni.size(); ++i) {
    if (opzioni[i].corta != 0 && opzioni[i].corta == c) return i;
  }
  return std::nullopt;
}

std::string con_trattini(std::string_view nome) { return "--" + std::string(nome); }

// The message for the element `elemento` that getopt_long refused, with `optopt` as it left it.
std::string errore_per(std::string_view elemento, int scartato, std::span<const Opzione> opzioni) {
  if (!elemento.starts_with("--")) {
    if (const auto i = corta(opzioni, scartato); i && opzioni[*i].argomento != nullptr) {
      return "l'opzione '-" + std::string(1, opzioni[*i].corta) + "' vuole un valore (" +
             opzioni[*i].argomento + ")";
    }
    // An unknown short option. "-dir" is most likely a long option missing a dash.
    std::string messaggio = "opzione sconosciuta '" + std::string(elemento) + "'";
    if (elemento.size() > 2) {
      std::vector<std::string> nomi{"help"};
      for (const Opzione& o : opzioni) nomi.emplace_back(o.nome);
      if (auto nome = forse_intendevi(elemento.substr(1), nomi)) {
        messaggio += "; forse intendevi '" + con_trattini(*nome) + "'?";
      }
    }
    return messaggio;
  }
  const std::string_view scritto = elemento.substr(2, elemento.find('=') - 2);

  // A known option used wrongly: getopt_long left its value in optopt.
  if (scartato == 'h') return "l'opzione '--help' non vuole un valore";
  if (scartato >= kPrimoIndice && static_cast<size_t>(scartato - kPrimoIndice) < opzioni.size()) {
    const Opzione& o = opzioni[static_cast<size_t>(scartato - kPrimoIndice)];
    // Name it as written (an alias stays an alias), in full when it was abbreviated.
    const bool per_alias = o.alias != nullptr && std::string_view(o.alias).starts_with(scritto) &&
                           !std::string_view(o.nome).starts_with(scritto);
    const std::string nome = con_trattini(per_alias ? o.alias : o.nome);
    if (o.argomento == nullptr) return "l'opzione '" + nome + "' non vuole un valore";
    return "l'opzione '" + nome + "' vuole un valore (" + o.argomento + ")";
  }

  // Unknown or ambiguous: find which options the written name abbreviates.
  std::vector<std::string> candidati;  // every spelling, for the suggestion
  std::vector<std::string> nomi;       // the option each spelling stands for
  for (const Opzione& o : opzioni) {
    candidati.emplace_back(o.nome);
    nomi.emplace_back(o.nome);
    if (o.alias != nullptr) {
      candidati.emplace_back(o.alias);
      nomi.emplace_back(o.nome);
    }
  }
  candidati.emplace_back("help");
  nomi.emplace_back("help");

  std::vector<std::string> abbreviati;
  for (size_t i = 0; i < candidati.size(); ++i) {
    if (candidati[i].starts_with(scritto) &&
        std::find(abbreviati.begin(), abbreviati.end(), nomi[i]) == abbreviati.end()) {
      abbreviati.push_back(nomi[i]);
    }
  }
  if (abbreviati.size() >= 2) {
    std::string messaggio = "l'opzione '" + con_trattini(scritto) + "' è ambigua: può essere ";
    for (size_t i = 0; i < abbreviati.size(); ++i) {
      if (i > 0) messaggio += i + 1 == abbreviati.size() ? " o " : ", ";
      messaggio += "'" + con_trattini(abbreviati[i]) + "'";
    }
    return messaggio;
  }

  std::string messaggio = "opzione sconosciuta '" + con_trattini(scritto) + "'";
  std::optional<std::string> proposta;
  if (auto vicino = forse_intendevi(scritto, candidati)) {
    const auto i = static_cast<size_t>(std::find(candidati.begin(), candidati.end(), *vicino) -
                                       candidati.begin());
    proposta = nomi[i];
  } else {
    // A longer spelling of exactly one option, like "--directory" for "--dir".
    std::vector<std::string> allungati;
    for (size_t i = 0; i < candidati.size(); ++i) {
      if (scritto.starts_with(candidati[i]) &&
          std::find(allungati.begin(), allungati.end(), nomi[i]) == allungati.end()) {
        allungati.push_back(nomi[i]);
      }
    }
    if (allungati.size() == 1) proposta = allungati.front();
  }
  if (proposta) messaggio += "; forse intendevi '" + con_trattini(*proposta) + "'?";
  return messaggio;
}

// The values of the path options of `opzioni`, and every operand, as paths: the one place where
// the text of the command line becomes a path.
void in_percorsi(std::vector<std::string> operandi, std::span<const Opzione> opzioni,
                 OpzioniLette& lette) {
  for (const Opzione& o : opzioni) {
    const auto it = lette.valori.find(o.nome);
    if (o.valore != Valore::percorso || it == lette.valori.end()) continue;
    lette.percorsi.emplace(o.nome, percorso_utf8(it->second));
    lette.valori.erase(it);
  }
  for (const std::string& o : operandi) lette.operandi.push_back(percorso_utf8(o));
}

}  // namespace

bool OpzioniLette::presente(const std::string& nome) const {
  return valori.contains(nome) || percorsi.contains(nome) || flag.contains(nome);
}

std::optional<std::string> OpzioniLette::valore(const std::string& nome) const {
  const auto it = valori.find(nome);
  if (it == valori.end()) return std::nullopt;
  return it->second;
}

std::optional<std::filesystem::path> OpzioniLette::percorso(const std::string& nome) const {
  const auto it = percorsi.find(nome);
  if (it == percorsi.end()) return std::nullopt;
  return it->second;
}

std::variant<OpzioniLette, std::string> leggi_opzioni(std::span<const std::string> argomenti,
                                                      std::span<const Opzione> opzioni) {
  if (argomenti.size() >= static_cast<size_t>(INT_MAX)) return "troppi argomenti";
  if (opzioni.size() > static_cast<size_t>(INT_MAX - kPrimoIndice)) return "troppe opzioni";

  // getopt_long wants writable C strings in a null-terminated array: work on copies, never
  // on the caller's strings.
  std::vector<std::string> copie;
  copie.reserve(argomenti.size() + 1);
  copie.emplace_back("compattatore");
  copie.insert(copie.end(), argomenti.begin(), argomenti.end());
  std::vector<char*> argv;
  argv.reserve(copie.size() + 1);
  for (std::string& s : copie) argv.push_back(s.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(copie.size());

  std::vector<option> lunghe;
  for (size_t i = 0; i < opzioni.size(); ++i) {
    const Opzione& o = opzioni[i];
    const int tipo = o.argomento == nullptr ? no_argument : required_argument;
    const int valore = kPrimoIndice + static_cast<int>(i);
    lunghe.push_back({o.nome, tipo, nullptr, valore});
    if (o.alias != nullptr) lunghe.push_back({o.alias, tipo, nullptr, valore});
  }
  lunghe.push_back({"help", no_argument, nullptr, 'h'});
  lunghe.push_back({nullptr, 0, nullptr, 0});

  // optind = 0 makes glibc start afresh; mingw-w64's getopt_long reads it as optreset.
  const std::string corte = opzioni_corte(opzioni);
  opterr = 0;
  optind = 0;
  OpzioniLette lette;
  std::vector<std::string> operandi;
  for (;;) {
    // In order mode nothing is permuted, so each call reads argv[optind] as it was before the
    // call (optind = 0 stands for 1), or goes on inside the same group of short options.
    const int letto = std::max(optind, 1);
    const std::string_view elemento = letto < argc ? argv[static_cast<size_t>(letto)] : "";
    int c = getopt_long(argc, argv.data(), corte.c_str(), lunghe.data(), nullptr);
    if (const auto i = corta(opzioni, c); i && c != 1 && c != '?' && c != ':') {
      c = kPrimoIndice + static_cast<int>(*i);
    }
    if (c == -1) break;
    if (c == 1) {
      operandi.emplace_back(optarg);
    } else if (c == 'h') {
      lette.aiuto = true;
      in_percorsi(std::move(operandi), opzioni, lette);
      return lette;
    } else if (c >= kPrimoIndice) {
      const Opzione& o = opzioni[static_cast<size_t>(c - kPrimoIndice)];
      if (o.argomento == nullptr) {
        lette.flag.insert(o.nome);
        continue;
      }
      const auto [it, nuovo] = lette.valori.emplace(o.nome, optarg);
      if (!nuovo && it->second != optarg) {
        return "l'opzione '" + con_trattini(o.nome) + "' è data due volte con valori diversi ('" +
               it->second + "' e '" + optarg + "')";
      }
    } else {
      return errore_per(elemento, optopt, opzioni);
    }
  }
  // Everything after "--".
  for (int i = optind; i < argc; ++i) operandi.emplace_back(argv[static_cast<size_t>(i)]);
  in_percorsi(std::move(operandi), opzioni, lette);
  return lette;
}

std::optional<std::string> valore_scritto(std::span<const std::string> argomenti,
                                          std::span<const Opzione> opzioni, std::string_view nome) {
  // Whether `scritto` names `nome` and no other option.
  const auto nomina = [&](std::string_view scritto) {
    if (scritto.empty() || !nome.starts_with(scritto)) return false;
    if (scritto == nome) return true;
    if (std::string_view("help").starts_with(scritto)) return false;
    return std::none_of(opzioni.begin(), opzioni.end(), [&](const Opzione& o) {
      return o.nome != nome && (std::string_view(o.nome).starts_with(scritto) ||
                                (o.alias && std::string_view(o.alias).starts_with(scritto)));
    });
  };
  if (std::none_of(opzioni.begin(), opzioni.end(),
                   [&](const Opzione& o) { return o.nome == nome; })) {
    return std::nullopt;
  }
  for (size_t i = 0; i < argomenti.size(); ++i) {
    const std::string_view a = argomenti[i];
    if (a == "--") break;
    if (!a.starts_with("--")) continue;
    const size_t uguale = a.find('=');
    if (!nomina(
            a.substr(2, uguale == std::string_view::npos ? std::string_view::npos : uguale - 2))) {
      continue;
    }
    if (uguale != std::string_view::npos) return std::string(a.substr(uguale + 1));
    if (i + 1 < argomenti.size()) return argomenti[i + 1];
  }
  return std::nullopt;
}

std::string aiuto_opzioni(std::span<const Opzione> opzioni) {
  // With short spellings in the table, long names line up after a column of them.
  const bool corte =
      std::any_of(opzioni.begin(), opzioni.end(), [](const Opzione& o) { return o.corta != 0; });
  std::vector<std::pair<std::string, std::string>> righe;
  for (const Opzione& o : opzioni) {
    std::string uso = o.corta != 0 ? "-" + std::string(1, o.corta) + ", " : corte ? "    " : "";
    uso += con_trattini(o.nome);
    if (o.argomento != nullptr) uso += std::string(" ") + o.argomento;
    righe.emplace_back(std::move(uso), o.aiuto);
  }
  righe.emplace_back(corte ? "-h, --help" : "--help", "mostra questo aiuto");
  size_t larghezza = 0;
  for (const auto& [uso, aiuto] : righe) larghezza = std::max(larghezza, uso.size());
  std::string testo = "Opzioni:\n";
  for (const auto& [uso, aiuto] : righe) {
    testo += "  " + uso + std::string(larghezza - uso.size() + 2, ' ') + aiuto + "\n";
  }
  return testo;
}

}  // namespace compattatore
