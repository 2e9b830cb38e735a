// The drawing of each round's candidates: who may be offered, how many, and
// in which order the random source is used.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "console/prompts.h"
#include "data/random_source.h"
#include "enemy/enemy.h"
#include "hunt/hunt.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"

namespace velkor {
namespace {

constexpr int Umi = 10;     // "黒野宇美"
constexpr int Daichi = 11;  // "黒野大地"

TEST(AllFalse, TrueOnlyWhenNoFlagIsTrue) {
  struct Case {
    std::size_t size;
    std::vector<std::size_t> trueAt;
    bool expected;
  };
  const Case cases[] = {
      {0, {}, true},    {12, {}, true},          {12, {11}, false},
      {12, {0}, false}, {12, {0, 5, 11}, false}, {3, {1}, false},
  };
  for (const Case& c : cases) {
    bool flags[12] = {};
    for (const std::size_t i : c.trueAt) flags[i] = true;
    EXPECT_EQ(AllFalse(std::span<const bool>(flags, c.size)), c.expected) << c.size << " flags";
  }
}

TEST(FindEnemys, HeldBackEntriesAreTheLastTwoOfTheRoster) {
  test::ConsoleScript script({});
  TEnemy enemy;
  EnemyData(Umi, enemy, script.Banner());
  EXPECT_EQ(enemy.Name.Text(), "黒野宇美"_cp);
  EnemyData(Daichi, enemy, script.Banner());
  EXPECT_EQ(enemy.Name.Text(), "黒野大地"_cp);
}

// Worked out by hand from the generator (state := state * 134775813 + 1,
// draw := high half of state * n): first n = 3 + draw(3), then draw(12)
// until an eligible index comes, once per candidate.
TEST(FindEnemys, DrawsInTheStatedOrder) {
  struct Case {
    std::uint32_t seed;
    int killCount;
    std::vector<int> alive;
    std::vector<int> candidates;
    std::uint32_t stateAfter;  // proves that no other draw was made
  };
  const std::vector<int> all = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  const Case cases[] = {
      {0, 0, all, {0, 2, 3}, 1172187917u},  // one draw on 10 or 11 thrown away
      {12345, 0, all, {3, 0, 6, 7}, 2721613530u},
      {117, 0, all, {1, 9, 5, 4, 7}, 2680837762u},
      {2026, 0, all, {9, 8, 1, 6}, 2440905852u},
      {7, 7, {2, 5, 9, 10, 11}, {2, 9, 5}, 1986701816u},
      {117, 7, {1, 6, 8, 10, 11}, {1, 6, 8}, 2948436466u},  // five wanted, three there
      {99, 9, {4, 10, 11}, {4}, 1731621641u},
      {5, 10, {10, 11}, {Umi}, 3894842479u},
      {5, 11, {11}, {Daichi}, 3959937742u},
  };
  for (const Case& c : cases) {
    test::ConsoleScript script({}, c.seed);
    HuntState state;
    state.AliveFlags.fill(false);
    for (const int i : c.alive) state.AliveFlags[i] = true;
    state.KillCount = c.killCount;
    state.CandidateCount = 99;
    FindEnemys(state, RandomSource(script.RandomState), script.Banner());
    const std::vector<int> got(state.Candidates.begin(),
                               state.Candidates.begin() + std::clamp(state.CandidateCount, 0, 5));
    EXPECT_EQ(state.CandidateCount, static_cast<int>(c.candidates.size())) << "seed " << c.seed;
    EXPECT_EQ(got, c.candidates) << "seed " << c.seed;
    EXPECT_EQ(script.RandomState, c.stateAfter) << "seed " << c.seed;
    EXPECT_EQ(script.Output(), "") << "seed " << c.seed;
  }
}

// A kill state that play can reach: the two held-back entries die only as
// the eleventh and twelfth, everything else in any order.
HuntState ReachableState(int killCount, std::uint32_t& mix) {
  HuntState state;
  state.KillCount = killCount;
  std::array<int, 10> order = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  for (int i = 9; i > 0; --i) {  // a shuffle from a generator of the test's own
    mix = mix * 1103515245u + 12345u;
    std::swap(order[i], order[(mix >> 8) % (i + 1)]);
  }
  for (int k = 0; k < std::min(killCount, 10); ++k) state.AliveFlags[order[k]] = false;
  if (killCount >= 11) state.AliveFlags[Umi] = false;
  return state;
}

TEST(FindEnemys, ConsequencesHoldForThousandsOfSeedsAndKillStates) {
  // Kill count -> how many candidates may be offered, given n wanted.
  std::uint32_t mix = 1;
  std::map<int, std::set<int>> countsSeen;
  for (std::uint32_t seed = 0; seed < 3000; ++seed) {
    for (int killCount = 0; killCount <= 11; ++killCount) {
      HuntState state = ReachableState(killCount, mix);
      const HuntState before = state;
      test::ConsoleScript script({}, seed * 2654435761u);
      std::uint32_t draw = script.RandomState;
      const std::int32_t wanted = 3 + DrawInt(draw, 3);
      FindEnemys(state, RandomSource(script.RandomState), script.Banner());

      const int eligible = killCount <= 9 ? 10 - killCount : 1;
      ASSERT_EQ(state.CandidateCount, std::min(wanted, eligible))
          << "seed " << seed << " kills " << killCount;
      countsSeen[killCount].insert(state.CandidateCount);
      std::set<int> distinct;
      for (int i = 0; i < state.CandidateCount; ++i) {
        const int c = state.Candidates[i];
        ASSERT_TRUE(c >= 0 && c < 12);
        EXPECT_TRUE(before.AliveFlags[c]) << "dead entry " << c << " offered";
        distinct.insert(c);
        if (killCount < 10) {
          EXPECT_NE(c, Umi) << "kills " << killCount;
        }
        if (killCount < 11) {
          EXPECT_NE(c, Daichi) << "kills " << killCount;
        }
      }
      EXPECT_EQ(static_cast<int>(distinct.size()), state.CandidateCount) << "an entry twice";
      if (killCount == 10) {
        EXPECT_EQ(state.Candidates[0], Umi);
      }
      if (killCount == 11) {
        EXPECT_EQ(state.Candidates[0], Daichi);
      }
      EXPECT_EQ(state.AliveFlags, before.AliveFlags);
      EXPECT_EQ(state.KillCount, killCount);
      EXPECT_EQ(script.Output(), "");
    }
  }
  const std::map<int, std::set<int>> table = {
      {0, {3, 4, 5}}, {1, {3, 4, 5}}, {2, {3, 4, 5}}, {3, {3, 4, 5}}, {4, {3, 4, 5}}, {5, {3, 4, 5}},
      {6, {3, 4}},    {7, {3}},       {8, {2}},       {9, {1}},       {10, {1}},      {11, {1}},
  };
  EXPECT_EQ(countsSeen, table);
}

TEST(FindEnemys, EveryEligibleEntryIsEquallyLikely) {
  // At the first round the ten ordinary entries are each offered in 2 of 5
  // rounds on average (n is 4 on average), and each is first equally often.
  std::array<int, 12> offered{};
  std::array<int, 12> first{};
  std::array<int, 6> wanted{};
  const int rounds = 12000;
  test::ConsoleScript script({}, 42);
  for (int r = 0; r < rounds; ++r) {
    HuntState state;
    FindEnemys(state, RandomSource(script.RandomState), script.Banner());
    ++wanted[state.CandidateCount];
    ++first[state.Candidates[0]];
    for (int i = 0; i < state.CandidateCount; ++i) ++offered[state.Candidates[i]];
  }
  for (int n = 3; n <= 5; ++n) EXPECT_NEAR(wanted[n], rounds / 3, rounds / 30) << n;
  for (int i = 0; i < 10; ++i) {
    EXPECT_NEAR(offered[i], rounds * 2 / 5, rounds / 40) << i;
    EXPECT_NEAR(first[i], rounds / 10, rounds / 50) << i;
  }
  EXPECT_EQ(offered[Umi] + offered[Daichi], 0);
}

}  // namespace
}  // namespace velkor
