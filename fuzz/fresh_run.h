#pragma once
// The game's process-wide state put back to how a new process finds it, so
// that the inputs replayed in one process do not see each other.

#include <cstdint>

#include "console/console_io.h"

namespace velkor::fuzz {

// For the life of the object the console is device and the random source
// starts at seed; the player record and the title list start empty. The
// battle state needs nothing: every battle builds its own.
class FreshRun {
 public:
  FreshRun(ConsoleDevice& device, std::uint32_t seed);
  ~FreshRun();
  FreshRun(const FreshRun&) = delete;
  FreshRun& operator=(const FreshRun&) = delete;
};

}  // namespace velkor::fuzz
