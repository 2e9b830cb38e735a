#pragma once
// A fresh run of the game for each input, as a new process makes it, so that
// the inputs replayed in one process do not see each other.

#include <cstdint>

#include "console/console_io.h"
#include "game/run.h"

namespace velkor::fuzz {

// For the life of the object Run's console is device and its random source
// starts at seed; the player record and the title list start empty. The
// battle state needs nothing: every battle builds its own.
class FreshRun {
 public:
  FreshRun(ConsoleDevice& device, std::uint32_t seed);
  ~FreshRun();
  FreshRun(const FreshRun&) = delete;
  FreshRun& operator=(const FreshRun&) = delete;

  GameRun Run;
};

}  // namespace velkor::fuzz
