// `compattatore confronta A B`: two compiled files, or the compiled files of two folders, compared
// field by field.
#include <filesystem>
#include <set>

#include "app/comandi.h"
#include "app/lettura.h"
#include "formato/lettori.h"
#include "io/file_sicuro.h"
#include "io/sistema.h"
#include "viste/confronto.h"

namespace compattatore {
namespace fs = std::filesystem;
namespace {

// Trouble: a file that cannot be read, operands that cannot be compared (as `cmp` and `diff`).
constexpr int kUscitaProblema = 2;

struct Coppia {
  std::optional<fs::path> a;
  std::optional<fs::path> b;
};

std::optional<fs::path> se_esiste(const fs::path& p) {
  return e_file(p) ? std::optional<fs::path>(p) : std::nullopt;
}

// The compiled files of a folder, by name.
std::set<std::string> compilati(const fs::path& cartella) {
  std::set<std::string> nomi;
  for (const fs::path& f : file_nella_cartella(cartella)) {
    if (tipo_compilato(f)) nomi.insert(f.filename().string());
  }
  return nomi;
}

// The pairs of files to compare, or what is wrong with the operands.
std::variant<std::vector<Coppia>, std::string> coppie(fs::path a, fs::path b) {
  for (const fs::path& p : {a, b}) {
    if (!esiste(p)) return "'" + p.string() + "' non esiste";
  }
  if (e_cartella(a) && e_cartella(b)) {
    std::set<std::string> nomi = compilati(a);
    nomi.merge(compilati(b));
    if (nomi.empty()) {
      return "nessun file compilato in '" + a.string() + "' né in '" + b.string() + "'";
    }
    std::vector<Coppia> c;
    for (const std::string& n : nomi)
      c.push_back({se_esiste(a / percorso_utf8(n)), se_esiste(b / percorso_utf8(n))});
    return c;
  }
  // A folder beside a file stands for the file of the same name in it.
  if (e_cartella(a)) a /= b.filename();
  if (e_cartella(b)) b /= a.filename();
  for (const fs::path& p : {a, b}) {
    if (!e_file(p)) return "'" + p.string() + "' non è un file";
    if (!tipo_compilato(p)) {
      return "'" + p.string() +
             "' non è un file compilato: attesi NOME_linea.dat, NOME_TRENO.sim o NOME_TRENO.dat";
    }
  }
  if (tipo_compilato(a) != tipo_compilato(b)) {
    return "'" + a.string() + "' (" + nome_tipo(*tipo_compilato(a)) + ") e '" + b.string() + "' (" +
           nome_tipo(*tipo_compilato(b)) + ") sono file di tipo diverso";
  }
  return std::vector<Coppia>{{a, b}};
}

ScenarioCompilato leggi_uno(const fs::path& p) {
  FileCompilati f;
  f[*tipo_compilato(p)] = p;
  return leggi_compilati(f);
}

std::vector<std::string> differenze(const fs::path& a, const fs::path& b) {
  const Modello x = leggi_uno(a).modello;
  const Modello y = leggi_uno(b).modello;
  switch (*tipo_compilato(a)) {
    case TipoCompilato::tracciato:
      return confronta_tracciato(x.tracciato, y.tracciato);
    case TipoCompilato::elenco:
      return confronta_elenco(x.elenco, y.elenco);
    case TipoCompilato::tratti:
      return confronta_tratti(x.tratti, y.tratti);
  }
  return {};
}

}  // namespace

int comando_confronta(const OpzioniLette& o, std::ostream& out, std::ostream& err) {
  std::variant<std::vector<Coppia>, std::string> trovate;
  try {
    trovate = coppie(o.operandi[0], o.operandi[1]);
  } catch (const ErroreFile& e) {
    err << "compattatore confronta: impossibile leggere '" << e.file.string() << "': " << e.motivo
        << "\n";
    return kUscitaProblema;
  }
  if (const auto* e = std::get_if<std::string>(&trovate)) {
    errore_uso(err, "confronta", *e);
    return kUscitaProblema;
  }
  bool diversi = false;
  for (const Coppia& c : std::get<std::vector<Coppia>>(trovate)) {
    if (!c.a || !c.b) {
      out << "solo in " << (c.a ? "A: " + c.a->string() : "B: " + c.b->string()) << "\n";
      diversi = true;
      continue;
    }
    std::vector<std::string> righe;
    try {
      righe = differenze(*c.a, *c.b);
    } catch (const ErroreLettura& e) {
      err << "compattatore confronta: " << e.what() << "\n";
      return kUscitaProblema;
    } catch (const ErroreFile& e) {
      err << "compattatore confronta: impossibile leggere '" << e.file.string() << "': " << e.motivo
          << "\n";
      return kUscitaProblema;
    }
    if (righe.empty()) continue;
    diversi = true;
    out << "--- A: " << c.a->string() << "\n+++ B: " << c.b->string() << "\n";
    for (const std::string& r : righe) out << r << "\n";
  }
  return diversi ? kUscitaFallita : kUscitaOk;
}

}  // namespace compattatore
