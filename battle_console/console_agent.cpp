#include "battle_console/console_agent.h"

#include "battle_console/planning.h"

namespace velkor {

void ConsoleAgent::PlanActions(BattleState& battle) { PlanPlayerActions(console_, battle); }

void ConsoleAgent::SelectAction(BattleState& battle, int slot, std::int32_t points) {
  static_cast<void>(velkor::SelectAction(console_, battle, slot, points));
}

}  // namespace velkor
