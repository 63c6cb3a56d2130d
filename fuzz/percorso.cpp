// The whole run in memory: the input is a line source and a train source split at the first NUL
// byte (no source holds one). Both phases as the run calls them, the code markers, the
// reserved-field checks, the check codes, and the bytes of the three compiled files.
#include "comune.h"
#include "formato/compilati.h"
#include "model/cp1252.h"
#include "model/modello.h"
#include "model/regole.h"
#include "parse/fasi.h"
#include "post/codici_gara.h"
#include "post/marcatori.h"

using namespace compattatore;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
  const std::string ingresso = fuzz::testo(dati, n);
  const size_t nul = ingresso.find('\0');
  const std::string linea = ingresso.substr(0, nul);
  const std::string treno = nul == std::string::npos ? std::string() : ingresso.substr(nul + 1);
  // The plan and its bytes cost most of a run: for fewer inputs here than in the line target.
  const OpzioniLinea opzioni = fuzz::opzioni_linea(ingresso, 4 * fuzz::kQuotaTracciato);

  Modello m;
  fuzz::Parola errori;
  m.elenco[voce::intestazione].testo = "Fuzz";
  m.elenco[voce::treno].testo = "1";
  try {
    LettoreVoci l(linea, "F_linea.txt");
    const EsitoLinea esito = fase_linea(m, errori, l, opzioni);
    const Codice dopo_linea = errori.codice_errore();
    if (dopo_linea == Codice::nessuno || dopo_linea == Codice::fuori_percorso) {
      LettoreVoci t(treno, "F_1-.txt");
      fase_treno(m, errori, t, OpzioniTreno{esito.cursore_cartelli});
    }
  } catch (const GuastoEsecuzione&) {
    errori.segnala(Codice::guasto_lettura);
  }
  if (!m.dimensionato()) return 0;  // nothing compiled

  marca_codici(m, errori);
  Tratto& primo = m.tratto(1);
  if (m.elenco[voce::intestazione].intero_1 != 0 || primo.valore_1 != 0) return 0;  // 1250
  m.elenco[voce::intestazione].intero_1 = 610;
  primo.valore_1 = 5121;
  if (m.elenco[voce::intestazione].orario != 0 || primo.valore_2 != 0) return 0;  // 1251
  m.elenco[voce::intestazione].orario = codice_gara_st(m.elenco);
  primo.valore_2 = codice_gara_og(m.elenco);

  const size_t tratti = byte_tratti(m.tratti).size();
  if (tratti != 15 * m.tratti.size()) __builtin_trap();
  byte_elenco(m.elenco);
  if (opzioni.con_tracciato) byte_tracciato(m.tracciato);
  return 0;
}
