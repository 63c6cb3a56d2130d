#include "lsp/server.h"

#include <algorithm>
#include <cctype>
#include <condition_variable>
#include <deque>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>

#include "lsp/analisi.h"
#include "lsp/documenti.h"
#include "lsp/servizi.h"
#include "lsp/voci.h"

namespace compattatore::lsp {
namespace {

using nlohmann::json;
using Orologio = std::chrono::steady_clock;

constexpr size_t kMassimaRigaIntestazione = 8192;

// The protocol's error codes.
constexpr int kErroreLettura = -32700;
constexpr int kRichiestaNonValida = -32600;
constexpr int kMetodoSconosciuto = -32601;
constexpr int kParametriNonValidi = -32602;
constexpr int kErroreInterno = -32603;
constexpr int kNonInizializzato = -32002;

// Messages read by the reader thread, waiting for the server.
struct Coda {
  std::mutex m;
  std::condition_variable cv;
  std::deque<Lettura> letture;
  bool finita = false;  // the reader has read the end of the stream
};

// A request that cannot be answered, with the protocol's code.
struct ErroreRichiesta {
  int codice;
  std::string messaggio;
};

Posizione posizione_da(const json& j) {
  return {j.at("line").get<int>(), j.at("character").get<int>()};
}

Estensione estensione_da(const json& j) {
  return {posizione_da(j.at("start")), posizione_da(j.at("end"))};
}

class Server {
 public:
  Server(std::ostream& out, const OpzioniServer& opzioni) : out_(out), opzioni_(opzioni) {}

  // Handles one message; the exit status once the session is over.
  std::optional<int> ricevi(const Lettura& l);
  // Checks the scenarios of the sources whose wait is over (all of them with `tutti`).
  void controlla(bool tutti);
  std::optional<Orologio::time_point> prossimo_controllo() const;
  int stato_finale() const { return spento_ ? 0 : 1; }

 private:
  void manda(const json& j) {
    out_ << incornicia(j.dump(-1, ' ', false, json::error_handler_t::replace)) << std::flush;
  }
  void rispondi(const json& id, json risultato) {
    manda({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(risultato)}});
  }
  void errore(const json& id, int codice, const std::string& messaggio) {
    manda({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", codice}, {"message", messaggio}}}});
  }
  void notifica(const std::string& metodo, json parametri) {
    manda({{"jsonrpc", "2.0"}, {"method", metodo}, {"params", std::move(parametri)}});
  }
  void registra(const std::string& testo) {
    notifica("window/logMessage", {{"type", 1}, {"message", "compattatore: " + testo}});
  }

  std::optional<int> messaggio(const json& m);
  json richiesta(const std::string& metodo, const json& p);
  void notifica_ricevuta(const std::string& metodo, const json& p);

  void da_controllare(const std::string& uri, std::chrono::milliseconds dopo);
  void stessa_cartella_da_controllare(const Documento& d);
  void pubblica(const std::string& uri, json diagnostiche);
  const Documento& documento(const json& p);
  const Analisi* analisi_di(const std::string& uri);

  std::ostream& out_;
  OpzioniServer opzioni_;
  bool inizializzato_ = false;
  bool spento_ = false;
  Documenti docs_;
  std::map<std::string, Orologio::time_point> da_controllare_;
  std::map<std::string, std::shared_ptr<const Analisi>> analisi_;
};

std::optional<int> Server::ricevi(const Lettura& l) {
  switch (l.tipo) {
    case Lettura::Tipo::fine:
      return stato_finale();
    case Lettura::Tipo::guasto:
      registra(l.corpo);
      return std::nullopt;
    case Lettura::Tipo::messaggio:
      break;
  }
  json m;
  try {
    m = json::parse(l.corpo);
  } catch (const json::exception&) {
    errore(nullptr, kErroreLettura, "il messaggio non è JSON valido");
    return std::nullopt;
  }
  return messaggio(m);
}

std::optional<int> Server::messaggio(const json& m) {
  if (!m.is_object() || !m.contains("method") || !m["method"].is_string()) {
    // A response of the editor to a request of ours (none is made) is passed over.
    if (m.is_object() && m.contains("id") && (m.contains("result") || m.contains("error"))) {
      return std::nullopt;
    }
    errore(m.is_object() && m.contains("id") ? m["id"] : json(nullptr), kRichiestaNonValida,
           "richiesta non valida");
    return std::nullopt;
  }
  const std::string metodo = m["method"];
  const json parametri = m.contains("params") ? m["params"] : json::object();
  if (!m.contains("id")) {
    if (metodo == "exit") return stato_finale();
    try {
      notifica_ricevuta(metodo, parametri);
    } catch (const std::exception&) {
      // A notification gets no answer, not even an error.
    }
    return std::nullopt;
  }
  const json& id = m["id"];
  if (!id.is_number_integer() && !id.is_string()) {
    errore(nullptr, kRichiestaNonValida, "id non valido");
    return std::nullopt;
  }
  try {
    if (!inizializzato_ && metodo != "initialize") {
      throw ErroreRichiesta{kNonInizializzato, "il server non è ancora inizializzato"};
    }
    if (spento_) throw ErroreRichiesta{kRichiestaNonValida, "il server è spento"};
    rispondi(id, richiesta(metodo, parametri));
  } catch (const ErroreRichiesta& e) {
    errore(id, e.codice, e.messaggio);
  } catch (const json::exception& e) {
    errore(id, kParametriNonValidi, std::string("parametri non validi: ") + e.what());
  } catch (const std::exception& e) {
    errore(id, kErroreInterno, std::string("errore interno: ") + e.what());
  }
  return std::nullopt;
}

const Documento& Server::documento(const json& p) {
  const std::string uri = p.at("textDocument").at("uri").get<std::string>();
  const Documento* d = docs_.trova(uri);
  if (d == nullptr) throw ErroreRichiesta{kParametriNonValidi, "documento non aperto: " + uri};
  return *d;
}

const Analisi* Server::analisi_di(const std::string& uri) {
  // An answer that needs the check gets it up to date.
  if (da_controllare_.count(uri) != 0) controlla(true);
  const auto it = analisi_.find(uri);
  return it == analisi_.end() ? nullptr : it->second.get();
}

json Server::richiesta(const std::string& metodo, const json& p) {
  if (metodo == "initialize") {
    inizializzato_ = true;
    return {{"capabilities",
             {{"positionEncoding", "utf-16"},
              {"textDocumentSync",
               {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
              {"hoverProvider", true},
              {"completionProvider", {{"triggerCharacters", json::array({"["})}}},
              {"documentSymbolProvider", true},
              {"codeActionProvider", {{"codeActionKinds", json::array({"quickfix"})}}},
              {"definitionProvider", true}}},
            {"serverInfo", {{"name", "compattatore"}, {"version", COMPATTATORE_VERSIONE}}}};
  }
  if (metodo == "shutdown") {
    spento_ = true;
    return nullptr;
  }
  const bool del_documento =
      metodo == "textDocument/hover" || metodo == "textDocument/completion" ||
      metodo == "textDocument/documentSymbol" || metodo == "textDocument/codeAction" ||
      metodo == "textDocument/definition";
  if (!del_documento) throw ErroreRichiesta{kMetodoSconosciuto, "metodo sconosciuto: " + metodo};
  const Documento& d = documento(p);
  const TipoSorgente tipo = tipo_da_nome(d.percorso.filename().string());
  const TestoDocumento& testo = *d.testo;
  if (metodo == "textDocument/hover") return hover(testo, tipo, posizione_da(p.at("position")));
  if (metodo == "textDocument/completion") {
    return completamento(testo, tipo, posizione_da(p.at("position")));
  }
  if (metodo == "textDocument/documentSymbol") return simboli(testo, tipo);
  const std::string uri = d.uri;
  const auto testo_attuale = d.testo;  // kept while the check may replace nothing of it
  if (metodo == "textDocument/codeAction") {
    return azioni(uri, *testo_attuale, tipo, estensione_da(p.at("range")), analisi_di(uri));
  }
  return definizione(uri, *testo_attuale, tipo, posizione_da(p.at("position")), analisi_di(uri));
}

void Server::notifica_ricevuta(const std::string& metodo, const json& p) {
  if (metodo == "textDocument/didOpen") {
    const json& td = p.at("textDocument");
    const std::string uri = td.at("uri");
    docs_.apri(uri, td.at("text").get<std::string>(), td.value("version", 0));
    da_controllare(uri, std::chrono::milliseconds(0));
  } else if (metodo == "textDocument/didChange") {
    const std::string uri = p.at("textDocument").at("uri");
    Documento* d = docs_.trova(uri);
    if (d == nullptr) return;
    auto nuovo = std::make_shared<TestoDocumento>(*d->testo);
    for (const json& c : p.at("contentChanges")) {
      if (c.contains("range")) {
        const Estensione e = estensione_da(c["range"]);
        nuovo->sostituisci(e.inizio, e.fine, c.at("text").get<std::string>());
      } else {
        *nuovo = TestoDocumento(c.at("text").get<std::string>());
      }
    }
    d->testo = std::move(nuovo);
    d->versione = p["textDocument"].value("version", d->versione);
    da_controllare(uri, opzioni_.attesa);
  } else if (metodo == "textDocument/didSave") {
    // The file on disk changed: every open source beside it may read it.
    const Documento* d = docs_.trova(p.at("textDocument").at("uri"));
    if (d != nullptr) stessa_cartella_da_controllare(*d);
  } else if (metodo == "textDocument/didClose") {
    const std::string uri = p.at("textDocument").at("uri");
    const Documento* d = docs_.trova(uri);
    if (d == nullptr) return;
    const Documento chiuso = *d;
    docs_.chiudi(uri);
    analisi_.erase(uri);
    da_controllare_.erase(uri);
    pubblica(uri, json::array());
    stessa_cartella_da_controllare(chiuso);
  }
  // Any other notification ("initialized", "$/cancelRequest", ...) needs nothing.
}

void Server::da_controllare(const std::string& uri, std::chrono::milliseconds dopo) {
  da_controllare_[uri] = Orologio::now() + dopo;
}

void Server::stessa_cartella_da_controllare(const Documento& d) {
  for (const auto& [uri, altro] : docs_.aperti()) {
    if (altro.percorso.parent_path() == d.percorso.parent_path()) {
      da_controllare(uri, std::chrono::milliseconds(0));
    }
  }
}

std::optional<Orologio::time_point> Server::prossimo_controllo() const {
  std::optional<Orologio::time_point> prima;
  for (const auto& [uri, quando] : da_controllare_) {
    if (!prima || quando < *prima) prima = quando;
  }
  return prima;
}

void Server::pubblica(const std::string& uri, json diagnostiche) {
  json p = {{"uri", uri}, {"diagnostics", std::move(diagnostiche)}};
  if (const Documento* d = docs_.trova(uri)) p["version"] = d->versione;
  notifica("textDocument/publishDiagnostics", std::move(p));
}

void Server::controlla(bool tutti) {
  const auto adesso = Orologio::now();
  using Coppia = std::pair<std::filesystem::path, std::optional<std::filesystem::path>>;
  std::set<Coppia> coppie;
  for (auto it = da_controllare_.begin(); it != da_controllare_.end();) {
    if (!tutti && it->second > adesso) {
      ++it;
      continue;
    }
    const Documento* d = docs_.trova(it->first);
    it = da_controllare_.erase(it);
    if (d == nullptr || d->percorso.empty()) continue;
    if (tipo_da_nome(d->percorso.filename().string()) == TipoSorgente::treno) {
      coppie.insert({linea_del_treno(d->percorso, docs_), d->percorso});
      continue;
    }
    // A line source is checked with each of its open train sources (their diagnostics change
    // with it), or with the first one on disk.
    const auto treni = treni_della_linea(d->percorso, docs_);
    bool con_aperto = false;
    for (const auto& t : treni) {
      if (docs_.del_file(t) == nullptr) continue;
      coppie.insert({d->percorso, t});
      con_aperto = true;
    }
    if (!con_aperto) {
      coppie.insert({d->percorso, treni.empty() ? std::nullopt : std::optional(treni.front())});
    }
  }
  for (const Coppia& c : coppie) {
    auto a = std::make_shared<const Analisi>(analizza(c.first, c.second, docs_));
    for (auto& [uri, diagnostiche] : lsp::diagnostiche(*a)) pubblica(uri, std::move(diagnostiche));
    for (const FileCoppia* f : {&a->linea, a->treno ? &*a->treno : nullptr}) {
      if (f != nullptr && f->aperto) analisi_[f->uri] = a;
    }
  }
}

}  // namespace

Lettura leggi_messaggio(std::istream& in) {
  std::optional<size_t> lunghezza;
  bool intestazione = false;
  bool lunghezza_guasta = false;
  while (true) {
    std::string riga;
    int c = 0;
    while ((c = in.get()) != std::char_traits<char>::eof() && c != '\n') {
      if (riga.size() < kMassimaRigaIntestazione) riga += static_cast<char>(c);
    }
    if (c == std::char_traits<char>::eof()) return {};
    if (!riga.empty() && riga.back() == '\r') riga.pop_back();
    if (riga.empty()) {
      if (intestazione) break;
      continue;  // blank lines before a header
    }
    intestazione = true;
    std::string bassa = riga;
    std::transform(bassa.begin(), bassa.end(), bassa.begin(),
                   [](unsigned char b) { return static_cast<char>(std::tolower(b)); });
    constexpr std::string_view kLunghezza = "content-length:";
    const size_t i = bassa.rfind(kLunghezza);
    if (i == std::string::npos) continue;
    size_t j = i + kLunghezza.size();
    while (j < riga.size() && (riga[j] == ' ' || riga[j] == '\t')) ++j;
    size_t n = 0;
    bool cifre = false;
    for (; j < riga.size() && std::isdigit(static_cast<unsigned char>(riga[j])); ++j) {
      cifre = true;
      n = n > (SIZE_MAX - 9) / 10 ? SIZE_MAX : n * 10 + static_cast<size_t>(riga[j] - '0');
    }
    lunghezza_guasta = !cifre || j != riga.size();
    lunghezza = lunghezza_guasta ? std::nullopt : std::optional(n);
  }
  if (!lunghezza) {
    return {Lettura::Tipo::guasto, lunghezza_guasta
                                       ? "Content-Length non valido: messaggio ignorato"
                                       : "intestazione senza Content-Length: ignorata"};
  }
  if (*lunghezza > kMassimoMessaggio) {
    // Passed over in pieces: the stream stays in step.
    for (size_t resto = *lunghezza; resto > 0 && in;) {
      const size_t pezzo = std::min<size_t>(resto, size_t{1} << 20);
      in.ignore(static_cast<std::streamsize>(pezzo));
      resto -= pezzo;
    }
    return {Lettura::Tipo::guasto, "messaggio di " + std::to_string(*lunghezza) +
                                       " byte, oltre il massimo di " +
                                       std::to_string(kMassimoMessaggio) + ": ignorato"};
  }
  std::string corpo(*lunghezza, '\0');
  in.read(corpo.data(), static_cast<std::streamsize>(corpo.size()));
  if (static_cast<size_t>(in.gcount()) != corpo.size()) return {};
  return {Lettura::Tipo::messaggio, std::move(corpo)};
}

std::string incornicia(const std::string& corpo) {
  return "Content-Length: " + std::to_string(corpo.size()) + "\r\n\r\n" + corpo;
}

int servi(std::istream& in, std::ostream& out, const OpzioniServer& opzioni) {
  auto coda = std::make_shared<Coda>();
  // The stream is read by a thread of its own, so that a check can wait for a pause in the
  // edits without blocking on a read.
  std::thread lettore([coda, &in] {
    while (true) {
      Lettura l = leggi_messaggio(in);
      const bool fine = l.tipo == Lettura::Tipo::fine;
      {
        const std::lock_guard<std::mutex> blocco(coda->m);
        coda->letture.push_back(std::move(l));
        coda->finita = fine;
      }
      coda->cv.notify_one();
      if (fine) return;
    }
  });
  Server server(out, opzioni);
  std::optional<int> stato;
  while (!stato) {
    server.controlla(false);
    Lettura l;
    {
      std::unique_lock<std::mutex> blocco(coda->m);
      const auto pronta = [&] { return !coda->letture.empty(); };
      if (const auto quando = server.prossimo_controllo()) {
        if (!coda->cv.wait_until(blocco, *quando, pronta)) continue;
      } else {
        coda->cv.wait(blocco, pronta);
      }
      l = std::move(coda->letture.front());
      coda->letture.pop_front();
    }
    if (l.tipo == Lettura::Tipo::fine) server.controlla(true);
    stato = server.ricevi(l);
  }
  bool finita = false;
  {
    // After "exit" the stream usually ends at once; a reader still waiting on it is left to the
    // process's end.
    std::unique_lock<std::mutex> blocco(coda->m);
    finita =
        coda->cv.wait_for(blocco, std::chrono::milliseconds(100), [&] { return coda->finita; });
  }
  if (finita) {
    lettore.join();
  } else {
    lettore.detach();
  }
  return *stato;
}

}  // namespace compattatore::lsp
