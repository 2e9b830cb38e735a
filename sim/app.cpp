#include "sim/app.h"

#include "console/terminal_binding.h"
#include "console/to_cp932.h"
#include "platform/console.h"
#include "sim/advise.h"
#include "sim/best_tables.h"
#include "sim/policy_registry.h"
#include "sim/report.h"
#include "sim/roster_entry.h"
#include "sim/runs.h"
#include "sim/search.h"
#include "sim/seeds.h"
#include "sim/shard.h"
#include "sim/trace.h"

namespace velkor::sim {

namespace {

// The game's seeds, and the policy seed where the policy draws.
std::string Seeds(const RunOptions& options) {
  std::string text = "seeds " + std::to_string(options.Seed) + " to " +
                     std::to_string(RunSeed(options.Seed, options.Runs - 1));
  if (PolicyDraws(options.Policy)) text += ", policy seed " + std::to_string(options.PolicySeed);
  return text;
}

// The heading of a search's ranking, whether run whole or merged from parts.
std::string SearchHeading(const SearchOptions& search, std::size_t builds) {
  const std::uint64_t runs = search.Runs.Runs;
  return "every build in steps of " + std::to_string(search.Step) + " points (" + std::to_string(builds) +
         " builds) | policy " + std::string(search.Runs.Policy) +
         (search.Runs.Knows == Knowledge::Newcomer ? " (newcomer)" : "") + " | " + std::to_string(runs) +
         (search.Enemy ? " battles each against enemy " + std::to_string(*search.Enemy + 1) + " " +
                             RosterEntry(*search.Enemy).Name.Text()
                       : " hunts each") +
         ", " + Seeds(search.Runs);
}

std::string BuildText(const Build& build) {
  return "build " + StatsText(build) + " talents " + TalentLetters(build);
}

std::string PolicyText(const CommandLine& line) {
  return "policy " + line.Policy +
         (line.Policy == "best" && line.Plans == PlanSet::Every ? " (every plan)" : "") +
         (line.Knows == Knowledge::Newcomer ? " (newcomer)" : "");
}

// The tables of build against every enemy (or the one asked for), got
// before any run begins: a solve then has the machine to itself, and the
// runs' threads only read.
std::vector<TableNote> GetTables(const CommandLine& line) {
  TableStore& store = TableStore::Shared();
  store.Configure(line.Cache.value_or(""), line.Plans);
  std::vector<TableNote> notes;
  for (std::int32_t enemy = 0; enemy < RosterSize; ++enemy) {
    if (line.Enemy && *line.Enemy != enemy) continue;
    notes.push_back(store.Get(line.Character, enemy)->Note);
  }
  return notes;
}

}  // namespace

std::string RunCommand(const CommandLine& line, ProgressBar* progress, std::uint64_t* invariantBreaks) {
  std::uint64_t breaks = 0;
  if (line.Policy == "best" && line.Run != CommandLine::Mode::Help) GetTables(line);
  RunOptions options;
  options.Policy = line.Policy;
  options.Runs = line.Runs;
  options.Seed = line.Seed;
  options.PolicySeed = line.PolicySeed;
  options.Threads = line.Threads;
  options.Knows = line.Knows;
  const auto show = [progress](std::uint64_t done, std::uint64_t of) { progress->Update(done, of); };
  std::string heading;
  std::string table;
  switch (line.Run) {
    case CommandLine::Mode::Battles: {
      if (line.Trace) {
        const std::int32_t enemy = line.Enemy.value_or(0);
        heading = BuildText(line.Character) + " | " + PolicyText(line) + " | enemy " +
                  std::to_string(enemy + 1) + " " + RosterEntry(enemy).Name.Text() + ", seed " +
                  std::to_string(line.Seed) +
                  (PolicyDraws(options.Policy) ? ", policy seed " + std::to_string(line.PolicySeed) : "");
        table = TraceBattle(line.Character, enemy, line.Policy, SeedsOfRun(line.Seed, line.PolicySeed, 0),
                            line.Knows);
        break;
      }
      heading = BuildText(line.Character) + " | " + PolicyText(line) + " | " + std::to_string(line.Runs) +
                " battles per enemy, " + Seeds(options);
      const auto tallies = progress != nullptr ? RunBattles(line.Character, options, show)
                                               : RunBattles(line.Character, options);
      for (const EnemyTally& tally : tallies) breaks += tally.InvariantBreaks;
      table = BattleTable(tallies, line.Csv);
      break;
    }
    case CommandLine::Mode::Hunts: {
      heading = BuildText(line.Character) + " | " + PolicyText(line) + " | " + std::to_string(line.Runs) +
                " hunts, " + Seeds(options);
      const HuntTally tally =
          progress != nullptr ? RunHunts(line.Character, options, show) : RunHunts(line.Character, options);
      breaks = tally.InvariantBreaks;
      table = HuntTable(tally, line.Csv);
      break;
    }
    case CommandLine::Mode::Search: {
      SearchOptions search;
      search.Runs = options;
      search.Step = line.Step;
      search.Enemy = line.Enemy;
      search.Part = line.Part;
      search.Parts = line.Parts;
      const std::vector<RankedBuild> ranked =
          progress != nullptr ? SearchBuilds(search, show) : SearchBuilds(search);
      for (const RankedBuild& build : ranked) breaks += build.InvariantBreaks;
      if (invariantBreaks != nullptr) *invariantBreaks = breaks;
      if (line.Sharded) {
        if (progress != nullptr) progress->Finish();
        return PartCsv(search, ranked);
      }
      heading = SearchHeading(search, ranked.size());
      table = SearchTable(ranked, line.Top, line.Enemy, line.Csv);
      break;
    }
    case CommandLine::Mode::Merge: {
      MergedSearch merged;
      std::string error;
      if (!MergeParts(line.Files, merged, error)) throw MergeError(error);
      heading = SearchHeading(merged.Options, merged.Ranked.size());
      table = SearchTable(merged.Ranked, line.Top, merged.Options.Enemy, line.Csv);
      break;
    }
    case CommandLine::Mode::Solve:
      heading = BuildText(line.Character) + " | the best play among " +
                (line.Plans == PlanSet::Candidates ? "the lookahead's candidate mixes" : "every plan") +
                " | the chance of winning from the battle's start";
      table = SolveTable(GetTables(line), line.Csv);
      break;
    case CommandLine::Mode::Advise: {
      TableStore::Shared().Configure(line.Cache.value_or(""), line.Plans);
      AdviseOptions advise;
      advise.Runs = options;
      advise.Step = line.Step;
      advise.Check = line.Check;
      const std::string text = progress != nullptr ? Advise(advise, show) : Advise(advise);
      if (progress != nullptr) progress->Finish();
      return text;
    }
    case CommandLine::Mode::Help:
      return HelpText();
  }
  if (progress != nullptr) progress->Finish();
  if (invariantBreaks != nullptr) *invariantBreaks = breaks;
  return line.Csv ? table : heading + "\n\n" + table;
}

std::string ForLocale(std::string_view text) {
  const TerminalBinding binding = DecideTerminalBinding(false, true, platform::TerminalCharset());
  if (!binding.convertOutput) return std::string(text);
  CharsetConverter converter(binding.charset, GameCharset);
  if (!converter.IsOpen()) return std::string(text);
  std::string out;
  converter.Lenient(text, out);
  return out;
}

}  // namespace velkor::sim
