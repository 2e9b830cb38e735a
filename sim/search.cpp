#include "sim/search.h"

#include <algorithm>
#include <atomic>

#include "data/tables.h"
#include "sim/parallel.h"
#include "sim/seeds.h"
#include "sim/worker.h"

namespace velkor::sim {

namespace {

// Runs of one build per work item.
constexpr std::uint64_t Chunk = 250;

// What the runs of one build add up to.
struct Tally {
  std::atomic<std::uint64_t> Successes{0};
  std::atomic<std::uint64_t> Kills{0};
  std::atomic<std::uint64_t> InvariantBreaks{0};
};

}  // namespace

std::vector<Build> EnumerateBuilds(std::int32_t step) {
  std::vector<Build> builds;
  if (step <= 0) return builds;
  for (std::uint32_t set = 0; set < (1u << TalentCount); ++set) {
    Build build;
    for (std::size_t t = 0; t < TalentCount; ++t) build.Talents[t] = (set >> t) & 1u;
    const std::int32_t left = InitialPointPool - PointsSpent(build);
    if (left < 0) continue;
    const std::int32_t units = left / step;
    for (std::int32_t hp = 0; hp <= units; ++hp) {
      for (std::int32_t attack = 0; hp + attack <= units; ++attack) {
        for (std::int32_t defense = 0; hp + attack + defense <= units; ++defense) {
          build.StatPoints = {hp * step, attack * step, defense * step,
                              (units - hp - attack - defense) * step};
          builds.push_back(build);
        }
      }
    }
  }
  return builds;
}

std::vector<RankedBuild> SearchBuilds(
    const SearchOptions& options, const std::function<void(std::uint64_t done, std::uint64_t of)>& progress) {
  const std::vector<Build> every = EnumerateBuilds(options.Step);
  const std::uint32_t parts = std::max(options.Parts, 1u);
  // The part's builds are every parts-th from Part: build b of the part is
  // every[place(b)].
  const std::size_t count =
      options.Part < every.size() ? (every.size() - options.Part + parts - 1) / parts : 0;
  const auto place = [&](std::size_t b) { return options.Part + b * parts; };
  const std::uint64_t runs = options.Runs.Runs;
  const std::uint64_t chunks = (runs + Chunk - 1) / Chunk;
  const std::uint64_t items = count * chunks;
  const unsigned threads = UsefulThreads(options.Runs.Threads, items);
  const auto workers = MakeWorkers(options.Runs.Policy, threads, options.Runs.Knows);

  // One tally per build, shared by the threads, whatever their number: a
  // sum does not depend on the order its items are added in.
  std::vector<Tally> tallies(count);
  const auto work = [&](unsigned worker, std::uint64_t item) {
    const std::size_t b = static_cast<std::size_t>(item / chunks);
    const TFighter player = MakeFighter(every[place(b)]);
    const std::uint64_t first = (item % chunks) * Chunk;
    const std::uint64_t last = std::min(first + Chunk, runs);
    std::uint64_t successes = 0;
    std::uint64_t kills = 0;
    std::uint64_t breaks = 0;
    Simulator& play = workers[worker]->Play;
    for (std::uint64_t i = first; i < last; ++i) {
      const RunSeeds seed = SeedsOfRun(options.Runs.Seed, options.Runs.PolicySeed, i);
      if (options.Enemy) {
        const BattleRecord battle = play.Battle(player, *options.Enemy, seed);
        if (battle.Outcome == BattleOutcome::Victory) ++successes;
        breaks += battle.InvariantBreaks;
      } else {
        const HuntRecord hunt = play.Hunt(player, seed);
        if (hunt.Ending) ++successes;
        kills += static_cast<std::uint64_t>(hunt.Kills);
        breaks += hunt.InvariantBreaks;
      }
    }
    tallies[b].Successes += successes;
    tallies[b].Kills += kills;
    tallies[b].InvariantBreaks += breaks;
  };
  if (progress) {
    // In runs, each item counted as an even share of them.
    const std::uint64_t total = count * runs;
    RunParallel(items, threads, work, [&](std::uint64_t done) {
      progress(done == items
                   ? total
                   : static_cast<std::uint64_t>(static_cast<double>(done) / static_cast<double>(items) *
                                                static_cast<double>(total)),
               total);
    });
  } else {
    RunParallel(items, threads, work);
  }

  std::vector<RankedBuild> ranked(count);
  for (std::size_t b = 0; b < count; ++b)
    ranked[b] = {every[place(b)],         runs,     tallies[b].Successes.load(),
                 tallies[b].Kills.load(), place(b), tallies[b].InvariantBreaks.load()};
  RankBuilds(ranked);
  return ranked;
}

void RankBuilds(std::vector<RankedBuild>& builds) {
  std::sort(builds.begin(), builds.end(), [](const RankedBuild& a, const RankedBuild& b) {
    if (a.Successes != b.Successes) return a.Successes > b.Successes;
    if (a.Kills != b.Kills) return a.Kills > b.Kills;
    return a.Index < b.Index;
  });
}

}  // namespace velkor::sim
