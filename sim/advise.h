#pragma once
// The advice: which build to play and how. A coarse search with the fast
// look-ahead, its best builds re-checked with the solved best play where
// that can be solved, and for the build recommended with talents and the
// one without: the win rate against every enemy, the share of hunts that
// reach the ending, and the plan most often made in the first turn.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "sim/runs.h"

namespace velkor::sim {

struct AdviseOptions {
  RunOptions Runs;          // the search's: lookahead, Runs.Runs hunts per build
  std::int32_t Step = 10;   // of the search
  std::size_t Check = 1;    // builds of each kind re-checked with best (0: none)
  std::uint64_t Final = 0;  // battles per enemy and hunts for the report (0: ten times Runs.Runs)
};

// The advice as text (enemy names and plans in code page 932). progress,
// when given, hears of the runs done in each stage in turn. best's tables
// come from TableStore::Shared() as configured.
std::string Advise(const AdviseOptions& options,
                   const std::function<void(std::uint64_t done, std::uint64_t of)>& progress = {});

}  // namespace velkor::sim
