// What each action makes of the damage formula.
#include <gtest/gtest.h>

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

TEST(AfterDefense, FullHalfOrNone) {
  for (const std::int32_t defense : {0, 15, 25, 50}) {
    for (const std::int32_t amount : {0, 1, 20, 99}) {
      for (std::uint8_t a = actAttack; a <= actSwordPlay; ++a) {
        if (a == actGuard || a == actEvade) continue;
        const std::int32_t expected = a == actBreak || a == actSwordPlay ? amount
                                      : a == actImpact                   ? ApplyDefense(amount, defense / 2.0)
                                                                         : ApplyDefense(amount, defense);
        EXPECT_EQ(AfterDefense(a, amount, defense), expected) << int(a) << " " << amount << " " << defense;
      }
      EXPECT_EQ(AfterGuard(amount, defense), ApplyDefense(amount, defense));
    }
  }
}

// The answers kept for repeated amounts and defenses are the formula's own,
// however often asked and whatever else was asked in between.
TEST(AfterGuard, KeptAnswersAreTheFormulas) {
  for (int round = 0; round < 3; ++round) {
    for (std::int32_t amount = -5; amount < 400; amount += 3) {
      for (std::int32_t defense = -20; defense < 130; defense += 7) {
        ASSERT_EQ(AfterGuard(amount, defense), ApplyDefense(amount, defense)) << amount << " " << defense;
        ASSERT_EQ(AfterDefense(actImpact, amount, defense), ApplyDefense(amount, defense / 2.0))
            << amount << " " << defense;
      }
    }
  }
}

}  // namespace
}  // namespace velkor
