#include "battle/turn.h"

#include <gtest/gtest.h>

#include "battle/tests/battle_fixture.h"
#include "data/random_source.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"

namespace velkor {
namespace {

using test::BattleScript;
using test::Oni;

struct Initiative {
  int first;
  std::uint32_t stateAfter;
};

Initiative Decide(std::uint32_t seed, bool playerQuick, bool enemyQuick, std::int32_t playerSpeed,
                  std::int32_t enemySpeed) {
  BattleScript script({}, seed);
  BattleState& battle = script.At.State;
  script.SetUnhurtYuu({100, 20, 25, playerSpeed});
  script.Player.Talents[Quick] = playerQuick ? 1 : 0;
  TEnemy enemy = Oni();
  enemy.CurStats[StatSpeed] = enemySpeed;
  enemy.Talents[Quick] = enemyQuick ? 1 : 0;
  script.StartBattle(enemy);
  BattleOutcome result = BattleOutcome::Undecided;
  TurnContext turn(result, script.At.Agent, script.At.Screen);
  DecideInitiative(battle, turn);
  EXPECT_EQ(turn.SecondSide, 1 - turn.FirstSide);
  EXPECT_EQ(script.Output(), "");  // nothing is said about it
  return {turn.FirstSide, battle.RandomState};
}

TEST(DecideInitiative, ALoneQuickFighterGoesFirstWithoutADraw) {
  for (std::uint32_t seed = 0; seed < 50; ++seed) {
    const Initiative player = Decide(seed, true, false, 0, 100);
    EXPECT_EQ(player.first, PlayerSide);
    EXPECT_EQ(player.stateAfter, seed);
    const Initiative enemy = Decide(seed, false, true, 100, 0);
    EXPECT_EQ(enemy.first, EnemySide);
    EXPECT_EQ(enemy.stateAfter, seed);
  }
}

TEST(DecideInitiative, OtherwiseADrawWeightedByTheSpeeds) {
  struct Case {
    bool quick;  // both hold it, or neither
    std::int32_t playerSpeed, enemySpeed;
    int lowPlayerFirst, highPlayerFirst;  // of 1000 seeds
  };
  const Case cases[] = {
      {false, 0, 0, 440, 560},  // both count as 1
      {true, 0, 0, 440, 560},  {false, 0, 10, 0, 0},      {true, 10, 0, 1000, 1000},
      {false, 1, 3, 210, 290}, {false, 30, 10, 710, 790},
  };
  for (const Case& c : cases) {
    int playerFirst = 0;
    for (std::uint32_t i = 0; i < 1000; ++i) {
      const std::uint32_t seed = i * 2654435761u;
      const Initiative got = Decide(seed, c.quick, c.quick, c.playerSpeed, c.enemySpeed);
      if (got.first == PlayerSide) ++playerFirst;
      EXPECT_EQ(got.stateAfter, seed * 134775813u + 1u);  // exactly one draw
    }
    EXPECT_GE(playerFirst, c.lowPlayerFirst) << c.playerSpeed << " against " << c.enemySpeed;
    EXPECT_LE(playerFirst, c.highPlayerFirst) << c.playerSpeed << " against " << c.enemySpeed;
  }
}

TEST(DecideInitiative, TheDrawIsBelowThePlayersSpeed) {
  for (std::uint32_t seed = 0; seed < 200; ++seed) {
    std::uint32_t state = seed;
    const bool playerFirst = DrawInt(state, 7 + 5) < 7;
    EXPECT_EQ(Decide(seed, false, false, 7, 5).first, playerFirst ? PlayerSide : EnemySide) << seed;
  }
}

// A turn of ユウ (speed 25) against 鬼 whose only weight is given.
struct Turn {
  Turn(std::vector<std::string> typed, std::array<std::int32_t, ActionCount> weights, bool playerQuick)
      : script(std::move(typed)) {
    script.SetUnhurtYuu({100, 60, 25, 25});
    script.Player.Talents[Quick] = playerQuick ? 1 : 0;
    script.StartBattle(Oni(weights));
  }
  BattleScript script;
  BattleOutcome result = BattleOutcome::Victory;  // left from an earlier battle; the turn clears it
};

constexpr std::array<std::int32_t, ActionCount> EndsAtOnce{0, 0, 0, 0, 0, 0, 0, 0, 1};
constexpr std::array<std::int32_t, ActionCount> AttacksOnly{1, 0, 0, 0, 0, 0, 0, 0, 0};

TEST(BattleTurn, BothPlansEndingInPhaseZero) {
  Turn t({"Z", "y"}, EndsAtOnce, false);
  BattleState& battle = t.script.At.State;
  BattleTurn(battle, t.script.At.Agent, t.script.At.Screen, t.result);
  EXPECT_EQ(t.result, BattleOutcome::Undecided);
  EXPECT_EQ(t.script.LinesLeft(), 0u);
  EXPECT_EQ(battle.PhaseDone[PlayerSide], (std::array<bool, 5>{true, false, false, false, false}));
  EXPECT_EQ(battle.PhaseDone[EnemySide], (std::array<bool, 5>{true, false, false, false, false}));
  // Plan screen and menu, confirmation screen, and the closing screen.
  const std::string out = t.script.Output();
  std::size_t screens = 0;
  for (std::size_t at = out.find("-- 鬼 "_cp); at != std::string::npos; at = out.find("-- 鬼 "_cp, at + 1))
    ++screens;
  EXPECT_EQ(screens, 3u);
  const std::string closing = " 　　 [　　][　　][　　][　　]\r\n------------------------\r\n"_cp;
  EXPECT_EQ(out.substr(out.size() - closing.size()), closing);
}

TEST(BattleTurn, OneSideGoesOnAloneAfterTheOtherHasEnded) {
  // 鬼 attacks four times with its 20 points; ユウ ends at once.
  Turn t({"Z", "y", "", "", "", "", "", "", "", ""}, AttacksOnly, true);
  BattleState& battle = t.script.At.State;
  BattleTurn(battle, t.script.At.Agent, t.script.At.Screen, t.result);
  EXPECT_EQ(t.script.LinesLeft(), 0u);
  EXPECT_EQ(battle.PlayerFighter.CurStats[StatHP], 100 - 4 * 10);
  EXPECT_EQ(battle.ActionPoints[EnemySide], 0);
  EXPECT_EQ(battle.PhaseDone[PlayerSide], (std::array<bool, 5>{true, true, true, true, true}));
  EXPECT_EQ(battle.PhaseDone[EnemySide], (std::array<bool, 5>{true, true, true, true, true}));
  EXPECT_EQ(t.result, BattleOutcome::Undecided);
}

TEST(BattleTurn, ADeathByTheFirstSideEndsTheTurnAtOnce) {
  // ユウ acts first and kills with a sword play of 120; 鬼's slot 0 is never reached.
  Turn t({"X", "y", "", ""}, AttacksOnly, true);
  BattleState& battle = t.script.At.State;
  battle.PlayerFighter.CurStats[StatSpeed] = battle.PlayerFighter.BaseStats[StatSpeed] =
      50;  // nothing left after it
  BattleTurn(battle, t.script.At.Agent, t.script.At.Screen, t.result);
  EXPECT_EQ(t.result, BattleOutcome::Victory);
  EXPECT_EQ(t.script.LinesLeft(), 0u);
  EXPECT_EQ(battle.CurrentEnemy.CurStats[StatHP], -20);
  EXPECT_FALSE(battle.PhaseDone[EnemySide][0]);
  EXPECT_EQ(battle.PlayerFighter.CurStats[StatHP], 100);
  const std::string out = t.script.Output();
  const std::string closing =
      "-- 鬼 ------------------\r\n死亡\r\n------------------------\r\n"_cp
      "-- ユウ ----------------\r\n"_cp
      "ＨＰ    100/  100\r\n攻撃力   60/   60\r\n防御力   25/   25\r\n素早さ   50/   50\r\n≪クイック≫\r\n"_cp
      " 剣劇 [　　][　　][　　][　　]\r\n------------------------\r\n"_cp;
  const std::string end = "鬼に120ダメージ！\r\n"_cp + closing;
  EXPECT_EQ(out.substr(out.size() - end.size()), end);
}

TEST(BattleTurn, TokensOutliveTheTurnAndPlansDoNot) {
  Turn t({"x", "x", "Z", "y", "", "", "", "", "Z", "y"}, EndsAtOnce, true);
  BattleState& battle = t.script.At.State;
  battle.GuardTokens[EnemySide] = 2;
  BattleTurn(battle, t.script.At.Agent, t.script.At.Screen, t.result);
  EXPECT_EQ(battle.GuardTokens[PlayerSide], 2);
  EXPECT_EQ(battle.ActionPoints[PlayerSide], 17);
  BattleTurn(battle, t.script.At.Agent, t.script.At.Screen, t.result);
  EXPECT_EQ(t.script.LinesLeft(), 0u);
  EXPECT_EQ(battle.GuardTokens[PlayerSide], 2);
  EXPECT_EQ(battle.GuardTokens[EnemySide], 2);
  EXPECT_EQ(battle.ActionPlan[PlayerSide],
            (std::array<std::uint8_t, 5>{actEnd, actEnd, actEnd, actEnd, actEnd}));
  EXPECT_EQ(battle.ActionPoints[PlayerSide], 25);  // fresh points every turn
}

}  // namespace
}  // namespace velkor
