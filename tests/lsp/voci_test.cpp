#include "lsp/voci.h"

#include <gtest/gtest.h>

namespace compattatore::lsp {
namespace {

// What a hover says will be stored, for each way a value reaches the model.
TEST(VociLsp, ValoreComeSaraMemorizzato) {
  struct Caso {
    ValoreChiave valore;
    int64_t scritto;
    const char* atteso;
  };
  const Caso casi[] = {
      {ValoreChiave::segnale_P, 2050, "sul tratto 42"},          // 2050 / 50 + 1
      {ValoreChiave::segnale_P, 2075, "sul tratto 42"},          // 42.5 + 1, half to even
      {ValoreChiave::pendenza_P, 2075, "sul tratto 42"},         // 41.5, half to even
      {ValoreChiave::montagna_fine, 3000, "fino al tratto 59"},  // 3000 / 50 - 1
      {ValoreChiave::pendenza_G, -100, "0 (+ 100)"},
      {ValoreChiave::velocita_v, 1277, "255 (diviso per 5)"},
      {ValoreChiave::velocita_v, 12, "2 (diviso per 5)"},               // 2.4
      {ValoreChiave::aderenza_a, 300, "44 (gli 8 bit bassi)"},          // 300 - 256
      {ValoreChiave::rallentamento_v, 70000, "4464 (i 16 bit bassi)"},  // 70000 - 65536
      {ValoreChiave::stazione_P, 22850, "22850"},
      {ValoreChiave::rallentamento_l, 800, ""},  // not stored
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(riga(c.valore).nome);
    EXPECT_EQ(come_memorizzato(riga(c.valore), c.scritto), c.atteso);
  }
}

TEST(VociLsp, ParoleESezioniComeLeLeggeIlCompilatore) {
  const TestoDocumento t(std::string(
      "prima\r\n[generale]\r\nlunghezza percorso, 10000\r\npendenza, 10, 2\r\n[curve]\r\n"
      "pendenza,  2000,  12,5\r\n"));
  const auto a = ambiti(t, TipoSorgente::linea);
  EXPECT_EQ(a[0], std::nullopt);
  EXPECT_EQ(a[2], Ambito::linea_generale);
  EXPECT_EQ(a[5], Ambito::linea_elementi);
  // "pendenza" is not read in the general section.
  EXPECT_EQ(leggi_riga(t, 3, a[3]).chiave, nullptr);
  const RigaLetta r = leggi_riga(t, 5, a[5]);
  ASSERT_NE(r.chiave, nullptr);
  EXPECT_EQ(r.chiave->chiave, Chiave::pendenza);
  ASSERT_EQ(r.valori.size(), 2u);
  EXPECT_EQ(r.valori[1].scritto, "12");
  EXPECT_EQ(r.valori[1].inizio, 18u);
  EXPECT_TRUE(r.avanza);  // the ",5"
  EXPECT_EQ(valore_a(r, 19), 1u);
  EXPECT_EQ(valore_a(r, 13), 0u);
  EXPECT_EQ(valore_a(r, 16), std::nullopt);  // between two items
}

}  // namespace
}  // namespace compattatore::lsp
