#pragma once
// The search for the best builds: every stat split in steps of a chosen
// size with every affordable set of talents, each played the same runs.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "sim/build.h"
#include "sim/runs.h"

namespace velkor::sim {

// Every set of talents the pool can pay for, and with each every split of
// the points left in steps of step (1..100) that spends as many of them as
// the step allows: the points a step cannot use would be dropped anyway.
std::vector<Build> EnumerateBuilds(std::int32_t step);

struct SearchOptions {
  RunOptions Runs;  // Runs.Runs per build
  std::int32_t Step = 5;
  std::optional<std::int32_t> Enemy;  // rank by wins against this roster index instead of endings
  // Only part Part (0..Parts-1) of the builds: those whose place in
  // EnumerateBuilds leaves Part when divided by Parts.
  std::uint32_t Part = 0;
  std::uint32_t Parts = 1;
};

struct RankedBuild {
  Build Character;
  std::uint64_t Runs = 0;
  std::uint64_t Successes = 0;        // hunts that reached the ending, or battles won
  std::uint64_t Kills = 0;            // summed over the hunts (0 against one enemy)
  std::size_t Index = 0;              // its place in EnumerateBuilds
  std::uint64_t InvariantBreaks = 0;  // of its runs; not kept in a part's file
};

// Best first: by successes, then by kills, then by Index.
void RankBuilds(std::vector<RankedBuild>& builds);

// Every enumerated build of the part, ranked. What a build scores depends
// only on it and the seeds, not on the part or the threads.
std::vector<RankedBuild> SearchBuilds(
    const SearchOptions& options,
    const std::function<void(std::uint64_t done, std::uint64_t of)>& progress = {});

}  // namespace velkor::sim
