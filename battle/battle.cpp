#include "battle/battle.h"

#include "battle/battle_screen.h"
#include "battle/turn.h"
#include "platform/cp932_literal.h"

namespace velkor {

BattleOutcome FightBattle(BattleState& battle, PlayerAgent& agent, BattleScreen& screen,
                          std::uint64_t turnLimit) {
  BattleOutcome result = BattleOutcome::Undecided;
  while (battle.Turn < turnLimit) {
    ++battle.Turn;
    Tell(screen, [&](BattleScreen& shown) { shown.TurnBegins(battle.Turn); });
    BattleTurn(battle, agent, screen, result);
    if (result != BattleOutcome::Undecided) break;
  }
  return result;
}

std::string_view ResultText(BattleOutcome outcome) {
  switch (outcome) {
    case BattleOutcome::Victory:
      return "勝利"_cp;
    case BattleOutcome::Defeat:
      return "敗北"_cp;
    case BattleOutcome::Undecided:
      break;
  }
  return "";
}

}  // namespace velkor
