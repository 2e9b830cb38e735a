#include "data/random_source.h"

// <ctime> rather than <chrono>: the latter holds a "µs" that code page 932
// cannot express, and every file here is compiled to code page 932.
#include <ctime>

namespace velkor {

std::uint32_t RandomState = 0;

std::int32_t RandomInt(std::int32_t n) { return DrawInt(RandomState, n); }

std::uint32_t ClockSeed() {
  std::timespec now{};
  std::timespec_get(&now, TIME_UTC);
  const long long secondOfDay = static_cast<long long>(now.tv_sec) % (24LL * 60 * 60);
  return static_cast<std::uint32_t>(secondOfDay * 1000 + now.tv_nsec / 1000000);
}

}  // namespace velkor
