// The look-ahead player decides from what the game shows: its choices stay
// the same when only what the screen hides changes, and follow what 心眼
// shows.
#include <gtest/gtest.h>

#include <string>

#include "battle/battle.h"
#include "sheet/sheet.h"
#include "sim/build.h"
#include "sim/lookahead_policy.h"
#include "sim/roster_entry.h"

namespace velkor::sim {
namespace {

// What a disguise changes in a copy of the battle.
struct Disguise {
  bool Generator = false;  // the state of the battle's generator
  bool Plan = false;       // the enemy's plan in the phases still to come
  bool HP = false;         // the enemy's HP, within its condition word
};

BattleState Disguised(const BattleState& battle, const Disguise& disguise) {
  BattleState other = battle;
  if (disguise.Generator) other.RandomState = ~battle.RandomState * 2654435761u;
  if (disguise.Plan) {
    for (std::size_t slot = 0; slot < SlotCount; ++slot) {
      std::uint8_t& cell = other.ActionPlan[EnemySide][slot];
      if (!other.PhaseDone[EnemySide][slot]) cell = cell == actAttack ? actGuard : actAttack;
    }
  }
  if (disguise.HP) {
    std::int32_t& hp = other.CurrentEnemy.CurStats[StatHP];
    const std::string word = StatusWord(battle.CurrentEnemy);
    for (const std::int32_t step : {7, -7, 1, -1}) {
      EnemyNumbers moved = other.CurrentEnemy;
      moved.CurStats[StatHP] = hp + step;
      if (moved.CurStats[StatHP] > 0 && StatusWord(moved) == word) {
        hp += step;
        break;
      }
    }
  }
  return other;
}

// Plays the battle by one policy and puts each of its questions, on a
// disguised copy, to a twin that has decided the same so far.
class Twins : public PlayerAgent {
 public:
  Twins(std::uint32_t seed, const Disguise& disguise) : disguise_(disguise) {
    real_.Reseed(seed);
    twin_.Reseed(seed);
  }
  void PlanActions(BattleState& battle) override {
    BattleState other = Disguised(battle, disguise_);
    real_.PlanActions(battle);
    twin_.PlanActions(other);
    Count(battle.ActionPlan[PlayerSide] != other.ActionPlan[PlayerSide]);
  }
  void SelectAction(BattleState& battle, int slot, std::int32_t points) override {
    BattleState other = Disguised(battle, disguise_);
    real_.SelectAction(battle, slot, points);
    twin_.SelectAction(other, slot, points);
    const auto s = static_cast<std::size_t>(slot);
    Count(battle.ActionPlan[PlayerSide][s] != other.ActionPlan[PlayerSide][s]);
  }
  int Asked = 0;
  int Differed = 0;

 private:
  void Count(bool differed) {
    ++Asked;
    Differed += differed ? 1 : 0;
  }
  Disguise disguise_;
  LookaheadPolicy real_;
  LookaheadPolicy twin_;
};

struct Case {
  const char* What;
  Build Character;
};

// Each eye and each way of choosing: planned ahead, or phase by phase.
const Case Cases[] = {
    {"no talents", {{25, 25, 25, 25}, {0, 0, 0, 0}}},
    {"Quick", {{20, 30, 10, 34}, {0, 0, 1, 0}}},
    {"EvilEye", {{20, 25, 20, 23}, {1, 0, 0, 0}}},
    {"MindEye", {{20, 25, 20, 25}, {0, 1, 0, 0}}},
    {"HyperReaction", {{25, 25, 20, 22}, {0, 0, 0, 1}}},
    {"MindEye and HyperReaction", {{25, 25, 20, 12}, {0, 1, 0, 1}}},
};

// Enemies that plan ahead, choose in each phase (平崎有三), hold 心眼
// (アネモネ), or use "剣劇" (黒野宇美).
constexpr std::int32_t Enemies[] = {0, 4, 6, 8, 9, 10};

// Plays every case against every enemy under disguise; gives the questions
// asked and the answers that differed.
std::pair<int, int> PlayAll(const Disguise& disguise, bool mindEyeOnly, const Case& c) {
  int asked = 0;
  int differed = 0;
  if (mindEyeOnly && c.Character.Talents[MindEye] == 0) return {0, 0};
  for (const std::int32_t enemy : Enemies) {
    for (std::uint32_t seed = 1; seed <= 2; ++seed) {
      Twins twins(seed, disguise);
      BattleState battle;
      SetUpBattle(battle, MakeFighter(c.Character), RosterEntry(enemy), seed);
      NullBattleScreen screen;
      FightBattle(battle, twins, screen, 200);
      asked += twins.Asked;
      differed += twins.Differed;
    }
  }
  return {asked, differed};
}

TEST(Lookahead, HiddenStateDoesNotChangeItsChoices) {
  for (const Case& c : Cases) {
    Disguise hidden;
    hidden.Generator = true;
    hidden.Plan = c.Character.Talents[MindEye] == 0;
    hidden.HP = c.Character.Talents[EvilEye] == 0;
    const auto [asked, differed] = PlayAll(hidden, false, c);
    EXPECT_GT(asked, 20) << c.What;
    EXPECT_EQ(differed, 0) << c.What << ": of " << asked << " choices";
  }
}

TEST(Lookahead, MindEyeUsesTheShownPlan) {
  int asked = 0;
  int differed = 0;
  for (const Case& c : Cases) {
    Disguise shown;
    shown.Plan = true;
    const auto [a, d] = PlayAll(shown, true, c);
    asked += a;
    differed += d;
  }
  EXPECT_GT(differed, 0) << "no choice of " << asked << " followed the plan 心眼 shows";
}

}  // namespace
}  // namespace velkor::sim
