#pragma once
// A search split into parts that any batch system can run apart: each part
// written as CSV, the parts merged back into the ranking one run would give.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/search.h"

namespace velkor::sim {

// "K/N" with 1 <= K <= N <= 1000000 as the part K-1 of N; refused with a
// message in error otherwise.
std::optional<std::pair<std::uint32_t, std::uint32_t>> ParseShard(std::string_view text, std::string& error);

// A part's results: a header line, then one line per build of the part in
// the order of EnumerateBuilds, each line naming the search it belongs to
// (policy, step, enemy, runs, seed, policy seed, part and parts), the build's place in
// EnumerateBuilds, its stats and talents, and what it scored.
std::string PartCsv(const SearchOptions& options, const std::vector<RankedBuild>& part);

// A search read back from its parts.
struct MergedSearch {
  std::string Policy;
  SearchOptions Options;  // Options.Runs.Policy points into Policy
  std::vector<RankedBuild> Ranked;
  MergedSearch() = default;
  MergedSearch(const MergedSearch&) = delete;
  MergedSearch& operator=(const MergedSearch&) = delete;
};

// Reads the part files of one search and ranks every build. Refused, with a
// message in error, when a file cannot be read or is not a part's CSV (a
// line longer than any part's, text with a control byte, a policy this
// program does not have, runs, successes or kills that no search makes),
// when the files belong to different searches, or when a build is missing
// or comes twice (a part left out or given twice). Holds one row per build,
// however many runs each had, and reads whatever it is given in little
// memory: a line is refused once it is too long, without reading the rest.
bool MergeParts(const std::vector<std::string>& files, MergedSearch& merged, std::string& error);

}  // namespace velkor::sim
