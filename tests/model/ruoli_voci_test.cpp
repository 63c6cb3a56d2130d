// The roles of the header entries and of a station against the table of entry roles of the
// format, written out here: which entry and which field hold each value.
#include "model/ruoli_voci.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace compattatore {
namespace {

TEST(RuoliVoci, VoceECampoComeNelFormato) {
  const struct {
    RuoloVoce ruolo;
    int voce;  // the entry, or 0 for every station
    CampoVoce campo;
  } attesi[] = {
      {RuoloVoce::sezione_km_inizio, 81, CampoVoce::campo_1},
      {RuoloVoce::sezione_km_progressiva, 81, CampoVoce::campo_2},
      {RuoloVoce::sezione_km_verso, 81, CampoVoce::campo_3},
      {RuoloVoce::figure_treno_massa_frenata, 84, CampoVoce::campo_1},
      {RuoloVoce::figure_treno_lunghezza, 84, CampoVoce::campo_2},
      {RuoloVoce::figure_treno_vetture, 84, CampoVoce::campo_3},
      {RuoloVoce::intestazione_sfondo_uno, 85, CampoVoce::campo_1},
      {RuoloVoce::intestazione_sfondo_tre, 85, CampoVoce::campo_2},
      {RuoloVoce::intestazione_sfondo_due, 85, CampoVoce::campo_3},
      {RuoloVoce::intestazione_nome, 85, CampoVoce::testo},
      {RuoloVoce::intestazione_valore_fisso, 85, CampoVoce::intero_1},
      {RuoloVoce::intestazione_codice_gara_st, 85, CampoVoce::orario},
      {RuoloVoce::treno_ripetizione_inizio, 86, CampoVoce::campo_1},
      {RuoloVoce::treno_ripetizione_fine, 86, CampoVoce::campo_2},
      {RuoloVoce::treno_codici_ripetizione, 86, CampoVoce::campo_3},
      {RuoloVoce::treno_treno, 86, CampoVoce::testo},
      {RuoloVoce::treno_sabbia, 86, CampoVoce::intero_1},
      {RuoloVoce::treno_ore, 86, CampoVoce::intero_3},
      {RuoloVoce::treno_minuti, 86, CampoVoce::intero_4},
      {RuoloVoce::treno_secondi, 86, CampoVoce::intero_5},
      {RuoloVoce::stazione_posizione, 0, CampoVoce::campo_3},
      {RuoloVoce::stazione_tipo, 0, CampoVoce::tipo_voce},
      {RuoloVoce::stazione_inizio_zona, 0, CampoVoce::campo_1},
      {RuoloVoce::stazione_fine_zona, 0, CampoVoce::campo_2},
      {RuoloVoce::stazione_sosta, 0, CampoVoce::flag_2},
      {RuoloVoce::stazione_orario, 0, CampoVoce::orario},
      {RuoloVoce::stazione_nome, 0, CampoVoce::testo},
  };
  for (const auto& a : attesi) {
    const RigaRuolo& r = riga_ruolo(a.ruolo);
    SCOPED_TRACE(r.nome);
    EXPECT_EQ(r.ruolo, a.ruolo);
    EXPECT_EQ(r.campo, a.campo);
    const IntervalloVoci voci = voci_del_gruppo(r.gruppo);
    if (a.voce == 0) {
      EXPECT_EQ(voci.prima, 1);
    } else {
      EXPECT_LE(voci.prima, a.voce);
      EXPECT_GE(voci.ultima, a.voce);
    }
    EXPECT_EQ(ruolo_del_campo(r.gruppo, a.campo), &r);
  }
  // The units a view shows: a station's time of day, its stop in seconds, positions in metres.
  EXPECT_EQ(riga_ruolo(RuoloVoce::stazione_orario).unita, Unita::secondi_del_giorno);
  EXPECT_EQ(riga_ruolo(RuoloVoce::stazione_sosta).unita, Unita::secondi);
  EXPECT_EQ(riga_ruolo(RuoloVoce::figure_treno_lunghezza).unita, Unita::metri);
  // Entry 85's `orario` is a check code, not a time.
  EXPECT_EQ(riga_ruolo(RuoloVoce::intestazione_codice_gara_st).unita, Unita::nessuna);
  EXPECT_EQ(ruolo_del_campo(GruppoVoci::figure_treno, CampoVoce::orario), nullptr);
}

TEST(RuoliVoci, NumeroDalleVoci) {
  Elenco e{};
  e[85].campo_2 = 3;
  e[85].campo_3 = 2;
  e[86].intero_4 = 13;
  EXPECT_EQ(numero(e, RuoloVoce::intestazione_sfondo_tre), 3);
  EXPECT_EQ(numero(e, RuoloVoce::intestazione_sfondo_due), 2);
  EXPECT_EQ(numero(e, RuoloVoce::treno_minuti), 13);
  Voce stazione;
  stazione.flag_2 = 30;
  EXPECT_EQ(numero(stazione, RuoloVoce::stazione_sosta), 30);
  // A role shared by several entries is read from one entry, not from the table.
  EXPECT_THROW(numero(e, RuoloVoce::stazione_sosta), std::invalid_argument);
}

}  // namespace
}  // namespace compattatore
