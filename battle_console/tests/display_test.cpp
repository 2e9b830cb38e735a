#include "battle_console/display.h"

#include <gtest/gtest.h>

#include "battle/tests/battle_fixture.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"

namespace velkor {
namespace {

using test::BattleScript;
using test::Oni;

// The moment of the examples: before the enemy's action in phase 0, after
// the player has acted first.
void PhaseZeroAfterThePlayer(BattleScript& script) {
  BattleState& battle = script.At.State;
  script.SetPlan(PlayerSide, {actAttack, actSnipe, actWeakStrike, actEnd, actEnd});
  script.SetPlan(EnemySide, {actImpact, actGuard, actEnd, actEnd, actEnd});
  battle.PhaseDone[PlayerSide][0] = true;
  battle.PhaseDone[EnemySide][0] = true;
  battle.GuardTokens[EnemySide] = 1;
}

TEST(ShowBattle, QuickPlayerSeesOnlyTheEnemysStatusAndTokens) {
  BattleScript script({});
  BattleState& battle = script.At.State;
  script.SetYuu({0, 0, 1, 0});
  script.StartBattle(Oni());
  PhaseZeroAfterThePlayer(script);
  battle.DecoyTokens[PlayerSide] = 1;
  ShowBattle(script.Console(), battle);
  test::ExpectGolden(script.Transcript(), "battle_console/tests/golden/screen_quick.golden");
}

TEST(ShowBattle, EvilEyeAndMindEyeShowTheEnemysNumbersAndPlan) {
  BattleScript script({});
  script.SetYuu({1, 1, 0, 0});
  script.StartBattle(Oni());
  PhaseZeroAfterThePlayer(script);
  ShowBattle(script.Console(), script.At.State);
  test::ExpectGolden(script.Transcript(), "battle_console/tests/golden/screen_eyes.golden");
}

TEST(ShowBattle, EachEyeRevealsOnlyItsOwnPart) {
  {
    BattleScript script({});
    script.SetYuu({1, 0, 0, 0});  // EvilEye: numbers, no plan
    script.StartBattle(Oni());
    PhaseZeroAfterThePlayer(script);
    ShowBattle(script.Console(), script.At.State);
    const std::string out = script.Output();
    EXPECT_NE(out.find("ＨＰ    100/  125\r\n"_cp), std::string::npos);
    EXPECT_EQ(out.find("衝撃"_cp), std::string::npos);
  }
  {
    BattleScript script({});
    script.SetYuu({0, 1, 0, 0});  // MindEye: plan, no numbers
    script.StartBattle(Oni());
    PhaseZeroAfterThePlayer(script);
    ShowBattle(script.Console(), script.At.State);
    const std::string enemySheet =
        "-- 鬼 ------------------\r\n"_cp
        "負傷\r\n"_cp
        "<ガ>\r\n"_cp
        " 衝撃 [防御][　　][　　][　　]\r\n"_cp
        "------------------------\r\n";
    EXPECT_EQ(script.Output().substr(0, enemySheet.size()), enemySheet);
  }
}

TEST(PlanRow, CellsByPlanAndMarkers) {
  struct Case {
    std::array<std::uint8_t, 5> plan;
    std::array<bool, 5> done;
    const char* row;
  };
  const Case cases[] = {
      {{actAttack, actSnipe, actWeakStrike, actEnd, actEnd}, {}, "[攻撃][狙撃][弱撃][　　][　　]"_cp},
      {{actAttack, actSnipe, actWeakStrike, actEnd, actEnd},
       {true, false, false, false, false},
       " 攻撃 [狙撃][弱撃][　　][　　]"_cp},
      // Slots reached after the plan ended still show as reached.
      {{actBreak, actEnd, actEnd, actEnd, actEnd},
       {true, true, true, true, true},
       " 崩し  　　  　　  　　  　　 "_cp},
      {{actImpact, actGuard, actEvade, actSwordPlay, actAttack},
       {true, true, false, false, false},
       " 衝撃  防御 [回避][剣劇][攻撃]"_cp},
      // "おわり" never stands in a row.
      {{actEnd, actEnd, actEnd, actEnd, actEnd}, {}, "[　　][　　][　　][　　][　　]"_cp},
  };
  for (const Case& c : cases) {
    BattleScript script({});
    BattleState& battle = script.At.State;
    script.StartBattle(Oni());
    script.SetPlan(EnemySide, c.plan);
    battle.PhaseDone[EnemySide] = c.done;
    EXPECT_EQ(PlanRow(battle, EnemySide), c.row);
    EXPECT_EQ(PlanRow(battle, PlayerSide), "[　　][　　][　　][　　][　　]"_cp);
  }
}

TEST(TokenLine, DecoysBeforeGuardsAndNothingWithoutTokens) {
  struct Case {
    std::int32_t decoys, guards;
    const char* line;
  };
  const Case cases[] = {
      {0, 0, ""},
      {1, 0, "<デ>\r\n"_cp},
      {0, 1, "<ガ>\r\n"_cp},
      {3, 2, "<デ><デ><デ><ガ><ガ>\r\n"_cp},
      {1, 3, "<デ><ガ><ガ><ガ>\r\n"_cp},
  };
  for (const Case& c : cases) {
    BattleScript script({});
    BattleState& battle = script.At.State;
    script.StartBattle(Oni());
    battle.DecoyTokens[PlayerSide] = c.decoys;
    battle.GuardTokens[PlayerSide] = c.guards;
    EXPECT_EQ(TokenLine(battle, PlayerSide), c.line);
    EXPECT_EQ(TokenLine(battle, EnemySide), "");
  }
}

}  // namespace
}  // namespace velkor
