#include "lsp/servizi.h"

#include <algorithm>
#include <span>

#include "model/cp1252.h"
#include "model/regole.h"

namespace compattatore::lsp {
namespace {

using nlohmann::json;

// The protocol's kinds of completion item and of symbol used here.
constexpr int kCompletamentoParola = 14;
constexpr int kCompletamentoIntestazione = 9;
constexpr int kSnippet = 2;
constexpr int kSimboloSezione = 3;

std::string utf8(const char* cp1252_byte) { return cp1252::a_utf8(cp1252_byte); }

Estensione estensione_campo(const TestoDocumento& testo, size_t r, const Campo& c) {
  const int riga = static_cast<int>(r);
  return {{riga, testo.utf16(r, c.inizio)}, {riga, testo.utf16(r, c.fine)}};
}

struct Cursore {
  size_t riga = 0;
  size_t colonna = 0;  // in characters
};

Cursore cursore(const TestoDocumento& testo, Posizione p) {
  const Posizione q = testo.dentro(p);
  const auto r = static_cast<size_t>(q.riga);
  return {r, testo.colonna(r, q.carattere)};
}

std::string spiegazione_riga(const RigaChiave& r) {
  std::string t = "**`" + utf8(r.forma) + "`**";
  if (*r.significato != '\0') t += ": " + std::string(r.significato);
  if (r.genere == Genere::intestazione) return t;
  t += "\n\n`" + utf8(schema_riga(r).c_str()) + "`\n";
  for (const RigaValore& v : valori(r.chiave)) {
    t += "\n- *" + std::string(v.nome) + "*: " + descrizione(v);
  }
  if (*r.nota != '\0') t += "\n\n" + std::string(r.nota);
  return t;
}

std::string spiegazione_valore(const RigaChiave& r, const RigaValore& v, const Campo& c,
                               const std::optional<int64_t>& letto) {
  std::string t = "**" + std::string(v.nome) + "** di `" + utf8(r.forma) + "`: " + descrizione(v);
  t += "\n\nScritto: `" + c.scritto + "`";
  if (v.lettura == ModoLettura::testo) return t + "; memorizzato come testo.";
  if (!letto) return t + ": non entra in 32 bit (codice 25).";
  t += ", letto come " + std::to_string(*letto);
  const Intervallo& campo = v.intervallo;
  if (v.lettura != ModoLettura::posizione && (*letto < campo.minimo || *letto > campo.massimo)) {
    t += "; fuori dal campo da " + std::to_string(campo.minimo) + " a " +
         std::to_string(campo.massimo);
    if (v.codice != Codice::nessuno) t += " (codice " + std::to_string(numero(v.codice)) + ")";
  }
  if (v.multiplo.passo != 0 && *letto % v.multiplo.passo != 0) {
    t += "; non è multiplo di " + std::to_string(v.multiplo.passo) + " (codice " +
         std::to_string(numero(v.multiplo.codice)) + ")";
  }
  const std::string memoria = come_memorizzato(v, *letto);
  if (!memoria.empty()) return t + "; memorizzato: " + memoria + ".";
  switch (v.memoria) {
    case Memoria::non_memorizzato:
      return t + "; non memorizzato.";
    case Memoria::composto:
      return t + "; memorizzato insieme agli altri valori della riga (vedi la regola).";
    default:
      return t + ".";
  }
}

std::string snippet(const RigaChiave& r, const std::string& forma) {
  std::string s = forma;
  int n = 1;
  for (const RigaValore& v : valori(r.chiave)) {
    s += n == 1 || r.separatore == ',' ? ", " : " ";
    s += "${" + std::to_string(n++) + ":" + v.nome + "}";
  }
  return s;
}

// The rows that can start a line of section `ambito` in a source of kind `tipo`.
std::vector<const RigaChiave*> proposte(TipoSorgente tipo, std::optional<Ambito> ambito) {
  std::vector<const RigaChiave*> p;
  for (const RigaChiave& r : kRigheChiavi) {
    const bool del_file = (r.ambito == Ambito::treno) == (tipo == TipoSorgente::treno);
    if (!del_file) continue;
    const bool generale = r.genere == Genere::intestazione && r.ambito != Ambito::linea_elementi &&
                          std::string_view(r.forma) == "[generale]";
    if (!ambito) {
      if (generale) p.push_back(&r);
    } else if (r.genere == Genere::intestazione ? !generale : r.ambito == *ambito) {
      p.push_back(&r);
    }
  }
  return p;
}

// Whether a character [inizio, fine) of line `r` lies within `dove`.
bool dentro(const Estensione& dove, size_t r, const TestoDocumento&) {
  return static_cast<int>(r) >= dove.inizio.riga && static_cast<int>(r) <= dove.fine.riga;
}

json modifica(const std::string& uri, const Estensione& dove, const std::string& nuovo) {
  json cambi = json::object();
  cambi[uri] = json::array({{{"range", estensione_json(dove)}, {"newText", nuovo}}});
  return {{"changes", cambi}};
}

json azione(const std::string& titolo, const std::string& uri, const Estensione& dove,
            const std::string& nuovo, bool preferita) {
  return {{"title", titolo},
          {"kind", "quickfix"},
          {"isPreferred", preferita},
          {"edit", modifica(uri, dove, nuovo)}};
}

// The text between `prima` and the next quote of `m`, after the first `prima`.
std::optional<std::string> tra_apici(const std::string& m, const std::string& prima) {
  const size_t i = m.find(prima);
  if (i == std::string::npos) return std::nullopt;
  const size_t inizio = i + prima.size();
  const size_t fine = m.find('\'', inizio);
  if (fine == std::string::npos || fine == inizio) return std::nullopt;
  return m.substr(inizio, fine - inizio);
}

bool cifra(char c) { return c >= '0' && c <= '9'; }

bool intero_scritto(std::string_view s) {
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) s.remove_prefix(1);
  return !s.empty() && std::all_of(s.begin(), s.end(), cifra);
}

json posto(const std::string& uri, const Estensione& e) {
  return {{"uri", uri}, {"range", estensione_json(e)}};
}

}  // namespace

json hover(const TestoDocumento& testo, TipoSorgente tipo, Posizione p) {
  const Cursore c = cursore(testo, p);
  const RigaLetta riga = leggi_riga(testo, c.riga, ambito_della_riga(testo, tipo, c.riga));
  if (riga.chiave == nullptr) return nullptr;
  const auto risposta = [&](const std::string& markdown, const Campo& campo) {
    return json{{"contents", {{"kind", "markdown"}, {"value", markdown}}},
                {"range", estensione_json(estensione_campo(testo, c.riga, campo))}};
  };
  if (c.colonna >= riga.parola.inizio && c.colonna <= riga.parola.fine) {
    return risposta(spiegazione_riga(*riga.chiave), riga.parola);
  }
  const auto i = valore_a(riga, c.colonna);
  if (!i) return nullptr;
  const RigaValore& v = valori(riga.chiave->chiave)[*i];
  return risposta(spiegazione_valore(*riga.chiave, v, riga.valori[*i], riga.numeri[*i]),
                  riga.valori[*i]);
}

json completamento(const TestoDocumento& testo, TipoSorgente tipo, Posizione p) {
  const Cursore c = cursore(testo, p);
  const std::string_view linea = testo.riga(c.riga);
  const std::string_view prima = linea.substr(0, byte_del_carattere(linea, c.colonna));
  json voci = json::array();
  // Only the first item of a line is a keyword.
  if (prima.find(',') != std::string_view::npos) return voci;
  const size_t inizio = std::min(prima.find_first_not_of(" \t"), prima.size());
  const int r = static_cast<int>(c.riga);
  const Estensione dove{{r, testo.utf16(c.riga, caratteri(prima.substr(0, inizio)))},
                        {r, testo.utf16(c.riga, c.colonna)}};
  int ordine = 0;
  for (const RigaChiave* k : proposte(tipo, ambito_della_riga(testo, tipo, c.riga))) {
    for (const std::string& forma_cp1252 : forme(*k)) {
      const std::string forma = cp1252::a_utf8(forma_cp1252);
      const bool parola = k->genere == Genere::parola;
      char numero[16];
      std::snprintf(numero, sizeof numero, "%04d", ordine++);
      json v = {{"label", forma},
                {"kind", parola ? kCompletamentoParola : kCompletamentoIntestazione},
                {"sortText", numero},
                {"filterText", forma},
                {"documentation", {{"kind", "markdown"}, {"value", spiegazione_riga(*k)}}}};
      if (parola) {
        v["detail"] = cp1252::a_utf8(schema_riga(*k));
        v["insertTextFormat"] = kSnippet;
        v["textEdit"] = {{"range", estensione_json(dove)}, {"newText", snippet(*k, forma)}};
      } else {
        v["textEdit"] = {{"range", estensione_json(dove)}, {"newText", forma}};
      }
      voci.push_back(std::move(v));
    }
  }
  return voci;
}

json simboli(const TestoDocumento& testo, TipoSorgente tipo) {
  struct Genere {
    Chiave chiave;
    int simbolo;  // the protocol's SymbolKind
  };
  static constexpr Genere kMostrate[] = {
      {Chiave::stazione, 23}, {Chiave::segnale, 24}, {Chiave::rallentamento, 8},
      {Chiave::curva, 19},    {Chiave::montagna, 7}, {Chiave::cartello_indicatore, 15},
  };
  json radice = json::array();
  json* sezione = nullptr;
  const auto ambito = ambiti(testo, tipo);
  const auto chiudi = [&](size_t ultima) {
    if (sezione == nullptr) return;
    const int r = static_cast<int>(ultima);
    (*sezione)["range"]["end"] = posizione_json({r, testo.utf16(ultima, SIZE_MAX)});
  };
  for (size_t r = 0; r < testo.righe(); ++r) {
    const RigaLetta riga = leggi_riga(testo, r, ambito[r]);
    const Estensione parola = estensione_campo(testo, r, riga.parola);
    if (riga.intestazione) {
      if (r > 0) chiudi(r - 1);
      radice.push_back({{"name", riga.parola.scritto},
                        {"kind", kSimboloSezione},
                        {"range", estensione_json(parola)},
                        {"selectionRange", estensione_json(parola)},
                        {"children", json::array()}});
      sezione = &radice.back();
      continue;
    }
    if (riga.chiave == nullptr) continue;
    const auto genere =
        std::find_if(std::begin(kMostrate), std::end(kMostrate),
                     [&](const Genere& g) { return g.chiave == riga.chiave->chiave; });
    if (genere == std::end(kMostrate) || riga.valori.empty()) continue;
    const auto scritto = [&](size_t i) {
      return i < riga.valori.size() ? riga.valori[i].scritto : std::string("?");
    };
    std::string nome;
    switch (riga.chiave->chiave) {
      case Chiave::stazione:
        nome = scritto(16) + " (" + scritto(0) + " m)";
        break;
      case Chiave::montagna:
        nome = "montagna " + scritto(0) + "-" + scritto(1) + " m";
        break;
      case Chiave::cartello_indicatore:
        nome = "cartello " + scritto(1) + " (" + scritto(0) + " m)";
        break;
      case Chiave::rallentamento:
        nome = "rallentamento " + scritto(0) + " m, " + scritto(1) + " km/h";
        break;
      default:
        nome = riga.parola.scritto + " " + scritto(0) + " m";
        break;
    }
    const int ri = static_cast<int>(r);
    const Estensione tutta{{ri, 0}, {ri, testo.utf16(r, SIZE_MAX)}};
    json simbolo = {{"name", nome},
                    {"kind", genere->simbolo},
                    {"range", estensione_json(tutta)},
                    {"selectionRange", estensione_json(parola)}};
    if (sezione != nullptr) {
      (*sezione)["children"].push_back(std::move(simbolo));
    } else {
      radice.push_back(std::move(simbolo));
    }
  }
  if (testo.righe() > 0) chiudi(testo.righe() - 1);
  return radice;
}

json azioni(const std::string& uri, const TestoDocumento& testo, TipoSorgente tipo, Estensione dove,
            const Analisi* analisi) {
  json risposta = json::array();
  dove.inizio = testo.dentro(dove.inizio);
  dove.fine = testo.dentro(dove.fine);
  // The check's own suggestions: "forse intendevi 'x'?", "scrivi 'x'".
  const FileCoppia* questo = analisi != nullptr ? analisi->file_uri(uri) : nullptr;
  if (questo != nullptr) {
    for (const Segnalazione& s : analisi->segnalazioni) {
      if (s.luogo.file != questo->nome || s.luogo.riga <= 0 || s.luogo.colonna <= 0) continue;
      const auto r = static_cast<size_t>(s.luogo.riga - 1);
      if (!dentro(dove, r, testo)) continue;
      auto proposta = tra_apici(s.dettaglio, "forse intendevi '");
      if (!proposta) proposta = tra_apici(s.dettaglio, "; scrivi '");
      if (!proposta) continue;
      const Estensione e = estensione_di(testo, s.luogo);
      json a = azione("sostituisci con '" + *proposta + "'", uri, e, *proposta, true);
      a["diagnostics"] = json::array({{{"range", estensione_json(e)}, {"message", messaggio(s)}}});
      risposta.push_back(std::move(a));
    }
  }
  for (int ri = dove.inizio.riga; ri <= dove.fine.riga; ++ri) {
    const auto r = static_cast<size_t>(ri);
    const std::string_view linea = testo.riga(r);
    // A quote left open: closed at the end of the line.
    if (std::count(linea.begin(), linea.end(), '"') % 2 == 1) {
      const size_t fine = linea.find_last_not_of(" \t") + 1;
      const int u = testo.utf16(r, caratteri(linea.substr(0, fine)));
      risposta.push_back(azione("chiudi le virgolette", uri, {{ri, u}, {ri, u}}, "\"", false));
    }
    // A decimal comma: "12,5" on a line with a value too many.
    const RigaLetta riga = leggi_riga(testo, r, ambito_della_riga(testo, tipo, r));
    if (riga.chiave == nullptr || !riga.avanza) continue;
    const auto vv = valori(riga.chiave->chiave);
    for (size_t i = riga.valori.size(); i-- > 0;) {
      const Campo& c = riga.valori[i];
      if (vv[i].lettura == ModoLettura::testo || !intero_scritto(c.scritto)) continue;
      const size_t dopo = byte_del_carattere(linea, c.fine);
      if (dopo + 1 >= linea.size() || linea[dopo] != ',' || !cifra(linea[dopo + 1])) continue;
      size_t fine = dopo + 1;
      while (fine < linea.size() && cifra(linea[fine])) ++fine;
      const std::string decimale =
          c.scritto + "." + std::string(linea.substr(dopo + 1, fine - dopo - 1));
      const Estensione e{{ri, testo.utf16(r, c.inizio)},
                         {ri, testo.utf16(r, caratteri(linea.substr(0, fine)))}};
      risposta.push_back(azione("virgola decimale: scrivi " + decimale, uri, e, decimale, false));
      break;
    }
  }
  return risposta;
}

json definizione(const std::string& uri, const TestoDocumento& testo, TipoSorgente tipo,
                 Posizione p, const Analisi* analisi) {
  json posti = json::array();
  if (analisi == nullptr) return posti;
  const FileCoppia* questo = analisi->file_uri(uri);
  if (questo == nullptr) return posti;
  const Cursore c = cursore(testo, p);
  const int riga_luogo = static_cast<int>(c.riga) + 1;
  const auto aggiungi = [&](const Luogo& l) {
    const FileCoppia* f = analisi->file(l.file);
    if (f == nullptr || !f->testo || l.riga <= 0) return;
    if (f == questo && l.riga == riga_luogo) return;
    const json nuovo = posto(f->uri, estensione_di(*f->testo, l));
    if (std::find(posti.begin(), posti.end(), nuovo) == posti.end()) posti.push_back(nuovo);
  };
  // What the check linked to this line: the item in the way of it, or the items it kept out.
  for (const Segnalazione& s : analisi->segnalazioni) {
    const bool qui = s.luogo.file == questo->nome && s.luogo.riga == riga_luogo;
    for (const Nota& n : s.note) {
      if (qui) aggiungi(n.luogo);
      if (n.luogo.file == questo->nome && n.luogo.riga == riga_luogo) aggiungi(s.luogo);
    }
  }
  // What stands on the stretches of this line's positions.
  const RigaLetta riga = leggi_riga(testo, c.riga, ambito_della_riga(testo, tipo, c.riga));
  if (riga.chiave != nullptr) {
    const auto vv = valori(riga.chiave->chiave);
    for (size_t i = 0; i < riga.valori.size(); ++i) {
      if (vv[i].lettura != ModoLettura::posizione || !riga.numeri[i]) continue;
      const auto n = static_cast<int32_t>(*riga.numeri[i]);
      for (const int32_t t : {tratto_di(n), cinquantesimi(n)}) {
        if (const Origine* o = analisi->origini.di(t)) aggiungi(o->luogo);
      }
    }
  }
  return posti;
}

}  // namespace compattatore::lsp
