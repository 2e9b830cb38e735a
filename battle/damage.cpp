#include "battle/damage.h"

#include <array>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "data/tables.h"

namespace velkor {

namespace {

// Just enough unsigned big-integer arithmetic to compare powers exactly.
using Big = std::vector<std::uint32_t>;  // little-endian limbs, no leading zeros

void Trim(Big& a) {
  while (!a.empty() && a.back() == 0) a.pop_back();
}

Big FromU64(std::uint64_t v) {
  Big a{static_cast<std::uint32_t>(v), static_cast<std::uint32_t>(v >> 32)};
  Trim(a);
  return a;
}

Big Multiply(const Big& a, const Big& b) {
  if (a.empty() || b.empty()) return {};
  Big r(a.size() + b.size(), 0);
  for (std::size_t i = 0; i < a.size(); ++i) {
    std::uint64_t carry = 0;
    for (std::size_t j = 0; j < b.size(); ++j) {
      const std::uint64_t t = static_cast<std::uint64_t>(a[i]) * b[j] + r[i + j] + carry;
      r[i + j] = static_cast<std::uint32_t>(t);
      carry = t >> 32;
    }
    r[i + b.size()] = static_cast<std::uint32_t>(carry);
  }
  Trim(r);
  return r;
}

Big Power(Big base, unsigned exponent) {
  Big result = FromU64(1);
  while (exponent != 0) {
    if ((exponent & 1u) != 0) result = Multiply(result, base);
    exponent >>= 1;
    if (exponent != 0) base = Multiply(base, base);
  }
  return result;
}

Big ShiftLeft(const Big& a, unsigned bits) {
  if (a.empty()) return {};
  const std::size_t limbs = bits / 32;
  const unsigned rest = bits % 32;
  Big r(a.size() + limbs + 1, 0);
  for (std::size_t i = 0; i < a.size(); ++i) {
    const std::uint64_t t = static_cast<std::uint64_t>(a[i]) << rest;
    r[i + limbs] |= static_cast<std::uint32_t>(t);
    r[i + limbs + 1] |= static_cast<std::uint32_t>(t >> 32);
  }
  Trim(r);
  return r;
}

int Compare(const Big& a, const Big& b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (std::size_t i = a.size(); i-- > 0;) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  return 0;
}

// Sign of odd x 2^shift - 10^(-k/100), decided exactly: raising both sides to
// the power 100 gives odd^100 x 2^(100 shift) against 10^(-k) = 5^(-k) x 2^(-k).
int CompareWithPower(std::uint64_t odd, int shift, int k) {
  Big left = Power(FromU64(odd), 100);
  Big right = FromU64(1);
  if (k >= 0) {
    left = Multiply(left, Power(FromU64(5), static_cast<unsigned>(k)));
  } else {
    right = Power(FromU64(5), static_cast<unsigned>(-k));
  }
  const int twos = 100 * shift + k;
  if (twos >= 0) {
    left = ShiftLeft(left, static_cast<unsigned>(twos));
  } else {
    right = ShiftLeft(right, static_cast<unsigned>(-twos));
  }
  return Compare(left, right);
}

// The double nearest to 10^(-k/100). std::pow is close but not promised to
// round correctly, so its answer is moved, one step at a time, until the exact
// value lies between the midpoints to its two neighbours.
double SearchNearestPowerOfTen(int k) {
  double x = std::pow(10.0, -static_cast<double>(k) / 100.0);
  for (int step = 0; step < 64; ++step) {
    int exponent = 0;
    const double fraction = std::frexp(x, &exponent);  // x = fraction x 2^exponent
    const auto m = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int e = exponent - 53;  // x = m x 2^e
    // Upper midpoint (2m+1) x 2^(e-1); the lower one is (2m-1) x 2^(e-1),
    // or (4m-1) x 2^(e-2) when x is a power of two and its lower neighbour
    // is twice as close.
    if (CompareWithPower(2 * m + 1, e - 1, k) < 0) {
      x = std::nextafter(x, std::numeric_limits<double>::infinity());
      continue;
    }
    const bool powerOfTwo = m == (std::uint64_t{1} << 52);
    const int below =
        powerOfTwo ? CompareWithPower(4 * m - 1, e - 2, k) : CompareWithPower(2 * m - 1, e - 1, k);
    if (below > 0) {
      x = std::nextafter(x, 0.0);
      continue;
    }
    break;
  }
  return x;
}

// The search costs powers of big numbers, and battles ask for the same few
// defenses over and over: each answer found is kept. Threads that race for an
// entry store the same value. Process-wide, not a run's: it only remembers a
// fixed function, so no battle can tell it is there, and every battle copy
// and simulator thread shares what was found.
double NearestPowerOfTen(int k) {
  constexpr int Kept = 2000;
  static std::array<std::atomic<double>, 2 * Kept + 1> known{};  // 0 = not searched yet
  if (k < -Kept || k > Kept) return SearchNearestPowerOfTen(k);
  std::atomic<double>& entry = known[static_cast<std::size_t>(k + Kept)];
  double x = entry.load(std::memory_order_relaxed);
  if (x == 0.0) {
    x = SearchNearestPowerOfTen(k);
    entry.store(x, std::memory_order_relaxed);
  }
  return x;
}

// Beyond this the factor is below 10^-20 (or above 10^20): no 32-bit amount
// then lands near an integer boundary (or within 32 bits), so std::pow serves.
constexpr double ExactLimit = 1000.0;

std::int32_t ClampToInt32(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

}  // namespace

double DefenseFactor(double d) {
  const double twice = 2.0 * d;
  if (std::isfinite(d) && std::fabs(d) <= ExactLimit && twice == std::floor(twice)) {
    // 100^(-d/100) = 10^(-2d/100) with 2d an integer.
    return NearestPowerOfTen(static_cast<int>(twice));
  }
  return std::pow(100.0, -d / 100.0);
}

std::int32_t ApplyDefense(std::int32_t n, double d) {
  // Nothing stays nothing, even against an infinite factor (0 x infinity
  // would be NaN).
  if (n == 0) return 0;
  const double f = DefenseFactor(d);
  const double amount = static_cast<double>(n);
  const double product = amount * f;
  // The factor overflows to infinity for a defense below about -15,400; the
  // amount is then as large as it can be, like any product beyond 32 bits.
  if (std::isinf(product)) {
    return n > 0 ? std::numeric_limits<std::int32_t>::max() : std::numeric_limits<std::int32_t>::min();
  }
  // product + error is the exact value of n x f (an int32 is exact as a double).
  const double error = std::fma(amount, f, -product);
  std::int32_t result = 0;
  if (product != std::floor(product)) {
    // A rounding error never moves a product that is not an integer past one:
    // below 2^52 the integers lie at least one unit of the last place away.
    result = ClampToInt32(std::ceil(product));
  } else {
    result = ClampToInt32(product + std::ceil(error));
  }
  // Every blow that has some force deals at least 1, whatever the defence:
  // a factor that underflows to 0 must not make a battle endless.
  return n > 0 && result < 1 ? 1 : result;
}

namespace {

// ApplyDefense of amount n through the whole defense, or through half of it,
// for the few amounts and defenses that a battle meets over and over: each
// answer is kept in a small table of the calling thread. Not a run's: it only
// remembers a fixed function, so no battle can tell it is there.
std::int32_t Reduce(std::int32_t n, std::int32_t defense, bool half) {
  struct Entry {
    std::int32_t Amount = 0;
    std::int32_t Defense = 0;
    std::int32_t Result = 0;
    bool Half = false;
    bool Known = false;
  };
  thread_local std::array<Entry, 256> kept{};
  const std::uint64_t hash = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(n)) << 32 |
                              static_cast<std::uint32_t>(defense)) *
                             0x9E3779B97F4A7C15u;
  Entry& entry = kept[static_cast<std::size_t>((hash >> 56) ^ (half ? 1u : 0u))];
  if (!entry.Known || entry.Amount != n || entry.Defense != defense || entry.Half != half) {
    const double d = defense;
    entry = {n, defense, ApplyDefense(n, half ? d / 2.0 : d), half, true};
  }
  return entry.Result;
}

}  // namespace

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
