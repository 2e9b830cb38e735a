#include "sim/search.h"

#include <algorithm>

#include "opening/definition.h"
#include "sim/parallel.h"
#include "sim/seeds.h"
#include "sim/worker.h"

namespace velkor::sim {

namespace {

// Runs of one build per work item.
constexpr std::uint64_t Chunk = 250;

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
  std::vector<std::size_t> index;  // the part's builds
  for (std::size_t b = options.Part; b < every.size(); b += parts) index.push_back(b);
  std::vector<Build> builds;
  for (const std::size_t b : index) builds.push_back(every[b]);
  const std::uint64_t runs = options.Runs.Runs;
  const std::uint64_t chunks = (runs + Chunk - 1) / Chunk;
  const unsigned threads = std::max(options.Runs.Threads, 1u);
  const auto workers = MakeWorkers(options.Runs.Policy, threads);

  // One sum per build and thread, whatever the number of runs.
  std::vector<std::vector<RankedBuild>> sums(workers.size(), std::vector<RankedBuild>(builds.size()));
  const std::uint64_t items = builds.size() * chunks;
  const auto work = [&](unsigned worker, std::uint64_t item) {
    const TFighter player = MakeFighter(builds[item / chunks]);
    const std::uint64_t first = (item % chunks) * Chunk;
    const std::uint64_t last = std::min(first + Chunk, runs);
    RankedBuild tally;  // summed here and added once: neighbouring sums belong to other threads
    Simulator& play = workers[worker]->Play;
    for (std::uint64_t i = first; i < last; ++i) {
      const RunSeeds seed = SeedsOfRun(options.Runs.Seed, options.Runs.PolicySeed, i);
      ++tally.Runs;
      if (options.Enemy) {
        const BattleRecord battle = play.Battle(player, *options.Enemy, seed);
        if (battle.Outcome == BattleOutcome::Victory) ++tally.Successes;
        tally.InvariantBreaks += battle.InvariantBreaks;
      } else {
        const HuntRecord hunt = play.Hunt(player, seed);
        if (hunt.Ending) ++tally.Successes;
        tally.Kills += static_cast<std::uint64_t>(hunt.Kills);
        tally.InvariantBreaks += hunt.InvariantBreaks;
      }
    }
    RankedBuild& sum = sums[worker][static_cast<std::size_t>(item / chunks)];
    sum.Runs += tally.Runs;
    sum.Successes += tally.Successes;
    sum.Kills += tally.Kills;
    sum.InvariantBreaks += tally.InvariantBreaks;
  };
  if (progress) {
    // In runs, each item counted as an even share of them.
    const std::uint64_t total = builds.size() * runs;
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

  std::vector<RankedBuild> ranked(builds.size());
  for (std::size_t b = 0; b < builds.size(); ++b) {
    ranked[b].Character = builds[b];
    ranked[b].Index = index[b];
    for (const std::vector<RankedBuild>& perThread : sums) {
      const RankedBuild& part = perThread[b];
      ranked[b].Runs += part.Runs;
      ranked[b].Successes += part.Successes;
      ranked[b].Kills += part.Kills;
      ranked[b].InvariantBreaks += part.InvariantBreaks;
    }
  }
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
