#include "app/documento.h"

#include <nlohmann/json.hpp>

#include "app/comandi.h"
#include "model/cp1252.h"

namespace compattatore {
namespace {

// Fields keep the order in which they are set, the order the README gives.
using json = nlohmann::ordered_json;

json o_nulla(int valore) { return valore > 0 ? json(valore) : json(nullptr); }

// The place of a diagnostic or a note: file, line, column and the line as written.
void metti_luogo(json& j, const Luogo& l) {
  j["file"] = l.file.empty() ? json(nullptr) : json(l.file);
  j["riga"] = o_nulla(l.riga);
  j["colonna"] = o_nulla(l.colonna);
  j["lunghezza"] = l.colonna > 0 ? json(l.lunghezza) : json(nullptr);
  j["testo_riga"] = l.riga > 0 ? json(cp1252::a_utf8(l.testo)) : json(nullptr);
}

json diagnostica(const Segnalazione& s) {
  json j;
  metti_luogo(j, s.luogo);
  switch (s.gravita) {
    case Gravita::errore: {
      j["gravita"] = "errore";
      j["codice"] = numero(s.codice);
      std::string m = riga_codice(s.codice).significato;
      if (!s.dettaglio.empty()) m += ": " + s.dettaglio;
      j["messaggio"] = m;
      j["rimedio"] = riga_codice(s.codice).rimedio;
      break;
    }
    case Gravita::avviso:
    case Gravita::nota:
      j["gravita"] = s.gravita == Gravita::avviso ? "avviso" : "nota";
      j["codice"] =
          s.avviso != Avviso::nessuno ? json(riga_avviso(s.avviso).etichetta) : json(nullptr);
      j["messaggio"] = s.dettaglio;
      j["rimedio"] =
          s.avviso != Avviso::nessuno ? json(riga_avviso(s.avviso).rimedio) : json(nullptr);
      break;
  }
  j["posizione"] = s.posizione ? json(*s.posizione) : json(nullptr);
  j["tratto"] = s.tratto ? json(*s.tratto) : json(nullptr);
  if (s.valore) {
    const ValoreScritto& v = *s.valore;
    j["valore"] = {{"campo", v.campo},
                   {"scritto", v.scritto},
                   {"memorizzato", v.memorizzato ? json(*v.memorizzato) : json(nullptr)},
                   {"minimo", v.minimo},
                   {"massimo", v.massimo},
                   {"unita", v.unita}};
  } else {
    j["valore"] = nullptr;
  }
  json note = json::array();
  for (const Nota& n : s.note) {
    json nota;
    metti_luogo(nota, n.luogo);
    nota["messaggio"] = n.testo;
    note.push_back(std::move(nota));
  }
  j["note"] = std::move(note);
  return j;
}

}  // namespace

namespace {

// The fields of every document, in the README's order, up to the list of diagnostics.
json inizio(const std::string& comando, int stato, const Resoconto* resoconto) {
  json d;
  d["comando"] = comando;
  d["stato"] = stato;
  d["codice_errore"] = nullptr;
  d["posizione_errore"] = nullptr;
  d["errori"] = resoconto ? resoconto->errori() : 0;
  d["avvisi"] = resoconto ? resoconto->avvisi() : 0;
  json lista = json::array();
  if (resoconto) {
    for (const Segnalazione& s : resoconto->tutte()) lista.push_back(diagnostica(s));
  }
  d["diagnostiche"] = std::move(lista);
  return d;
}

// Names that are not UTF-8 are replaced, never refused: the document must always come out.
std::string testo(const json& d) {
  return d.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace

std::string documento_json(const std::string& comando, const Conclusione& c,
                           const RisultatoPercorso& r, const std::vector<std::string>& scritti,
                           const std::optional<Riepilogo>& riepilogo,
                           const std::string& fallimento) {
  json d = inizio(comando, fallimento.empty() ? stato_uscita(r, c) : kUscitaFallita, c.resoconto);
  d["codice_errore"] = r.codice_errore;
  d["posizione_errore"] = r.con_posizione ? json(r.posizione_errore) : json(nullptr);
  d["file_scritti"] = scritti;
  if (riepilogo) {
    d["riepilogo"] = {
        {"lunghezza", riepilogo->lunghezza},
        {"tratti", riepilogo->tratti},
        {"stazioni", riepilogo->stazioni},
        {"segnali", riepilogo->segnali},
        {"rallentamenti", riepilogo->rallentamenti},
        {"indicatori", riepilogo->indicatori},
        {"cartelli", riepilogo->cartelli},
        {"segni_di_codice", riepilogo->segni_di_codice},
        {"codice_st", riepilogo->codice_st},
        {"codice_og", riepilogo->codice_og},
    };
  } else {
    d["riepilogo"] = nullptr;
  }
  if (!fallimento.empty()) {
    d["messaggio_finale"] = fallimento;
  } else if (r.esito == Esito::campo_riservato || r.esito == Esito::non_dimensionato ||
             r.esito == Esito::scrittura_fallita) {
    d["messaggio_finale"] = r.esito == Esito::campo_riservato
                                ? " Errore n. " + std::to_string(numero(r.codice))
                                : r.messaggio;
  } else if (const std::string t = fine_senza_treno(r, c); !t.empty()) {
    d["messaggio_finale"] = t;
  }
  return testo(d);
}

std::string documento_fallito(const std::string& comando, const std::string& messaggio) {
  json d = inizio(comando, kUscitaFallita, nullptr);
  d["file_scritti"] = json::array();
  d["riepilogo"] = nullptr;
  d["messaggio_finale"] = messaggio;
  return testo(d);
}

int fallisci(Formato formato, std::ostream& out, std::ostream& err, const std::string& comando,
             const std::string& messaggio) {
  if (formato == Formato::testo) return errore_uso(err, comando, messaggio);
  out << documento_fallito(comando, messaggio) << std::flush;
  return kUscitaFallita;
}

}  // namespace compattatore
