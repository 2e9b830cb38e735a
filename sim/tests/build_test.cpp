#include "sim/build.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "sim/search.h"

namespace velkor::sim {
namespace {

TEST(ParseBuild, TheDefinitionsPoolDecides) {
  struct Case {
    const char* stats;
    const char* talents;
    bool ok;
    const char* error;  // a part of the message when refused
  };
  const Case cases[] = {
      {"25,25,25,25", "", true, ""},
      {"100,0,0,0", "", true, ""},
      {"64,0,0,0", "abcd", true, ""},  // 64 + 12 + 10 + 6 + 8
      {"0,0,0,0", "dca", true, ""},
      {"65,0,0,0", "abcd", false, "costs 101 points"},
      {"25,25,25,26", "", false, "costs 101 points"},
      {"101,0,0,0", "", false, "costs 101 points"},
      {"1000,0,0,0", "", false, "--stats"},
      {"25,25,25", "", false, "--stats"},
      {"25,25,25,25,0", "", false, "--stats"},
      {"25,,25,25", "", false, "--stats"},
      {"25,-1,25,25", "", false, "--stats"},
      {" 25,25,25,25", "", false, "--stats"},
      {"25,25,25,25,", "", false, "--stats"},
      {"99999999999999999999,0,0,0", "", false, "--stats"},
      {"", "", false, "--stats"},
      {"25,25,25,25", "e", false, "--talents"},
      {"25,25,25,25", "aa", false, "--talents"},
      {"25,25,25,25", "A", false, "--talents"},
      {"0,0,0,0", "-", false, "--talents"},
  };
  for (const Case& c : cases) {
    std::string error;
    const std::optional<Build> build = ParseBuild(c.stats, c.talents, error);
    EXPECT_EQ(build.has_value(), c.ok) << c.stats << " " << c.talents;
    if (!c.ok) {
      EXPECT_NE(error.find(c.error), std::string::npos) << c.stats << ": " << error;
    }
  }
  std::string error;
  const std::optional<Build> build = ParseBuild("10,20,30,14", "db", error);
  ASSERT_TRUE(build);
  EXPECT_EQ(build->StatPoints, (std::array<std::int32_t, 4>{10, 20, 30, 14}));
  EXPECT_EQ(build->Talents, (std::array<std::uint8_t, 4>{0, 1, 0, 1}));
  EXPECT_EQ(PointsSpent(*build), 92);
  EXPECT_EQ(StatsText(*build), "10,20,30,14");
  EXPECT_EQ(TalentLetters(*build), "bd");
  EXPECT_EQ(TalentLetters(Build{}), "-");
}

TEST(MakeFighter, PointsTimesTheMultipliersAtFullStrength) {
  const TFighter fighter = MakeFighter(Build{{20, 30, 10, 40}, {0, 0, 1, 0}});
  EXPECT_EQ(fighter.BaseStats, (std::array<std::int32_t, 4>{100, 30, 10, 40}));
  EXPECT_EQ(fighter.CurStats, fighter.BaseStats);
  EXPECT_TRUE(fighter.HasTalent(Quick));
  EXPECT_FALSE(fighter.HasTalent(EvilEye));
}

TEST(EnumerateBuilds, EveryAffordableTalentSetWithEverySplitThatUsesThePool) {
  struct Case {
    std::int32_t step;
    std::size_t count;
  };
  // Step 100: the four all-in splits without talents, and all stats 0 with
  // each of the 15 talent sets. Step 50: 10 splits of two steps without
  // talents, and 4 of one step with each talent set (36 points at most).
  const Case cases[] = {{100, 4 + 15}, {50, 10 + 15 * 4}, {5, 16044}, {0, 0}};
  for (const Case& c : cases) {
    const std::vector<Build> builds = EnumerateBuilds(c.step);
    EXPECT_EQ(builds.size(), c.count) << "step " << c.step;
    std::set<std::string> seen;
    for (const Build& build : builds) {
      const std::int32_t spent = PointsSpent(build);
      EXPECT_LE(spent, 100);
      EXPECT_GT(spent, 100 - c.step) << "a whole step left unspent";
      for (const std::int32_t points : build.StatPoints) EXPECT_EQ(points % c.step, 0);
      EXPECT_TRUE(seen.insert(StatsText(build) + TalentLetters(build)).second) << "twice";
    }
  }
}

}  // namespace
}  // namespace velkor::sim
