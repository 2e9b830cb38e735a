#pragma once
// The game's one random source: a 32-bit linear congruential generator, so
// that a run is reproducible from its seed and its input.

#include <cstdint>

namespace velkor {

// The generator's state; start-up sets it once.
extern std::uint32_t RandomState;

// A uniform integer in 0..n-1 (0 when n is 0 or less).
std::int32_t RandomInt(std::int32_t n);

// The time of day in UTC in milliseconds, 0..86399999, from the system clock.
std::uint32_t ClockSeed();

}  // namespace velkor
