#include "sim/runs.h"

#include <algorithm>
#include <vector>

#include "sim/parallel.h"
#include "sim/seeds.h"
#include "sim/worker.h"

namespace velkor::sim {

namespace {

// Runs per work item: large enough that handing items out costs nothing,
// small enough that threads finish together.
constexpr std::uint64_t Chunk = 1024;

std::uint64_t Chunks(std::uint64_t runs) { return (runs + Chunk - 1) / Chunk; }

void Add(EnemyTally& sum, const EnemyTally& part) {
  sum.Battles += part.Battles;
  sum.Wins += part.Wins;
  sum.Turns += part.Turns;
  sum.HPLeftOnWins += part.HPLeftOnWins;
  sum.InvariantBreaks += part.InvariantBreaks;
}

void Add(HuntTally& sum, const HuntTally& part) {
  sum.Hunts += part.Hunts;
  sum.Endings += part.Endings;
  for (std::size_t k = 0; k < sum.Kills.size(); ++k) sum.Kills[k] += part.Kills[k];
  sum.InvariantBreaks += part.InvariantBreaks;
}

}  // namespace

std::array<EnemyTally, RosterSize> RunBattles(
    const Build& build, const RunOptions& options,
    const std::function<void(std::uint64_t done, std::uint64_t of)>& progress) {
  const TFighter player = MakeFighter(build);
  const std::uint64_t chunks = Chunks(options.Runs);
  const unsigned threads = UsefulThreads(options.Threads, chunks * RosterSize);
  const auto workers = MakeWorkers(options.Policy, threads, options.Knows);
  // One sum per thread, whatever the number of runs; sums do not depend on
  // the order, so the result does not depend on the threads.
  std::vector<std::array<EnemyTally, RosterSize>> sums(workers.size());
  const auto work = [&](unsigned worker, std::uint64_t item) {
    const auto enemy = static_cast<std::int32_t>(item / chunks);
    const std::uint64_t first = (item % chunks) * Chunk;
    const std::uint64_t last = std::min(first + Chunk, options.Runs);
    EnemyTally tally;  // summed here and added once: neighbouring sums belong to other threads
    for (std::uint64_t i = first; i < last; ++i) {
      const BattleRecord record =
          workers[worker]->Play.Battle(player, enemy, SeedsOfRun(options.Seed, options.PolicySeed, i));
      ++tally.Battles;
      tally.Turns += record.Turns;
      tally.InvariantBreaks += record.InvariantBreaks;
      if (record.Outcome == BattleOutcome::Victory) {
        ++tally.Wins;
        tally.HPLeftOnWins += record.PlayerHP;
      }
    }
    Add(sums[worker][static_cast<std::size_t>(enemy)], tally);
  };
  if (progress) {
    // An enemy's last item may be short: the battles done are told in
    // proportion, exact at the end.
    const std::uint64_t all = options.Runs * RosterSize;
    RunParallel(chunks * RosterSize, threads, work,
                [&](std::uint64_t done) { progress(all * done / (chunks * RosterSize), all); });
  } else {
    RunParallel(chunks * RosterSize, threads, work);
  }
  std::array<EnemyTally, RosterSize> tallies{};
  for (const auto& sum : sums)
    for (std::size_t enemy = 0; enemy < RosterSize; ++enemy) Add(tallies[enemy], sum[enemy]);
  return tallies;
}

HuntTally RunHunts(const Build& build, const RunOptions& options,
                   const std::function<void(std::uint64_t done, std::uint64_t of)>& progress) {
  const TFighter player = MakeFighter(build);
  const std::uint64_t chunks = Chunks(options.Runs);
  const unsigned threads = UsefulThreads(options.Threads, chunks);
  const auto workers = MakeWorkers(options.Policy, threads, options.Knows);
  std::vector<HuntTally> sums(workers.size());  // one per thread, as above
  const auto work = [&](unsigned worker, std::uint64_t item) {
    const std::uint64_t first = item * Chunk;
    const std::uint64_t last = std::min(first + Chunk, options.Runs);
    HuntTally tally;  // summed here and added once: neighbouring sums belong to other threads
    for (std::uint64_t i = first; i < last; ++i) {
      const HuntRecord record =
          workers[worker]->Play.Hunt(player, SeedsOfRun(options.Seed, options.PolicySeed, i));
      ++tally.Hunts;
      if (record.Ending) ++tally.Endings;
      tally.InvariantBreaks += record.InvariantBreaks;
      ++tally.Kills[static_cast<std::size_t>(record.Kills)];
    }
    Add(sums[worker], tally);
  };
  if (progress) {
    RunParallel(chunks, threads, work,
                [&](std::uint64_t done) { progress(std::min(done * Chunk, options.Runs), options.Runs); });
  } else {
    RunParallel(chunks, threads, work);
  }
  HuntTally sum;
  for (const HuntTally& part : sums) Add(sum, part);
  return sum;
}

}  // namespace velkor::sim
