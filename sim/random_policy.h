#pragma once
// The baseline: every slot any affordable action or the end, each equally
// likely, and any candidate of a round. It draws from a stream of its own,
// so the battle's draws stay those of the game.

#include "sim/policy.h"

namespace velkor::sim {

class RandomPolicy : public Policy {
 public:
  void PlanActions(BattleState& battle) override;
  void SelectAction(BattleState& battle, int slot, std::int32_t points) override;
  std::int32_t ChooseCandidate(const HuntState& hunt, const TFighter& player) override;
  void Reseed(std::uint32_t stream) override;

 private:
  // An action for slot among those that cost no more than points, or the end.
  std::uint8_t Draw(std::int32_t points);
  std::uint32_t state_ = 0;
};

}  // namespace velkor::sim
