#include "fuzz/fresh_run.h"

namespace velkor::fuzz {

FreshRun::FreshRun(ConsoleDevice& device, std::uint32_t seed) {
  Run.RandomState = seed;
  Run.Io.Bind(device);
}

FreshRun::~FreshRun() { Run.Io.Unbind(); }

}  // namespace velkor::fuzz
