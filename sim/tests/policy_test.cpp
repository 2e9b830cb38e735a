#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "battle/battle_state.h"
#include "battle/damage.h"
#include "data/tables.h"
#include "sim/build.h"
#include "sim/greedy_policy.h"
#include "sim/random_policy.h"
#include "sim/roster_entry.h"

namespace velkor::sim {
namespace {

constexpr std::uint8_t Hits[] = {actAttack, actImpact, actSnipe, actWeakStrike, actSwordPlay};

// The most damage of any sequence of at most slots hits within points, by
// trying them all.
std::int32_t BruteBest(std::int32_t attack, std::int32_t defense, int slots, std::int32_t points) {
  if (slots == 0) return 0;
  std::int32_t best = 0;
  for (const std::uint8_t a : Hits) {
    if (ActionCosts[a] > points) continue;
    const std::int32_t damage = AfterDefense(a, BaseAmount(a, attack), defense);
    best = std::max(best, damage + BruteBest(attack, defense, slots - 1, points - ActionCosts[a]));
  }
  return best;
}

// A battle of fighter against roster entry enemy, at the start of a turn.
struct Turn {
  Turn(const Build& build, std::int32_t enemy) {
    SetUpBattle(battle, MakeFighter(build), RosterEntry(enemy), 1);
    battle.ActionPlan[PlayerSide].fill(actEnd);
  }
  BattleState battle;
};

// Each action affordable from what the slots before have left, nothing after
// the end; gives the points the plan leaves.
std::int32_t ExpectLegal(const std::array<std::uint8_t, 5>& plan, std::int32_t speed) {
  std::int32_t points = speed;
  bool ended = false;
  for (const std::uint8_t a : plan) {
    EXPECT_LE(a, actEnd);
    if (ended) {
      EXPECT_EQ(a, actEnd);
      continue;
    }
    if (a == actEnd) {
      ended = true;
      continue;
    }
    EXPECT_LE(ActionCosts[a], points);
    points -= ActionCosts[a];
  }
  return points;
}

TEST(GreedyPolicy, TheTableHoldsTheBestDamageOfAnyPlan) {
  GreedyPolicy greedy;
  for (const std::int32_t attack : {0, 7, 25, 60}) {
    for (const std::int32_t defense : {0, 15, 25, 50}) {
      for (const std::int32_t speed : {0, 3, 13, 25, 58, 100}) {
        const GreedyPolicy::Table& table = greedy.TableFor(attack, speed, defense);
        for (int slots = 0; slots <= 5; ++slots) {
          for (std::int32_t points = 0; points <= speed; points += 7) {
            EXPECT_EQ(table.Best[slots][points], BruteBest(attack, defense, slots, points))
                << attack << " " << defense << " " << speed << " " << slots << " " << points;
          }
        }
      }
    }
  }
}

TEST(GreedyPolicy, PlansTheBestDamageAndStripsDecoysFirst) {
  GreedyPolicy greedy;
  const Build build{{25, 25, 25, 25}, {}};
  for (std::int32_t enemy = 0; enemy < RosterSize; ++enemy) {
    for (const std::int32_t decoys : {0, 1, 3}) {
      Turn turn(build, enemy);
      turn.battle.DecoyTokens[EnemySide] = decoys;
      greedy.PlanActions(turn.battle);
      const auto& plan = turn.battle.ActionPlan[PlayerSide];
      ExpectLegal(plan, 25);
      const std::int32_t defense = turn.battle.CurrentEnemy.CurStats[StatDefense];
      std::int32_t damage = 0;
      int strip = decoys;
      for (const std::uint8_t a : plan) {
        if (a == actEnd) break;
        EXPECT_NE(a, actGuard);
        EXPECT_NE(a, actEvade);
        EXPECT_NE(a, actBreak);
        if (strip > 0) {
          --strip;
          EXPECT_TRUE(a == actWeakStrike || a == actSnipe || a == actSwordPlay) << int(a);
          if (a == actWeakStrike) continue;  // taken by the decoy
        }
        damage += AfterDefense(a, BaseAmount(a, 25), defense);
      }
      if (decoys == 0) {
        EXPECT_EQ(damage, BruteBest(25, defense, 5, 25)) << "enemy " << enemy;
      }
    }
  }
}

TEST(Policies, OneSlotAtATimeWithThePointsLeft) {
  GreedyPolicy greedy;
  RandomPolicy random;
  for (Policy* policy : {static_cast<Policy*>(&greedy), static_cast<Policy*>(&random)}) {
    for (std::uint32_t seed = 0; seed < 50; ++seed) {
      policy->Reseed(seed);
      Turn turn(Build{{20, 40, 10, 30}, {0, 0, 0, 1}}, 4);
      for (const std::int32_t points : {-9, 0, 2}) {
        policy->SelectAction(turn.battle, 2, points);
        EXPECT_EQ(turn.battle.ActionPlan[PlayerSide][2], actEnd) << points;
      }
      for (const std::int32_t points : {3, 9, 30, 55}) {
        policy->SelectAction(turn.battle, 1, points);
        const std::uint8_t a = turn.battle.ActionPlan[PlayerSide][1];
        EXPECT_TRUE(a == actEnd || ActionCosts[a] <= points) << points;
      }
    }
  }
}

TEST(RandomPolicy, LegalPlansThatUseEveryAction) {
  RandomPolicy random;
  std::array<int, ActionCount> seen{};
  for (const std::int32_t speed : {0, 2, 3, 17, 50, 100}) {
    for (std::uint32_t seed = 0; seed < 200; ++seed) {
      random.Reseed(seed);
      Turn turn(Build{{0, 0, 0, speed}, {}}, 0);
      random.PlanActions(turn.battle);
      ExpectLegal(turn.battle.ActionPlan[PlayerSide], speed);
      for (const std::uint8_t a : turn.battle.ActionPlan[PlayerSide]) ++seen[a];
      if (speed < 3) {
        EXPECT_EQ(turn.battle.ActionPlan[PlayerSide][0], actEnd);
      }
    }
  }
  for (int a = 0; a < ActionCount; ++a) EXPECT_GT(seen[a], 0) << a;
}

TEST(RandomPolicy, TheSameSeedPlaysTheSame) {
  RandomPolicy a, b;
  a.Reseed(7);
  b.Reseed(7);
  Turn first(Build{{0, 0, 0, 100}, {}}, 0), second(Build{{0, 0, 0, 100}, {}}, 0);
  for (int i = 0; i < 20; ++i) {
    a.PlanActions(first.battle);
    b.PlanActions(second.battle);
    EXPECT_EQ(first.battle.ActionPlan, second.battle.ActionPlan);
  }
}

TEST(GreedyPolicy, ChoosesTheCandidateItOutlastsBest) {
  GreedyPolicy greedy;
  const TFighter even = MakeFighter(Build{{25, 25, 25, 25}, {}});
  HuntState hunt;
  hunt.Candidates = {6, 0, 8, 0, 0};  // 鬼, 真山麻耶, ドラゴン
  hunt.CandidateCount = 3;
  EXPECT_EQ(greedy.ChooseCandidate(hunt, even), 1);
  hunt.Candidates = {2, 2, 0, 0, 0};  // a tie: the first offered
  hunt.CandidateCount = 2;
  EXPECT_EQ(greedy.ChooseCandidate(hunt, even), 0);
  hunt.Candidates = {11, 0, 0, 0, 0};
  hunt.CandidateCount = 1;
  EXPECT_EQ(greedy.ChooseCandidate(hunt, even), 0);
}

}  // namespace
}  // namespace velkor::sim
