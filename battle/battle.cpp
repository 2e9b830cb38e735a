#include "battle/battle.h"

#include "battle/battle_state.h"
#include "battle/turn.h"
#include "console/console_io.h"
#include "console/prompts.h"
#include "data/fighter.h"

namespace velkor {

void Battle(std::int32_t enemyIndex, std::string& result) {
  Fighters[PlayerSide] = &Player;
  {
    TEnemy built;
    EnemyData(enemyIndex, built);
    CurrentEnemy = built;  // a whole copy, texts included
  }
  Fighters[EnemySide] = &CurrentEnemy;

  Write(CurrentEnemy.EncounterText);
  WaitEnter();
  WriteLine();

  DecoyTokens = {0, 0};
  GuardTokens = {0, 0};

  // No turn limit: the counter only has to keep counting.
  for (std::uint64_t turn = 1;; ++turn) {
    WriteLine();
    WriteLine("******  Turn " + std::to_string(turn) + "  ******");
    WaitEnter();
    BattleTurn(result);
    if (!result.empty()) break;
  }

  if (result == "勝利") {
    WriteLine(CurrentEnemy.Name.Text() + "を殺した！！");
    WaitEnter();
    Write(CurrentEnemy.DefeatText);
    WaitEnter();
    WriteLine();
    if (!CurrentEnemy.Title.empty()) {
      TitleList += CurrentEnemy.Title;
      WriteLine(GetPlayerName() + "は" + CurrentEnemy.Title + "の称号を得た！");
      WaitEnter();
    }
  } else {
    WriteLine(GetPlayerName() + "は殺されてしまった！！");
    WaitEnter();
  }
}

}  // namespace velkor
