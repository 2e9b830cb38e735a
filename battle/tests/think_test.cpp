#include "battle/think.h"

#include <gtest/gtest.h>

#include "battle/tests/battle_fixture.h"
#include "data/random_source.h"
#include "testsupport/console_script.h"

namespace velkor {
namespace {

using test::BattleScript;
using test::Oni;
using Weights = std::array<std::int32_t, ActionCount>;
using Plan = std::array<std::uint8_t, 5>;

TEnemy WithWeights(Weights weights, std::int32_t speed) {
  TEnemy e = Oni(weights);
  e.CurStats[StatSpeed] = speed;
  return e;
}

TEST(RateAction, OnlyAffordableActionsWithAPositiveWeight) {
  struct Case {
    Weights weights;
    std::int32_t points;
    std::uint8_t expected;
  };
  const Case cases[] = {
      {{0, 0, 0, 0, 0, 0, 0, 1, 0}, 50, actSwordPlay},  // cost equal to the points is affordable
      {{0, 0, 0, 0, 0, 0, 0, 1, 0}, 49, actEnd},        // its only weight is out of reach
      {{0, 0, 0, 0, 0, 0, 0, 1, 0}, 0, actEnd},
      {{1, 1, 1, 0, 1, 1, 1, 1, 0}, 4, actGuard},  // the only one within 4 points
      {{1, 1, 1, 1, 1, 1, 1, 1, 1}, -1, actEnd},   // even the end costs more than -1
      {{0, 0, 0, 0, 0, 0, 0, 0, 5}, 100, actEnd},  // the end takes part in the draw
      {{0, 0, 0, 0, 0, 0, 0, 0, 0}, 100, actEnd},
      {{-3, 0, 0, 2, 0, 0, 0, 0, 0}, 100, actEnd},  // a sum of 0 or less draws nothing
      {{-3, 0, 0, 4, 0, 0, 0, 0, 0}, 100, actWeakStrike},
  };
  for (const Case& c : cases) {
    for (std::uint32_t seed = 0; seed < 20; ++seed) {
      BattleScript script({}, seed);
      BattleState& battle = script.At.State;
      script.StartBattle(WithWeights(c.weights, 20));
      battle.ActionPlan[EnemySide][2] = actAttack;
      RateAction(battle, script.At.Screen, 2, c.points);
      EXPECT_EQ(battle.ActionPlan[EnemySide][2], c.expected) << "points " << c.points << " seed " << seed;
      EXPECT_EQ(script.Output(), "");  // the enemy chooses silently
    }
  }
}

// How often "崩し" is drawn against "攻撃" of the same weight, over many seeds.
int BreaksIn1000(int slot) {
  int breaks = 0;
  for (std::uint32_t seed = 0; seed < 1000; ++seed) {
    BattleScript script({}, seed * 2654435761u);
    BattleState& battle = script.At.State;
    script.StartBattle(WithWeights({1, 0, 0, 0, 1, 0, 0, 0, 0}, 20));
    RateAction(battle, script.At.Screen, slot, 20);
    const std::uint8_t action = battle.ActionPlan[EnemySide][static_cast<std::size_t>(slot)];
    EXPECT_TRUE(action == actBreak || action == actAttack);
    if (action == actBreak) ++breaks;
  }
  return breaks;
}

TEST(RateAction, BreakCountsDoubleInTheSecondSlotOnly) {
  for (int slot : {0, 2, 3, 4}) {
    const int breaks = BreaksIn1000(slot);
    EXPECT_GT(breaks, 440) << slot;  // one half
    EXPECT_LT(breaks, 560) << slot;
  }
  const int breaks = BreaksIn1000(1);
  EXPECT_GT(breaks, 610);  // two thirds
  EXPECT_LT(breaks, 720);
}

TEST(RateAction, DrawIsOneUniformNumberWalkedInCodeOrder) {
  // Weights 1, 2, 3 on codes 0, 2, 5: r = 0 is "攻撃", 1..2 "狙撃", 3..5 "防御".
  for (std::uint32_t seed = 0; seed < 200; ++seed) {
    std::uint32_t state = seed;
    const std::int32_t r = DrawInt(state, 6);
    BattleScript script({}, seed);
    BattleState& battle = script.At.State;
    script.StartBattle(WithWeights({1, 0, 2, 0, 0, 3, 0, 0, 0}, 20));
    RateAction(battle, script.At.Screen, 0, 20);
    const std::uint8_t expected = r == 0 ? actAttack : r <= 2 ? actSnipe : actGuard;
    EXPECT_EQ(battle.ActionPlan[EnemySide][0], expected) << seed;
    EXPECT_EQ(battle.RandomState, state);  // exactly one draw
  }
}

TEST(PlanEnemyActions, PaysFromTheCurrentSpeed) {
  struct Case {
    Weights weights;
    std::int32_t speed;
    Plan expected;
  };
  const Case cases[] = {
      // The last roster entry: a sword play, then nothing with a weight is affordable.
      {{0, 0, 0, 0, 0, 0, 0, 1, 0}, 50, {actSwordPlay, actEnd, actEnd, actEnd, actEnd}},
      {{1, 0, 0, 0, 0, 0, 0, 0, 0}, 17, {actAttack, actAttack, actAttack, actEnd, actEnd}},
      {{1, 0, 0, 0, 0, 0, 0, 0, 0}, 25, {actAttack, actAttack, actAttack, actAttack, actAttack}},
      {{1, 0, 0, 0, 0, 0, 0, 0, 0}, 100, {actAttack, actAttack, actAttack, actAttack, actAttack}},
      {{1, 1, 1, 1, 1, 1, 1, 1, 0}, 2, {actEnd, actEnd, actEnd, actEnd, actEnd}},  // below the cheapest
      {{0, 1, 0, 0, 0, 0, 0, 0, 0}, 13, {actImpact, actEnd, actEnd, actEnd, actEnd}},
      {{0, 0, 0, 1, 0, 0, 0, 0, 0}, 13, {actWeakStrike, actWeakStrike, actWeakStrike, actWeakStrike, actEnd}},
  };
  for (const Case& c : cases) {
    for (std::uint32_t seed = 0; seed < 5; ++seed) {
      BattleScript script({}, seed);
      BattleState& battle = script.At.State;
      script.StartBattle(WithWeights(c.weights, c.speed));
      PlanEnemyActions(battle, script.At.Screen);
      EXPECT_EQ(battle.ActionPlan[EnemySide], c.expected) << "speed " << c.speed << " seed " << seed;
      EXPECT_EQ(script.Output(), "");
    }
  }
}

TEST(PlanEnemyActions, AnEnemyThatMayEndEarlyKeepsTheRestEmpty) {
  for (std::uint32_t seed = 0; seed < 50; ++seed) {
    BattleScript script({}, seed);
    BattleState& battle = script.At.State;
    script.StartBattle(WithWeights({1, 0, 0, 0, 0, 0, 0, 0, 1}, 100));
    PlanEnemyActions(battle, script.At.Screen);
    const Plan& plan = battle.ActionPlan[EnemySide];
    bool ended = false;
    for (std::uint8_t a : plan) {
      if (ended) {
        EXPECT_EQ(a, actEnd);
      }
      if (a == actEnd) ended = true;
      EXPECT_TRUE(a == actAttack || a == actEnd);
    }
  }
}

}  // namespace
}  // namespace velkor
