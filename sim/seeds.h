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

// The finalizer of SplitMix64: every bit of z stirred into every bit.
inline std::uint64_t Mix64(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  return z ^ (z >> 31);
}

// A policy that draws takes a stream of its own for run index, made from a
// policy seed that the simulator is given apart from the game's seed: the
// two numbers go together through Mix64. Nothing of the stream is a
// function of the game's seed, so no policy can rebuild the game's draws
// from it.
inline std::uint32_t PolicyStream(std::uint32_t policySeed, std::uint64_t index) {
  return static_cast<std::uint32_t>(Mix64((std::uint64_t{policySeed} << 32 ^ index) + 0x9E3779B97F4A7C15u) >>
                                    32);
}

// What one battle or hunt starts from: the game's generator, and the
// policy's stream.
struct RunSeeds {
  std::uint32_t Game = 0;
  std::uint32_t Policy = 0;
};

// The seeds of run index of a table whose game seeds start at gameSeed.
inline RunSeeds SeedsOfRun(std::uint32_t gameSeed, std::uint32_t policySeed, std::uint64_t index) {
  return {RunSeed(gameSeed, index), PolicyStream(policySeed, index)};
}

}  // namespace velkor::sim
