#pragma once
// The player at the console: the letter menus of the planning.

#include "battle/player_agent.h"
#include "console/console_io.h"

namespace velkor {

class ConsoleAgent : public PlayerAgent {
 public:
  explicit ConsoleAgent(Console& console) : console_(console) {}
  void PlanActions(BattleState& battle) override;
  void SelectAction(BattleState& battle, int slot, std::int32_t points) override;

 private:
  Console& console_;
};

}  // namespace velkor
