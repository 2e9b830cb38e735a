#pragma once
// A character as the definition makes it: points on the four stats and the
// talents bought with what is left of the pool.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "data/fighter.h"
#include "data/tables.h"

namespace velkor::sim {

struct Build {
  std::array<std::int32_t, StatCount> StatPoints{};  // as typed at the definition
  std::array<std::uint8_t, TalentCount> Talents{};   // 1 = owned

  bool operator==(const Build&) const = default;
};

// Stat points plus the costs of the talents.
std::int32_t PointsSpent(const Build& build);

// The fighter the definition would make of build: each stat its points times
// the stat's multiplier, current stats equal to base stats.
TFighter MakeFighter(const Build& build);

// "25,25,25,25" and the talents' menu letters ("cd"; "-" for none).
std::string StatsText(const Build& build);
std::string TalentLetters(const Build& build);

// A build from the command line's texts: four whole numbers separated by
// commas, and talent letters "a" to "d" (each at most once, "" for none).
// Refused, with a message in error, when a number is malformed or negative
// or the whole costs more than the definition's pool.
std::optional<Build> ParseBuild(std::string_view stats, std::string_view talents, std::string& error);

}  // namespace velkor::sim
