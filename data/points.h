#pragma once
// The definition's points: what the points put in a stat make of it, and
// what a set of stat points and talents costs from the pool.

#include <array>
#include <cstdint>

#include "data/tables.h"

namespace velkor {

// The stats times StatMultipliers, in place: points become stat values.
void ScaleStats(std::array<std::int32_t, StatCount>& stats);

// The points spent on statPoints (one a point, before the multipliers) and
// on each talent held (non-zero). Wide: four stats near 2^31 must not wrap.
std::int64_t PointCost(const std::array<std::int32_t, StatCount>& statPoints,
                       const std::array<std::uint8_t, TalentCount>& talents);

}  // namespace velkor
