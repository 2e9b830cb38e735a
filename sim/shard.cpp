#include "sim/shard.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <istream>

#include "sim/policy_registry.h"

namespace velkor::sim {

namespace {

// A part's columns, in order: what the writer fills and the reader takes.
enum Column : std::size_t {
  ColPart,
  ColParts,
  ColPolicy,
  ColStep,
  ColEnemy,
  ColRuns,
  ColSeed,
  ColPolicySeed,
  ColBuild,
  ColHP,  // then the other stats in order
  ColTalents = ColHP + StatCount,
  ColSuccesses,
  ColKills,
  Columns
};
constexpr std::array<std::string_view, Columns> ColumnNames{
    "part",  "parts", "policy", "step", "enemy", "runs",    "seed",      "policy_seed",
    "build", "hp",    "atk",    "def",  "spd",   "talents", "successes", "kills"};

using Row = std::array<std::string, Columns>;

std::string Joined(const Row& row) {
  std::string line;
  for (std::size_t c = 0; c < Columns; ++c) line += (c == 0 ? "" : ",") + row[c];
  return line;
}

std::string HeaderLine() {
  Row names;
  for (std::size_t c = 0; c < Columns; ++c) names[c] = ColumnNames[c];
  return Joined(names);
}
// Longer than any line a part holds (about 120 bytes at most): a longer one
// is refused as soon as it is seen, so that any input takes little memory.
constexpr std::size_t LongestLine = 256;
// What a search can be asked for (command_line.cpp, ParseShard).
constexpr std::uint64_t MostParts = 1000000;
constexpr std::uint64_t MostRuns = std::uint64_t{1} << 32;
constexpr std::uint64_t MostKillsPerHunt = RosterSize;

// What every line of one search's parts shares.
struct Search {
  std::string Policy;
  std::uint64_t Parts = 0, Step = 0, Enemy = 0, Runs = 0, Seed = 0, PolicySeed = 0;  // Enemy 0: hunts
  bool operator==(const Search&) const = default;
};

bool ReadUnsigned(std::string_view text, std::uint64_t& value) {
  const char* end = text.data() + text.size();
  const auto [at, problem] = std::from_chars(text.data(), end, value);
  return !text.empty() && problem == std::errc() && at == end;
}

// Puts the build's own columns in row: stats, then talent letters (none for
// none).
void PutBuild(const Build& build, Row& row) {
  for (std::size_t s = 0; s < StatCount; ++s) row[ColHP + s] = std::to_string(build.StatPoints[s]);
  const std::string talents = TalentLetters(build);
  row[ColTalents] = talents == "-" ? "" : talents;
}

enum class LineRead { Line, End, TooLong, Failed };

// One line without its line end, of at most LongestLine bytes; the rest of a
// longer one is never read.
LineRead ReadPartLine(std::istream& in, std::string& line) {
  char buffer[LongestLine + 2];
  in.getline(buffer, sizeof buffer);
  if (in.bad()) return LineRead::Failed;
  const auto taken = static_cast<std::size_t>(in.gcount());
  if (in.fail() && taken == 0) return in.eof() ? LineRead::End : LineRead::Failed;
  if (in.fail()) return LineRead::TooLong;  // the buffer filled before the LF
  line.assign(buffer, taken - (in.eof() ? 0 : 1));
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return LineRead::Line;
}

// Printable ASCII only: a part never holds a control byte (an escape
// sequence in a policy's column would reach the terminal) or other text.
bool IsPartText(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

bool IsPolicyName(std::string_view name) {
  const auto known = Policies();
  return std::any_of(known.begin(), known.end(),
                     [name](const PolicyEntry& entry) { return entry.Name == name; });
}

std::vector<std::string_view> Split(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t at = 0;;) {
    const std::size_t comma = line.find(',', at);
    fields.push_back(line.substr(at, comma == std::string_view::npos ? std::string_view::npos : comma - at));
    if (comma == std::string_view::npos) return fields;
    at = comma + 1;
  }
}

}  // namespace

std::optional<std::pair<std::uint32_t, std::uint32_t>> ParseShard(std::string_view text, std::string& error) {
  const std::size_t slash = text.find('/');
  std::uint64_t k = 0;
  std::uint64_t n = 0;
  if (slash == std::string_view::npos || !ReadUnsigned(text.substr(0, slash), k) ||
      !ReadUnsigned(text.substr(slash + 1), n) || k < 1 || n > 1000000 || k > n) {
    error = "--shard wants K/N, part K of N with 1 <= K <= N <= 1000000, not \"" + std::string(text) + "\"";
    return std::nullopt;
  }
  return std::make_pair(static_cast<std::uint32_t>(k - 1), static_cast<std::uint32_t>(n));
}

std::string PartCsv(const SearchOptions& options, const std::vector<RankedBuild>& part) {
  std::vector<const RankedBuild*> ordered;
  for (const RankedBuild& b : part) ordered.push_back(&b);
  std::sort(ordered.begin(), ordered.end(), [](auto* a, auto* b) { return a->Index < b->Index; });
  Row row;
  row[ColPart] = std::to_string(options.Part + 1);
  row[ColParts] = std::to_string(options.Parts);
  row[ColPolicy] = options.Runs.Policy;
  row[ColStep] = std::to_string(options.Step);
  row[ColEnemy] = options.Enemy ? std::to_string(*options.Enemy + 1) : "";
  row[ColRuns] = std::to_string(options.Runs.Runs);
  row[ColSeed] = std::to_string(options.Runs.Seed);
  row[ColPolicySeed] = std::to_string(options.Runs.PolicySeed);
  std::string out = HeaderLine() + "\n";
  for (const RankedBuild* b : ordered) {
    row[ColBuild] = std::to_string(b->Index);
    PutBuild(b->Character, row);
    row[ColSuccesses] = std::to_string(b->Successes);
    row[ColKills] = std::to_string(b->Kills);
    out += Joined(row) + "\n";
  }
  return out;
}

bool MergeParts(const std::vector<std::string>& files, MergedSearch& merged, std::string& error) {
  std::optional<Search> search;
  std::vector<Build> every;
  std::vector<bool> seen;
  merged.Ranked.clear();
  for (const std::string& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    const LineRead first = in ? ReadPartLine(in, line) : LineRead::Failed;
    if (first == LineRead::Failed || first == LineRead::End) {
      error = "cannot read \"" + file + "\"";
      return false;
    }
    if (first == LineRead::TooLong || line != HeaderLine()) {
      error = "\"" + file + "\" is not a part written by search --shard";
      return false;
    }
    for (std::uint64_t number = 2;; ++number) {
      const std::string where = file + ":" + std::to_string(number) + ": ";
      const LineRead got = ReadPartLine(in, line);
      if (got == LineRead::End) break;
      if (got == LineRead::Failed) {
        error = where + "cannot be read";
        return false;
      }
      if (got == LineRead::TooLong) {
        error = where + "longer than any line of a part";
        return false;
      }
      if (line.empty()) continue;
      if (!IsPartText(line)) {
        error = where + "holds a control byte or other text that no part holds";
        return false;
      }
      const std::vector<std::string_view> f = Split(line);
      Search here;
      std::uint64_t part = 0, index = 0, successes = 0, kills = 0;
      const bool read = f.size() == Columns && ReadUnsigned(f[ColPart], part) &&
                        ReadUnsigned(f[ColParts], here.Parts) && ReadUnsigned(f[ColStep], here.Step) &&
                        (f[ColEnemy].empty() || (ReadUnsigned(f[ColEnemy], here.Enemy) && here.Enemy >= 1)) &&
                        ReadUnsigned(f[ColRuns], here.Runs) && ReadUnsigned(f[ColSeed], here.Seed) &&
                        ReadUnsigned(f[ColPolicySeed], here.PolicySeed) && ReadUnsigned(f[ColBuild], index) &&
                        ReadUnsigned(f[ColSuccesses], successes) && ReadUnsigned(f[ColKills], kills) &&
                        here.Step >= 1 && here.Step <= 100 && here.Parts >= 1 && here.Parts <= MostParts &&
                        here.Enemy <= RosterSize && here.Seed <= UINT32_MAX && here.PolicySeed <= UINT32_MAX;
      if (!read) {
        error = where + "not a line of a part";
        return false;
      }
      // Values that no search makes: a part so edited or damaged would rank
      // builds by numbers nobody played.
      const bool possible = here.Runs >= 1 && here.Runs <= MostRuns && successes <= here.Runs &&
                            kills <= (here.Enemy == 0 ? MostKillsPerHunt * here.Runs : 0);
      if (!possible) {
        error = where + "runs, successes or kills that no search makes";
        return false;
      }
      if (!IsPolicyName(f[ColPolicy])) {
        error = where + "a policy that velkor-sim does not have";
        return false;
      }
      here.Policy = f[ColPolicy];
      if (!search) {
        search = here;
        every = EnumerateBuilds(static_cast<std::int32_t>(here.Step));
        seen.assign(every.size(), false);
        merged.Ranked.resize(every.size());
      } else if (!(here == *search)) {
        error = where + "belongs to another search than the lines before it";
        return false;
      }
      const auto sameBuild = [&] {
        Row expected;
        PutBuild(every[index], expected);
        for (std::size_t c = ColHP; c <= ColTalents; ++c)
          if (f[c] != expected[c]) return false;
        return true;
      };
      if (index >= every.size() || part != index % here.Parts + 1 || !sameBuild()) {
        error = where + "build " + std::to_string(index) + " is not the build this search has in that place";
        return false;
      }
      if (seen[index]) {
        error = where + "build " + std::to_string(index) + " comes twice: is part " + std::to_string(part) +
                " given twice?";
        return false;
      }
      seen[index] = true;
      merged.Ranked[index] = {every[index], here.Runs, successes, kills, index};
    }
  }
  if (!search) {
    error = "the parts hold no builds";
    return false;
  }
  std::vector<std::uint64_t> missing;
  for (std::size_t b = 0; b < seen.size(); ++b) {
    const std::uint64_t part = b % search->Parts + 1;
    if (!seen[b] && std::find(missing.begin(), missing.end(), part) == missing.end()) missing.push_back(part);
    if (missing.size() == 10) break;  // enough to go on with
  }
  if (!missing.empty()) {
    error = "builds are missing: not given part";
    for (const std::uint64_t part : missing) error += " " + std::to_string(part);
    error += " of " + std::to_string(search->Parts);
    return false;
  }
  RankBuilds(merged.Ranked);
  merged.Policy = search->Policy;
  merged.Options.Runs.Policy = merged.Policy;
  merged.Options.Runs.Runs = search->Runs;
  merged.Options.Runs.Seed = static_cast<std::uint32_t>(search->Seed);
  merged.Options.Runs.PolicySeed = static_cast<std::uint32_t>(search->PolicySeed);
  merged.Options.Step = static_cast<std::int32_t>(search->Step);
  if (search->Enemy != 0) merged.Options.Enemy = static_cast<std::int32_t>(search->Enemy - 1);
  return true;
}

}  // namespace velkor::sim
