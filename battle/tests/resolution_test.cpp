#include "battle/resolution.h"

#include <gtest/gtest.h>

#include "battle/tests/battle_fixture.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"

namespace velkor {
namespace {

using test::BattleScript;
using test::Oni;

// ユウ (attack 20) against 鬼 (defense 25, 100 HP), with the given tokens of 鬼.
struct Duel {
  explicit Duel(std::vector<std::string> typed, std::int32_t decoys = 0, std::int32_t guards = 0)
      : script(std::move(typed)) {
    script.SetYuu();
    script.StartBattle(Oni());
    script.At.State.DecoyTokens[EnemySide] = decoys;
    script.At.State.GuardTokens[EnemySide] = guards;
    script.At.State.ActionPoints = {25, 20};
  }
  BattleScript script;
  BattleOutcome result = BattleOutcome::Undecided;
};

TEST(ResolveAttack, DefenseAndGuardPerAction) {
  struct Case {
    std::uint8_t action;
    std::int32_t plain, guarded;
  };
  // Attack 20 against defense 25, without and with one guard token.
  const Case cases[] = {
      {actAttack, 7, 3},     {actImpact, 12, 4}, {actSnipe, 7, 3},
      {actWeakStrike, 4, 2}, {actBreak, 12, 4},  {actSwordPlay, 40, 13},
  };
  for (const Case& c : cases) {
    for (const std::int32_t guards : {0, 1}) {
      const std::int32_t amount = guards == 0 ? c.plain : c.guarded;
      Duel duel({"", ""}, 0, guards);
      BattleState& battle = duel.script.At.State;
      ResolveAttack(battle, duel.script.At.Screen, PlayerSide, EnemySide, c.action, duel.result);
      const std::string guardText = guards == 0 ? "" : "だが鬼はガードした！"_cp;
      if (c.action == actBreak) {
        EXPECT_EQ(battle.ActionPoints[EnemySide], 20 - amount);
        EXPECT_EQ(battle.CurrentEnemy.CurStats[StatHP], 100);
        EXPECT_EQ(duel.script.Output(),
                  guardText + "鬼のAPに"_cp + std::to_string(amount) + "ダメージ！\r\n"_cp);
      } else {
        EXPECT_EQ(battle.CurrentEnemy.CurStats[StatHP], 100 - amount)
            << int(c.action) << " guards " << guards;
        EXPECT_EQ(battle.ActionPoints[EnemySide], 20);
        EXPECT_EQ(duel.script.Output(), guardText + "鬼に"_cp + std::to_string(amount) + "ダメージ！\r\n"_cp);
      }
      EXPECT_EQ(battle.GuardTokens[EnemySide], 0);
      EXPECT_EQ(duel.script.LinesLeft(), guards == 0 ? 1u : 0u);  // one wait per message
      EXPECT_EQ(duel.result, BattleOutcome::Undecided);
      EXPECT_EQ(battle.PlayerFighter.CurStats, (test::Stats{88, 20, 25, 25}));  // the actor is never harmed
    }
  }
}

TEST(ResolveAttack, DecoyEvadesAllButSnipeAndSwordPlay) {
  struct Case {
    std::uint8_t action;
    std::int32_t guards;
    const char* transcript;
    std::int32_t hp, guardsLeft;
  };
  const Case cases[] = {
      {actAttack, 0, "だが鬼は回避した！\r\n"_cp ENTER, 100, 0},
      {actImpact, 1, "だが鬼は回避した！\r\n"_cp ENTER, 100, 1},  // an evaded hit leaves the guard
      {actWeakStrike, 1, "だが鬼は回避した！\r\n"_cp ENTER, 100, 1},
      {actBreak, 0, "だが鬼は回避した！\r\n"_cp ENTER, 100, 0},
      {actSnipe, 0, "鬼は回避できなかった、"_cp ENTER "鬼に7ダメージ！\r\n"_cp ENTER, 93, 0},
      {actSnipe, 1,
       "鬼は回避できなかった、"_cp ENTER "だが鬼はガードした！"_cp ENTER "鬼に3ダメージ！\r\n"_cp ENTER, 97,
       0},
      {actSwordPlay, 1,
       "鬼は回避できなかった、"_cp ENTER "だが鬼はガードした！"_cp ENTER "鬼に13ダメージ！\r\n"_cp ENTER, 87,
       0},
  };
  for (const Case& c : cases) {
    Duel duel({"", "", ""}, 2, c.guards);
    BattleState& battle = duel.script.At.State;
    ResolveAttack(battle, duel.script.At.Screen, PlayerSide, EnemySide, c.action, duel.result);
    EXPECT_EQ(duel.script.Transcript(), test::Transcript(c.transcript)) << int(c.action);
    EXPECT_EQ(battle.DecoyTokens[EnemySide], 1);  // one decoy used, whatever happened
    EXPECT_EQ(battle.GuardTokens[EnemySide], c.guardsLeft);
    EXPECT_EQ(battle.CurrentEnemy.CurStats[StatHP], c.hp);
    EXPECT_EQ(battle.ActionPoints[EnemySide], 20);
  }
}

TEST(ResolveAttack, ZeroHitPointsIsDeathForEitherSide) {
  {
    Duel duel({""});
    BattleState& battle = duel.script.At.State;
    battle.CurrentEnemy.CurStats[StatHP] = 7;
    ResolveAttack(battle, duel.script.At.Screen, PlayerSide, EnemySide, actAttack, duel.result);
    EXPECT_EQ(battle.CurrentEnemy.CurStats[StatHP], 0);
    EXPECT_EQ(duel.result, BattleOutcome::Victory);
  }
  {
    Duel duel({""});
    BattleState& battle = duel.script.At.State;
    battle.CurrentEnemy.CurStats[StatHP] = 8;
    ResolveAttack(battle, duel.script.At.Screen, PlayerSide, EnemySide, actAttack, duel.result);
    EXPECT_EQ(duel.result, BattleOutcome::Undecided);
  }
  {
    Duel duel({""});
    BattleState& battle = duel.script.At.State;
    battle.PlayerFighter.CurStats[StatHP] = 5;  // 鬼 attacks with 30 against defense 25: 10
    ResolveAttack(battle, duel.script.At.Screen, EnemySide, PlayerSide, actAttack, duel.result);
    EXPECT_EQ(battle.PlayerFighter.CurStats[StatHP], -5);
    EXPECT_EQ(duel.script.Output(), "ユウに10ダメージ！\r\n"_cp);
    EXPECT_EQ(duel.result, BattleOutcome::Defeat);
  }
  {
    Duel duel({""});
    BattleState& battle = duel.script.At.State;
    battle.PlayerFighter.CurStats[StatAttack] = 0;  // no damage is still announced
    ResolveAttack(battle, duel.script.At.Screen, PlayerSide, EnemySide, actAttack, duel.result);
    EXPECT_EQ(duel.script.Output(), "鬼に0ダメージ！\r\n"_cp);
    EXPECT_EQ(battle.CurrentEnemy.CurStats[StatHP], 100);
  }
}

TEST(ResolveAttack, BreakDrivesThePointsBelowZero) {
  Duel duel({""});
  BattleState& battle = duel.script.At.State;
  battle.ActionPoints[EnemySide] = 3;
  ResolveAttack(battle, duel.script.At.Screen, PlayerSide, EnemySide, actBreak, duel.result);
  EXPECT_EQ(battle.ActionPoints[EnemySide], -9);
  EXPECT_EQ(duel.script.Output(), "鬼のAPに12ダメージ！\r\n"_cp);
}

TEST(ResolveAttack, HugeStatsDoNotOverflow) {
  Duel duel({""});
  BattleState& battle = duel.script.At.State;
  battle.PlayerFighter.CurStats[StatAttack] = 2147483647;
  battle.CurrentEnemy.CurStats[StatDefense] = 0;
  battle.CurrentEnemy.CurStats[StatHP] = -2147483647;
  ResolveAttack(battle, duel.script.At.Screen, PlayerSide, EnemySide, actSwordPlay, duel.result);
  EXPECT_EQ(battle.CurrentEnemy.CurStats[StatHP], -2147483647 - 1);
  EXPECT_EQ(duel.result, BattleOutcome::Victory);
}

TEST(MakeToken, UpToThree) {
  struct Case {
    std::int32_t before, after;
    const char* line;
  };
  const Case cases[] = {
      {0, 1, "ガードが一つ生成された！\r\n"_cp},
      {2, 3, "ガードが一つ生成された！\r\n"_cp},
      {3, 3, "ガードは既に飽和している！\r\n"_cp},
  };
  for (const Case& c : cases) {
    BattleScript script({""});
    std::int32_t count = c.before;
    MakeToken(script.At.Screen, "ガード"_cp, count);
    EXPECT_EQ(count, c.after);
    EXPECT_EQ(script.Output(), c.line);
    EXPECT_EQ(script.LinesLeft(), 0u);
  }
}

// The battle screen of ユウ (88 HP) against 鬼.
std::string Screen(const std::string& enemyTokens, const std::string& row, const std::string& talents = "") {
  return "-- 鬼 ------------------\r\n負傷\r\n"_cp + enemyTokens +
         "------------------------\r\n"
         "-- ユウ ----------------\r\n"_cp
         "ＨＰ     88/  100\r\n"_cp
         "攻撃力   20/   20\r\n"_cp
         "防御力   25/   25\r\n"_cp
         "素早さ   25/   25\r\n"_cp +
         talents + row + "\r\n------------------------\r\n";
}

TEST(drivePhase, AnAttackThroughAGuard) {
  Duel duel({"", "", ""}, 0, 1);
  BattleState& battle = duel.script.At.State;
  duel.script.SetPlan(PlayerSide, {actAttack, actSnipe, actWeakStrike, actEnd, actEnd});
  TurnContext turn(duel.result, duel.script.At.Agent, duel.script.At.Screen);
  drivePhase(battle, turn, PlayerSide, EnemySide);
  EXPECT_EQ(duel.script.Transcript(),
            test::Transcript(Screen("<ガ>\r\n"_cp, " 攻撃 [狙撃][弱撃][　　][　　]"_cp) +
                             "ユウの攻撃、"_cp ENTER "だが鬼はガードした！"_cp ENTER
                             "鬼に3ダメージ！\r\n"_cp ENTER));
  EXPECT_EQ(battle.ActionPoints[PlayerSide], 20);
  EXPECT_FALSE(turn.SideFinished[PlayerSide]);
}

TEST(drivePhase, TokensOfTheActor) {
  for (const std::int32_t guards : {0, 3}) {
    Duel duel({"", ""}, 0, guards);
    BattleState& battle = duel.script.At.State;
    duel.script.SetPlan(EnemySide, {actGuard, actEnd, actEnd, actEnd, actEnd});
    TurnContext turn(duel.result, duel.script.At.Agent, duel.script.At.Screen);
    drivePhase(battle, turn, EnemySide, PlayerSide);
    const std::string tokens = guards == 0 ? "" : "<ガ><ガ><ガ>\r\n"_cp;
    const std::string message =
        guards == 0 ? "ガードが一つ生成された！\r\n"_cp ENTER : "ガードは既に飽和している！\r\n"_cp ENTER;
    EXPECT_EQ(duel.script.Transcript(), test::Transcript(Screen(tokens, "[　　][　　][　　][　　][　　]"_cp) +
                                                         "鬼の防御、"_cp ENTER + message));
    EXPECT_EQ(battle.ActionPoints[EnemySide], 16);  // paid also when saturated
    EXPECT_EQ(battle.GuardTokens[EnemySide], guards == 0 ? 1 : 3);
  }
  Duel duel({"", ""});
  BattleState& battle = duel.script.At.State;
  duel.script.SetPlan(PlayerSide, {actEvade, actEnd, actEnd, actEnd, actEnd});
  TurnContext turn(duel.result, duel.script.At.Agent, duel.script.At.Screen);
  drivePhase(battle, turn, PlayerSide, EnemySide);
  EXPECT_EQ(battle.DecoyTokens[PlayerSide], 1);
  EXPECT_EQ(battle.ActionPoints[PlayerSide], 18);
  EXPECT_NE(duel.script.Output().find("ユウの回避、デコイが一つ生成された！\r\n"_cp), std::string::npos);
}

TEST(drivePhase, NotEnoughPointsLosesTheSlot) {
  Duel duel({"", ""});
  BattleState& battle = duel.script.At.State;
  battle.ActionPoints[PlayerSide] = 49;
  duel.script.SetPlan(PlayerSide, {actAttack, actSwordPlay, actEnd, actEnd, actEnd});
  battle.PhaseDone[PlayerSide][0] = true;
  TurnContext turn(duel.result, duel.script.At.Agent, duel.script.At.Screen);
  turn.Phase = 1;
  drivePhase(battle, turn, PlayerSide, EnemySide);
  EXPECT_EQ(duel.script.Transcript(),
            test::Transcript(Screen("", " 攻撃  剣劇 [　　][　　][　　]"_cp) +
                             "ユウの剣劇、"_cp ENTER "APが足りない！\r\n"_cp ENTER));
  EXPECT_EQ(battle.ActionPoints[PlayerSide], 49);
  EXPECT_EQ(battle.CurrentEnemy.CurStats[StatHP], 100);
  EXPECT_FALSE(turn.SideFinished[PlayerSide]);
}

TEST(drivePhase, EndAndFinishedSidesShowNothing) {
  Duel duel({});
  BattleState& battle = duel.script.At.State;
  duel.script.SetPlan(PlayerSide, {actEnd, actAttack, actEnd, actEnd, actEnd});
  TurnContext turn(duel.result, duel.script.At.Agent, duel.script.At.Screen);
  drivePhase(battle, turn, PlayerSide, EnemySide);
  EXPECT_TRUE(turn.SideFinished[PlayerSide]);
  turn.Phase = 1;  // a later slot is not carried out once the plan has ended
  drivePhase(battle, turn, PlayerSide, EnemySide);
  EXPECT_EQ(duel.script.Output(), "");
  EXPECT_TRUE(battle.PhaseDone[PlayerSide][0]);
  EXPECT_TRUE(battle.PhaseDone[PlayerSide][1]);
  EXPECT_FALSE(battle.PhaseDone[PlayerSide][2]);
  EXPECT_EQ(battle.ActionPoints[PlayerSide], 25);
  EXPECT_FALSE(turn.SideFinished[EnemySide]);
}

TEST(drivePhase, AnInvalidCodeIsReportedAndNothingElseHappens) {
  Duel duel({""});
  BattleState& battle = duel.script.At.State;
  battle.ActionPlan[EnemySide][0] = 9;
  TurnContext turn(duel.result, duel.script.At.Agent, duel.script.At.Screen);
  drivePhase(battle, turn, EnemySide, PlayerSide);
  EXPECT_EQ(duel.script.Output(),
            "\r\n-------------------------------------\r\n"
            "error in drivePhase in BattleTurn\r\n"
            "-------------------------------------\r\n"
            "\r\n");
  EXPECT_EQ(battle.ActionPoints[EnemySide], 20);
  EXPECT_TRUE(battle.PhaseDone[EnemySide][0]);
  EXPECT_FALSE(turn.SideFinished[EnemySide]);
  EXPECT_EQ(battle.InvariantBreaks, 1u);

  // Where nobody watches, the battle still counts it.
  BattleState unwatched = battle;
  unwatched.InvariantBreaks = 0;
  NullBattleScreen nobody;
  TurnContext quiet(duel.result, duel.script.At.Agent, nobody);
  drivePhase(unwatched, quiet, EnemySide, PlayerSide);
  EXPECT_EQ(unwatched.InvariantBreaks, 1u);
}

TEST(drivePhase, HyperReactionPlayerChoosesWithThePointsLeftNow) {
  Duel duel({"d", "", ""});
  BattleState& battle = duel.script.At.State;
  battle.PlayerFighter.Talents[HyperReaction] = 1;
  battle.ActionPoints[PlayerSide] = 4;  // what earlier phases and a "崩し" have left
  duel.script.SetPlan(PlayerSide, {actAttack, actEnd, actEnd, actEnd, actEnd});
  battle.PhaseDone[PlayerSide][0] = true;
  TurnContext turn(duel.result, duel.script.At.Agent, duel.script.At.Screen);
  turn.Phase = 1;
  drivePhase(battle, turn, PlayerSide, EnemySide);
  const std::string talents = "≪超反応≫\r\n"_cp;
  // The menu comes with its own screen, in which this slot is still to come.
  EXPECT_EQ(
      duel.script.Transcript(),
      test::Transcript(Screen("", " 攻撃 [　　][　　][　　][　　]"_cp, talents) +
                       "(d)弱撃   3\r\n(x)防御   4\r\n(Z)おわり 0\r\n"_cp
                       "第2の行動をセットしてください。（残り4ポイント）\r\n(dxZ)"_cp TYPED("d") "\r\n" +
                       Screen("", " 攻撃  弱撃 [　　][　　][　　]"_cp, talents) +
                       "ユウの弱撃、"_cp ENTER "鬼に4ダメージ！\r\n"_cp ENTER));
  EXPECT_EQ(battle.ActionPoints[PlayerSide], 1);
}

TEST(drivePhase, HyperReactionSideThatEndsIsNotAskedAgain) {
  Duel duel({"Z"});
  BattleState& battle = duel.script.At.State;
  battle.PlayerFighter.Talents[HyperReaction] = 1;
  TurnContext turn(duel.result, duel.script.At.Agent, duel.script.At.Screen);
  drivePhase(battle, turn, PlayerSide, EnemySide);
  EXPECT_TRUE(turn.SideFinished[PlayerSide]);
  const std::size_t written = duel.script.Output().size();
  for (turn.Phase = 1; turn.Phase < 5; ++turn.Phase) drivePhase(battle, turn, PlayerSide, EnemySide);
  EXPECT_EQ(duel.script.Output().size(), written);
  EXPECT_EQ(battle.PhaseDone[PlayerSide], (std::array<bool, 5>{true, true, true, true, true}));
  EXPECT_EQ(duel.script.LinesLeft(), 0u);
}

TEST(drivePhase, HyperReactionEnemyDrawsWithItsPointsLeft) {
  // Below the cost of its only weighted action it ends; with enough it acts.
  for (const std::int32_t points : {7, 8}) {
    Duel duel({"", ""});
    BattleState& battle = duel.script.At.State;
    battle.CurrentEnemy.Talents[HyperReaction] = 1;
    battle.CurrentEnemy.ActionRate = {0, 0, 0, 0, 1, 0, 0, 0, 0};
    battle.ActionPoints[EnemySide] = points;
    TurnContext turn(duel.result, duel.script.At.Agent, duel.script.At.Screen);
    turn.Phase = 2;
    drivePhase(battle, turn, EnemySide, PlayerSide);
    EXPECT_EQ(battle.ActionPlan[EnemySide][2], points == 8 ? actBreak : actEnd);
    EXPECT_EQ(turn.SideFinished[EnemySide], points != 8);
    EXPECT_EQ(battle.ActionPoints[PlayerSide], points == 8 ? 13 : 25);
  }
}

}  // namespace
}  // namespace velkor
