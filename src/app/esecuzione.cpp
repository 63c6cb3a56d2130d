#include "app/esecuzione.h"

#include "output/compilati.h"
#include "output/file_sicuro.h"
#include "parse/memorizza_dati.h"
#include "post/codici_gara.h"
#include "post/marcatori.h"

namespace compattatore {

void Esecuzione::imposta_errore(int32_t codice, std::optional<int32_t> posizione, Luogo luogo,
                                std::string dettaglio) {
  codice_errore = codice;
  if (posizione) posizione_errore = *posizione;
  if (osservatore) osservatore(Segnalazione{codice, posizione, std::move(luogo), std::move(dettaglio)});
}

void Esecuzione::sorgenti_nella_cartella() {
  sorgente_linea = cartella / (nome + "_linea.txt");
  sorgente_treno = cartella / (nome + "_" + treno + "-.txt");
}

std::filesystem::path Esecuzione::file_tracciato() const { return cartella / (nome + "_linea.dat"); }
std::filesystem::path Esecuzione::file_elenco() const {
  return cartella / (nome + "_" + treno + ".sim");
}
std::filesystem::path Esecuzione::file_tratti() const {
  return cartella / (nome + "_" + treno + ".dat");
}

RisultatoPercorso Esecuzione::memorizza_percorso(int32_t j) {
  flag_linea = j;
  codice_errore = 0;
  posizione_errore = 0;
  modello = Modello{};  // all 87 entries of elenco cleared, no stretch array yet
  memorizza_dati(*this);
  if (!modello.dimensionato()) {
    return {Esito::non_dimensionato,
            "il percorso non ha lunghezza: nessun file compilato scritto (errore " +
                std::to_string(codice_errore) + ")"};
  }
  return completa_e_scrivi();
}

RisultatoPercorso Esecuzione::completa_e_scrivi() {
  auto& elenco = modello.elenco;
  marca_codici(modello.tratti, [this](int32_t codice, int32_t posizione) {
    imposta_errore(codice, posizione);
  });

  Tratto& primo = modello.tratto(1);
  if (elenco[voce::intestazione].intero_1 != 0 || primo.valore_1 != 0) {
    return {Esito::campo_riservato, "", 1250};
  }
  elenco[voce::intestazione].intero_1 = 610;
  primo.valore_1 = 5121;
  if (elenco[voce::intestazione].orario != 0 || primo.valore_2 != 0) {
    return {Esito::campo_riservato, "", 1251};
  }
  elenco[voce::intestazione].orario = codice_gara_st(elenco);
  primo.valore_2 = codice_gara_og(elenco);

  try {
    Sostituzione file;
    if (flag_linea != 0) file.prepara(file_tracciato(), byte_tracciato(modello.tracciato));
    file.prepara(file_elenco(), byte_elenco(elenco));
    file.prepara(file_tratti(), byte_tratti(modello.tratti));
    file.conferma();
  } catch (const ErroreFile& e) {
    return {Esito::scrittura_fallita, "impossibile scrivere " + e.file.string() + ": " + e.motivo};
  }
  return {};
}

}  // namespace compattatore
