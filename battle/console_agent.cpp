#include "battle/console_agent.h"

#include "battle/planning.h"
#include "console/prompts.h"

namespace velkor {

void ConsoleAgent::PlanActions(BattleState& battle) { PlanPlayerActions(battle); }

void ConsoleAgent::SelectAction(BattleState& battle, int slot, std::int32_t points) {
  static_cast<void>(velkor::SelectAction(battle, slot, points));
}

void ConsoleAgent::Pause() { WaitEnter(); }

}  // namespace velkor
