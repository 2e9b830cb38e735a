#include "battle_console/console_battle.h"

#include <gtest/gtest.h>

#include "battle/battle_state.h"
#include "battle/tests/battle_fixture.h"
#include "testsupport/console_script.h"

namespace velkor {
namespace {

using test::battle;

using test::ConsoleScript;
using test::SetUnhurtYuu;

std::vector<std::string> Enters(int n) { return std::vector<std::string>(static_cast<std::size_t>(n), ""); }

// Joins the typed lines of a battle, step by step.
std::vector<std::string> Script(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> lines;
  for (const auto& part : parts) lines.insert(lines.end(), part.begin(), part.end());
  return lines;
}

TEST(Battle, VictoryWithATitle) {
  ConsoleScript script(Script({Enters(2),
                               {"b", "b", "x", "Z", "y"},
                               Enters(13),  // turn 1
                               Enters(1),
                               {"b", "b", "b", "y"},
                               Enters(10),  // turn 2
                               Enters(3)}),
                       1);
  SetUnhurtYuu({200, 45, 20, 30});
  std::string result;
  result = ResultText(Battle(test::TestBattle, 6, Player, RandomState));
  EXPECT_EQ(result, "勝利");
  EXPECT_EQ(TitleList, "【鬼殺し】");
  EXPECT_EQ(Player.CurStats[StatHP], 123);  // the hunt loop restores it, not the battle
  EXPECT_EQ(script.LinesLeft(), 0u);
  test::ExpectGolden(script.Transcript(), "battle_console/tests/golden/battle_victory.golden");
}

TEST(Battle, DefeatThroughDecoys) {
  ConsoleScript script(Script({Enters(2),
                               {"y", "a", "a", "d", "y"},
                               Enters(14),  // turn 1
                               Enters(1),
                               {"y", "a", "a", "d", "y"},
                               Enters(7),  // turn 2
                               Enters(1)}),
                       3);
  SetUnhurtYuu({60, 10, 10, 20});
  TitleList = "【竜殺し】";
  std::string result;
  result = ResultText(Battle(test::TestBattle, 1, Player, RandomState));
  EXPECT_EQ(result, "敗北");
  EXPECT_EQ(TitleList, "【竜殺し】");
  EXPECT_EQ(Player.CurStats[StatHP], -18);
  EXPECT_EQ(battle.CurrentEnemy.CurStats[StatHP], 92);  // kept as the battle left it
  EXPECT_EQ(script.LinesLeft(), 0u);
  test::ExpectGolden(script.Transcript(), "battle_console/tests/golden/battle_defeat.golden");
}

// The enemy that chooses each slot when its phase comes; MindEye shows its
// row, with the slots still to come empty.
TEST(Battle, HyperReactionEnemy) {
  ConsoleScript script(Script({Enters(2),
                               {"b", "c", "c", "c", "y"},
                               Enters(18),  // turn 1
                               Enters(1),
                               {"c", "Z", "y"},
                               Enters(6),  // turn 2
                               Enters(2)}),
                       11);
  SetUnhurtYuu({150, 60, 20, 30}, {0, 1, 0, 0});
  std::string result;
  result = ResultText(Battle(test::TestBattle, 4, Player, RandomState));
  EXPECT_EQ(result, "勝利");
  EXPECT_EQ(TitleList, "");  // this one has no title
  EXPECT_EQ(battle.CurrentEnemy.CurStats[StatHP], -10);
  EXPECT_EQ(script.LinesLeft(), 0u);
  test::ExpectGolden(script.Transcript(), "battle_console/tests/golden/battle_hyper_enemy.golden");
}

// The player's "崩し" drives the enemy's points below 0, so that its later
// slots of the turn fail for lack of points.
TEST(Battle, BreakDrivesThePointsBelowZero) {
  ConsoleScript script(Script({Enters(2),
                               {"h", "h", "h", "h", "Z", "y"},
                               Enters(20),  // turn 1
                               Enters(1),
                               {"X", "b", "y"},
                               Enters(6),  // turn 2
                               Enters(2)}),
                       21);
  SetUnhurtYuu({100, 60, 20, 60}, {0, 0, 1, 0});
  std::string result;
  result = ResultText(Battle(test::TestBattle, 0, Player, RandomState));
  EXPECT_EQ(result, "勝利");
  EXPECT_EQ(battle.CurrentEnemy.CurStats[StatHP], -1);
  EXPECT_EQ(Player.CurStats[StatHP], 98);
  EXPECT_EQ(script.LinesLeft(), 0u);
  test::ExpectGolden(script.Transcript(), "battle_console/tests/golden/battle_break.golden");
}

// A player who chooses each slot when its phase comes, with the points left
// after the enemy's "崩し"; with too few points the slot ends at once.
TEST(Battle, HyperReactionPlayer) {
  ConsoleScript script(Script({Enters(4),
                               {"b"},
                               Enters(10),  // turn 1
                               Enters(1),
                               {"b"},
                               Enters(4),
                               {"b"},
                               Enters(2),  // turn 2
                               Enters(3)}),
                       45);
  SetUnhurtYuu({150, 80, 20, 35}, {0, 0, 0, 1});
  std::string result;
  result = ResultText(Battle(test::TestBattle, 7, Player, RandomState));
  EXPECT_EQ(result, "勝利");
  EXPECT_EQ(TitleList, "【悪魔殺し】");
  EXPECT_EQ(Player.CurStats[StatHP], 128);
  EXPECT_EQ(battle.CurrentEnemy.CurStats[StatHP], -10);
  EXPECT_EQ(script.LinesLeft(), 0u);
  test::ExpectGolden(script.Transcript(), "battle_console/tests/golden/battle_hyper_player.golden");
}

TEST(Battle, TurnsCountOnAndTokensStartAtZero) {
  // A player too slow to act takes the last entry's sword play, 56 a turn,
  // and dies in the tenth turn.
  std::vector<std::string> typed{""};
  for (int turn = 1; turn <= 10; ++turn) typed.insert(typed.end(), {"", "y", "", ""});
  typed.push_back("");
  ConsoleScript script(typed, 5);
  SetUnhurtYuu({510, 10, 0, 0});
  battle.GuardTokens = {3, 3};  // left from another battle
  battle.DecoyTokens = {3, 3};
  std::string result = "勝利";
  result = ResultText(Battle(test::TestBattle, 11, Player, RandomState));
  EXPECT_EQ(result, "敗北");
  EXPECT_EQ(Player.CurStats[StatHP], 510 - 10 * 56);
  EXPECT_EQ(script.LinesLeft(), 0u);
  const std::string out = script.Output();
  EXPECT_NE(out.find("\r\n******  Turn 1  ******\r\n"), std::string::npos);
  EXPECT_NE(out.find("\r\n******  Turn 10  ******\r\n"), std::string::npos);
  EXPECT_EQ(out.find("Turn 11"), std::string::npos);
  const std::string end = "ユウは殺されてしまった！！\r\n";
  EXPECT_EQ(out.substr(out.size() - end.size()), end);
}

}  // namespace
}  // namespace velkor
