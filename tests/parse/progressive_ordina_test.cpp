#include "parse/progressive_ordina.h"

#include <gtest/gtest.h>

namespace compattatore {
namespace {

struct S {
  int32_t inizio, progressiva, verso;
  bool operator==(const S&) const = default;
};

std::ostream& operator<<(std::ostream& o, const S& s) {
  return o << "(" << s.inizio << ", " << s.progressiva << ", " << s.verso << ")";
}

void metti(Voce& v, const S& s) {
  v.campo_1 = s.inizio;
  v.campo_2 = s.progressiva;
  v.campo_3 = s.verso;
}
S prendi(const Voce& v) { return {v.campo_1, v.campo_2, v.campo_3}; }

TEST(ProgressiveOrdina, TabellaDeiCasi) {
  const S zero{0, 0, 0};
  const struct {
    const char* caso;
    S tre, due, uno;  // as read: entries 81, 82, 83
    S e81, e82, e83;  // after ordering (and + 100 where verso is 1)
  } casi[] = {
      {"scenario incorporato",
       {54500, 118750, 1},
       {39100, 135150, 1},
       {0, 39050, 1},
       {54500, 118850, 1},
       {39100, 135250, 1},
       {0, 39150, 1}},
      {"solo uno", zero, zero, {0, 39050, 1}, {0, 39150, 1}, zero, zero},
      {"due e uno, uno all'origine",
       zero,
       {39100, 135150, 1},
       {0, 39050, 1},
       {39100, 135250, 1},
       {0, 39150, 1},
       zero},
      {"nessuna sezione", zero, zero, zero, zero, zero, zero},
      // All at the origin: the chainage values decide, the last rule that applies wins.
      {"origine, tre e due", {0, 10, 0}, {0, 20, 0}, zero, {0, 20, 0}, {0, 10, 0}, zero},
      {"origine, solo tre", {0, 10, 0}, zero, zero, {0, 10, 0}, zero, zero},
      {"origine, tutte", {0, 10, 0}, {0, 20, 0}, {0, 30, 0}, {0, 30, 0}, {0, 20, 0}, {0, 10, 0}},
      // By start, greatest first; ties among the other two put uno before due before tre.
      {"tre > uno > due",
       {300, 3, 0},
       {100, 2, 0},
       {200, 1, 0},
       {300, 3, 0},
       {200, 1, 0},
       {100, 2, 0}},
      {"tre > uno = due",
       {300, 3, 0},
       {100, 2, 0},
       {100, 1, 0},
       {300, 3, 0},
       {100, 1, 0},
       {100, 2, 0}},
      {"due > tre > uno",
       {200, 3, 0},
       {300, 2, 0},
       {100, 1, 0},
       {300, 2, 0},
       {200, 3, 0},
       {100, 1, 0}},
      {"due > uno = tre",
       {100, 3, 0},
       {300, 2, 0},
       {100, 1, 0},
       {300, 2, 0},
       {100, 1, 0},
       {100, 3, 0}},
      {"uno > tre > due",
       {200, 3, 0},
       {100, 2, 0},
       {300, 1, 0},
       {300, 1, 0},
       {200, 3, 0},
       {100, 2, 0}},
      {"uno > due = tre",
       {100, 3, 0},
       {100, 2, 0},
       {300, 1, 0},
       {300, 1, 0},
       {100, 2, 0},
       {100, 3, 0}},
      {"uno > due > tre", {0, 3, 0}, {100, 2, 0}, {300, 1, 0}, {300, 1, 0}, {100, 2, 0}, {0, 3, 0}},
      {"due inizi massimi uguali", {500, 3, 1}, {500, 2, 1}, {0, 1, 1}, zero, zero, zero},
      {"tre e uno pari in testa", {500, 3, 1}, {0, 2, 1}, {500, 1, 1}, zero, zero, zero},
      // Only verso 1 moves the chainage value.
      {"verso 0, 1, 2",
       {300, 3000, 2},
       {200, 2000, 1},
       {100, 1000, 0},
       {300, 3000, 2},
       {200, 2100, 1},
       {100, 1000, 0}},
  };
  for (const auto& c : casi) {
    Elenco e{};
    metti(e[81], c.tre);
    metti(e[82], c.due);
    metti(e[83], c.uno);
    progressive_ordina(e);
    EXPECT_EQ(prendi(e[81]), c.e81) << c.caso;
    EXPECT_EQ(prendi(e[82]), c.e82) << c.caso;
    EXPECT_EQ(prendi(e[83]), c.e83) << c.caso;
  }
}

}  // namespace
}  // namespace compattatore
