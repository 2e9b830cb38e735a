#include "fuzz/fresh_run.h"

namespace velkor::fuzz {

FreshRun::FreshRun(ConsoleDevice& device, std::uint32_t seed) {
  Run.RandomState = seed;
  Run.Console.Bind(device);
}

FreshRun::~FreshRun() { Run.Console.Unbind(); }

}  // namespace velkor::fuzz
