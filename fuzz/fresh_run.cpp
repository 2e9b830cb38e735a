#include "fuzz/fresh_run.h"

#include "data/fighter.h"
#include "data/random_source.h"

namespace velkor::fuzz {

FreshRun::FreshRun(ConsoleDevice& device, std::uint32_t seed) {
  UnbindConsole();
  Player = TPlayer{};
  TitleList.clear();
  RandomState = seed;
  BindConsole(device);
}

FreshRun::~FreshRun() { UnbindConsole(); }

}  // namespace velkor::fuzz
