// Battles and hunts per second of the headless engine with the greedy and
// the lookahead policy.
//   build/sim_bench                          every measurement
//   build/sim_bench --benchmark_filter=Roster
// Roster is the figure to watch: battles per second averaged over the twelve
// enemies, per policy. The /threads:2 lines show how it scales over two cores.
#include <benchmark/benchmark.h>

#include <memory>

#include "sim/build.h"
#include "sim/policy_registry.h"
#include "sim/simulation.h"

namespace velkor::sim {
namespace {

const TFighter& EvenFighter() {
  static const TFighter fighter = MakeFighter(Build{{25, 25, 25, 25}, {}});
  return fighter;
}

// Against one enemy, the roster index given as the argument.
void BM_Battle(benchmark::State& state) {
  const auto policy = MakePolicy("greedy");
  Simulator play(*policy);
  const auto enemy = static_cast<std::int32_t>(state.range(0));
  std::uint32_t seed = 1;
  std::uint64_t wins = 0;
  for (auto _ : state) {
    const BattleRecord record = play.Battle(EvenFighter(), enemy, {seed, seed});
    ++seed;
    wins += record.Outcome == BattleOutcome::Victory ? 1 : 0;
    benchmark::DoNotOptimize(record);
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["win_rate"] = static_cast<double>(wins) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Battle)->DenseRange(0, RosterSize - 1);

// Every enemy in turn, in runs of block battles (velkor-sim plays 1024 at a
// time; a slow policy takes one enemy after the other, so that a short
// measurement still meets them all): battles per second averaged over the
// roster.
void BM_Roster(benchmark::State& state, const char* name, std::uint64_t block) {
  const auto policy = MakePolicy(name);
  Simulator play(*policy);
  std::uint32_t seed = static_cast<std::uint32_t>(state.thread_index()) << 24;
  std::uint64_t battle = 0;
  for (auto _ : state) {
    const auto enemy = static_cast<std::int32_t>(battle++ / block % RosterSize);
    benchmark::DoNotOptimize(play.Battle(EvenFighter(), enemy, {seed, seed}));
    ++seed;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(BM_Roster, greedy, "greedy", 256)->Threads(1)->Threads(2)->UseRealTime();
BENCHMARK_CAPTURE(BM_Roster, lookahead, "lookahead", 1)->Threads(1)->Threads(2)->UseRealTime()->MinTime(3);

// Whole hunts.
void BM_Hunt(benchmark::State& state, const char* name) {
  const auto policy = MakePolicy(name);
  Simulator play(*policy);
  std::uint32_t seed = static_cast<std::uint32_t>(state.thread_index()) << 24;
  std::uint64_t battles = 0;
  std::vector<BattleRecord> fought;
  for (auto _ : state) {
    fought.clear();
    benchmark::DoNotOptimize(play.Hunt(EvenFighter(), {seed, seed}, &fought));
    ++seed;
    battles += fought.size();
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["battles_per_hunt"] =
      benchmark::Counter(static_cast<double>(battles) / static_cast<double>(state.iterations()),
                         benchmark::Counter::kAvgThreads);
}
BENCHMARK_CAPTURE(BM_Hunt, greedy, "greedy")->Threads(1)->Threads(2)->UseRealTime();
BENCHMARK_CAPTURE(BM_Hunt, lookahead, "lookahead")->Threads(1)->Threads(2)->UseRealTime()->MinTime(3);

}  // namespace
}  // namespace velkor::sim

BENCHMARK_MAIN();
