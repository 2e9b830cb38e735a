#pragma once
// The seed of a run's random state: the moment the game starts.

#include <cstdint>

namespace velkor {

// The time of day in UTC in milliseconds, 0..86399999, from the system clock.
std::uint32_t ClockSeed();

}  // namespace velkor
