#pragma once
// The player's side of a battle: whoever decides the player's actions. The
// console player asks a person through menus; a simulation's policy decides
// in code.

#include <cstdint>

namespace velkor {

struct BattleState;

class PlayerAgent {
 public:
  virtual ~PlayerAgent() = default;
  // The advance plan of the turn into the player's five slots (all actEnd on
  // entry): each action affordable from what the slots before it have left
  // of the current speed, and nothing after an actEnd.
  virtual void PlanActions(BattleState& battle) = 0;
  // With HyperReaction: the player's action for slot, chosen now with points
  // left; actEnd when nothing is affordable.
  virtual void SelectAction(BattleState& battle, int slot, std::int32_t points) = 0;
};

}  // namespace velkor
