#include "data/random_source.h"

#include "platform/clock.h"

namespace velkor {

std::uint32_t RandomState = 0;

std::int32_t RandomInt(std::int32_t n) {
  RandomState = RandomState * 134775813u + 1u;
  if (n <= 0) return 0;
  const std::uint64_t product = static_cast<std::uint64_t>(RandomState) * static_cast<std::uint64_t>(n);
  return static_cast<std::int32_t>(product >> 32);
}

std::uint32_t ClockSeed() {
  const platform::UtcNow now = platform::ClockNow();
  const long long secondOfDay = now.seconds % (24LL * 60 * 60);
  return static_cast<std::uint32_t>(secondOfDay * 1000 + now.milliseconds);
}

}  // namespace velkor
