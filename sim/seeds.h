#pragma once
// Where every simulated battle and hunt takes its random numbers from.

#include <cstdint>

namespace velkor::sim {

// Run index of a table gets the game's generator seeded with base + index:
// consecutive seeds, the same for every enemy and every build, so that
// results can be compared run by run and replayed from their seed.
inline std::uint32_t RunSeed(std::uint32_t base, std::uint64_t index) {
  return base + static_cast<std::uint32_t>(index);
}

// A policy that draws takes a stream of its own, well away from the battle's:
// the run's seed through a mixing function (the finalizer of MurmurHash3).
inline std::uint32_t PolicySeed(std::uint32_t runSeed) {
  std::uint32_t h = runSeed ^ 0x9E3779B9u;
  h ^= h >> 16;
  h *= 0x85EBCA6Bu;
  h ^= h >> 13;
  h *= 0xC2B2AE35u;
  h ^= h >> 16;
  return h;
}

}  // namespace velkor::sim
