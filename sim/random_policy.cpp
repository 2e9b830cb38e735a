#include "sim/random_policy.h"

#include <array>

#include "battle/battle_state.h"
#include "data/random_source.h"
#include "data/tables.h"

namespace velkor::sim {

std::uint8_t RandomPolicy::Draw(std::int32_t points) {
  std::array<std::uint8_t, ActionCount> offered{};
  std::int32_t count = 0;
  for (std::uint8_t a = 0; a < actEnd; ++a)
    if (ActionCosts[a] <= points) offered[static_cast<std::size_t>(count++)] = a;
  offered[static_cast<std::size_t>(count++)] = actEnd;
  return offered[static_cast<std::size_t>(DrawInt(state_, count))];
}

void RandomPolicy::PlanActions(BattleState& battle) {
  auto& plan = battle.ActionPlan[PlayerSide];
  std::int32_t points = battle.Fighters(PlayerSide).CurStats[StatSpeed];
  for (std::size_t slot = 0; slot < SlotCount; ++slot) {
    plan[slot] = Draw(points);
    if (plan[slot] == actEnd) return;
    points -= ActionCosts[plan[slot]];
  }
}

void RandomPolicy::SelectAction(BattleState& battle, int slot, std::int32_t points) {
  battle.ActionPlan[PlayerSide][static_cast<std::size_t>(slot)] = Draw(points);
}

std::int32_t RandomPolicy::ChooseCandidate(const HuntState& hunt, const TFighter& player) {
  static_cast<void>(player);
  return DrawInt(state_, hunt.CandidateCount);
}

void RandomPolicy::Reseed(std::uint32_t stream) { state_ = stream; }

}  // namespace velkor::sim
