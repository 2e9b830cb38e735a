#pragma once
// How sure a share measured over n runs is.

#include <cstdint>

namespace velkor::sim {

struct Interval {
  double Low = 0;
  double High = 0;
};

// The 95% Wilson score interval of successes out of n (0..1 when n is 0):
// unlike the plain normal one it stays inside 0..1 and is sound near 0 and 1.
Interval WilsonInterval(std::uint64_t successes, std::uint64_t n);

}  // namespace velkor::sim
