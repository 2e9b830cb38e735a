#include "battle_console/console_battle.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "battle/battle_state.h"
#include "battle/tests/battle_fixture.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"

namespace velkor {
namespace {

using test::BattleScript;

std::vector<std::string> Enters(int n) { return std::vector<std::string>(static_cast<std::size_t>(n), ""); }

// Joins the typed lines of a battle, step by step.
std::vector<std::string> Script(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> lines;
  for (const auto& part : parts) lines.insert(lines.end(), part.begin(), part.end());
  return lines;
}

// Whole battles at the console, each against its golden transcript.
TEST(Battle, WholeBattlesAtTheConsole) {
  struct Case {
    const char* golden;  // in battle_console/tests/golden/, and what the case shows
    std::vector<std::string> typed;
    std::uint32_t seed;
    test::Stats stats;
    test::Talents talents;
    std::int32_t enemy;
    std::string titlesBefore;
    std::string result;
    std::optional<std::string> titlesAfter;
    std::optional<std::int32_t> playerHP;  // the hunt loop restores it, not the battle
    std::optional<std::int32_t> enemyHP;   // kept as the battle left it
  };
  const Case cases[] = {
      {"battle_victory",
       Script({Enters(2),
               {"b", "b", "x", "Z", "y"},
               Enters(13),
               Enters(1),
               {"b", "b", "b", "y"},
               Enters(10),
               Enters(3)}),
       1,
       {200, 45, 20, 30},
       {},
       6,
       "",
       "勝利"_cp,
       "【鬼殺し】"_cp,
       123,
       std::nullopt},
      {"battle_defeat",
       Script({Enters(2),
               {"y", "a", "a", "d", "y"},
               Enters(14),
               Enters(1),
               {"y", "a", "a", "d", "y"},
               Enters(7),
               Enters(1)}),
       3,
       {60, 10, 10, 20},
       {},
       1,
       "【竜殺し】"_cp,
       "敗北"_cp,
       "【竜殺し】"_cp,
       -18,
       92},
      // The enemy chooses each slot when its phase comes; MindEye shows its
      // row, with the slots still to come empty. This one has no title.
      {"battle_hyper_enemy",
       Script({Enters(2),
               {"b", "c", "c", "c", "y"},
               Enters(18),
               Enters(1),
               {"c", "Z", "y"},
               Enters(6),
               Enters(2)}),
       11,
       {150, 60, 20, 30},
       {0, 1, 0, 0},
       4,
       "",
       "勝利"_cp,
       "",
       std::nullopt,
       -10},
      // The player's "崩し" drives the enemy's points below 0, so that its
      // later slots of the turn fail for lack of points.
      {"battle_break",
       Script({Enters(2),
               {"h", "h", "h", "h", "Z", "y"},
               Enters(20),
               Enters(1),
               {"X", "b", "y"},
               Enters(6),
               Enters(2)}),
       21,
       {100, 60, 20, 60},
       {0, 0, 1, 0},
       0,
       "",
       "勝利"_cp,
       std::nullopt,
       98,
       -1},
      // The player chooses each slot when its phase comes, with the points
      // left after the enemy's "崩し"; with too few the slot ends at once.
      {"battle_hyper_player",
       Script({Enters(4), {"b"}, Enters(10), Enters(1), {"b"}, Enters(4), {"b"}, Enters(2), Enters(3)}),
       45,
       {150, 80, 20, 35},
       {0, 0, 0, 1},
       7,
       "",
       "勝利"_cp,
       "【悪魔殺し】"_cp,
       128,
       -10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.golden);
    BattleScript script(c.typed, c.seed);
    TPlayer& Player = script.Player;
    std::string& TitleList = script.TitleList;
    std::uint32_t& RandomState = script.RandomState;
    script.SetUnhurtYuu(c.stats, c.talents);
    TitleList = c.titlesBefore;
    const std::string result(
        ResultText(Battle(script.Console(), script.At, c.enemy, Player, RandomState, TitleList)));
    EXPECT_EQ(result, c.result);
    if (c.titlesAfter) {
      EXPECT_EQ(TitleList, *c.titlesAfter);
    }
    if (c.playerHP) {
      EXPECT_EQ(Player.CurStats[StatHP], *c.playerHP);
    }
    if (c.enemyHP) {
      EXPECT_EQ(script.At.State.CurrentEnemy.CurStats[StatHP], *c.enemyHP);
    }
    EXPECT_EQ(script.LinesLeft(), 0u);
    test::ExpectGolden(script.Transcript(),
                       std::string("battle_console/tests/golden/") + c.golden + ".golden");
  }
}

TEST(Battle, TurnsCountOnAndTokensStartAtZero) {
  // A player too slow to act takes the last entry's sword play, 56 a turn,
  // and dies in the tenth turn.
  std::vector<std::string> typed{""};
  for (int turn = 1; turn <= 10; ++turn) typed.insert(typed.end(), {"", "y", "", ""});
  typed.push_back("");
  BattleScript script(typed, 5);
  BattleState& battle = script.At.State;
  TPlayer& Player = script.Player;
  std::uint32_t& RandomState = script.RandomState;
  script.SetUnhurtYuu({510, 10, 0, 0});
  battle.GuardTokens = {3, 3};  // left from another battle
  battle.DecoyTokens = {3, 3};
  const std::string result(
      ResultText(Battle(script.Console(), script.At, 11, Player, RandomState, script.TitleList)));
  EXPECT_EQ(result, "敗北"_cp);
  EXPECT_EQ(Player.CurStats[StatHP], 510 - 10 * 56);
  EXPECT_EQ(script.LinesLeft(), 0u);
  const std::string out = script.Output();
  EXPECT_NE(out.find("\r\n******  Turn 1  ******\r\n"), std::string::npos);
  EXPECT_NE(out.find("\r\n******  Turn 10  ******\r\n"), std::string::npos);
  EXPECT_EQ(out.find("Turn 11"), std::string::npos);
  const std::string end = "ユウは殺されてしまった！！\r\n"_cp;
  EXPECT_EQ(out.substr(out.size() - end.size()), end);
}

}  // namespace
}  // namespace velkor
