#include "sim/runs.h"

#include <gtest/gtest.h>

#include <string_view>

#include <set>
#include <utility>
#include <vector>

#include "sim/policy_registry.h"
#include "sim/search.h"
#include "sim/seeds.h"
#include "sim/simulation.h"

namespace velkor::sim {
namespace {

const Build Even{{25, 25, 25, 25}, {}};

bool Same(const EnemyTally& a, const EnemyTally& b) {
  return a.Battles == b.Battles && a.Wins == b.Wins && a.Turns == b.Turns && a.HPLeftOnWins == b.HPLeftOnWins;
}

TEST(RunBattles, TheSumOfTheBattlesOfConsecutiveSeedsWhateverTheThreads) {
  RunOptions options;
  options.Runs = 2500;  // three work items per enemy
  options.Seed = 77;
  options.Threads = 1;
  const auto one = RunBattles(Even, options);
  options.Threads = 3;
  // Progress told along the way never goes back, ends at every battle and
  // changes nothing in the tallies.
  std::vector<std::pair<std::uint64_t, std::uint64_t>> told;
  const auto three = RunBattles(
      Even, options, [&told](std::uint64_t done, std::uint64_t of) { told.emplace_back(done, of); });
  ASSERT_FALSE(told.empty());
  EXPECT_EQ(told.back(), std::make_pair(std::uint64_t{2500 * RosterSize}, std::uint64_t{2500 * RosterSize}));
  for (std::size_t i = 1; i < told.size(); ++i) EXPECT_LE(told[i - 1].first, told[i].first);
  const auto policy = MakePolicy("greedy");
  for (std::size_t enemy = 0; enemy < RosterSize; ++enemy) {
    EXPECT_TRUE(Same(one[enemy], three[enemy])) << enemy;
    EXPECT_EQ(one[enemy].InvariantBreaks, 0u) << enemy;
    EnemyTally direct;
    for (std::uint64_t i = 0; i < options.Runs; ++i) {
      const BattleRecord record = SimulateBattle(MakeFighter(Even), static_cast<std::int32_t>(enemy), *policy,
                                                 SeedsOfRun(77, options.PolicySeed, i));
      ++direct.Battles;
      direct.Turns += record.Turns;
      if (record.Outcome == BattleOutcome::Victory) {
        ++direct.Wins;
        direct.HPLeftOnWins += record.PlayerHP;
      }
    }
    EXPECT_TRUE(Same(one[enemy], direct)) << enemy;
  }
}

// A policy that draws takes its stream from the policy seed, which the
// table is given apart from the game's seeds.
TEST(RunBattles, APolicyThatDrawsFollowsThePolicySeed) {
  RunOptions options;
  options.Policy = "random";
  options.Runs = 300;
  const auto first = RunBattles(Even, options);
  EXPECT_TRUE(Same(RunBattles(Even, options)[0], first[0]));
  options.PolicySeed = 2;
  const auto other = RunBattles(Even, options);
  int differ = 0;
  for (std::size_t enemy = 0; enemy < RosterSize; ++enemy) differ += Same(first[enemy], other[enemy]) ? 0 : 1;
  EXPECT_GT(differ, 6);
}

TEST(RunHunts, WhateverTheThreads) {
  RunOptions options;
  options.Policy = "random";
  options.Runs = 2100;
  for (const unsigned threads : {1u, 2u, 5u}) {
    options.Threads = threads;
    const HuntTally tally = RunHunts(Even, options);
    static const HuntTally first = tally;
    EXPECT_EQ(tally.Hunts, 2100u);
    EXPECT_EQ(tally.Kills, first.Kills) << threads;
    EXPECT_EQ(tally.Endings, tally.Kills[RosterSize]);
    EXPECT_EQ(tally.InvariantBreaks, 0u);
  }
}

TEST(SimulateHunt, FollowsTheHuntsRules) {
  const auto policy = MakePolicy("greedy");
  const TFighter strong = MakeFighter(Build{{30, 30, 10, 30}, {}});
  int endings = 0;
  for (std::uint32_t seed = 0; seed < 300; ++seed) {
    std::vector<BattleRecord> battles;
    const HuntRecord hunt = SimulateHunt(strong, *policy, {seed, seed}, &battles);
    ASSERT_FALSE(battles.empty());
    std::set<std::int32_t> fought;
    for (std::size_t i = 0; i < battles.size(); ++i) {
      EXPECT_TRUE(fought.insert(battles[i].Enemy).second) << "an enemy fought twice, seed " << seed;
      // The two held back are the eleventh and the twelfth.
      if (battles[i].Enemy == 10 || battles[i].Enemy == 11) {
        EXPECT_EQ(i, static_cast<std::size_t>(battles[i].Enemy)) << seed;
      }
      const bool last = i + 1 == battles.size();
      EXPECT_EQ(battles[i].Outcome == BattleOutcome::Victory, !last || hunt.Ending) << seed;
      EXPECT_EQ(battles[i].PlayerHP <= 0, battles[i].Outcome == BattleOutcome::Defeat) << seed;
    }
    EXPECT_EQ(hunt.Kills, static_cast<std::int32_t>(battles.size()) - (hunt.Ending ? 0 : 1));
    EXPECT_EQ(hunt.InvariantBreaks, 0u) << seed;
    if (hunt.Ending) ++endings;
  }
  EXPECT_GT(endings, 0);
}

TEST(SearchBuilds, RanksWhateverTheThreads) {
  SearchOptions options;
  options.Step = 50;
  options.Runs.Runs = 300;  // two work items per build
  options.Runs.Threads = 1;
  const std::vector<RankedBuild> one = SearchBuilds(options);
  options.Runs.Threads = 2;
  const std::vector<RankedBuild> two = SearchBuilds(options);
  ASSERT_EQ(one.size(), 70u);
  ASSERT_EQ(two.size(), one.size());
  for (std::size_t i = 0; i < one.size(); ++i) {
    EXPECT_EQ(one[i].Character, two[i].Character) << i;
    EXPECT_EQ(one[i].Successes, two[i].Successes) << i;
    EXPECT_EQ(one[i].Kills, two[i].Kills) << i;
    EXPECT_EQ(one[i].Runs, 300u);
    EXPECT_EQ(one[i].InvariantBreaks, 0u) << i;
    if (i > 0) {
      EXPECT_TRUE(one[i - 1].Successes > one[i].Successes ||
                  (one[i - 1].Successes == one[i].Successes && one[i - 1].Kills >= one[i].Kills))
          << "ranked out of order at " << i;
    }
  }
  // Against one enemy the count is of battles won, the same as RunBattles.
  options.Enemy = 6;
  const std::vector<RankedBuild> oni = SearchBuilds(options);
  const auto found = std::find_if(oni.begin(), oni.end(), [](const RankedBuild& r) {
    return r.Character == Build{{50, 50, 0, 0}, {}};
  });
  ASSERT_NE(found, oni.end());
  RunOptions runs;
  runs.Runs = 300;
  EXPECT_EQ(found->Successes, RunBattles(Build{{50, 50, 0, 0}, {}}, runs)[6].Wins);
  EXPECT_EQ(found->Kills, 0u);
}

// Every policy, on one thread and on three: each thread's policy meets
// other enemies and builds in another order (and keeps tables and choices
// from them), which must change no count.
TEST(Runs, EveryPolicyWhateverTheThreads) {
  for (const PolicyEntry& entry : Policies()) {
    // best's tables are solved before any thread starts and only read by
    // them; solving them for every enemy here would take minutes.
    if (std::string_view(entry.Name) == "best") continue;
    RunOptions options;
    options.Policy = entry.Name;
    options.Runs = 30;  // one work item per enemy
    options.Threads = 1;
    const auto one = RunBattles(Even, options);
    options.Threads = 3;
    const auto three = RunBattles(Even, options);
    for (std::size_t enemy = 0; enemy < RosterSize; ++enemy)
      EXPECT_TRUE(Same(one[enemy], three[enemy])) << entry.Name << " against " << enemy;

    SearchOptions search;  // whole hunts: seventy builds, one work item each
    search.Step = 50;
    search.Runs.Policy = entry.Name;
    search.Runs.Runs = 1;
    search.Runs.Threads = 1;
    const std::vector<RankedBuild> alone = SearchBuilds(search);
    search.Runs.Threads = 3;
    const std::vector<RankedBuild> shared = SearchBuilds(search);
    ASSERT_EQ(alone.size(), shared.size());
    for (std::size_t i = 0; i < alone.size(); ++i) {
      EXPECT_EQ(alone[i].Character, shared[i].Character) << entry.Name << " " << i;
      EXPECT_EQ(alone[i].Successes, shared[i].Successes) << entry.Name << " " << i;
      EXPECT_EQ(alone[i].Kills, shared[i].Kills) << entry.Name << " " << i;
      EXPECT_EQ(alone[i].InvariantBreaks, 0u) << entry.Name << " " << i;
    }
  }
}

// lookahead keeps tables and choices in each thread's policy: none of it
// may leak from one run into the next.
TEST(SearchBuilds, LookaheadWhateverTheThreads) {
  SearchOptions options;
  options.Step = 50;
  options.Enemy = 6;
  options.Runs.Policy = "lookahead";
  options.Runs.Runs = 260;  // two work items per build
  options.Runs.Threads = 1;
  const std::vector<RankedBuild> one = SearchBuilds(options);
  options.Runs.Threads = 3;
  const std::vector<RankedBuild> three = SearchBuilds(options);
  ASSERT_EQ(three.size(), one.size());
  for (std::size_t i = 0; i < one.size(); ++i) {
    EXPECT_EQ(one[i].Character, three[i].Character) << i;
    EXPECT_EQ(one[i].Successes, three[i].Successes) << i;
  }
}

}  // namespace
}  // namespace velkor::sim
