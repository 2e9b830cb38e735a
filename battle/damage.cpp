#include "battle/damage.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "data/tables.h"

namespace velkor {

namespace {

#include "battle/defense_table_data.h"

// Beyond the table the factor is below 10^-20 (or above 10^20): no 32-bit
// amount then lands near an integer boundary (or within 32 bits), so
// std::pow serves.
static_assert(DefenseReach == 1000);

// The factor of the defense twice / 2, for a defense within the table.
double TableFactor(std::int64_t twice) {
  return DefenseFactors[static_cast<std::size_t>(twice + 2 * DefenseReach)];
}

std::int32_t ClampToInt32(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

// The smallest integer not below n x f, the product taken exactly, as
// ApplyDefense promises.
std::int32_t ApplyFactor(std::int32_t n, double f) {
  // Nothing stays nothing, even against an infinite factor (0 x infinity
  // would be NaN).
  if (n == 0) return 0;
  const double amount = static_cast<double>(n);
  const double product = amount * f;
  if (n > 0 && product < 2147483647.0) {
    // Every blow of a battle: truncation is the floor, and only an integer
    // product needs its rounding error, which is far below one.
    const auto whole = static_cast<std::int32_t>(product);
    if (whole != product) return whole + 1;
    return std::max(whole + (std::fma(amount, f, -product) > 0 ? 1 : 0), 1);
  }
  // The factor overflows to infinity for a defense below about -15,400; the
  // amount is then as large as it can be, like any product beyond 32 bits.
  if (std::isinf(product)) {
    return n > 0 ? std::numeric_limits<std::int32_t>::max() : std::numeric_limits<std::int32_t>::min();
  }
  std::int32_t result = 0;
  if (product != std::floor(product)) {
    // A rounding error never moves a product that is not an integer past one:
    // below 2^52 the integers lie at least one unit of the last place away.
    result = ClampToInt32(std::ceil(product));
  } else {
    // product + error is the exact value of n x f (an int32 is exact as a double).
    const double error = std::fma(amount, f, -product);
    result = ClampToInt32(product + std::ceil(error));
  }
  // Every blow that has some force deals at least 1, whatever the defence:
  // a factor that underflows to 0 must not make a battle endless.
  return n > 0 && result < 1 ? 1 : result;
}

// ApplyDefense of amount n through the whole defense, or through half of
// it, without going through a double defense: the battle's defenses are
// whole numbers, so twice the defense in effect is one too.
std::int32_t Reduce(std::int32_t n, std::int32_t defense, bool half) {
  const std::int64_t twice = half ? std::int64_t{defense} : 2 * std::int64_t{defense};
  if (twice < -2 * DefenseReach || twice > 2 * DefenseReach) {
    const double d = defense;
    return ApplyDefense(n, half ? d / 2.0 : d);
  }
  return ApplyFactor(n, TableFactor(twice));
}

}  // namespace

double DefenseFactor(double d) {
  const double twice = 2.0 * d;
  if (std::isfinite(d) && std::fabs(d) <= DefenseReach && twice == std::floor(twice)) {
    return TableFactor(static_cast<std::int64_t>(twice));
  }
  return std::pow(100.0, -d / 100.0);
}

std::int32_t ApplyDefense(std::int32_t n, double d) { return ApplyFactor(n, DefenseFactor(d)); }

std::int32_t BaseAmount(std::uint8_t action, std::int32_t attack) {
  const std::int64_t a = attack;  // widened: 2 x A and A + 1 must not overflow
  std::int64_t amount = a;
  switch (action) {
    case actWeakStrike:
      amount = (a + 1) / 2;
      break;
    case actBreak:
      amount = 12;
      break;
    case actSwordPlay:
      amount = 2 * a;
      break;
    default:
      break;
  }
  if (amount > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (amount < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(amount);
}

std::int32_t AfterDefense(std::uint8_t action, std::int32_t amount, std::int32_t defense) {
  if (action == actBreak || action == actSwordPlay) return amount;
  return Reduce(amount, defense, action == actImpact);
}

std::int32_t AfterGuard(std::int32_t amount, std::int32_t defense) { return Reduce(amount, defense, false); }

}  // namespace velkor
