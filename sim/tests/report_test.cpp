#include "sim/report.h"

#include <gtest/gtest.h>

#include "sim/interval.h"
#include "sim/progress.h"
#include "sim/tests/replay.h"
#include "testsupport/console_script.h"

namespace velkor::sim {
namespace {

TEST(WilsonInterval, KnownValues) {
  struct Case {
    std::uint64_t successes, n;
    double low, high;
  };
  const Case cases[] = {
      {0, 10, 0.0, 0.2775},      {5, 10, 0.2366, 0.7634},   {10, 10, 0.7225, 1.0},
      {50, 100, 0.4038, 0.5962}, {1, 1000, 0.0002, 0.0056}, {0, 0, 0.0, 1.0},
  };
  for (const Case& c : cases) {
    const Interval interval = WilsonInterval(c.successes, c.n);
    EXPECT_NEAR(interval.Low, c.low, 0.0001) << c.successes << " of " << c.n;
    EXPECT_NEAR(interval.High, c.high, 0.0001) << c.successes << " of " << c.n;
  }
}

std::array<EnemyTally, RosterSize> SomeTallies() {
  std::array<EnemyTally, RosterSize> tallies{};
  for (std::size_t i = 0; i < RosterSize; ++i)
    tallies[i] = {100, 10 * (i % 11), 350 + i, static_cast<std::int64_t>(40 * i)};
  tallies[3].Wins = 0;
  tallies[3].HPLeftOnWins = 0;
  return tallies;
}

TEST(BattleTable, OneRowPerRosterEntry) {
  const std::string text = velkor::test::Cp932ToUtf8(BattleTable(SomeTallies(), false));
  // Columns line up: a roster name takes as many columns as bytes.
  const std::string expected =
      " #  enemy         battles    wins  win rate  95% interval       turns  HP left\n"
      " 1  \xE7\x9C\x9F\xE5\xB1\xB1\xE9\xBA\xBB\xE8\x80\xB6"
      "          100       0      0.0%  [  0.0%,   3.7%]    3.50        -\n"
      " 2  \xE3\x82\xAD\xE3\x83\xA1\xE3\x83\xA9\xE3\x82\xA8\xE3\x83\xAB\xE3\x83\x95"
      "      100      10     10.0%  [  5.5%,  17.4%]    3.51      4.0\n";
  EXPECT_EQ(text.substr(0, expected.size()), expected);
  EXPECT_EQ(test::CrLfLines(text).size(), 1u) << "line feeds only";

  const std::string csv = BattleTable(SomeTallies(), true);
  std::vector<std::string> rows;
  for (std::size_t at = 0, end; (end = csv.find('\n', at)) != std::string::npos; at = end + 1)
    rows.push_back(csv.substr(at, end - at));
  ASSERT_EQ(rows.size(), 13u);
  EXPECT_EQ(rows[0], "index,enemy,battles,wins,win_rate,ci_low,ci_high,avg_turns,avg_hp_left");
  EXPECT_EQ(velkor::test::Cp932ToUtf8(rows[2]),
            "2,\xE3\x82\xAD\xE3\x83\xA1\xE3\x83\xA9\xE3\x82\xA8\xE3\x83\xAB\xE3\x83\x95,100,10,0.1000,0.0552,"
            "0.1744,"
            "3.510,4.00");
  EXPECT_EQ(rows[4].substr(rows[4].size() - 7), ",3.530,") << "no wins: no HP left";
}

TEST(HuntTable, KillsHistogramAndTheEnding) {
  HuntTally tally;
  tally.Hunts = 10;
  tally.Kills = {4, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4};
  tally.Endings = 4;
  const std::string text = HuntTable(tally, false);
  EXPECT_NE(text.find("    0         4   40.0%  ########################################\n"),
            std::string::npos);
  EXPECT_NE(text.find("    1         2   20.0%  ####################\n"), std::string::npos);
  EXPECT_NE(text.find("   12         4   40.0%  ########################################  (the ending)\n"),
            std::string::npos);
  EXPECT_NE(text.find("reached the ending: 4 of 10,  40.0% [ 16.8%,  68.7%]\naverage kills: 5.00\n"),
            std::string::npos);
  const std::string csv = HuntTable(tally, true);
  EXPECT_EQ(csv.substr(0, 32), "kills,hunts,share\n0,4,0.4000\n1,2");
}

TEST(SearchTable, TheTopBuilds) {
  std::vector<RankedBuild> ranked(3);
  ranked[0] = {Build{{30, 30, 10, 30}, {}}, 1000, 52, 7100};
  ranked[1] = {Build{{20, 30, 10, 34}, {0, 0, 1, 0}}, 1000, 40, 6900};
  const std::string text = SearchTable(ranked, 2, std::nullopt, false);
  EXPECT_EQ(text,
            "rank   HP ATK DEF SPD  talents  ending  95% interval      kills\n"
            "   1   30  30  10  30  -          5.2%  [  4.0%,   6.8%]   7.10\n"
            "   2   20  30  10  34  c          4.0%  [  3.0%,   5.4%]   6.90\n");
  // Against one enemy nothing is killed: the column goes.
  EXPECT_EQ(SearchTable(ranked, 1, 6, true),
            "rank,hp,atk,def,spd,talents,runs,wins,share,ci_low,ci_high\n"
            "1,30,30,10,30,,1000,52,0.0520,0.0399,0.0676\n");
  EXPECT_EQ(SearchTable(ranked, 1, 6, false),
            "rank   HP ATK DEF SPD  talents    wins  95% interval\n"
            "   1   30  30  10  30  -          5.2%  [  4.0%,   6.8%]\n");
}

TEST(ProgressLine, RateAndTimeLeftWithinTheWidth) {
  // 300 of 1200 hunts in 10 s: 30 a second, 900 to go in 30 s.
  EXPECT_EQ(ProgressLine("searching", "hunts", 300, 1200, 10.0, 120),
            "searching [" + std::string(10, '#') + std::string(30, ' ') + "] 25% 30 hunts/s 0m30s left");
  EXPECT_EQ(ProgressLine("x", "hunts", 0, 8, 0.0, 80),
            "x [" + std::string(40, ' ') + "] 0% - hunts/s - left");
  EXPECT_EQ(ProgressLine("x", "battles", 12000000, 12000000, 4.0, 80),
            "x [" + std::string(40, '#') + "] 100% 3.0M battles/s 0m00s left");
  EXPECT_EQ(ProgressLine("x", "hunts", 1, 100000, 1.0, 80).substr(48), "1 hunts/s 27h46m left");

  // Every width down to nothing: never the last column, and a bar while
  // there is room for one.
  for (std::size_t width = 0; width <= 200; ++width) {
    const std::string line = ProgressLine("searching", "hunts", 123456, 1000000, 61.5, width);
    EXPECT_LT(line.size(), std::max<std::size_t>(width, 1)) << width << ": " << line;
    if (width >= 40) {
      EXPECT_NE(line.find("[#"), std::string::npos) << width << ": " << line;
    }
    if (width >= 4) {
      EXPECT_NE(line.find("12%"), std::string::npos) << width << ": " << line;
    }
  }
  // In 40 columns the label and the words go first.
  EXPECT_EQ(ProgressLine("searching", "hunts", 123456, 1000000, 61.5, 40),
            "[##" + std::string(18, ' ') + "] 12% 2.0k/s 7m17s");
}

}  // namespace
}  // namespace velkor::sim
