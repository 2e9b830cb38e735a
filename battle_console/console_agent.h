#pragma once
// The player at the console: the letter menus of the planning.

#include "battle/player_agent.h"

namespace velkor {

class ConsoleAgent : public PlayerAgent {
 public:
  void PlanActions(BattleState& battle) override;
  void SelectAction(BattleState& battle, int slot, std::int32_t points) override;
};

}  // namespace velkor
