#include "battle_console/console_battle.h"

#include "battle/battle.h"
#include "console/console_io.h"
#include "console/prompts.h"
#include "data/fighter.h"
#include "platform/cp932_literal.h"

namespace velkor {

void Battle(Console& console, std::int32_t enemyIndex, TFighter& player, std::uint32_t& randomState,
            std::string& titleList, std::string& result) {
  ConsoleBattle at(console);
  result = ResultText(Battle(console, at, enemyIndex, player, randomState, titleList));
}

BattleOutcome Battle(Console& console, ConsoleBattle& at, std::int32_t enemyIndex, TFighter& player,
                     std::uint32_t& randomState, std::string& titleList) {
  BattleState& battle = at.State;
  TEnemy enemy;
  EnemyData(enemyIndex, enemy, [&console](std::string_view place) { ErrorBanner(console, place); });
  SetUpBattle(battle, player, enemy, randomState);

  console.Write(enemy.EncounterText);
  WaitEnter(console);
  console.WriteLine();

  const BattleOutcome outcome = FightBattle(battle, at.Agent, at.Screen);
  player = battle.PlayerFighter;
  randomState = battle.RandomState;

  if (outcome == BattleOutcome::Victory) {
    console.WriteLine(enemy.Name.Text() + "を殺した！！"_cp);
    WaitEnter(console);
    console.Write(enemy.DefeatText);
    WaitEnter(console);
    console.WriteLine();
    if (!enemy.Title.empty()) {
      titleList += enemy.Title;
      console.WriteLine(player.Name.Text() + "は"_cp + std::string(enemy.Title) + "の称号を得た！"_cp);
      WaitEnter(console);
    }
  } else {
    console.WriteLine(player.Name.Text() + "は殺されてしまった！！"_cp);
    WaitEnter(console);
  }
  return outcome;
}

}  // namespace velkor
