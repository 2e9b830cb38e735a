#pragma once
// The game's one random source: a 32-bit linear congruential generator, so
// that a run is reproducible from its seed and its input.

#include <cstdint>

namespace velkor {

// One step of the generator on state, then a uniform integer in 0..n-1
// (0 when n is 0 or less; the state moves on all the same).
inline std::int32_t DrawInt(std::uint32_t& state, std::int32_t n) {
  state = state * 134775813u + 1u;
  if (n <= 0) return 0;
  const std::uint64_t product = static_cast<std::uint64_t>(state) * static_cast<std::uint64_t>(n);
  return static_cast<std::int32_t>(product >> 32);
}

// The generator over a state that its owner keeps: the game hands out the
// run's RandomState, a simulation gives every battle or hunt a state of its own.
class RandomSource {
 public:
  explicit RandomSource(std::uint32_t& state) : state_(&state) {}
  std::int32_t Int(std::int32_t n) { return DrawInt(*state_, n); }

 private:
  std::uint32_t* state_;
};

}  // namespace velkor
