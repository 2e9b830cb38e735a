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
  EXPECT_EQ(SearchTable(ranked, 1, 6, true),
            "rank,hp,atk,def,spd,talents,runs,wins,share,ci_low,ci_high,avg_kills\n"
            "1,30,30,10,30,,1000,52,0.0520,0.0399,0.0676,\n");
}

TEST(ProgressLine, FortyCellsAndThePercentage) {
  EXPECT_EQ(ProgressLine("searching", 0, 8), "searching [                                        ] 0%");
  EXPECT_EQ(ProgressLine("x", 3, 4), "x [" + std::string(30, '#') + std::string(10, ' ') + "] 75%");
  EXPECT_EQ(ProgressLine("x", 4, 4), "x [" + std::string(40, '#') + "] 100%");
}

}  // namespace
}  // namespace velkor::sim
