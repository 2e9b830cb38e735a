#pragma once
// The system clock: the time now, and a moment on the local calendar.

#include <cstdint>
#include <ctime>

namespace velkor::platform {

// The time now in UTC: whole seconds since 1970 and the milliseconds since.
struct UtcNow {
  long long seconds = 0;
  std::int32_t milliseconds = 0;  // 0..999
};
UtcNow ClockNow();

// Seconds on a clock that only goes forward, from some fixed moment: for
// measuring how long something took, whatever is done to the system time.
double SteadySeconds();

// Seconds of processor time the calling thread has used: what a piece of
// work cost, whatever else the machine ran meanwhile. WebAssembly has no
// processor clock: there it is the steady clock.
double ThreadCpuSeconds();

// The moment as the local calendar and time zone tell it; false when the
// system cannot.
bool LocalTime(std::time_t moment, std::tm& local);

}  // namespace velkor::platform
