#include "sim/best_policy.h"

#include <algorithm>

#include "sim/roster_entry.h"

namespace velkor::sim {

const MatchupTable* BestPolicy::TableOf(const BattleState& battle) {
  const Build build = BuildOf(PlayerOf(battle));
  const std::int32_t enemy = RosterIndexOf(battle);
  if (enemy < 0) return nullptr;
  if (!table_ || enemy != enemy_ || !(build == build_)) {
    table_ = TableStore::Shared().Get(build, enemy);
    build_ = build;
    enemy_ = enemy;
    model_.reset();
  }
  return table_.get();
}

const Plan& BestPolicy::AgainstShown(const MatchupTable& matchup, const TurnStart& now, const Plan& shown) {
  if (!model_) model_ = std::make_unique<TurnModel>(MakeFighter(build_), RosterEntry(enemy_));
  const std::vector<Plan>& plans = matchup.Plans[static_cast<std::size_t>(now.TokenIndex)];
  const double first = model_->PlayerFirst();
  // The best; among plans as good within the solve's convergence, one that
  // hurts somebody, as the table's own choices are made.
  const double near = 8 * ConvergedWithin;
  std::size_t chosen = 0;
  double best = -1;
  bool hurts = false;
  for (std::size_t p = 0; p < plans.size(); ++p) {
    double value = 0;
    bool hurt = false;
    for (const int side : {PlayerSide, EnemySide}) {
      const double odds = side == PlayerSide ? first : 1 - first;
      if (odds <= 0) continue;
      const TurnOutcome o = model_->Play(now.TokenIndex, plans[p], shown, side);
      value += odds * EndValue(matchup.Table, o, now.PlayerHP, now.EnemyHP);
      hurt = hurt || o.Hits > 0;
    }
    if (value > best + near || (value > best - near && hurt && !hurts)) {
      chosen = p;
      best = std::max(best, value);
      hurts = hurt;
    }
  }
  return plans[chosen];
}

void BestPolicy::PlanActions(BattleState& battle) {
  const MatchupTable* matchup = TableOf(battle);
  const TurnStart now = StateOf(battle);
  const SolvedTable* table = matchup != nullptr ? &matchup->Table : nullptr;
  if (table == nullptr || !table->Holds(now.PlayerHP, now.EnemyHP) ||
      (table->Choice.empty() && !table->MindEye)) {
    // Out of the solve's reach: the greedy plan stands in.
    greedy_.PlanActions(battle);
    return;
  }
  if (table->MindEye) {
    SetPlayerPlan(battle, AgainstShown(*matchup, now, EnemyPlanOf(battle)));
    return;
  }
  const std::vector<Plan>& plans = matchup->Plans[static_cast<std::size_t>(now.TokenIndex)];
  const std::uint16_t choice = table->Choice[table->Index(now.PlayerHP, now.EnemyHP, now.TokenIndex)];
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
