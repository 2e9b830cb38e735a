#include "battle/think.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

#include "data/tables.h"

namespace velkor {

void RateAction(BattleState& battle, BattleScreen& screen, int slot, std::int32_t points) {
  auto& cell = battle.ActionPlan[EnemySide][static_cast<std::size_t>(slot)];
  // The running totals of the weights of what points afford, in code order,
  // summed in 64 bits (weights are plain integers and must not overflow).
  // Unrolled, so that every cost is a constant and nothing branches on what
  // a random plan affords.
  const std::array<std::int32_t, ActionCount>& rate = battle.CurrentEnemy.ActionRate;
  std::array<std::int64_t, ActionCount> running{};
  std::int64_t total = 0;
  std::int64_t signs = 0;  // below 0 when some weight is
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    const auto add = [&](std::size_t i) {
      std::int64_t weight = ActionCosts[i] <= points ? rate[i] : 0;
      // The enemy favours "崩し" in its second slot only.
      if (i == actBreak && slot == 1) weight *= 2;
      signs |= weight;
      total += weight;
      running[i] = total;
    };
    (add(I), ...);
  }
  (std::make_index_sequence<ActionCount>{});
  const bool ascending = signs >= 0;  // no weight below 0, as in every roster entry
  const std::int64_t sum = total;
  if (sum <= 0) {
    cell = actEnd;
    return;
  }
  // The source draws below a 32-bit bound; a larger sum cannot be drawn whole.
  const auto bound =
      static_cast<std::int32_t>(std::min<std::int64_t>(sum, std::numeric_limits<std::int32_t>::max()));
  const std::int64_t r = battle.Draw(bound);
  if (ascending) {
    // The first total above r is past every total at or below it: counted
    // without a branch, which a random r would mispredict.
    std::size_t below = 0;
    for (const std::int64_t t : running) below += t <= r ? 1 : 0;
    cell = static_cast<std::uint8_t>(below);
    return;
  }
  for (std::size_t i = 0; i < ActionCount; ++i) {
    if (r < running[i]) {
      cell = static_cast<std::uint8_t>(i);
      return;
    }
  }
  cell = actEnd;
  InvariantBroken(battle, screen, "RateAction");
}

void PlanEnemyActions(BattleState& battle, BattleScreen& screen) {
  std::int32_t points = battle.CurrentEnemy.CurStats[StatSpeed];
  for (int slot = 0; slot < SlotCount; ++slot) {
    RateAction(battle, screen, slot, points);
    const std::uint8_t action = battle.ActionPlan[EnemySide][static_cast<std::size_t>(slot)];
    if (action == actEnd) break;
    // Only an affordable action is drawn, so this stays at 0 or above.
    points -= ActionCosts[action];
  }
}

}  // namespace velkor
