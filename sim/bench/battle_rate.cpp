// Headless battles per second of the engine with the greedy policy, as a
// plain program, so that the WebAssembly engine can be timed beside the
// native one (scripts/bench-web.sh; Google Benchmark is not there for it):
// the roster in turn, 256 battles an enemy as velkor-sim plays them, over
// and over for at least three seconds. The victories of one pass are told
// too: both builds must count the same.
#include <cstdint>
#include <cstdio>

#include "enemy/enemy.h"
#include "platform/clock.h"
#include "sim/build.h"
#include "sim/policy_registry.h"
#include "sim/simulation.h"

int main() {
  using namespace velkor;
  using namespace velkor::sim;
  const TFighter fighter = MakeFighter(Build{{25, 25, 25, 25}, {}});
  const auto policy = MakePolicy("greedy");
  Simulator play(*policy);
  constexpr std::uint32_t PerEnemy = 256;
  constexpr std::uint32_t Pass = PerEnemy * RosterSize;
  const double start = platform::SteadySeconds();
  std::uint32_t battles = 0;
  std::uint32_t victories = 0;
  double seconds = 0;
  do {
    for (std::uint32_t seed = 1; seed <= Pass; ++seed) {
      const auto enemy = static_cast<std::int32_t>((seed - 1) / PerEnemy);
      const BattleRecord record = play.Battle(fighter, enemy, {seed, 0});
      if (battles < Pass && record.Outcome == BattleOutcome::Victory) ++victories;
      ++battles;
    }
    seconds = platform::SteadySeconds() - start;
  } while (seconds < 3);
  std::printf("%.0f battles per second (%u battles in %.2f s; %u of the first %u won)\n",
              static_cast<double>(battles) / seconds, battles, seconds, victories, Pass);
}
