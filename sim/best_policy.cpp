#include "sim/best_policy.h"

#include "sim/turn_model.h"

namespace velkor::sim {

const MatchupTable* BestPolicy::TableOf(const BattleState& battle) {
  const Build build = BuildOf(PlayerOf(battle));
  const std::int32_t enemy = RosterIndexOf(battle);
  if (enemy < 0) return nullptr;
  if (!table_ || enemy != enemy_ || !(build == build_)) {
    table_ = TableStore::Shared().Get(build, enemy);
    build_ = build;
    enemy_ = enemy;
  }
  return table_.get();
}

void BestPolicy::PlanActions(BattleState& battle) {
  const MatchupTable* matchup = TableOf(battle);
  const TurnStart now = StateOf(battle);
  if (matchup == nullptr || !matchup->Table.Holds(now.PlayerHP, now.EnemyHP) ||
      matchup->Table.Choice.empty()) {
    greedy_.PlanActions(battle);
    return;
  }
  const std::vector<Plan>& plans = matchup->Plans[static_cast<std::size_t>(now.TokenIndex)];
  const std::uint16_t choice =
      matchup->Table.Choice[matchup->Table.Index(now.PlayerHP, now.EnemyHP, now.TokenIndex)];
  SetPlayerPlan(battle, plans[choice < plans.size() ? choice : 0]);
}

void BestPolicy::SelectAction(BattleState& battle, int slot, std::int32_t points) {
  greedy_.SelectAction(battle, slot, points);
}

std::int32_t BestPolicy::ChooseCandidate(const HuntState& hunt, const TFighter& player) {
  const Build build = BuildOf(player);
  std::int32_t chosen = 0;
  double best = -1;
  for (std::int32_t i = 0; i < hunt.CandidateCount; ++i) {
    const std::int32_t enemy = hunt.Candidates[static_cast<std::size_t>(i)];
    const double value = TableStore::Shared().Get(build, enemy)->Table.StartValue;
    if (value > best) {
      best = value;
      chosen = i;
    }
  }
  return chosen;
}

}  // namespace velkor::sim
