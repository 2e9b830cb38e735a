#pragma once
// The proven best play: each turn the plan that the solved table of the
// matchup gives for the state the turn starts in (both fighters' hit points
// and the four token counts), among the look-ahead's candidate mixes or
// every plan. What it knows is what a veteran knows: the enemy's numbers and
// weights from the roster, and its hit points from the damage printed.
// Never the enemy's plan (unless 心眼 shows it) or the generator's state.
// In a hunt it fights first the candidate it is likeliest to beat.

#include <memory>

#include "sim/best_tables.h"
#include "sim/greedy_policy.h"
#include "sim/policy.h"
#include "sim/turn_model.h"

namespace velkor::sim {

class BestPolicy : public Policy {
 public:
  void PlanActions(BattleState& battle) override;
  // 超反応 is refused at the command line (its choices in each phase are
  // out of the solve's reach); greedy's choice stands in.
  void SelectAction(BattleState& battle, int slot, std::int32_t points) override;
  std::int32_t ChooseCandidate(const HuntState& hunt, const TFighter& player) override;

 private:
  const MatchupTable* TableOf(const BattleState& battle);
  // With 心眼: the plan that fares best against the enemy's shown plan.
  const Plan& AgainstShown(const MatchupTable& matchup, const TurnStart& now, const Plan& shown);

  GreedyPolicy greedy_;
  Build build_;
  std::int32_t enemy_ = -1;
  std::shared_ptr<const MatchupTable> table_;
  std::unique_ptr<TurnModel> model_;  // the matchup's turns, for 心眼
};

}  // namespace velkor::sim
