#include "battle/think.h"

#include <algorithm>
#include <limits>

#include "data/tables.h"

namespace velkor {

void RateAction(BattleState& battle, BattleScreen& screen, int slot, std::int32_t points) {
  auto& cell = battle.ActionPlan[EnemySide][static_cast<std::size_t>(slot)];
  const WeightTable::Totals& totals = battle.EnemyWeights.For(battle.CurrentEnemy.ActionRate, points, slot);
  const std::int64_t sum = totals.Running[ActionCount - 1];
  if (sum <= 0) {
    cell = actEnd;
    return;
  }
  // The source draws below a 32-bit bound; a larger sum cannot be drawn whole.
  const auto bound =
      static_cast<std::int32_t>(std::min<std::int64_t>(sum, std::numeric_limits<std::int32_t>::max()));
  const std::int64_t r = battle.Draw(bound);
  if (totals.Ascending) {
    // The first total above r is past every total at or below it: counted
    // without a branch, which a random r would mispredict.
    std::size_t below = 0;
    for (const std::int64_t total : totals.Running) below += total <= r ? 1 : 0;
    cell = static_cast<std::uint8_t>(below);
    return;
  }
  for (std::size_t i = 0; i < ActionCount; ++i) {
    if (r < totals.Running[i]) {
      cell = static_cast<std::uint8_t>(i);
      return;
    }
  }
  cell = actEnd;
  screen.Error("RateAction");
}

void PlanEnemyActions(BattleState& battle, BattleScreen& screen) {
  std::int32_t points = battle.Fighters[EnemySide]->CurStats[StatSpeed];
  for (int slot = 0; slot < SlotCount; ++slot) {
    RateAction(battle, screen, slot, points);
    const std::uint8_t action = battle.ActionPlan[EnemySide][static_cast<std::size_t>(slot)];
    if (action == actEnd) break;
    // Only an affordable action is drawn, so this stays at 0 or above.
    points -= ActionCosts[action];
  }
}

}  // namespace velkor
