#include "lsp/testo.h"

#include <gtest/gtest.h>

#include <sstream>

#include "lsp/documenti.h"
#include "lsp/server.h"

namespace compattatore::lsp {
namespace {

// The protocol counts UTF-16 units; the compile counts characters; the text holds UTF-8 bytes.
struct CasoColonna {
  const char* nome;
  std::string byte;  // as the file is on disk
  size_t carattere;  // a character of line 0, from 0
  int unita;         // where it begins in UTF-16 units
  size_t offset;     // where it begins in the UTF-8 text's bytes
};

TEST(TestoDocumento, ColonneInUnitaUtf16DaFileUtf8EWindows1252) {
  const CasoColonna casi[] = {
      {"ASCII", "segnale, 2050", 9, 9, 9},
      // "è" is one byte in Windows-1252, two in UTF-8, one UTF-16 unit.
      {"Windows-1252", "Citt\xE0, 5", 6, 6, 7},
      {"UTF-8", "Citt\xC3\xA0, 5", 6, 6, 7},
      {"BOM UTF-8, tolto",
       "\xEF\xBB\xBF"
       "Citt\xC3\xA0, 5",
       6, 6, 7},
      // "€" is 0x80 in Windows-1252, three bytes in UTF-8, one UTF-16 unit.
      {"euro in Windows-1252", "\x80 x", 2, 2, 4},
      // Beyond the Basic Multilingual Plane: four bytes, two UTF-16 units.
      {"emoji UTF-8",
       "a\xF0\x9F\x98\x80"
       "b",
       2, 3, 5},
      {"oltre la riga", "ab", 10, 2, 2},
  };
  for (const CasoColonna& c : casi) {
    SCOPED_TRACE(c.nome);
    const TestoDocumento t = TestoDocumento::da_byte(c.byte);
    EXPECT_EQ(t.utf16(0, c.carattere), c.unita);
    EXPECT_EQ(t.offset({0, c.unita}), c.offset);
    if (c.carattere <= caratteri(t.riga(0))) {
      EXPECT_EQ(t.colonna(0, c.unita), c.carattere);
    }
  }
}

TEST(TestoDocumento, RigheComeLeLeggeIlCompilatoreEPostiFuoriDalTestoRiportatiDentro) {
  const TestoDocumento t(std::string("a\r\nbb\rccc\nd\xF0\x9F\x98\x80"));
  ASSERT_EQ(t.righe(), 4u);
  EXPECT_EQ(t.riga(1), "bb");
  EXPECT_EQ(t.riga(2), "ccc");
  EXPECT_EQ(t.riga(9), "");
  EXPECT_EQ(t.dentro({9, 9}), (Posizione{3, 3}));
  EXPECT_EQ(t.dentro({1, 99}), (Posizione{1, 2}));
  EXPECT_EQ(t.dentro({-1, 4}), (Posizione{0, 0}));
  // A unit inside a surrogate pair is the character it belongs to.
  EXPECT_EQ(t.dentro({3, 2}), (Posizione{3, 1}));
}

TEST(TestoDocumento, ModificaIncrementaleSuPiuRighe) {
  TestoDocumento t(std::string("uno\r\ndue\r\ntre"));
  t.sostituisci({0, 1}, {2, 1}, "X");
  EXPECT_EQ(t.testo(), "uXre");
  t.sostituisci({0, 4}, {0, 4}, "\nquattro");
  EXPECT_EQ(t.riga(1), "quattro");
  t.sostituisci({7, 0}, {9, 9}, "!");  // beyond the end: at the end
  EXPECT_EQ(t.testo(), "uXre\nquattro!");
}

TEST(Indirizzi, FileAndataERitorno) {
  const auto p = percorso_da_uri("file:///tmp/una%20cartella/P_linea.txt");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->generic_string(), "/tmp/una cartella/P_linea.txt");
  EXPECT_EQ(uri_da_percorso(*p), "file:///tmp/una%20cartella/P_linea.txt");
  EXPECT_FALSE(percorso_da_uri("untitled:Senza nome-1"));
}

TEST(Cornice, MessaggiIntestazioniGuasteEFineDelFlusso) {
  std::istringstream in(
      "Content-Length: 2\r\n\r\n{}"
      "Content-Type: application/vscode-jsonrpc; charset=utf-8\r\ncontent-length:3\r\n\r\n[1]"
      "X-Altro: 1\r\n\r\n"
      "Content-Length: dieci\r\n\r\n"
      // A body without its header runs into the next header line, which still counts.
      "{\"a\":1}Content-Length: 1\r\n\r\n7"
      "Content-Length: 99999999999\r\n\r\n"
      "Content-Length: 10\r\n\r\n{}");
  const auto leggi = [&] { return leggi_messaggio(in); };
  using T = Lettura::Tipo;
  auto l = leggi();
  EXPECT_EQ(l.tipo, T::messaggio);
  EXPECT_EQ(l.corpo, "{}");
  l = leggi();
  EXPECT_EQ(l.corpo, "[1]");
  EXPECT_EQ(leggi().tipo, T::guasto);
  EXPECT_EQ(leggi().tipo, T::guasto);
  l = leggi();
  EXPECT_EQ(l.tipo, T::messaggio);
  EXPECT_EQ(l.corpo, "7");
  EXPECT_EQ(leggi().tipo, T::guasto);  // too large: passed over to the end of the stream
  EXPECT_EQ(leggi().tipo, T::fine);
  EXPECT_EQ(incornicia("{}"), "Content-Length: 2\r\n\r\n{}");
}

}  // namespace
}  // namespace compattatore::lsp
