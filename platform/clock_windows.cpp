// The clock on Windows.
#include <windows.h>

#include "platform/clock.h"

namespace velkor::platform {

namespace {

// FILETIME counts 100-nanosecond ticks from 1601; these are those up to 1970.
constexpr unsigned long long TicksTo1970 = 116444736000000000ULL;
constexpr unsigned long long TicksPerMillisecond = 10000;

}  // namespace

UtcNow ClockNow() {
  FILETIME time{};
  GetSystemTimeAsFileTime(&time);
  const unsigned long long ticks =
      (static_cast<unsigned long long>(time.dwHighDateTime) << 32 | time.dwLowDateTime) - TicksTo1970;
  const unsigned long long milliseconds = ticks / TicksPerMillisecond;
  return {static_cast<long long>(milliseconds / 1000), static_cast<std::int32_t>(milliseconds % 1000)};
}

double SteadySeconds() {
  LARGE_INTEGER count{};
  LARGE_INTEGER frequency{};
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double ThreadCpuSeconds() {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user) == 0) return 0;
  const auto ticks = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
  };
  return (ticks(kernel) + ticks(user)) / 1e7;  // in units of 100 ns
}

bool LocalTime(std::time_t moment, std::tm& local) { return localtime_s(&local, &moment) == 0; }

}  // namespace velkor::platform
