#include "battle/resolution.h"

#include "battle/battle_screen.h"
#include "battle/damage.h"
#include "battle/think.h"
#include "data/tables.h"
#include "platform/cp932_literal.h"

namespace velkor {

void MakeToken(BattleScreen& screen, std::string_view tokenName, std::int32_t& count) {
  const bool made = count < TokenLimit;
  if (made) ++count;
  Tell(screen, [&](BattleScreen& shown) { shown.TokenMade(tokenName, made); });
}

void ResolveAttack(BattleState& battle, BattleScreen& screen, int attacker, int target, std::uint8_t action,
                   BattleOutcome& result) {
  const auto t = static_cast<std::size_t>(target);
  TFighter& victim = battle.Fighters(target);

  if (battle.DecoyTokens[t] > 0) {
    --battle.DecoyTokens[t];
    // "狙撃" and "剣劇" use the decoy up and hit all the same.
    const bool evaded = action != actSnipe && action != actSwordPlay;
    Tell(screen, [&](BattleScreen& shown) {
      if (evaded) {
        shown.Evaded(victim);
      } else {
        shown.NotEvaded(victim);
      }
    });
    if (evaded) return;
  }

  const std::int32_t defense = victim.CurStats[StatDefense];
  std::int32_t amount =
      AfterDefense(action, BaseAmount(action, battle.Fighters(attacker).CurStats[StatAttack]), defense);
  if (battle.GuardTokens[t] > 0) {
    amount = AfterGuard(amount, defense);
    --battle.GuardTokens[t];
    Tell(screen, [&](BattleScreen& shown) { shown.Guarded(victim); });
  }

  const bool toPoints = action == actBreak;
  if (toPoints) {
    battle.ActionPoints[t] = SaturatingSub(battle.ActionPoints[t], amount);
  } else {
    victim.CurStats[StatHP] = SaturatingSub(victim.CurStats[StatHP], amount);
    battle.HPLost[t] += amount;
  }
  Tell(screen, [&](BattleScreen& shown) { shown.Damaged(victim, amount, toPoints); });

  if (victim.CurStats[StatHP] <= 0)
    result = target == EnemySide ? BattleOutcome::Victory : BattleOutcome::Defeat;
}

void drivePhase(BattleState& battle, TurnContext& turn, int side, int otherSide) {
  const auto s = static_cast<std::size_t>(side);
  const auto phase = static_cast<std::size_t>(turn.Phase);
  TFighter& actor = battle.Fighters(side);

  if (!turn.SideFinished[s] && actor.HasTalent(HyperReaction)) {
    // This side decides only now, with the points it has left at this moment.
    if (side == PlayerSide) {
      turn.Agent.SelectAction(battle, turn.Phase, battle.ActionPoints[s]);
    } else {
      RateAction(battle, turn.Screen, turn.Phase, battle.ActionPoints[s]);
    }
  }

  const std::uint8_t action = battle.ActionPlan[s][phase];
  battle.PhaseDone[s][phase] = true;
  if (action == actEnd) turn.SideFinished[s] = true;
  if (turn.SideFinished[s]) return;
  if (action > actSwordPlay) {
    InvariantBroken(battle, turn.Screen, "drivePhase in BattleTurn");
    return;
  }

  Tell(turn.Screen, [&](BattleScreen& screen) {
    screen.Show(battle);
    screen.Announce(actor, action);
  });

  if (battle.ActionPoints[s] < ActionCosts[action]) {
    Tell(turn.Screen, [](BattleScreen& screen) { screen.NoPoints(); });
    return;
  }
  battle.ActionPoints[s] -= ActionCosts[action];  // at least the cost is there: no overflow

  switch (action) {
    case actGuard:
      MakeToken(turn.Screen, "ガード"_cp, battle.GuardTokens[s]);
      break;
    case actEvade:
      MakeToken(turn.Screen, "デコイ"_cp, battle.DecoyTokens[s]);
      break;
    default:
      ResolveAttack(battle, turn.Screen, side, otherSide, action, turn.Result);
      break;
  }
}

}  // namespace velkor
