// The advice recommends the search's best build of each kind and reports
// the same wins the battle tables count for it.
#include "sim/advise.h"

#include <gtest/gtest.h>

#include <string>

#include "sim/report.h"
#include "sim/roster_entry.h"
#include "sim/search.h"

namespace velkor::sim {
namespace {

TEST(Advise, RecommendsTheSearchsBestOfEachKindWithItsTables) {
  AdviseOptions options;
  options.Runs.Policy = "lookahead";
  options.Runs.Runs = 2;
  options.Runs.Seed = 9;
  options.Runs.Threads = 2;
  options.Step = 30;
  options.Check = 0;  // best's tables take minutes to solve
  options.Final = 20;
  const std::string advice = Advise(options);

  SearchOptions search;
  search.Runs = options.Runs;
  search.Step = options.Step;
  const std::vector<RankedBuild> ranked = SearchBuilds(search);
  for (const bool talents : {false, true}) {
    const RankedBuild* top = nullptr;
    for (const RankedBuild& build : ranked) {
      const bool any = build.Character.Talents != decltype(build.Character.Talents){};
      if (any == talents) {
        top = &build;
        break;
      }
    }
    ASSERT_NE(top, nullptr);
    const std::string heading = std::string(talents ? "\nwith talents: " : "\nwithout talents: ") + "build " +
                                StatsText(top->Character) + " talents " + TalentLetters(top->Character) +
                                " | policy lookahead\n";
    const std::size_t at = advice.find(heading);
    ASSERT_NE(at, std::string::npos) << heading << advice;
    // Its hunts and every enemy's wins, as hunts and battles print them.
    RunOptions runs = options.Runs;
    runs.Runs = options.Final;
    const HuntTally hunts = RunHunts(top->Character, runs);
    EXPECT_EQ(
        advice.find(
            "  hunts reaching the ending: " + ShareWithInterval(hunts.Endings, hunts.Hunts) + " of 20\n", at),
        at + heading.size())
        << advice;
    const auto battles = RunBattles(top->Character, runs);
    for (std::int32_t enemy = 0; enemy < RosterSize; ++enemy) {
      const std::string row = RosterEntry(enemy).Name.Text();
      const std::size_t line = advice.find(std::to_string(enemy + 1) + "  " + row, at);
      ASSERT_NE(line, std::string::npos) << enemy;
      const std::size_t end = advice.find('\n', line);
      EXPECT_NE(advice.substr(line, end - line)
                    .find(ShareWithInterval(battles[static_cast<std::size_t>(enemy)].Wins, options.Final)),
                std::string::npos)
          << advice.substr(line, end - line);
      EXPECT_NE(advice.substr(line, end - line).find("%)"), std::string::npos) << "no first turn's plan";
    }
  }
}

}  // namespace
}  // namespace velkor::sim
