// The values of every keyword, read through their rows of the table of source fields: what the
// model will hold compared with what was written, in one place for both phases, and the slips
// that show between the values of a line (values taken from the next line, a decimal comma).
#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/cp1252.h"
#include "model/italiano.h"
#include "model/parole.h"
#include "parse/fase.h"

namespace compattatore {

Numero Fase::valore(ValoreChiave v) {
  const RigaValore& r = riga(v);
  int32_t letto = 0;
  const int letti_prima = lettore_.letti_dal_segno();
  try {
    switch (r.lettura) {
      case ModoLettura::i16:
        letto = lettore_.leggi_i16();
        break;
      case ModoLettura::u8:
        letto = lettore_.leggi_u8();
        break;
      default:
        letto = lettore_.leggi_i32();
        break;
    }
  } catch (const GuastoEsecuzione&) {
    // Not even an item left to read: the fault as it stands.
    if (lettore_.letti_dal_segno() == letti_prima) throw;
    // A number too large for the width it is read into, named as its field and as written.
    const Intervallo larghezza = r.lettura == ModoLettura::i16  ? kInteri16
                                 : r.lettura == ModoLettura::u8 ? kByte
                                                                : kInteri32;
    RigaValore come_letto = r;
    come_letto.intervallo = larghezza;
    come_letto.lettura = ModoLettura::i32;
    non_entra(Numero{0, lettore_.posto(), &come_letto, cp1252::a_utf8(lettore_.scritto())});
  }
  if (valori(r.chiave).front().valore == v) riga_letta_.clear();
  const Numero n{letto, lettore_.posto(), &r, cp1252::a_utf8(lettore_.scritto())};
  // The first value taken from a later line: said before whatever that value leads to.
  if (!prestito_detto_ && lettore_.presi_dopo() == 1 && n.posto.riga > parola_.riga) {
    const int prima = lettore_.letti_dal_segno() - 1;
    const auto restanti = static_cast<int>(valori(r.chiave).size() - riga_letta_.size());
    valori_presi(cp1252::a_utf8(riga(r.chiave).forma), prima + restanti, restanti, {});
  }
  confronta(r, n);
  riga_letta_.push_back(n);
  return n;
}

void Fase::valori_presi(const std::string& chiave, int letti, int dopo, std::vector<Nota> note) {
  prestito_detto_ = true;
  const Posto& primo = lettore_.primo_preso_dopo();
  note.insert(note.begin(), Nota{lettore_.luogo(primo), "il primo valore preso dalla riga dopo"});
  avviso(Avviso::valori_mancanti, parola_,
         "'" + chiave + "' legge " + quanti(letti, "valore", "valori") + ", la riga ne ha " +
             std::to_string(letti - dopo) + ": " +
             (dopo == letti ? std::string("tutti sono presi")
              : dopo == 1   ? std::string("l'ultimo è preso")
                            : "gli altri " + std::to_string(dopo) + " sono presi") +
             " dalla riga " + std::to_string(primo.riga),
         std::move(note));
}

bool Fase::virgola_decimale(const Posto& resto) {
  const Posto& ultimo = lettore_.posto();
  const std::string& scritto = lettore_.scritto();
  auto cifra = [](char c) { return c >= '0' && c <= '9'; };
  if (riga_letta_.empty() || ultimo.riga != resto.riga || scritto.empty() ||
      !cifra(scritto.back()) || lettore_.parola() || lettore_.reale() ||
      resto.colonna != ultimo.colonna + ultimo.lunghezza + 1) {
    return false;
  }
  const std::string_view testo = lettore_.testo_riga(resto.riga);
  const auto da = static_cast<size_t>(resto.colonna - 1);
  if (da == 0 || testo[da - 1] != ',' || !cifra(testo[da])) return false;
  size_t a = da;
  while (a < testo.size() && cifra(testo[a])) ++a;
  Posto frazione = resto;
  frazione.lunghezza = static_cast<int>(a - da);
  const std::string cifre(testo.substr(da, a - da));
  avviso(Avviso::virgola_decimale, LettoreVoci::da_a(ultimo, frazione),
         "'" + scritto + "," + cifre + "' è letto come " + scritto + " e " + cifre +
             ": la virgola separa i valori, e il resto della riga è ignorato",
         {}, con_la_virgola(riga_letta_.back(), cp1252::a_utf8(scritto + "," + cifre)));
  return true;
}

bool Fase::virgola_in_mezzo(const Posto& resto) {
  const std::string_view testo = lettore_.testo_riga(resto.riga);
  auto spazio = [](char c) { return c == ' ' || c == '\t'; };
  auto cifre = [](std::string_view t, bool segno) {
    if (segno && !t.empty() && (t[0] == '-' || t[0] == '+')) t.remove_prefix(1);
    return !t.empty() && t.find_first_not_of("0123456789") == std::string_view::npos;
  };
  // What is left is one item: the values after the slip moved one place on.
  const auto da = static_cast<size_t>(resto.colonna - 1);
  if (da > testo.size() || testo.find(',', da) != std::string_view::npos) return false;
  // A whole number and a run of digits joined by a comma without blanks, standing apart from
  // their neighbours (a comma and a blank before, a comma and a blank or the line end after):
  // groups such as "0,0,0" are values written close together, not a fraction.
  const Numero* intero = nullptr;
  size_t virgola = 0;
  for (size_t i = 0; i + 1 < riga_letta_.size(); ++i) {
    const Numero& a = riga_letta_[i];
    const Numero& b = riga_letta_[i + 1];
    if (a.posto.riga != resto.riga || b.posto.riga != resto.riga) continue;
    if (!cifre(a.scritto, true) || !cifre(b.scritto, false)) continue;
    const auto c = static_cast<size_t>(a.posto.colonna - 1 + a.posto.lunghezza);
    if (c >= testo.size() || testo[c] != ',' || b.posto.colonna != static_cast<int>(c) + 2) {
      continue;
    }
    const auto inizio = static_cast<size_t>(a.posto.colonna - 1);
    if (inizio == 0 || !spazio(testo[inizio - 1])) continue;
    size_t dopo = c + 1 + b.scritto.size();
    while (dopo < testo.size() && spazio(testo[dopo])) ++dopo;
    if (dopo < testo.size() &&
        (testo[dopo] != ',' || (dopo + 1 < testo.size() && !spazio(testo[dopo + 1])))) {
      continue;
    }
    if (intero != nullptr) return false;  // two places it could be: neither is told
    intero = &a;
    virgola = c;
  }
  if (intero == nullptr) return false;
  const Numero& frazione = *(intero + 1);
  Posto dove = intero->posto;
  dove.colonna = static_cast<int>(virgola) + 1;
  dove.lunghezza = 1;
  const std::string scritto = intero->scritto + "," + frazione.scritto;
  avviso(Avviso::virgola_decimale, dove,
         "'" + scritto + "' è letto come due valori, " + intero->scritto + " e " +
             frazione.scritto + ": la virgola separa i valori, i valori dopo '" +
             intero->riga->nome + "' slittano di un posto e l'ultimo della riga è ignorato",
         {}, con_la_virgola(*intero, scritto));
  return true;
}

void Fase::confronta(const RigaValore& r, const Numero& n) {
  const std::string scritto = cp1252::a_utf8(lettore_.scritto());
  const int64_t v = n.valore;
  if (lettore_.parola()) {
    if (r.senso != Senso::parola_nulla) {
      avviso_valore(Avviso::non_numero, n, "'" + scritto + "' non è un numero: è letto come 0", 0);
    }
    return;
  }
  if (lettore_.reale()) {
    errori_.segnala_avviso(Avviso::numero_arrotondato, lettore_.luogo(n.posto),
                           "il numero " + scritto + " è letto come " + std::to_string(v), {},
                           Gravita::avviso, valore_scritto(n, v));
  }
  // An empty item reads 0, as documented.
  if (scritto.find_first_not_of(" \t") == std::string::npos) return;
  const Intervallo& i = r.intervallo;
  if (r.lettura != ModoLettura::posizione && r.codice == Codice::nessuno) {
    if (v < i.minimo || v > i.massimo) {
      const std::optional<int64_t> m = memorizzato(r, v);
      avviso_valore(Avviso::fuori_campo, n,
                    scritto + " è fuori dal campo, " + campo(r) +
                        (m ? ": è memorizzato come " + std::to_string(*m)
                           : ": non è memorizzato come scritto") +
                        sconfina(r, 'd', "primo"),
                    m);
      return;
    }
    const int32_t passo = r.multiplo.passo;
    if (passo != 0 && r.multiplo.codice == Codice::nessuno && v % passo != 0) {
      avviso_valore(Avviso::fuori_campo, n,
                    scritto + " non è un multiplo di " + std::to_string(passo) +
                        ": non è memorizzato come scritto" + sconfina(r, 's', "secondo"),
                    std::nullopt);
      return;
    }
  }
  const std::string unita = *r.unita != '\0' ? std::string(" ") + r.unita : "";
  const std::string detto = scritto + unita;
  switch (r.senso) {
    case Senso::qualsiasi:
    case Senso::parola_nulla:
      break;
    case Senso::velocita:
    case Senso::velocita_o_nulla:
      if (v < 0 || (v == 0 && r.senso == Senso::velocita)) {
        avviso_valore(Avviso::velocita_nulla, n, "la velocità " + detto + " non è maggiore di 0",
                      v);
      } else if (v > kVelocitaMassimaTreno) {
        avviso_valore(Avviso::velocita_eccessiva, n,
                      "la velocità " + detto + " è oltre i " +
                          std::to_string(kVelocitaMassimaTreno) + " km/h di ogni treno",
                      v);
      }
      break;
    case Senso::lunghezza:
      if (v <= 0) {
        avviso_valore(Avviso::lunghezza_non_positiva, n,
                      "la lunghezza " + detto + " non è maggiore di 0", v);
      }
      break;
    case Senso::fine_o_nulla:
      if (v == 0) break;
      [[fallthrough]];
    case Senso::fine:
      if (!riga_letta_.empty() && v <= riga_letta_.front().valore) {
        avviso_valore(Avviso::zona_rovesciata, n,
                      "la fine " + detto + " non viene dopo l'inizio " +
                          std::to_string(riga_letta_.front().valore) + unita,
                      v);
      }
      break;
    case Senso::ore:
      if (v < 0) {
        avviso_valore(Avviso::orario_impossibile, n, "le ore " + scritto + " sono sotto 0", v);
      }
      break;
    case Senso::minuti:
      if (v < 0 || v > 59) {
        avviso_valore(Avviso::orario_impossibile, n, scritto + " è fuori da 0 a 59" + unita, v);
      }
      break;
    case Senso::tempo_segnale:
      // The kind is the line's second value, read before the time.
      if (v != 0 && riga_letta_.size() >= 2 && riga_letta_[1].valore != 2) {
        avviso_valore(Avviso::tempo_del_segnale, n,
                      "il tempo " + detto +
                          " non è memorizzato: solo un segnale di tipo 2 tiene un "
                          "tempo",
                      0);
      } else if (v >= 1 && v <= 100) {
        avviso_valore(Avviso::tempo_del_segnale, n,
                      "il tempo " + detto + " è memorizzato come 101: un tempo va da 101 a 255 s",
                      101);
      }
      break;
    case Senso::tipo_montagna:
      if (std::find(std::begin(kTipiMontagna), std::end(kTipiMontagna), v) ==
          std::end(kTipiMontagna)) {
        avviso_valore(Avviso::tipo_inesistente, n,
                      "il tipo " + scritto + " non esiste: i tipi sono " + elenco(kTipiMontagna),
                      v);
      }
      break;
  }
}

std::string Fase::sconfina(const RigaValore& r, char lato, const char* altro) {
  const std::string_view nome = r.nome;
  if (r.chiave != Chiave::indicatori_vmax || nome.back() != lato || nome.front() != 'v') return {};
  return ", e sconfina nella velocità del " + std::string(altro) + " lato";
}

std::string Fase::campo(const RigaValore& r) {
  const Intervallo& i = r.intervallo;
  const std::string unita = *r.unita != '\0' ? std::string(" ") + r.unita : "";
  if (i.minimo == kInteri32.minimo) return "fino a " + std::to_string(i.massimo) + unita;
  return "da " + std::to_string(i.minimo) + " a " + std::to_string(i.massimo) + unita;
}

void Fase::avviso_valore(Avviso tipo, const Numero& n, const std::string& testo,
                         std::optional<int64_t> memorizzato) {
  if (++avvisi_ > kAvvisiPerFile) return;
  ValoreScritto valore = valore_scritto(n, memorizzato);
  std::string messaggio = valore.campo + ": " + testo;
  errori_.segnala_avviso(tipo, lettore_.luogo(n.posto), std::move(messaggio), {}, Gravita::avviso,
                         std::move(valore));
}

}  // namespace compattatore
