#pragma once
// A battle turn as the engine plays it, seen from the state a turn starts in:
// every way it can go for a plan of the player's, each with its chance. The
// turn is played on the engine's own battle state, phase by phase; what the
// enemy draws is branched over with the chances of its weights, and what
// comes out the same way is merged. This file and its .cpp are the only
// places where the solver of the best play meets the engine's battle state
// and the look-ahead's candidates.
//
// Between turns a battle carries only the two fighters' hit points and the
// four token counts: plans, action points and the initiative are made anew
// every turn, and the other stats never change in a battle.

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "battle/battle_screen.h"
#include "battle/battle_state.h"
#include "battle/player_agent.h"
#include "data/fighter.h"
#include "enemy/enemy.h"
#include "sim/greedy_policy.h"

namespace velkor::sim {

// The token counts that a turn starts with, 0..3 each, as one index 0..255.
inline constexpr int TokenStates = 256;
struct Tokens {
  std::int32_t PlayerDecoys = 0;
  std::int32_t PlayerGuards = 0;
  std::int32_t EnemyDecoys = 0;
  std::int32_t EnemyGuards = 0;

  int Index() const { return PlayerDecoys + 4 * PlayerGuards + 16 * EnemyDecoys + 64 * EnemyGuards; }
  static Tokens At(int index) { return {index & 3, (index >> 2) & 3, (index >> 4) & 3, (index >> 6) & 3}; }
};

using Plan = std::array<std::uint8_t, SlotCount>;

// How a turn went as far as the next turn can tell: the tokens it left and,
// in order, its hits on hit points, each positive on the enemy and negative
// on the player.
struct TurnOutcome {
  double Chance = 0;
  std::uint8_t TokensAfter = 0;
  std::uint8_t Hits = 0;
  std::array<std::int16_t, 2 * SlotCount> Trace{};

  std::int32_t PlayerLoss() const;
  std::int32_t EnemyLoss() const;
};

// Where a turn that went as outcome leaves fighters that began it at
// playerHP and enemyHP: the first hit that brings a side to 0 ends the turn
// and the battle; otherwise both have lost what the hits took.
struct TurnEnd {
  BattleOutcome Result = BattleOutcome::Undecided;
  std::int32_t PlayerHP = 0;
  std::int32_t EnemyHP = 0;
};
TurnEnd Finish(const TurnOutcome& outcome, std::int32_t playerHP, std::int32_t enemyHP);

// Where a battle stands between turns, read from the engine's state.
struct TurnStart {
  std::int32_t PlayerHP = 0;
  std::int32_t EnemyHP = 0;
  int TokenIndex = 0;
};
TurnStart StateOf(const BattleState& battle);
// The plan the enemy shows (心眼) in a battle about to play its turn.
Plan EnemyPlanOf(const BattleState& battle);
// Puts plan into the player's slots.
void SetPlayerPlan(BattleState& battle, const Plan& plan);
// The player's fighter of a battle.
const TFighter& PlayerOf(const BattleState& battle);
// The roster entry that a battle's enemy was made from, by its numbers; -1
// for none.
std::int32_t RosterIndexOf(const BattleState& battle);

// One matchup's turns: a copy of the player as the battle begins and of the
// roster entry. With 超反応 the player takes a plan's slots as their phases
// come and ends its turn at a slot it can no longer pay for; an enemy with
// 超反応 draws each slot in its phase from the points it has left then.
class TurnModel {
 public:
  TurnModel(const TFighter& player, const TEnemy& enemy);

  const TFighter& Player() const { return player_; }
  const TEnemy& Enemy() const { return enemy_; }

  // Every way the turn from tokens can go under plan, merged: the chances
  // add up to 1.
  void Outcomes(int tokens, const Plan& plan, std::vector<TurnOutcome>& outcomes);
  // The one way it goes when the enemy has planned enemyPlan (or chooses so
  // phase by phase) and firstSide acts first.
  TurnOutcome Play(int tokens, const Plan& plan, const Plan& enemyPlan, int firstSide);

  // The chance that the player acts first: 0 or 1 with one Quick fighter.
  double PlayerFirst() const;
  // Whether the enemy plans ahead, so that 心眼 shows its plan.
  bool EnemyPlansAhead() const { return !enemy_.HasTalent(HyperReaction); }
  // Every plan the enemy can draw ahead of a turn, with its chance.
  void EnemyPlans(std::vector<std::pair<Plan, double>>& plans);

  // The look-ahead's candidate plans for a turn that begins with tokens.
  void CandidatePlans(int tokens, std::vector<Plan>& plans);
  // Every plan the player's speed pays for.
  void AllPlans(std::vector<Plan>& plans) const;

 private:
  // A turn under way: its chance, and what the phases so far have left
  // (laid out without gaps, so that equal states have equal bytes).
  struct Branch {
    double Chance = 0;
    std::array<std::int8_t, 4> Tokens{};  // the player's decoys, guards; the enemy's
    std::array<std::int32_t, SideCount> Points{};
    std::int32_t EnemyBudget = 0;  // what the enemy's plan has left to draw from
    std::uint8_t FirstSide = 0;
    std::array<bool, SideCount> Finished{};
    std::uint8_t Hits = 0;
    std::array<std::int16_t, 2 * SlotCount> Trace{};
  };
  static constexpr std::size_t StateBytes = 40;  // from Tokens to the end
  static bool SameState(const Branch& a, const Branch& b);
  // Plays side's slot of phase on branch; for the enemy, with action in it.
  Branch Step(const Branch& from, int side, int phase, std::uint8_t action);
  std::vector<Branch> Start(int tokens, int firstSide = -1) const;
  // Calls drawn(action, chance) for every action the enemy's draw for slot
  // can give from points, as RateAction draws it (actEnd alone when none).
  template <class F>
  void ForEachDraw(std::int32_t points, int slot, F drawn);
  // One branch for each state, with the chances of its equals added.
  void Merge(std::vector<Branch>& branches);

  // The player's side in the engine: the plan, and with 超反応 its slots.
  class PlanAgent : public PlayerAgent {
   public:
    void PlanActions(BattleState& battle) override;
    void SelectAction(BattleState& battle, int slot, std::int32_t points) override;
    Plan Chosen{};
  };

  TFighter player_;
  TEnemy enemy_;
  BattleState scratch_;
  PlanAgent agent_;
  NullBattleScreen screen_;
  GreedyPolicy greedy_;
  std::vector<Branch> now_;
  std::vector<Branch> next_;
  std::vector<std::int32_t> slots_;
};

}  // namespace velkor::sim
