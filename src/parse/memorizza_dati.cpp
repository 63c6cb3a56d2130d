#include "parse/memorizza_dati.h"

#include <optional>

#include "io/file_sicuro.h"
#include "io/sistema.h"
#include "model/cp1252.h"
#include "parse/fase.h"
#include "parse/fasi.h"
#include "parse/lettore.h"

namespace compattatore {
namespace fs = std::filesystem;

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

void memorizza_dati(Modello& m, Segnalatore& errori, const NomiScenario& nomi,
                    const Sorgenti& sorgenti, bool con_tracciato, Origini* origini) {
  auto dopo_lettura = [&sorgenti](const fs::path& file) {
    if (sorgenti.cancella_dopo_lettura) cancella(file);  // a source already deleted is no error
  };
  std::optional<LettoreVoci> linea;
  std::optional<LettoreVoci> treno;
  const LettoreVoci* attivo = nullptr;
  std::string in_lettura;  // the source being opened, for a fault before its reader exists
  try {
    m.elenco[voce::intestazione].testo = cp1252::da_utf8(nomi.nome());
    m.elenco[voce::treno].testo = cp1252::da_utf8(nomi.treno());

    const std::string nome_linea = sorgenti.linea.string();
    const std::string nome_treno = sorgenti.treno.string();
    if (!esiste(sorgenti.linea)) {
      errori.segnala(Codice::manca_linea, std::nullopt, Luogo{nome_linea, 0, {}});
      return;
    }
    if (stesso_file(sorgenti.linea, sorgenti.treno)) {
      errori.segnala_avviso(Avviso::stesso_file, Luogo{nome_treno, 0, {}},
                            "il file del treno è lo stesso file della linea");
    }
    auto treno_non_letto = [&]() {
      errori.segnala_avviso(Avviso::treno_non_letto, Luogo{nome_treno, 0, {}},
                            "il file del treno non è letto: la lettura si è fermata al codice " +
                                std::to_string(numero(errori.codice_errore())) +
                                " del file della linea");
    };
    in_lettura = nome_linea;
    std::optional<std::string> testo =
        testo_sorgente(leggi_file(sorgenti.linea), nome_linea, sorgenti.codifica, errori);
    if (!testo) {
      dopo_lettura(sorgenti.linea);
      treno_non_letto();
      return;
    }
    linea.emplace(std::move(*testo), nome_linea, &errori);
    attivo = &*linea;
    OpzioniLinea opzioni_linea;
    opzioni_linea.con_tracciato = con_tracciato;
    opzioni_linea.origini = origini;
    EsitoLinea esito = fase_linea(m, errori, *linea, opzioni_linea);
    dopo_lettura(sorgenti.linea);
    const Codice dopo_linea = errori.codice_errore();
    if (dopo_linea != Codice::nessuno && dopo_linea != Codice::fuori_percorso) {
      treno_non_letto();
      return;
    }

    attivo = nullptr;
    in_lettura = nome_treno;
    testo = testo_sorgente(leggi_file(sorgenti.treno), nome_treno, sorgenti.codifica, errori);
    if (!testo) {
      dopo_lettura(sorgenti.treno);
      return;
    }
    treno.emplace(std::move(*testo), nome_treno, &errori);
    attivo = &*treno;
    fase_treno(m, errori, *treno,
               OpzioniTreno{esito.cursore_cartelli, std::move(esito.progressive), origini});
    dopo_lettura(sorgenti.treno);
  } catch (const GuastoAlLuogo& e) {
    dopo_lettura(sorgenti.linea);
    dopo_lettura(sorgenti.treno);
    errori.segnala(Codice::guasto_lettura, std::nullopt, e.luogo, e.what());
  } catch (const std::exception& e) {
    dopo_lettura(sorgenti.linea);
    dopo_lettura(sorgenti.treno);
    errori.segnala(Codice::guasto_lettura, std::nullopt,
                   attivo ? attivo->luogo() : Luogo{in_lettura, 0, {}}, e.what());
  }
}

}  // namespace compattatore
