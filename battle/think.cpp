#include "battle/think.h"

#include <algorithm>
#include <array>
#include <limits>

#include "battle/battle_screen.h"
#include "data/tables.h"

namespace velkor {

void RateAction(BattleState& battle, int slot, std::int32_t points) {
  auto& cell = battle.ActionPlan[EnemySide][static_cast<std::size_t>(slot)];
  // Summed in 64 bits: weights are plain integers and must not overflow.
  std::array<std::int64_t, ActionCount> weights{};
  std::int64_t sum = 0;
  for (std::size_t i = 0; i < ActionCount; ++i) {
    if (ActionCosts[i] <= points) {
      weights[i] = battle.CurrentEnemy.ActionRate[i];
      // The enemy favours "崩し" in its second slot only.
      if (slot == 1 && i == actBreak) weights[i] *= 2;
    }
    sum += weights[i];
  }
  if (sum <= 0) {
    cell = actEnd;
    return;
  }
  // The source draws below a 32-bit bound; a larger sum cannot be drawn whole.
  const auto bound =
      static_cast<std::int32_t>(std::min<std::int64_t>(sum, std::numeric_limits<std::int32_t>::max()));
  const std::int64_t r = battle.Random.Int(bound);
  std::int64_t total = 0;
  for (std::size_t i = 0; i < ActionCount; ++i) {
    total += weights[i];
    if (r < total) {
      cell = static_cast<std::uint8_t>(i);
      return;
    }
  }
  cell = actEnd;
  if (battle.Screen != nullptr) battle.Screen->Error("RateAction");
}

void PlanEnemyActions(BattleState& battle) {
  std::int32_t points = battle.Fighters[EnemySide]->CurStats[StatSpeed];
  for (int slot = 0; slot < SlotCount; ++slot) {
    RateAction(battle, slot, points);
    const std::uint8_t action = battle.ActionPlan[EnemySide][static_cast<std::size_t>(slot)];
    if (action == actEnd) break;
    // Only an affordable action is drawn, so this stays at 0 or above.
    points -= ActionCosts[action];
  }
}

}  // namespace velkor
