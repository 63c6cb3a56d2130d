#include "compilazione/compila.h"

#include <exception>
#include <utility>

#include "model/cp1252.h"
#include "model/oggetti.h"
#include "parse/fase.h"
#include "parse/fasi.h"
#include "parse/lettore.h"
#include "post/completa.h"

namespace compattatore {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// The place of byte `offset` of `testo`: its line, and its column in characters of UTF-8.
Luogo luogo_del_byte(const std::string& testo, const std::string& file, size_t offset) {
  int riga = 1;
  size_t inizio = 0;
  for (size_t i = 0; i < offset; ++i) {
    if (testo[i] == '\n' || (testo[i] == '\r' && (i + 1 >= testo.size() || testo[i + 1] != '\n'))) {
      ++riga;
      inizio = i + 1;
    }
  }
  int colonna = 1;
  for (size_t i = inizio; i < offset; ++i) {
    if ((static_cast<unsigned char>(testo[i]) & 0xC0) != 0x80) ++colonna;
  }
  const size_t fine = testo.find_first_of("\r\n", inizio);
  const std::string riga_utf8 =
      testo.substr(inizio, fine == std::string::npos ? std::string::npos : fine - inizio);
  // The line is shown as the parser would have read it: converted where it can be.
  std::string riga_cp1252;
  for (size_t i = 0; i < riga_utf8.size();) {
    const auto inciampo = cp1252::primo_inciampo(std::string_view(riga_utf8).substr(i));
    const size_t buono = inciampo ? inciampo->byte : riga_utf8.size() - i;
    riga_cp1252 += cp1252::da_utf8(std::string_view(riga_utf8).substr(i, buono));
    if (!inciampo) break;
    riga_cp1252 += '?';
    i += buono + inciampo->lunghezza;
  }
  return Luogo{file, riga, riga_cp1252, colonna, 1};
}

// The parse of both sources into `c`: the line source, then (when the line phase ended with no
// code or with code 15) the train source. A run-time fault in either becomes code 25, at the
// place of the item it belongs to.
class Lettura {
 public:
  Lettura(Compilazione& c, Segnalatore& errori, const OpzioniCompilazione& opzioni)
      : c_(c), errori_(errori), opzioni_(opzioni) {}

  void esegui(const Sorgente& linea, const Sorgente& treno) {
    try {
      if (linea.stato == Sorgente::Stato::mancante) {
        errori_.segnala(Codice::manca_linea, std::nullopt, Luogo{linea.file, 0, {}});
        return;
      }
      c_.letta_linea = true;
      std::optional<EsitoLinea> esito = fase_linea(linea, treno);
      if (!esito) return;
      const Codice dopo_linea = errori_.codice_errore();
      if (dopo_linea != Codice::nessuno && dopo_linea != Codice::fuori_percorso) {
        treno_non_letto(treno);
        return;
      }
      c_.letto_treno = true;
      fase_treno(treno, std::move(*esito));
    } catch (const GuastoAlLuogo& e) {
      Segnalazione s{Codice::guasto_lettura, std::nullopt, e.luogo, e.what()};
      s.valore = e.valore;
      errori_.ricevi(std::move(s));
      dopo_il_guasto(treno);
    } catch (const std::exception& e) {
      errori_.segnala(Codice::guasto_lettura, std::nullopt,
                      attivo_ ? attivo_->luogo() : Luogo{in_lettura_, 0, {}}, e.what());
      dopo_il_guasto(treno);
    }
  }

 private:
  // The text of `s` as the parser reads it, or nothing when its encoding stops it (a code is set).
  // A source that could not be read is the run-time fault.
  std::optional<std::string> testo(const Sorgente& s) {
    attivo_ = nullptr;
    in_lettura_ = s.file;
    if (s.stato != Sorgente::Stato::letto) throw GuastoEsecuzione(s.guasto);
    return testo_sorgente(s.byte, s.file, opzioni_.codifica, errori_);
  }

  std::optional<EsitoLinea> fase_linea(const Sorgente& linea, const Sorgente& treno) {
    std::optional<std::string> t = testo(linea);
    if (!t) {
      treno_non_letto(treno);
      return std::nullopt;
    }
    lettore_linea_.emplace(std::move(*t), linea.file, &errori_);
    attivo_ = &*lettore_linea_;
    OpzioniLinea o;
    o.con_tracciato = opzioni_.con_tracciato;
    o.taglio_percorso = opzioni_.taglio_percorso;
    o.origini = &c_.origini;
    return compattatore::fase_linea(c_.modello, errori_, *lettore_linea_, o);
  }

  void fase_treno(const Sorgente& treno, EsitoLinea esito) {
    std::optional<std::string> t = testo(treno);
    if (!t) return;
    lettore_treno_.emplace(std::move(*t), treno.file, &errori_);
    attivo_ = &*lettore_treno_;
    compattatore::fase_treno(
        c_.modello, errori_, *lettore_treno_,
        OpzioniTreno{esito.cursore_cartelli, std::move(esito.progressive), &c_.origini});
  }

  // A fault stops the parse: both sources are done with. One in the line source leaves the
  // train source unread, and says so.
  void dopo_il_guasto(const Sorgente& treno) {
    if (!c_.letto_treno) treno_non_letto(treno);
    c_.letto_treno = true;
  }

  void treno_non_letto(const Sorgente& treno) {
    errori_.segnala_avviso(Avviso::treno_non_letto, Luogo{treno.file, 0, {}},
                           "il file del treno non è letto: la lettura si è fermata al codice " +
                               std::to_string(numero(errori_.codice_errore())) +
                               " del file della linea");
  }

  Compilazione& c_;
  Segnalatore& errori_;
  const OpzioniCompilazione& opzioni_;
  std::optional<LettoreVoci> lettore_linea_;
  std::optional<LettoreVoci> lettore_treno_;
  const LettoreVoci* attivo_ = nullptr;  // the reader of the phase under way
  std::string in_lettura_;               // the source being opened, before its reader exists
};

// A failed reserved-field check, at the source line of the object on stretch 1 when there is one.
Segnalazione campo_riservato(const Compilazione& c, Codice codice) {
  const Tratto& primo = c.modello.tratti.at(1);
  const bool primo_valore = codice == Codice::campo_riservato_1;
  const int16_t valore = primo_valore ? primo.valore_1 : primo.valore_2;
  Segnalazione s{codice};
  s.tratto = 1;
  if (valore != 0) {
    const Origine* o = c.origini.di(1);
    if (o != nullptr) s.luogo = o->luogo;
    s.dettaglio = "sul tratto 1 c'è " + nome_oggetto(primo.oggetto) + " con " +
                  (primo_valore ? "primo valore" : "secondo valore") + " " + std::to_string(valore);
    if (o != nullptr && o->dal_compattatore) s.dettaglio += ", messo dal compattatore";
  } else {
    s.dettaglio = "la voce 85 della tabella ha già un valore";
  }
  return s;
}

}  // namespace

std::optional<std::string> testo_sorgente(std::string byte, const std::string& file,
                                          Codifica codifica, Segnalatore& errori) {
  if (codifica == Codifica::cp1252) return byte;
  const bool bom = byte.starts_with(kBom);
  if (codifica == Codifica::automatica && !bom && !cp1252::sembra_utf8(byte)) return byte;
  if (bom) byte.erase(0, kBom.size());
  if (const auto inciampo = cp1252::primo_inciampo(byte)) {
    Luogo l = luogo_del_byte(byte, file, inciampo->byte);
    if (inciampo->utf8_valido) {
      errori.segnala(Codice::carattere_fuori_codifica, std::nullopt, std::move(l),
                     "il carattere " + cp1252::codice_unicode(inciampo->carattere) + " (\"" +
                         byte.substr(inciampo->byte, inciampo->lunghezza) + "\")");
    } else {
      errori.segnala(Codice::utf8_non_valido, std::nullopt, std::move(l),
                     "byte " + std::to_string(inciampo->byte + (bom ? kBom.size() : 0)));
    }
    return std::nullopt;
  }
  if (codifica == Codifica::automatica) {
    errori.segnala_avviso(Avviso::letto_utf8, Luogo{file, 0, {}},
                          bom ? "il file comincia con il segno UTF-8 (BOM): è letto come UTF-8 e "
                                "convertito in Windows-1252"
                              : "il file è UTF-8: è letto come tale e convertito in Windows-1252",
                          {}, Gravita::nota);
  }
  return cp1252::da_utf8(byte);
}

Compilazione compila_testi(const Identita& identita, const Sorgente& linea, const Sorgente& treno,
                           const OpzioniCompilazione& opzioni, Segnalatore& errori) {
  Compilazione c;
  c.modello.elenco[voce::intestazione].testo = identita.nome;
  c.modello.elenco[voce::treno].testo = identita.treno;
  Lettura(c, errori, opzioni).esegui(linea, treno);
  if (!c.modello.dimensionato()) {
    c.fine = FineCompilazione::non_dimensionata;
    return c;
  }
  Compilazione completa = completa_modello(std::move(c.modello), std::move(c.origini), errori);
  completa.letta_linea = c.letta_linea;
  completa.letto_treno = c.letto_treno;
  return completa;
}

Compilazione completa_modello(Modello modello, Origini origini, Segnalatore& errori) {
  Compilazione c;
  c.modello = std::move(modello);
  c.origini = std::move(origini);
  const Completamento esito = completa(c.modello, errori, &c.origini);
  c.segni_di_codice = esito.segni_di_codice;
  if (esito.codice != Codice::nessuno) {
    c.fine = FineCompilazione::campo_riservato;
    c.arresto = campo_riservato(c, esito.codice);
  }
  return c;
}

void Compilazione::scrivi(TipoCompilato tipo, const Pezzi& uscita) const {
  switch (tipo) {
    case TipoCompilato::tracciato:
      scrivi_tracciato(modello.tracciato, uscita);
      break;
    case TipoCompilato::elenco:
      scrivi_elenco(modello.elenco, uscita);
      break;
    case TipoCompilato::tratti:
      scrivi_tratti(modello.tratti, uscita);
      break;
  }
}

std::string Compilazione::byte(TipoCompilato tipo) const {
  std::string out;
  scrivi(tipo, [&out](std::string_view pezzo) { out += pezzo; });
  return out;
}

}  // namespace compattatore
