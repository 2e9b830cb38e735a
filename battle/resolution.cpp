#include "battle/resolution.h"

#include <limits>

#include "battle/battle_state.h"
#include "battle/damage.h"
#include "battle/display.h"
#include "battle/planning.h"
#include "battle/think.h"
#include "console/console_io.h"
#include "console/prompts.h"
#include "data/tables.h"

namespace velkor {

namespace {

// The amount an action deals before defense and guard, from the attack A.
std::int32_t BaseAmount(std::uint8_t action, std::int32_t attack) {
  const std::int64_t a = attack;  // widened: 2 x A and A + 1 must not overflow
  std::int64_t amount = a;
  switch (action) {
    case actWeakStrike:
      amount = (a + 1) / 2;
      break;
    case actBreak:
      amount = 12;
      break;
    case actSwordPlay:
      amount = 2 * a;
      break;
    default:
      break;
  }
  if (amount > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (amount < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(amount);
}

}  // namespace

void MakeToken(std::string_view tokenName, std::int32_t& count) {
  if (count < TokenLimit) {
    ++count;
    WriteLine(std::string(tokenName) + "が一つ生成された！");
  } else {
    WriteLine(std::string(tokenName) + "は既に飽和している！");
  }
  WaitEnter();
}

void ResolveAttack(int attacker, int target, std::uint8_t action, std::string& result) {
  const auto t = static_cast<std::size_t>(target);
  TFighter& victim = *Fighters[t];
  const std::string victimName = victim.Name.Text();

  if (DecoyTokens[t] > 0) {
    --DecoyTokens[t];
    if (action == actSnipe || action == actSwordPlay) {
      Write(victimName + "は回避できなかった、");
      WaitEnter();
    } else {
      WriteLine("だが" + victimName + "は回避した！");
      WaitEnter();
      return;
    }
  }

  std::int32_t amount =
      BaseAmount(action, Fighters[static_cast<std::size_t>(attacker)]->CurStats[StatAttack]);
  const double defense = victim.CurStats[StatDefense];
  if (action != actBreak && action != actSwordPlay) {
    // "衝撃" goes through half the defense, not rounded.
    amount = ApplyDefense(amount, action == actImpact ? defense / 2.0 : defense);
  }
  if (GuardTokens[t] > 0) {
    amount = ApplyDefense(amount, defense);
    --GuardTokens[t];
    Write("だが" + victimName + "はガードした！");
    WaitEnter();
  }

  if (action == actBreak) {
    ActionPoints[t] = SaturatingSub(ActionPoints[t], amount);
    WriteLine(victimName + "のAPに" + std::to_string(amount) + "ダメージ！");
  } else {
    victim.CurStats[StatHP] = SaturatingSub(victim.CurStats[StatHP], amount);
    WriteLine(victimName + "に" + std::to_string(amount) + "ダメージ！");
  }
  WaitEnter();

  if (victim.CurStats[StatHP] <= 0) result = target == EnemySide ? "勝利" : "敗北";
}

void drivePhase(TurnContext& turn, int side, int otherSide) {
  const auto s = static_cast<std::size_t>(side);
  const auto phase = static_cast<std::size_t>(turn.Phase);
  TFighter& actor = *Fighters[s];

  if (!turn.SideFinished[s] && actor.HasTalent(HyperReaction)) {
    // This side decides only now, with the points it has left at this moment.
    if (side == PlayerSide) {
      static_cast<void>(SelectAction(turn.Phase, ActionPoints[s]));
    } else {
      RateAction(turn.Phase, ActionPoints[s]);
    }
  }

  const std::uint8_t action = ActionPlan[s][phase];
  PhaseDone[s][phase] = true;
  if (action == actEnd) turn.SideFinished[s] = true;
  if (turn.SideFinished[s]) return;
  if (action > actSwordPlay) {
    ErrorBanner("drivePhase in BattleTurn");
    return;
  }

  ShowBattle();
  Write(actor.Name.Text() + "の" + std::string(ActionNames[action]) + "、");
  WaitEnter();

  if (ActionPoints[s] < ActionCosts[action]) {
    WriteLine("APが足りない！");
    WaitEnter();
    return;
  }
  ActionPoints[s] -= ActionCosts[action];  // at least the cost is there: no overflow

  switch (action) {
    case actGuard:
      MakeToken("ガード", GuardTokens[s]);
      break;
    case actEvade:
      MakeToken("デコイ", DecoyTokens[s]);
      break;
    default:
      ResolveAttack(side, otherSide, action, turn.Result);
      break;
  }
}

}  // namespace velkor
