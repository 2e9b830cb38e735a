#include "battle/battle.h"

#include "battle/battle_screen.h"
#include "battle/turn.h"
#include "console/console_io.h"
#include "console/prompts.h"
#include "data/fighter.h"

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
      return "勝利";
    case BattleOutcome::Defeat:
      return "敗北";
    case BattleOutcome::Undecided:
      break;
  }
  return "";
}

void Battle(std::int32_t enemyIndex, std::string& result) {
  ConsoleBattle console;
  Battle(console, enemyIndex, result);
}

void Battle(ConsoleBattle& console, std::int32_t enemyIndex, std::string& result) {
  BattleState& battle = console.State;
  {
    TEnemy built;
    EnemyData(enemyIndex, built);
    SetUpBattle(battle, Player, built, RandomState);
  }
  const TEnemy& enemy = battle.CurrentEnemy;

  Write(enemy.EncounterText);
  WaitEnter();
  WriteLine();

  const BattleOutcome outcome = FightBattle(battle, console.Agent, console.Screen);
  static_cast<TFighter&>(Player) = battle.PlayerFighter;
  RandomState = battle.RandomState;
  result = ResultText(outcome);

  if (outcome == BattleOutcome::Victory) {
    WriteLine(enemy.Name.Text() + "を殺した！！");
    WaitEnter();
    Write(enemy.DefeatText);
    WaitEnter();
    WriteLine();
    if (!enemy.Title.empty()) {
      TitleList += enemy.Title;
      WriteLine(GetPlayerName() + "は" + enemy.Title + "の称号を得た！");
      WaitEnter();
    }
  } else {
    WriteLine(GetPlayerName() + "は殺されてしまった！！");
    WaitEnter();
  }
}

}  // namespace velkor
