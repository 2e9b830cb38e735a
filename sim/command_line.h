#pragma once
// What velkor-sim is asked to do, read from its arguments.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/best_solver.h"
#include "sim/build.h"
#include "sim/policy.h"

namespace velkor::sim {

struct CommandLine {
  enum class Mode { Battles, Hunts, Search, Merge, Solve, Advise, Help };
  Mode Run = Mode::Help;
  Build Character{{25, 25, 25, 25}, {}};
  // The strongest policy every run can afford: best solves minutes per
  // enemy the first time and refuses talent d and search.
  std::string Policy = "lookahead";
  std::uint64_t Runs = 0;  // 0: the mode's default
  std::uint32_t Seed = 1;
  std::uint32_t PolicySeed = 1;
  unsigned Threads = 0;  // 0: every core
  bool Csv = false;
  bool Trace = false;
  Knowledge Knows = Knowledge::Veteran;  // battles: one battle against Enemy, turn by turn
  std::int32_t Step = 5;
  std::optional<std::int32_t> Enemy;  // roster index 0..11 (typed 1..12): search, solve, trace
  std::size_t Top = 10;
  std::size_t Check = 1;  // advise: builds of each kind re-checked with best
  // search --shard K/N: part K-1 of N, written as CSV.
  bool Sharded = false;
  std::uint32_t Part = 0;
  std::uint32_t Parts = 1;
  std::vector<std::string> Files;  // merge: the parts
  // The best play's tables (--policy best, solve): the plans they choose
  // among, and where they are kept (unset: the default folder).
  PlanSet Plans = PlanSet::Candidates;
  std::optional<std::string> Cache;
};

// The arguments after the program's name. Refused, with a message in error,
// for an unknown mode or option, a missing or malformed value, or a build
// that the definition would not allow.
std::optional<CommandLine> ParseCommandLine(std::span<const std::string_view> args, std::string& error);

// Why the best play cannot be solved for build (empty when it can): its
// choices made phase by phase (超反応) are out of the solve's reach.
std::string BestOutOfReach(const Build& build);

// The runs a mode makes when -n is not given.
std::uint64_t DefaultRuns(CommandLine::Mode mode);

// What --help prints.
std::string HelpText();

}  // namespace velkor::sim
