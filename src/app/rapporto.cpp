#include "app/rapporto.h"

#include <string>

#include "app/comandi.h"

namespace compattatore {
namespace {

std::string parola(const RisultatoPercorso& r) {
  std::string t = "codice_errore " + std::to_string(r.codice_errore);
  if (r.con_posizione) t += ", posizione_errore " + std::to_string(r.posizione_errore) + " m";
  return t;
}

bool avvisi_come_errori(const RisultatoPercorso& r, const Conclusione& c) {
  return c.avvisi_come_errori && c.resoconto != nullptr && c.resoconto->avvisi() > 0 &&
         r.codice_errore == 0;
}

// The warnings after which the simulator has no train to drive, each with the reason given at
// the end; the first one received is named.
struct SenzaTreno {
  Avviso avviso;
  const char* motivo;
};
constexpr SenzaTreno kSenzaTreno[] = {
    {Avviso::stesso_file, "il file del treno è il file della linea"},
    {Avviso::parole_della_linea, "il file del treno contiene righe del file della linea"},
    {Avviso::senza_generale, "il file del treno è vuoto o non ha la riga [generale]"},
    {Avviso::senza_stazioni, "il file del treno non ha stazioni"},
};

bool scritto_o_verificato(const RisultatoPercorso& r) {
  return r.esito == Esito::scritto || r.esito == Esito::verificato;
}

}  // namespace

std::optional<std::string> senza_treno(const Conclusione& c) {
  if (c.resoconto == nullptr) return std::nullopt;
  for (const SenzaTreno& t : kSenzaTreno) {
    if (c.resoconto->ricevuto(t.avviso)) return t.motivo;
  }
  return std::nullopt;
}

std::string fine_senza_treno(const RisultatoPercorso& r, const Conclusione& c) {
  if (r.codice_errore != 0 || !scritto_o_verificato(r)) return "";
  const auto motivo = senza_treno(c);
  if (!motivo) return "";
  return std::string(r.esito == Esito::scritto ? "file compilati scritti"
                                               : "verifica finita (nessun file scritto)") +
         ", ma lo scenario non ha un treno da guidare: " + *motivo;
}

int stato_uscita(const RisultatoPercorso& r, const Conclusione& c) {
  switch (r.esito) {
    case Esito::scritto:
    case Esito::verificato:
      if (r.codice_errore != 0 || avvisi_come_errori(r, c) || senza_treno(c)) {
        return kUscitaConCodice;
      }
      return kUscitaOk;
    case Esito::campo_riservato:
    case Esito::non_dimensionato:
    case Esito::scrittura_fallita:
      return kUscitaFallita;
  }
  return kUscitaFallita;
}

int concludi(const RisultatoPercorso& r, std::ostream& err, const Conclusione& c) {
  switch (r.esito) {
    case Esito::scritto:
      if (r.codice_errore != 0) {
        err << "compattatore: file compilati scritti con " << parola(r) << "\n";
      }
      break;
    case Esito::verificato:
      if (r.codice_errore != 0) {
        err << "compattatore: verifica finita con " << parola(r) << " (nessun file scritto)\n";
      }
      break;
    case Esito::campo_riservato:
      err << " Errore n. " << numero(r.codice) << "\n";
      err << "compattatore: " << riga_codice(r.codice).significato << "; "
          << riga_codice(r.codice).rimedio << "\n";
      break;
    case Esito::non_dimensionato:
      err << " Errore n. " << r.codice_errore << "\n";
      err << "compattatore: " << r.messaggio << "\n";
      break;
    case Esito::scrittura_fallita:
      err << "compattatore: " << visibile(r.messaggio) << "\n";
      break;
  }
  if (const std::string t = fine_senza_treno(r, c); !t.empty())
    err << "compattatore: " << t << "\n";
  if (c.resoconto != nullptr) {
    if (const std::string n = c.resoconto->conteggio(); !n.empty()) {
      err << "compattatore: " << n << "\n";
    }
  }
  if (avvisi_come_errori(r, c)) {
    err << "compattatore: gli avvisi contano come errori (--avvisi-come-errori)\n";
  }
  return stato_uscita(r, c);
}

std::function<void()> avviso_attesa(std::ostream& err, const std::filesystem::path& cartella) {
  return [&err, cartella] {
    err << "compattatore: un'altra esecuzione scrive gli stessi file in '"
        << visibile(cartella.string()) << "': attendo che finisca\n"
        << std::flush;
  };
}

}  // namespace compattatore
