#include "sim/interval.h"

#include <algorithm>
#include <cmath>

namespace velkor::sim {

Interval WilsonInterval(std::uint64_t successes, std::uint64_t n) {
  if (n == 0) return {0.0, 1.0};
  constexpr double z = 1.959963984540054;  // the normal quantile of 0.975
  const double count = static_cast<double>(n);
  const double p = static_cast<double>(successes) / count;
  const double z2 = z * z;
  const double centre = (p + z2 / (2 * count)) / (1 + z2 / count);
  const double half = z * std::sqrt(p * (1 - p) / count + z2 / (4 * count * count)) / (1 + z2 / count);
  return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

}  // namespace velkor::sim
