#include "data/points.h"

#include <gtest/gtest.h>

#include <climits>

namespace velkor {
namespace {

using Stats = std::array<std::int32_t, StatCount>;
using Talents = std::array<std::uint8_t, TalentCount>;

TEST(ScaleStats, MultipliesHitPointsByFive) {
  struct Case {
    Stats in;
    Stats out;
  };
  const Case cases[] = {
      {{1, 2, 3, 4}, {5, 2, 3, 4}},
      {{0, 0, 0, 0}, {0, 0, 0, 0}},
      {{-3, -1, 7, 100}, {-15, -1, 7, 100}},
  };
  for (const Case& c : cases) {
    Stats stats = c.in;
    ScaleStats(stats);
    EXPECT_EQ(stats, c.out);
  }
}

TEST(PointCost, StatPointsPlusTheTalentsHeld) {
  struct Case {
    const char* what;
    Stats points;
    Talents talents;
    std::int64_t cost;
  };
  const Case cases[] = {
      {"nothing bought", {0, 0, 0, 0}, {0, 0, 0, 0}, 0},
      {"a whole pool of stats", {40, 20, 20, 20}, {0, 0, 0, 0}, 100},
      {"every talent", {0, 0, 0, 0}, {1, 1, 1, 1}, 12 + 10 + 6 + 8},
      {"a talent counts once whatever its byte", {0, 0, 0, 0}, {0, 7, 0, 0}, 10},
      {"stats near the limit do not wrap",
       {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
       {1, 0, 0, 0},
       4LL * INT_MAX + 12},
  };
  for (const Case& c : cases) EXPECT_EQ(PointCost(c.points, c.talents), c.cost) << c.what;
}

}  // namespace
}  // namespace velkor
