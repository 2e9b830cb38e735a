#include "battle/weight_table.h"

#include <algorithm>
#include <cstring>

namespace velkor {

namespace {

// The level of points: how many distinct action costs are at or below them
// (0 for points below 0).
constexpr std::int32_t HighestCost = 50;
constexpr std::array<std::uint8_t, HighestCost + 1> LevelOf = [] {
  std::array<std::uint8_t, HighestCost + 1> level{};
  for (std::int32_t p = 0; p <= HighestCost; ++p) {
    std::uint8_t distinct = 0;
    for (std::int32_t c = 0; c <= p; ++c)
      if (std::find(ActionCosts.begin(), ActionCosts.end(), c) != ActionCosts.end()) ++distinct;
    level[static_cast<std::size_t>(p)] = distinct;
  }
  return level;
}();
// A points value at each level, to build its totals from.
constexpr std::array<std::int32_t, 10> PointsAtLevel = {-1, 0, 3, 4, 5, 6, 7, 8, 10, 50};

static_assert(*std::max_element(ActionCosts.begin(), ActionCosts.end()) == HighestCost);
static_assert(LevelOf[HighestCost] + 1 == PointsAtLevel.size());

}  // namespace

const WeightTable::Totals& WeightTable::For(const std::array<std::int32_t, ActionCount>& rate,
                                            std::int32_t points, int slot) {
  // A fixed size: the compiler compares in place, without a call.
  if (std::memcmp(rate.data(), rate_.data(), sizeof rate_) != 0) {
    rate_ = rate;
    for (auto& known : known_) known.fill(false);
  }
  const std::size_t level =
      points < 0 ? 0 : std::size_t{LevelOf[static_cast<std::size_t>(std::min(points, HighestCost))]};
  const std::size_t second = slot == 1 ? 1 : 0;
  Totals& totals = totals_[level][second];
  if (!known_[level][second]) {
    known_[level][second] = true;
    std::int64_t total = 0;
    totals.Ascending = true;
    for (std::size_t i = 0; i < ActionCount; ++i) {
      if (ActionCosts[i] <= PointsAtLevel[level]) {
        // The enemy favours "崩し" in its second slot only. Summed in 64
        // bits: weights are plain integers and must not overflow.
        const std::int64_t weight = second != 0 && i == actBreak ? 2 * std::int64_t{rate[i]} : rate[i];
        total += weight;
        if (weight < 0) totals.Ascending = false;
      }
      totals.Running[i] = total;
    }
  }
  return totals;
}

}  // namespace velkor
