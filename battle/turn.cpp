#include "battle/turn.h"

#include <cstdint>

#include "battle/battle_state.h"
#include "battle/display.h"
#include "battle/planning.h"
#include "battle/think.h"
#include "data/random_source.h"
#include "data/tables.h"

namespace velkor {

void DecideInitiative(TurnContext& turn) {
  const bool playerQuick = Fighters[PlayerSide]->HasTalent(Quick);
  const bool enemyQuick = Fighters[EnemySide]->HasTalent(Quick);
  if (playerQuick != enemyQuick) {
    turn.FirstSide = playerQuick ? PlayerSide : EnemySide;
  } else {
    std::int64_t a = Fighters[PlayerSide]->CurStats[StatSpeed];
    std::int64_t b = Fighters[EnemySide]->CurStats[StatSpeed];
    if (a == 0 && b == 0) a = b = 1;
    // The source draws below a 32-bit bound; halving keeps the odds.
    while (a + b > INT32_MAX) {
      a /= 2;
      b /= 2;
    }
    const std::int32_t r = RandomInt(static_cast<std::int32_t>(a + b));
    turn.FirstSide = r < a ? PlayerSide : EnemySide;
  }
  turn.SecondSide = 1 - turn.FirstSide;
}

void BattleTurn(std::string& result) {
  for (auto& plan : ActionPlan) plan.fill(actEnd);
  for (auto& done : PhaseDone) done.fill(false);

  // The enemy plans first, so its plan is there while the player plans.
  if (!Fighters[EnemySide]->HasTalent(HyperReaction)) PlanEnemyActions();
  if (!Fighters[PlayerSide]->HasTalent(HyperReaction)) PlanPlayerActions();

  TurnContext turn(result);
  DecideInitiative(turn);

  ActionPoints[PlayerSide] = Fighters[PlayerSide]->CurStats[StatSpeed];
  ActionPoints[EnemySide] = Fighters[EnemySide]->CurStats[StatSpeed];
  turn.SideFinished = {false, false};
  result.clear();

  const auto over = [&turn] {
    return !turn.Result.empty() || (turn.SideFinished[0] && turn.SideFinished[1]);
  };
  for (turn.Phase = 0; turn.Phase < SlotCount; ++turn.Phase) {
    drivePhase(turn, turn.FirstSide, turn.SecondSide);
    if (over()) break;
    drivePhase(turn, turn.SecondSide, turn.FirstSide);
    if (over()) break;
  }

  ShowBattle();
}

}  // namespace velkor
