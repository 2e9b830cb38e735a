// A battle is a value: a copy taken mid-battle plays on by itself, touching
// neither the original nor anything outside, and ends as the original would.
#include <gtest/gtest.h>

#include <tuple>
#include <type_traits>

#include "battle/battle.h"
#include "sim/build.h"
#include "sim/random_policy.h"
#include "sim/roster_entry.h"
#include "sim/seeds.h"

namespace velkor::sim {
namespace {

// What a battle has come to, in a form gtest compares and prints.
auto Summary(const BattleState& b) {
  return std::make_tuple(b.Turn, b.RandomState, b.PlayerFighter.CurStats, b.CurrentEnemy.CurStats,
                         b.ActionPoints, b.DecoyTokens, b.GuardTokens, b.ActionPlan);
}

// The rest of battle, with the player's side drawn from policySeed's stream.
BattleOutcome PlayOn(BattleState& battle, std::uint32_t policySeed) {
  RandomPolicy policy;
  policy.Reseed(PolicyStream(policySeed, 0));
  NullBattleScreen screen;
  return FightBattle(battle, policy, screen, 10000);
}

// Nothing in it points anywhere: a copy of its bytes is a whole battle.
static_assert(std::is_trivially_copyable_v<BattleState>);

TEST(BattleCopy, CopiesPlayOnIndependentlyAndLikeAFreshBattle) {
  const TFighter fighter = MakeFighter(Build{{30, 25, 20, 25}, {1, 0, 0, 0}});
  for (const std::int32_t enemy : {0, 5, RosterSize - 1}) {
    for (const std::uint32_t seed : {1u, 77u, 4000000000u}) {
      // A fresh battle played through on one stream of the policy's draws.
      BattleState fresh;
      SetUpBattle(fresh, fighter, RosterEntry(enemy), seed);
      BattleState whole = fresh;
      const BattleOutcome expected = PlayOn(whole, seed);

      // The same battle stopped after two turns, then copied twice.
      BattleState original = fresh;
      RandomPolicy policy;
      policy.Reseed(PolicyStream(seed, 0));
      NullBattleScreen screen;
      ASSERT_EQ(FightBattle(original, policy, screen, 2), BattleOutcome::Undecided)
          << "no battle left to copy";
      const auto stopped = Summary(original);
      BattleState a = original;
      BattleState b;
      b = original;
      EXPECT_EQ(&a.Fighters(PlayerSide), &a.PlayerFighter);
      EXPECT_EQ(&b.Fighters(EnemySide), &b.CurrentEnemy);

      const BattleOutcome first = PlayOn(a, seed + 1);
      EXPECT_EQ(Summary(original), stopped) << "playing a copy changed the original";
      EXPECT_EQ(Summary(b), stopped) << "playing a copy changed another copy";
      EXPECT_EQ(PlayOn(b, seed + 1), first);
      EXPECT_EQ(Summary(b), Summary(a)) << enemy << " seed " << seed;
      EXPECT_EQ(PlayOn(original, seed + 1), first);
      EXPECT_EQ(Summary(original), Summary(a));

      // Fresh copies replay the whole battle exactly.
      BattleState again = fresh;
      EXPECT_EQ(PlayOn(again, seed), expected);
      EXPECT_EQ(Summary(again), Summary(whole));
    }
  }
}

}  // namespace
}  // namespace velkor::sim
