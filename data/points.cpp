#include "data/points.h"

#include <cstddef>

namespace velkor {

void ScaleStats(std::array<std::int32_t, StatCount>& stats) {
  for (std::size_t i = 0; i < stats.size(); ++i) stats[i] *= StatMultipliers[i];
}

std::int64_t PointCost(const std::array<std::int32_t, StatCount>& statPoints,
                       const std::array<std::uint8_t, TalentCount>& talents) {
  std::int64_t cost = 0;
  for (const std::int32_t points : statPoints) cost += points;
  for (std::size_t t = 0; t < TalentCount; ++t)
    if (talents[t] != 0) cost += TalentCosts[t];
  return cost;
}

}  // namespace velkor
