// The Vim syntax file of the sources (editor/vim/syntax/compattatore.vim) highlights the
// keywords and headers of the table of source fields, every spelling, with the table's letter
// case: its block of keywords is the one the table gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/cp1252.h"
#include "model/parole.h"
#include "support/supporto.h"

namespace compattatore {
namespace {

// The Vim lines of the rows read in the line source (`linea`) or in the train source: one match
// per spelling, the keyword as the first item of its line, followed by a separator or the line end.
std::string righe_vim(bool linea) {
  std::string s;
  std::vector<std::string> viste;
  for (const RigaChiave& r : kRigheChiavi) {
    if ((r.ambito == Ambito::treno) == linea) continue;
    std::vector<std::string> tutte = forme(r);
    if (r.altra_forma != nullptr) tutte.emplace_back(r.altra_forma);
    for (const std::string& f : tutte) {
      const std::string chiave = (r.genere == Genere::intestazione ? "S" : "P") + f;
      if (std::find(viste.begin(), viste.end(), chiave) != viste.end()) continue;
      viste.push_back(chiave);
      s += "  syntax match ";
      s += r.genere == Genere::intestazione ? "compattatoreSezione" : "compattatoreParola";
      s += r.maiuscole == Maiuscole::contano ? " /\\C" : " /\\c";
      s += "^\\s*\\zs\\V" + cp1252::a_utf8(f) + "\\m\\ze\\s*\\%(,\\|$\\)/\n";
    }
  }
  return s;
}

std::string blocco_vim() {
  return "if b:compattatore_sorgente ==# 'linea'\n" + righe_vim(true) + "else\n" +
         righe_vim(false) + "endif\n";
}

TEST(SintassiVim, HaLeParoleDellaTabella) {
  const std::string sintassi =
      prova::leggi(COMPATTATORE_SORGENTI "/editor/vim/syntax/compattatore.vim");
  EXPECT_NE(sintassi.find(blocco_vim()), std::string::npos)
      << "editor/vim/syntax/compattatore.vim non ha questo blocco di parole chiave:\n"
      << blocco_vim();
}

}  // namespace
}  // namespace compattatore
