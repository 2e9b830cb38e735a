#include "battle_console/planning.h"

#include <gtest/gtest.h>

#include "battle/tests/battle_fixture.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"

namespace velkor {
namespace {

using test::BattleScript;
using test::Oni;
using test::SetFighter;

void SetSpeed(BattleScript& script, std::int32_t speed) {
  SetFighter(script.Player, "ユウ"_cp, {88, 20, 25, speed}, {100, 20, 25, speed});
}

TEST(PointsLeftText, FullWidthBracketsAroundTheDecimal) {
  EXPECT_EQ(PointsLeftText(12), "（残り12ポイント）"_cp);
  EXPECT_EQ(PointsLeftText(0), "（残り0ポイント）"_cp);
  EXPECT_EQ(PointsLeftText(-4), "（残り-4ポイント）"_cp);
}

TEST(PlanPlayerActions, MenusRefusalAndARefusedConfirmation) {
  BattleScript script({"X", "a", "y", "n", "Z", "Y", "y"});
  BattleState& battle = script.At.State;
  SetSpeed(script, 12);
  script.StartBattle(Oni());
  PlanPlayerActions(script.Console(), battle);
  EXPECT_EQ(battle.ActionPlan[PlayerSide],
            (std::array<std::uint8_t, 5>{actEnd, actEnd, actEnd, actEnd, actEnd}));
  EXPECT_EQ(script.LinesLeft(), 0u);
  test::ExpectGolden(script.Transcript(), "battle_console/tests/golden/plan_player.golden");
}

TEST(PlanPlayerActions, AcceptedPlanStands) {
  BattleScript script({"b", "d", "Z", "y"});
  BattleState& battle = script.At.State;
  SetSpeed(script, 20);
  script.StartBattle(Oni());
  PlanPlayerActions(script.Console(), battle);
  EXPECT_EQ(battle.ActionPlan[PlayerSide],
            (std::array<std::uint8_t, 5>{actImpact, actWeakStrike, actEnd, actEnd, actEnd}));
  EXPECT_NE(script.Output().find("これでよろしいですか？（残り7ポイント）(y/n)\r\n"_cp), std::string::npos);
}

TEST(PlanPlayerActions, TooSlowToActStillConfirms) {
  BattleScript script({"y"});
  SetSpeed(script, 2);
  script.StartBattle(Oni());
  PlanPlayerActions(script.Console(), script.At.State);
  const std::string out = script.Output();
  EXPECT_EQ(out.find("の行動をセットしてください"_cp), std::string::npos);
  // One screen, then the question.
  const std::string tail =
      "[　　][　　][　　][　　][　　]\r\n------------------------\r\n"_cp
      "これでよろしいですか？（残り2ポイント）(y/n)\r\n(yn)\r\n"_cp;
  ASSERT_GE(out.size(), tail.size());
  EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
  EXPECT_EQ(out.find("-- 鬼"_cp), out.rfind("-- 鬼"_cp));
}

TEST(SelectAction, NothingShownWhenOnlyTheEndCanBeHad) {
  for (const std::int32_t points : {2, 0, -1, -40}) {
    BattleScript script({});
    BattleState& battle = script.At.State;
    SetSpeed(script, 20);
    script.StartBattle(Oni());
    battle.ActionPlan[PlayerSide][3] = actAttack;
    EXPECT_TRUE(SelectAction(script.Console(), battle, 3, points));
    EXPECT_EQ(battle.ActionPlan[PlayerSide][3], actEnd);
    EXPECT_EQ(script.Output(), "");
  }
}

TEST(SelectAction, CaseOfTheLetterPicksTheAction) {
  struct Case {
    std::int32_t points;
    std::vector<std::string> typed;
    std::uint8_t expected;
    const char* offered;
  };
  const Case cases[] = {
      {50, {"X"}, actSwordPlay, "(abcdhxyXZ)"},
      {50, {"x"}, actGuard, "(abcdhxyXZ)"},
      {49, {"X", "x"}, actGuard, "(abcdhxyZ)"},  // the sword play needs 50
      {3, {"a", "", "dd", "ｄ"_cp, "d"}, actWeakStrike, "(dZ)"},
      {4, {"Z"}, actEnd, "(dxZ)"},
  };
  for (const Case& c : cases) {
    BattleScript script(c.typed);
    BattleState& battle = script.At.State;
    SetSpeed(script, 20);
    script.StartBattle(Oni());
    EXPECT_EQ(SelectAction(script.Console(), battle, 1, c.points), c.expected == actEnd);
    EXPECT_EQ(battle.ActionPlan[PlayerSide][1], c.expected);
    EXPECT_EQ(script.LinesLeft(), 0u);
    const std::string question =
        "第2の行動をセットしてください。"_cp + PointsLeftText(c.points) + "\r\n" + c.offered;
    const std::string out = script.Output();
    // The question is asked once per line typed.
    std::size_t asked = 0;
    for (std::size_t at = out.find(question); at != std::string::npos; at = out.find(question, at + 1))
      ++asked;
    EXPECT_EQ(asked, c.typed.size()) << c.points;
  }
}

TEST(SelectAction, SwordPlayLineWhenAffordable) {
  BattleScript script({"Z"});
  SetSpeed(script, 60);
  script.StartBattle(Oni());
  SelectAction(script.Console(), script.At.State, 0, 50);
  EXPECT_NE(script.Output().find("(y)回避   7\r\n(X)剣劇   50\r\n(Z)おわり 0\r\n第1の"_cp),
            std::string::npos);
}

}  // namespace
}  // namespace velkor
