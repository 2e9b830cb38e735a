// What each action makes of the damage formula.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "battle/damage.h"
#include "data/tables.h"

namespace velkor {
namespace {

TEST(BaseAmount, PerAction) {
  struct Case {
    std::uint8_t action;
    std::int32_t attack, amount;
  };
  const Case cases[] = {
      {actAttack, 20, 20},
      {actImpact, 20, 20},
      {actSnipe, 20, 20},
      {actWeakStrike, 20, 10},
      {actWeakStrike, 21, 11},
      {actWeakStrike, -3, -1},  // truncated toward zero
      {actBreak, 20, 12},
      {actBreak, 0, 12},
      {actSwordPlay, 20, 40},
      {actSwordPlay, 2147483647, 2147483647},  // held within 32 bits
      {actSwordPlay, -2147483647 - 1, -2147483647 - 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(BaseAmount(c.action, c.attack), c.amount) << int(c.action) << " " << c.attack;
}

// 20 through each defense: "衝撃" through half of it (so at 50 it deals what
// the others deal at 25), "崩し" and "剣劇" not reduced, a guard token
// always through the full defense.
TEST(AfterDefense, FullHalfOrNone) {
  struct Case {
    std::int32_t defense;
    std::int32_t attack, impact, snipe, weakStrike, breakAction, swordPlay, guard;
  };
  const Case cases[] = {
      {0, 20, 20, 20, 20, 20, 20, 20},
      {25, 7, 12, 7, 7, 20, 20, 7},
      {50, 3, 7, 3, 3, 20, 20, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AfterDefense(actAttack, 20, c.defense), c.attack) << c.defense;
    EXPECT_EQ(AfterDefense(actImpact, 20, c.defense), c.impact) << c.defense;
    EXPECT_EQ(AfterDefense(actSnipe, 20, c.defense), c.snipe) << c.defense;
    EXPECT_EQ(AfterDefense(actWeakStrike, 20, c.defense), c.weakStrike) << c.defense;
    EXPECT_EQ(AfterDefense(actBreak, 20, c.defense), c.breakAction) << c.defense;
    EXPECT_EQ(AfterDefense(actSwordPlay, 20, c.defense), c.swordPlay) << c.defense;
    EXPECT_EQ(AfterGuard(20, c.defense), c.guard) << c.defense;
  }
}

// The battle's defenses are whole numbers and take the table by twice their
// value: the formula's own answers, within the table, at its edges and
// beyond them.
TEST(AfterGuard, WholeDefensesGiveTheFormulasAnswers) {
  std::vector<std::int32_t> defenses;
  for (std::int32_t defense = -20; defense < 130; defense += 7) defenses.push_back(defense);
  for (const std::int32_t edge : {1000, 2000}) {
    for (std::int32_t defense = edge - 2; defense <= edge + 2; ++defense) {
      defenses.push_back(defense);
      defenses.push_back(-defense);
    }
  }
  for (const std::int32_t extreme : {INT32_MIN, INT32_MIN + 1, INT32_MAX}) defenses.push_back(extreme);
  for (std::int32_t amount = -5; amount < 400; amount += 3) {
    for (const std::int32_t defense : defenses) {
      ASSERT_EQ(AfterGuard(amount, defense), ApplyDefense(amount, defense)) << amount << " " << defense;
      ASSERT_EQ(AfterDefense(actImpact, amount, defense), ApplyDefense(amount, defense / 2.0))
          << amount << " " << defense;
    }
  }
}

}  // namespace
}  // namespace velkor
