/* LD_PRELOAD library that stops the real-time clock at VELKOR_FIXED_TIME_MS
   milliseconds since 1970 for the native game, as scripts/fixed-clock.js
   does for the game under Node. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdlib.h>
#include <time.h>

/* std::time reads the clock without clock_gettime's symbol. */
time_t time(time_t* out) {
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  if (out != NULL) *out = now.tv_sec;
  return now.tv_sec;
}

int clock_gettime(clockid_t clock, struct timespec* now) {
  const char* fixed = getenv("VELKOR_FIXED_TIME_MS");
  if (clock == CLOCK_REALTIME && fixed != NULL) {
    const long long ms = atoll(fixed);
    now->tv_sec = (time_t)(ms / 1000);
    now->tv_nsec = (long)(ms % 1000) * 1000000L;
    return 0;
  }
  int (*real)(clockid_t, struct timespec*) = (int (*)(clockid_t, struct timespec*))dlsym(RTLD_NEXT, "clock_gettime");
  return real(clock, now);
}
