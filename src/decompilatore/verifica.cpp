#include "decompilatore/verifica.h"

#include <optional>

#include "compilazione/compila.h"
#include "decompilatore/differenze.h"
#include "model/oggetti.h"

namespace compattatore {
namespace {

constexpr int kGiriMarcatori = 16;

// The error sink of a compile in memory: keeps every code.
class Raccolta : public Segnalatore {
 public:
  void ricevi(Segnalazione s) override {
    codice_ = s.codice;
    segnalazioni.push_back(std::move(s));
  }
  Codice codice_errore() const override { return codice_; }
  std::vector<Segnalazione> segnalazioni;

 private:
  Codice codice_ = Codice::nessuno;
};

// A compile of the rebuilt sources, and why it gave no complete model when it did not.
struct Prova {
  Modello m;
  std::vector<Segnalazione> codici;
  std::optional<Problema> mancato;
};

Prova compila(const Ricostruzione& r, const std::vector<std::string>& linea,
              const std::vector<std::string>& treno) {
  const Elenco& identita = r.modello().elenco;
  Raccolta errori;
  OpzioniCompilazione opzioni;
  opzioni.con_tracciato = r.con_tracciato();
  opzioni.codifica = Codifica::cp1252;  // the rebuilt sources are Windows-1252 bytes
  Compilazione c =
      compila_testi(Identita{identita[voce::intestazione].testo, identita[voce::treno].testo},
                    Sorgente::testo("sorgente della linea", byte_sorgente(linea)),
                    Sorgente::testo("sorgente del treno", byte_sorgente(treno)), opzioni, errori);
  Prova p;
  if (c.fine == FineCompilazione::non_dimensionata) {
    p.mancato = Problema{TipoProblema::senza_lunghezza};
  } else if (c.fine == FineCompilazione::campo_riservato) {
    const Codice codice = c.arresto->codice;
    p.mancato = Problema{TipoProblema::campo_riservato,
                         0,
                         {},
                         {int64_t{numero(codice)}, riga_codice(codice).significato}};
  }
  p.m = std::move(c.modello);
  p.codici = std::move(errori.segnalazioni);
  return p;
}

// Marks as lines the code points of the markers' value that the compile `p` left without one.
bool scrivi_marcatori(const Ricostruzione& r, const Prova& p, SorgenteTreno& treno) {
  bool aggiunti = false;
  for (int64_t s : treno.marcatori) {
    if (p.m.tratti[static_cast<size_t>(s)].oggetto == oggetto::cambio_codice) continue;
    if (treno.marcatori_scritti.count(s) || s > r.ultimo() - 2) continue;
    treno.marcatori_scritti.insert(s);
    aggiunti = true;
  }
  return aggiunti;
}

}  // namespace

SorgentiVerificati verifica_sorgenti(Ricostruzione& r, const SorgenteLinea& linea,
                                     SorgenteTreno& treno) {
  r.problemi().ordina();
  SorgentiVerificati out;
  Prova p;
  for (int giro = 0; giro < kGiriMarcatori; ++giro) {
    out.linea = linea.righe();
    out.treno = treno.righe();
    p = compila(r, out.linea, out.treno);
    if (p.mancato || p.m.tratti.size() != r.modello().tratti.size()) break;
    if (!scrivi_marcatori(r, p, treno)) break;
  }
  if (p.mancato) {
    r.problemi().aggiungi(std::move(*p.mancato));
    for (Segnalazione& s : p.codici) {
      r.problemi().aggiungi({TipoProblema::codice_ricompilando, 0, {}, {}, {}, std::move(s)});
    }
    return out;
  }
  const size_t prima = r.problemi().size();
  differenze(r, p.m);
  const bool uguali = r.problemi().size() == prima;
  for (Segnalazione& s : p.codici) {
    Problema c{TipoProblema::codice_ricompilando, 0, {}, {}, {}, std::move(s)};
    if (uguali) {
      c.tipo = TipoProblema::codice_come_nei_file;
      out.avvisi.push_back(std::move(c));
    } else {
      r.problemi().aggiungi(std::move(c));
    }
  }
  return out;
}

}  // namespace compattatore
