#pragma once
// Many battles or hunts of one build and one policy, spread over threads and
// added up in run order.

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

#include "enemy/enemy.h"
#include "sim/build.h"
#include "sim/policy.h"

namespace velkor::sim {

struct RunOptions {
  std::string_view Policy = "greedy";  // a name of Policies()
  std::uint64_t Runs = 10000;          // per enemy, or hunts
  std::uint32_t Seed = 1;              // run i's game uses RunSeed(Seed, i)
  std::uint32_t PolicySeed = 1;        // and its policy PolicyStream(PolicySeed, i)
  unsigned Threads = 1;
  Knowledge Knows = Knowledge::Veteran;  // the policy's
};

struct EnemyTally {
  std::uint64_t Battles = 0;
  std::uint64_t Wins = 0;
  std::uint64_t Turns = 0;        // summed over all battles
  std::int64_t HPLeftOnWins = 0;  // the player's HP, summed over the wins
  std::uint64_t InvariantBreaks = 0;
};

// Runs battles of build against each roster entry, run i with SeedsOfRun;
// progress, when given, hears of the battles done out of all of them.
std::array<EnemyTally, RosterSize> RunBattles(
    const Build& build, const RunOptions& options,
    const std::function<void(std::uint64_t done, std::uint64_t of)>& progress = {});

struct HuntTally {
  std::uint64_t Hunts = 0;
  std::uint64_t Endings = 0;
  std::array<std::uint64_t, RosterSize + 1> Kills{};  // [k]: hunts that ended with k kills
  std::uint64_t InvariantBreaks = 0;
};

// Runs whole hunts of build, run i with SeedsOfRun.
HuntTally RunHunts(const Build& build, const RunOptions& options,
                   const std::function<void(std::uint64_t done, std::uint64_t of)>& progress = {});

}  // namespace velkor::sim
