#include "sim/advise.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <vector>

#include "data/tables.h"
#include "sim/best_tables.h"
#include "sim/command_line.h"
#include "sim/policy_registry.h"
#include "sim/report.h"
#include "sim/roster_entry.h"
#include "sim/search.h"
#include "sim/seeds.h"
#include "sim/simulation.h"
#include "sim/trace.h"

namespace velkor::sim {

namespace {

using Progress = std::function<void(std::uint64_t done, std::uint64_t of)>;

bool HasTalents(const Build& build) {
  return std::any_of(build.Talents.begin(), build.Talents.end(), [](std::uint8_t t) { return t != 0; });
}

// A build's hunts under policy, on the options' seeds.
HuntTally Hunts(const Build& build, const AdviseOptions& options, std::string_view policy, std::uint64_t runs,
                const Progress& progress) {
  RunOptions run = options.Runs;
  run.Policy = policy;
  run.Runs = runs;
  return RunHunts(build, run, progress);
}

// The report on one build: its hunts, and against each enemy its battles
// with the plan of the first turn counted.
std::string Report(const Build& build, std::string_view policy, const AdviseOptions& options,
                   std::uint64_t runs, const HuntTally& hunts) {
  const auto player = MakePolicy(policy);
  player->Know(options.Runs.Knows);
  TraceScreen screen;
  Simulator play(*player, &screen);
  const TFighter fighter = MakeFighter(build);
  std::string text = "build " + StatsText(build) + " talents " + TalentLetters(build) + " | policy " +
                     std::string(policy) +
                     "\n  hunts reaching the ending: " + ShareWithInterval(hunts.Endings, hunts.Hunts) +
                     " of " + std::to_string(hunts.Hunts) +
                     "\n   #  enemy        win rate  95% interval       first turn, most often\n";
  for (std::int32_t enemy = 0; enemy < RosterSize; ++enemy) {
    std::uint64_t wins = 0;
    std::map<Plan, std::uint64_t> plans;
    for (std::uint64_t i = 0; i < runs; ++i) {
      screen.Turns.clear();
      const BattleRecord record =
          play.Battle(fighter, enemy, SeedsOfRun(options.Runs.Seed, options.Runs.PolicySeed, i));
      wins += record.Outcome == BattleOutcome::Victory ? 1 : 0;
      ++plans[screen.Turns.empty() ? Plan{} : screen.Turns.front().PlayerPlan];
    }
    // The most frequent plan; of equals, the first in order.
    const auto most = std::max_element(plans.begin(), plans.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    const std::string name = RosterEntry(enemy).Name.Text();
    text += "  " + std::string(enemy < 9 ? " " : "") + std::to_string(enemy + 1) + "  " + name +
            std::string(name.size() < 12 ? 12 - name.size() : 0, ' ') + " " + ShareWithInterval(wins, runs) +
            "  " + PlanText(most->first) + " (" +
            std::to_string(most->second * 100 / std::max<std::uint64_t>(runs, 1)) + "%)\n";
  }
  return text;
}

}  // namespace

std::string Advise(const AdviseOptions& options, const Progress& progress) {
  SearchOptions search;
  search.Runs = options.Runs;
  search.Runs.Policy = "lookahead";
  search.Step = options.Step;
  const std::vector<RankedBuild> ranked = SearchBuilds(search, progress);
  const std::uint64_t final = options.Final != 0 ? options.Final : options.Runs.Runs * 10;

  std::string text = "every build in steps of " + std::to_string(options.Step) + " points (" +
                     std::to_string(ranked.size()) + " builds), " + std::to_string(options.Runs.Runs) +
                     " hunts each by lookahead; " +
                     (options.Check == 0 ? std::string("no re-check")
                                         : "the best " + std::to_string(options.Check) +
                                               " of each kind re-checked by best where it can play them") +
                     "; the report over " + std::to_string(final) + " hunts and " + std::to_string(final) +
                     " battles per enemy, seeds from " + std::to_string(options.Runs.Seed) + "\n";
  for (const bool talents : {false, true}) {
    std::vector<Build> best;
    for (const RankedBuild& build : ranked)
      if (HasTalents(build.Character) == talents && best.size() < std::max<std::size_t>(options.Check, 1))
        best.push_back(build.Character);
    if (best.empty()) continue;
    // By default the look-ahead's first; where best can play the builds,
    // the one whose hunts best reach the ending under it.
    Build chosen = best.front();
    std::string_view policy = "lookahead";
    std::optional<HuntTally> chosenHunts;
    if (options.Check != 0) {
      for (const Build& build : best) {
        if (!BestOutOfReach(build).empty()) continue;
        // Solved before the runs, which then only read them.
        for (std::int32_t enemy = 0; enemy < RosterSize; ++enemy) TableStore::Shared().Get(build, enemy);
        const HuntTally hunts = Hunts(build, options, "best", final, progress);
        if (!chosenHunts || hunts.Endings > chosenHunts->Endings) {
          chosen = build;
          chosenHunts = hunts;
          policy = "best";
        }
      }
    }
    if (!chosenHunts) chosenHunts = Hunts(chosen, options, policy, final, progress);
    text += std::string("\n") + (talents ? "with talents" : "without talents") + ": " +
            Report(chosen, policy, options, final, *chosenHunts);
  }
  return text;
}

}  // namespace velkor::sim
