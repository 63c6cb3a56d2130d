#include "lsp/voci.h"

#include "model/cp1252.h"
#include "model/regole.h"
#include "parse/lettore.h"

namespace compattatore::lsp {
namespace {

// A UTF-8 line as the parser reads it: one Windows-1252 byte per character, '?' for a character
// the code page cannot hold, so that columns stay the same.
std::string byte_della_riga(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    const size_t n = cp1252::sequenza_utf8(utf8, i, cp);
    if (n == 0) {
      out += '?';
      ++i;
      continue;
    }
    try {
      out += cp1252::da_utf8(utf8.substr(i, n));
    } catch (const cp1252::NonRappresentabile&) {
      out += '?';
    }
    i += n;
  }
  return out;
}

Campo campo(const std::string& byte, const Posto& p) {
  Campo c;
  c.inizio = static_cast<size_t>(p.colonna > 0 ? p.colonna - 1 : 0);
  c.fine = std::min(byte.size(), c.inizio + static_cast<size_t>(p.lunghezza));
  if (c.fine < c.inizio) c.fine = c.inizio;
  c.scritto = cp1252::a_utf8(std::string_view(byte).substr(c.inizio, c.fine - c.inizio));
  return c;
}

const RigaChiave* intestazione_di(std::string_view bassa, TipoSorgente tipo) {
  for (const RigaChiave& r : kRigheChiavi) {
    if (r.genere != Genere::intestazione ||
        (r.ambito == Ambito::treno) != (tipo == TipoSorgente::treno)) {
      continue;
    }
    if (bassa == r.forma) return &r;
  }
  return nullptr;
}

bool e_riga_generale(std::string_view utf8) {
  const std::string bassa = cp1252::minuscole(byte_della_riga(utf8));
  return bassa.find("[generale]") != std::string::npos;
}

// The first visible character of a line is '['.
bool apre_intestazione(std::string_view utf8) {
  const size_t i = utf8.find_first_not_of(" \t");
  return i != std::string_view::npos && utf8[i] == '[';
}

}  // namespace

TipoSorgente tipo_da_nome(std::string_view nome_file) {
  const std::string bassa = cp1252::minuscole(nome_file);
  return bassa.ends_with("_linea.txt") ? TipoSorgente::linea : TipoSorgente::treno;
}

std::vector<std::optional<Ambito>> ambiti(const TestoDocumento& testo, TipoSorgente tipo,
                                          size_t fino) {
  std::vector<std::optional<Ambito>> a(std::min(testo.righe(), fino == SIZE_MAX ? fino : fino + 1));
  std::optional<Ambito> corrente;
  for (size_t r = 0; r < a.size(); ++r) {
    const std::string_view riga = testo.riga(r);
    if (!corrente) {
      if (e_riga_generale(riga)) {
        corrente = tipo == TipoSorgente::linea ? Ambito::linea_generale : Ambito::treno;
      }
    } else if (*corrente == Ambito::linea_generale && apre_intestazione(riga)) {
      corrente = Ambito::linea_elementi;
    }
    a[r] = corrente;
  }
  return a;
}

std::optional<Ambito> ambito_della_riga(const TestoDocumento& testo, TipoSorgente tipo, size_t r) {
  const auto a = ambiti(testo, tipo, r);
  return r < a.size() ? a[r] : std::nullopt;
}

RigaLetta leggi_riga(const TestoDocumento& testo, size_t r, std::optional<Ambito> ambito) {
  RigaLetta letta;
  letta.ambito = ambito;
  const std::string byte = byte_della_riga(testo.riga(r));
  if (byte.find_first_not_of(" \t") == std::string::npos) return letta;
  LettoreVoci lettore(byte, "");
  const std::string prima = lettore.leggi_testo();
  letta.parola = campo(byte, lettore.posto());
  const std::string bassa = cp1252::minuscole(prima);
  if (!bassa.empty() && bassa.front() == '[') {
    letta.intestazione = true;
    const TipoSorgente tipo = ambito == Ambito::treno ? TipoSorgente::treno : TipoSorgente::linea;
    letta.chiave = intestazione_di(bassa, tipo);
    return letta;
  }
  if (!ambito) return letta;
  for (const RigaChiave* c : in_ordine_di_prova(*ambito)) {
    if (corrisponde(*c, prima, bassa)) {
      letta.chiave = c;
      break;
    }
  }
  if (letta.chiave == nullptr) return letta;
  for (const RigaValore& v : valori(letta.chiave->chiave)) {
    if (lettore.a_fine()) break;
    std::optional<int64_t> numero;
    try {
      if (v.lettura == ModoLettura::testo) {
        lettore.leggi_testo();
      } else {
        numero = lettore.leggi_i32();
      }
    } catch (const GuastoEsecuzione&) {
      // A number too large for any field: the item is still where it is.
    }
    letta.valori.push_back(campo(byte, lettore.posto()));
    letta.numeri.push_back(numero);
  }
  letta.avanza = lettore.resto_riga().has_value();
  return letta;
}

std::optional<size_t> valore_a(const RigaLetta& riga, size_t colonna) {
  for (size_t i = 0; i < riga.valori.size(); ++i) {
    const Campo& c = riga.valori[i];
    if (colonna >= c.inizio && colonna <= c.fine) return i;  // on it, or just after it
  }
  return std::nullopt;
}

std::string come_memorizzato(const RigaValore& v, int64_t n) {
  switch (v.memoria) {
    case Memoria::come_scritto:
      return std::to_string(n);
    case Memoria::bassi_8:
      return std::to_string(bassi<uint8_t>(n)) + " (gli 8 bit bassi)";
    case Memoria::bassi_16:
      return std::to_string(bassi<int16_t>(n)) + " (i 16 bit bassi)";
    case Memoria::quinti:
      return std::to_string(arrotonda(static_cast<double>(n) / 5.0)) + " (diviso per 5)";
    case Memoria::piu_cento:
      return std::to_string(n + 100) + " (+ 100)";
    case Memoria::tratto_piu_uno:
      return "sul tratto " + std::to_string(tratto_di(static_cast<int32_t>(n)));
    case Memoria::tratto:
      return "sul tratto " + std::to_string(cinquantesimi(static_cast<double>(n)));
    case Memoria::tratto_meno_uno:
      return "fino al tratto " + std::to_string(cinquantesimi(static_cast<double>(n)) - 1);
    case Memoria::composto:
    case Memoria::non_memorizzato:
    case Memoria::testo:
      break;
  }
  return "";
}

}  // namespace compattatore::lsp
