#include "battle/display.h"

#include "battle/battle_state.h"
#include "console/console_io.h"
#include "data/sheet.h"
#include "data/tables.h"

namespace velkor {

namespace {

constexpr std::string_view EmptyCell = "　　";

std::string Repeat(std::string_view text, std::int32_t times) {
  std::string out;
  for (std::int32_t i = 0; i < times; ++i) out += text;
  return out;
}

}  // namespace

std::string PlanRow(int side) {
  const auto s = static_cast<std::size_t>(side);
  std::string row;
  for (std::size_t slot = 0; slot < SlotCount; ++slot) {
    const std::uint8_t action = ActionPlan[s][slot];
    // Every cell is six bytes, so the rows of both sides line up.
    const std::string_view cell = action < actEnd ? ActionNames[action] : EmptyCell;
    if (PhaseDone[s][slot]) {
      row += " " + std::string(cell) + " ";
    } else {
      row += "[" + std::string(cell) + "]";
    }
  }
  return row;
}

std::string TokenLine(int side) {
  const auto s = static_cast<std::size_t>(side);
  std::string line = Repeat("<デ>", DecoyTokens[s]) + Repeat("<ガ>", GuardTokens[s]);
  if (!line.empty()) line += LineEnd;
  return line;
}

void ShowBattle() {
  const TFighter& player = *Fighters[PlayerSide];
  const std::string enemyPlan = player.HasTalent(MindEye) ? PlanRow(EnemySide) + std::string(LineEnd) : "";
  const std::string playerPlan = PlanRow(PlayerSide) + std::string(LineEnd);
  ShowSheet(*Fighters[EnemySide], !player.HasTalent(EvilEye), TokenLine(EnemySide) + enemyPlan);
  ShowSheet(player, false, TokenLine(PlayerSide) + playerPlan);
}

}  // namespace velkor
