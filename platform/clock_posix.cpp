// The clock on a POSIX system.
#include <time.h>

#include "platform/clock.h"

namespace velkor::platform {

UtcNow ClockNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return {static_cast<long long>(now.tv_sec), static_cast<std::int32_t>(now.tv_nsec / 1000000)};
}

double SteadySeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double ThreadCpuSeconds() {
  timespec used{};
  // WebAssembly has no processor clock: there the steady clock stands in.
  if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used) != 0) return SteadySeconds();
  return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
}

bool LocalTime(std::time_t moment, std::tm& local) { return localtime_r(&moment, &local) != nullptr; }

}  // namespace velkor::platform
