#include <gtest/gtest.h>

#include <fstream>

#include "console/scenario.h"
#include "data/fighter.h"
#include "opening/definition.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"
#include "testsupport/test_files.h"

namespace velkor {
namespace {

using test::ConsoleScript;

// A folder of its own holding a short opening scenario in dat/, as the game's
// working directory would.
class OpeningFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::MakeFolder("dat"));
    std::ofstream opening("dat/0.dat", std::ios::binary);
    opening << "$PlayerName" << ScrambleText("は目を覚ました。"_cp) << "\r\n"
            << "\r\n"
            << ScrambleText("雨が降っていた。"_cp) << "\r\n"
            << "#End\r\n"
            << ScrambleText("ここは見えない。"_cp) << "\r\n";
    ASSERT_TRUE(opening.good());
  }

 private:
  test::ScopedTempDir folder_;
  test::ScopedWorkingDir inside_{folder_.Path()};
};

TEST_F(OpeningFolder, WholeDefinitionDialogue) {
  ConsoleScript script({
      "",                             // the first wait
      "ジークフリート様x"_cp,         // 17 bytes: refused
      "ジーク"_cp, "", "",            // the two introduction texts
      "10", "20", "101", "20", "20",  // 101 is more than the 50 left
      "d", "e", "b", "Z",             // "e" is no letter of the menu
      "", "", "",                     // the opening wait and its two pauses
  });
  TPlayer& Player = script.Player;
  DefineCharacter(script.Console(), script.Player);
  EXPECT_EQ(script.LinesLeft(), 0u);
  EXPECT_EQ(Player.Name.Text(), "ジーク"_cp);
  EXPECT_EQ(Player.BaseStats, (std::array<std::int32_t, 4>{50, 20, 20, 20}));
  EXPECT_EQ(Player.CurStats, Player.BaseStats);
  EXPECT_EQ(Player.Talents, (std::array<std::uint8_t, 4>{0, 1, 0, 1}));
  test::ExpectGolden(script.Transcript(), "opening/tests/golden/whole_definition.golden");
}

}  // namespace
}  // namespace velkor
