#include "battle_console/console_battle.h"

#include "battle/battle.h"
#include "console/console_io.h"
#include "console/prompts.h"
#include "data/fighter.h"
#include "data/random_source.h"

namespace velkor {

void Battle(std::int32_t enemyIndex, std::string& result) {
  ConsoleBattle console;
  result = ResultText(Battle(console, enemyIndex, Player, RandomState));
}

BattleOutcome Battle(ConsoleBattle& console, std::int32_t enemyIndex, TFighter& player,
                     std::uint32_t& randomState) {
  BattleState& battle = console.State;
  {
    TEnemy built;
    EnemyData(enemyIndex, built);
    SetUpBattle(battle, player, built, randomState);
  }
  const TEnemy& enemy = battle.CurrentEnemy;

  Write(enemy.EncounterText);
  WaitEnter();
  WriteLine();

  const BattleOutcome outcome = FightBattle(battle, console.Agent, console.Screen);
  player = battle.PlayerFighter;
  randomState = battle.RandomState;

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
  return outcome;
}

}  // namespace velkor
