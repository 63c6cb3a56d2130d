#include "lsp/analisi.h"

#include <algorithm>

#include "compilazione/compila.h"
#include "io/file_sicuro.h"
#include "io/sistema.h"
#include "model/cp1252.h"
#include "model/nomi_scenario.h"

namespace compattatore::lsp {
namespace {

std::string nome_file(const std::filesystem::path& p) { return p.filename().string(); }

// The Windows-1252 bytes of a name for the compiled table, or a stand-in when it has none.
std::string in_cp1252(const std::string& utf8, const char* altrimenti) {
  try {
    const std::string b = cp1252::da_utf8(utf8);
    return b.empty() ? altrimenti : b;
  } catch (const cp1252::NonRappresentabile&) {
    return altrimenti;
  }
}

FileCoppia prepara(const std::filesystem::path& percorso, const Documenti& docs) {
  FileCoppia f;
  f.percorso = percorso;
  f.nome = nome_file(percorso);
  f.uri = uri_da_percorso(percorso);
  if (const Documento* d = docs.del_file(percorso)) {
    f.uri = d->uri;
    f.testo = d->testo;
    f.aperto = true;
  } else if (e_file(percorso)) {
    try {
      f.testo =
          std::make_shared<const TestoDocumento>(TestoDocumento::da_byte(leggi_file(percorso)));
    } catch (const std::exception&) {
      f.testo = nullptr;
    }
  }
  return f;
}

Sorgente sorgente(const FileCoppia& f) {
  if (f.testo) return Sorgente::testo(f.nome, f.testo->testo());
  Sorgente s{f.nome};
  s.stato = Sorgente::Stato::mancante;
  return s;
}

bool esiste_o_aperto(const std::filesystem::path& p, const Documenti& docs) {
  return docs.del_file(p) != nullptr || e_file(p);
}

}  // namespace

nlohmann::json posizione_json(Posizione p) {
  return {{"line", p.riga}, {"character", p.carattere}};
}

nlohmann::json estensione_json(const Estensione& e) {
  return {{"start", posizione_json(e.inizio)}, {"end", posizione_json(e.fine)}};
}

const FileCoppia* Analisi::file(std::string_view nome) const {
  if (nome.empty()) return nullptr;
  if (linea.nome == nome) return &linea;
  if (treno && treno->nome == nome) return &*treno;
  return nullptr;
}

const FileCoppia* Analisi::file_uri(const std::string& uri) const {
  const auto percorso = percorso_da_uri(uri);
  for (const FileCoppia* f : {&linea, treno ? &*treno : nullptr}) {
    if (f != nullptr && (f->uri == uri || (percorso && f->percorso == *percorso))) return f;
  }
  return nullptr;
}

std::filesystem::path linea_del_treno(const std::filesystem::path& treno, const Documenti& docs) {
  const std::string nome = nome_file(treno);
  std::optional<std::filesystem::path> prima;
  for (size_t i = nome.rfind('_'); i != std::string::npos && i > 0; i = nome.rfind('_', i - 1)) {
    const std::string scenario = nome.substr(0, i);
    if (!NomiScenario::treno_da_file_treno(nome, scenario)) continue;
    const std::filesystem::path linea =
        treno.parent_path() / percorso_utf8(scenario + "_linea.txt");
    if (esiste_o_aperto(linea, docs)) return linea;
    if (!prima) prima = linea;
  }
  if (prima) return *prima;
  return treno.parent_path() / percorso_utf8(treno.stem().string() + "_linea.txt");
}

std::vector<std::filesystem::path> treni_della_linea(const std::filesystem::path& linea,
                                                     const Documenti& docs) {
  std::vector<std::filesystem::path> treni;
  const auto scenario = NomiScenario::nome_da_file_linea(nome_file(linea));
  if (!scenario) return treni;
  const auto del_percorso = [&](const std::filesystem::path& p) {
    return p.parent_path() == linea.parent_path() &&
           NomiScenario::treno_da_file_treno(nome_file(p), *scenario).has_value();
  };
  for (const auto& [uri, d] : docs.aperti()) {
    if (!d.percorso.empty() && del_percorso(d.percorso)) treni.push_back(d.percorso);
  }
  for (const auto& p : file_nella_cartella(linea.parent_path())) {
    const auto normale = p.lexically_normal();
    if (del_percorso(normale) && std::find(treni.begin(), treni.end(), normale) == treni.end()) {
      treni.push_back(normale);
    }
  }
  return treni;
}

Analisi analizza(const std::filesystem::path& linea,
                 const std::optional<std::filesystem::path>& treno, const Documenti& docs) {
  Analisi a;
  a.linea = prepara(linea, docs);
  if (treno) a.treno = prepara(*treno, docs);
  const std::string scenario = NomiScenario::nome_da_file_linea(a.linea.nome).value_or("");
  const std::string numero =
      treno ? NomiScenario::treno_da_file_treno(a.treno->nome, scenario).value_or("") : "";
  const Identita identita{in_cp1252(scenario, "scenario"), in_cp1252(numero, "0")};
  // With no train source the train is a file that is not there, under a name no diagnostic of
  // the pair can be shown at.
  Sorgente sorgente_treno{"(nessun file del treno)", "", Sorgente::Stato::mancante};
  if (a.treno) sorgente_treno = sorgente(*a.treno);
  OpzioniCompilazione opzioni;
  // Texts from the editor and from the disk alike are UTF-8 by now (see TestoDocumento).
  opzioni.codifica = Codifica::utf8;
  RaccoltaSegnalazioni raccolta;
  Compilazione c = compila_testi(identita, sorgente(a.linea), sorgente_treno, opzioni, raccolta);
  a.segnalazioni = std::move(raccolta.tutte);
  if (c.arresto) a.segnalazioni.push_back(*c.arresto);
  a.origini = std::move(c.origini);
  return a;
}

Estensione estensione_di(const TestoDocumento& testo, const Luogo& l) {
  if (l.riga <= 0) return {};
  const auto r = static_cast<size_t>(l.riga - 1);
  const int riga = l.riga - 1;
  if (l.colonna <= 0) {
    return {{riga, 0}, {riga, testo.utf16(r, caratteri(testo.riga(r)))}};
  }
  const auto inizio = static_cast<size_t>(l.colonna - 1);
  const size_t fine = inizio + static_cast<size_t>(std::max(l.lunghezza, 0));
  return {{riga, testo.utf16(r, inizio)}, {riga, testo.utf16(r, fine)}};
}

std::string messaggio(const Segnalazione& s) {
  std::string m;
  const char* rimedio = nullptr;
  if (s.gravita == Gravita::errore) {
    const RigaCodice& c = riga_codice(s.codice);
    m = c.significato;
    if (!s.dettaglio.empty()) m += ": " + s.dettaglio;
    rimedio = c.rimedio;
  } else {
    m = s.dettaglio;
    if (s.avviso != Avviso::nessuno) rimedio = riga_avviso(s.avviso).rimedio;
  }
  m += tra_parentesi(s);
  if (rimedio != nullptr && *rimedio != '\0') m += "\nrimedio: " + std::string(rimedio);
  return m;
}

std::map<std::string, nlohmann::json> diagnostiche(const Analisi& a) {
  std::map<std::string, nlohmann::json> per_file;
  for (const FileCoppia* f : {&a.linea, a.treno ? &*a.treno : nullptr}) {
    if (f != nullptr && f->testo) per_file[f->uri] = nlohmann::json::array();
  }
  // A diagnostic of a file that cannot be shown (a line source that is not there) stands at the
  // top of the train source; one of no file at all too.
  const FileCoppia* riserva = a.treno && a.treno->testo ? &*a.treno : nullptr;
  if (riserva == nullptr && a.linea.testo) riserva = &a.linea;
  for (const Segnalazione& s : a.segnalazioni) {
    const FileCoppia* f = a.file(s.luogo.file);
    Luogo luogo = s.luogo;
    if (f == nullptr || !f->testo) {
      if (riserva == nullptr || (f == nullptr && !s.luogo.file.empty())) continue;
      f = riserva;
      luogo = Luogo{f->nome};
    }
    nlohmann::json d = {
        {"range", estensione_json(estensione_di(*f->testo, luogo))},
        {"severity", s.gravita == Gravita::errore   ? 1
                     : s.gravita == Gravita::avviso ? 2
                                                    : 3},
        {"source", "compattatore"},
        {"message", messaggio(s)},
    };
    if (s.gravita == Gravita::errore) {
      d["code"] = numero(s.codice);
    } else if (s.avviso != Avviso::nessuno) {
      d["code"] = riga_avviso(s.avviso).etichetta;
    }
    nlohmann::json collegate = nlohmann::json::array();
    for (const Nota& n : s.note) {
      const FileCoppia* g = a.file(n.luogo.file);
      if (g == nullptr || !g->testo) continue;
      collegate.push_back(
          {{"location",
            {{"uri", g->uri}, {"range", estensione_json(estensione_di(*g->testo, n.luogo))}}},
           {"message", n.testo}});
    }
    if (!collegate.empty()) d["relatedInformation"] = std::move(collegate);
    per_file[f->uri].push_back(std::move(d));
  }
  return per_file;
}

}  // namespace compattatore::lsp
