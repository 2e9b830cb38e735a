#include "battle/turn.h"

#include <cstdint>

#include "battle/think.h"
#include "data/tables.h"

namespace velkor {

void DecideInitiative(BattleState& battle, TurnContext& turn) {
  const bool playerQuick = battle.Fighters(PlayerSide).HasTalent(Quick);
  const bool enemyQuick = battle.Fighters(EnemySide).HasTalent(Quick);
  if (playerQuick != enemyQuick) {
    turn.FirstSide = playerQuick ? PlayerSide : EnemySide;
  } else {
    std::int64_t a = battle.Fighters(PlayerSide).CurStats[StatSpeed];
    std::int64_t b = battle.Fighters(EnemySide).CurStats[StatSpeed];
    if (a == 0 && b == 0) a = b = 1;
    // The source draws below a 32-bit bound; halving keeps the odds.
    while (a + b > INT32_MAX) {
      a /= 2;
      b /= 2;
    }
    const std::int32_t r = battle.Draw(static_cast<std::int32_t>(a + b));
    turn.FirstSide = r < a ? PlayerSide : EnemySide;
  }
  turn.SecondSide = 1 - turn.FirstSide;
}

void BattleTurn(BattleState& battle, PlayerAgent& agent, BattleScreen& screen, BattleOutcome& result) {
  for (auto& plan : battle.ActionPlan) plan.fill(actEnd);
  for (auto& done : battle.PhaseDone) done.fill(false);

  // The enemy plans first, so its plan is there while the player plans.
  if (!battle.Fighters(EnemySide).HasTalent(HyperReaction)) PlanEnemyActions(battle, screen);
  if (!battle.Fighters(PlayerSide).HasTalent(HyperReaction)) agent.PlanActions(battle);

  TurnContext turn(result, agent, screen);
  DecideInitiative(battle, turn);

  battle.ActionPoints[PlayerSide] = battle.Fighters(PlayerSide).CurStats[StatSpeed];
  battle.ActionPoints[EnemySide] = battle.Fighters(EnemySide).CurStats[StatSpeed];
  turn.SideFinished = {false, false};
  result = BattleOutcome::Undecided;

  PlayPhases(battle, turn);

  screen.Show(battle);
}

void PlayPhases(BattleState& battle, TurnContext& turn, bool firstActed) {
  const auto over = [&turn] {
    return turn.Result != BattleOutcome::Undecided || (turn.SideFinished[0] && turn.SideFinished[1]);
  };
  for (; turn.Phase < SlotCount; ++turn.Phase) {
    if (!firstActed) {
      drivePhase(battle, turn, turn.FirstSide, turn.SecondSide);
      if (over()) break;
    }
    firstActed = false;
    drivePhase(battle, turn, turn.SecondSide, turn.FirstSide);
    if (over()) break;
  }
}

}  // namespace velkor
