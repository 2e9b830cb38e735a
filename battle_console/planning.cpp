#include "battle_console/planning.h"

#include "battle_console/display.h"
#include "console/console_io.h"
#include "console/prompts.h"
#include "data/tables.h"
#include "platform/cp932_literal.h"
#include "sheet/sheet.h"

namespace velkor {

std::string PointsLeftText(std::int32_t n) { return "（残り"_cp + std::to_string(n) + "ポイント）"_cp; }

bool SelectAction(Console& console, BattleState& battle, int slot, std::int32_t points) {
  auto& cell = battle.ActionPlan[PlayerSide][static_cast<std::size_t>(slot)];
  std::string letters;
  std::string menu;
  for (std::size_t i = 0; i < ActionCount; ++i) {
    if (i != actEnd && ActionCosts[i] > points) continue;
    letters += ActionLetters[i];
    menu += "(" + std::string(1, ActionLetters[i]) + ")" + PadRight(ActionNames[i], ActionNameWidth) +
            std::to_string(ActionCosts[i]) + std::string(LineEnd);
  }
  if (letters == "Z") {
    cell = actEnd;
    return true;
  }
  ShowBattle(console, battle);
  console.Write(menu);
  const char key = AskChoice(
      console,
      "第"_cp + std::to_string(slot + 1) + "の行動をセットしてください。"_cp + PointsLeftText(points),
      letters);
  cell = static_cast<std::uint8_t>(ActionLetters.find(key));
  return cell == actEnd;
}

void PlanPlayerActions(Console& console, BattleState& battle) {
  auto& plan = battle.ActionPlan[PlayerSide];
  for (;;) {
    plan.fill(actEnd);
    std::int32_t points = battle.Fighters(PlayerSide).CurStats[StatSpeed];
    for (int slot = 0; slot < SlotCount; ++slot) {
      if (SelectAction(console, battle, slot, points)) break;
      // Only an offered action can be chosen, so this stays at 0 or above.
      points -= ActionCosts[plan[static_cast<std::size_t>(slot)]];
    }
    ShowBattle(console, battle);
    if (AskYesNo(console, "これでよろしいですか？"_cp + PointsLeftText(points))) return;
  }
}

}  // namespace velkor
