#include "battle_console/display.h"

#include "console/console_io.h"
#include "data/tables.h"
#include "platform/cp932_literal.h"
#include "sheet/sheet.h"

namespace velkor {

namespace {

constexpr std::string_view EmptyCell = "　　"_cp;

std::string Repeat(std::string_view text, std::int32_t times) {
  std::string out;
  for (std::int32_t i = 0; i < times; ++i) out += text;
  return out;
}

}  // namespace

std::string PlanRow(const BattleState& battle, int side) {
  const auto s = static_cast<std::size_t>(side);
  std::string row;
  for (std::size_t slot = 0; slot < SlotCount; ++slot) {
    const std::uint8_t action = battle.ActionPlan[s][slot];
    // Every cell is six bytes, so the rows of both sides line up.
    const std::string_view cell = action < actEnd ? ActionNames[action] : EmptyCell;
    if (battle.PhaseDone[s][slot]) {
      row += " " + std::string(cell) + " ";
    } else {
      row += "[" + std::string(cell) + "]";
    }
  }
  return row;
}

std::string TokenLine(const BattleState& battle, int side) {
  const auto s = static_cast<std::size_t>(side);
  std::string line = Repeat("<デ>"_cp, battle.DecoyTokens[s]) + Repeat("<ガ>"_cp, battle.GuardTokens[s]);
  if (!line.empty()) line += LineEnd;
  return line;
}

void ShowBattle(Console& console, const BattleState& battle) {
  const TFighter& player = battle.Fighters(PlayerSide);
  const std::string enemyPlan =
      player.HasTalent(MindEye) ? PlanRow(battle, EnemySide) + std::string(LineEnd) : "";
  const std::string playerPlan = PlanRow(battle, PlayerSide) + std::string(LineEnd);
  ShowSheet(console, battle.Fighters(EnemySide), !player.HasTalent(EvilEye),
            TokenLine(battle, EnemySide) + enemyPlan);
  ShowSheet(console, player, false, TokenLine(battle, PlayerSide) + playerPlan);
}

}  // namespace velkor
