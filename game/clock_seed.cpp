#include "game/clock_seed.h"

#include "platform/clock.h"

namespace velkor {

std::uint32_t ClockSeed() {
  const platform::UtcNow now = platform::ClockNow();
  const long long secondOfDay = now.seconds % (24LL * 60 * 60);
  return static_cast<std::uint32_t>(secondOfDay * 1000 + now.milliseconds);
}

}  // namespace velkor
