#include "app/diagnostica.h"

#include <gtest/gtest.h>

#include "model/codici.h"
#include "support/supporto.h"

namespace compattatore {
namespace {

TEST(Diagnostica, FormeDelMessaggio) {
  const struct {
    Segnalazione s;
    const char* atteso;
  } casi[] = {
      {{Codice::segnale_occupato, 46400, {"T-.txt", 60, "segnale,   46400,   2"}, ""},
       "T-.txt:60: errore 16: il segnale cade su un tratto già occupato (posizione 46400 m)\n"
       "    segnale,   46400,   2\n"},
      {{Codice::stazione_non_multipla, std::nullopt, {"T-.txt", 3, "stazione, 12345"}, ""},
       "T-.txt:3: errore 8: la posizione della stazione non è multipla di 50 m\n"
       "    stazione, 12345\n"},
      {{Codice::rallentamento_senza_marcatore, 46400, {}, ""},
       "errore 13: dentro un rallentamento, o prima del primo segnale dopo la sua fine, non c'è un "
       "tratto libero per un segno di codice (tratto 928, posizione 46400 m)\n"},
      {{Codice::manca_linea, std::nullopt, {"cartella/A_linea.txt", 0, ""}, ""},
       "cartella/A_linea.txt: errore 101: il file della linea non esiste\n"},
      {{Codice::guasto_lettura,
        std::nullopt,
        {"A_linea.txt", 7, "pendenza, 1, 300"},
        "numero da 0 a 255: 400 non entra nel campo"},
       "A_linea.txt:7: errore 25: errore durante la lettura: numero da 0 a 255: 400 non entra nel "
       "campo\n    pendenza, 1, 300\n"},
      // The source line is shown in UTF-8.
      {{Codice::cartello_occupato,
        54800,
        {"L.txt", 192, "cartello_indicatore,  54800,   (1\xB0 BIVIO)"},
        ""},
       "L.txt:192: errore 6: un cartello indicatore cade su un tratto già occupato (posizione "
       "54800 m)\n"
       "    cartello_indicatore,  54800,   (1° BIVIO)\n"},
  };
  for (const auto& c : casi) EXPECT_EQ(messaggio_errore(c.s), c.atteso);
}

TEST(Diagnostica, RigaLungaTagliata) {
  const Segnalazione s{Codice::segnale_occupato, 1, {"T", 1, std::string(150, 'x')}, ""};
  const std::string m = messaggio_errore(s);
  EXPECT_NE(m.find("    " + std::string(100, 'x') + "...\n"), std::string::npos) << m;
}

}  // namespace
}  // namespace compattatore
