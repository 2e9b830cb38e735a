#include "tools/defense_table.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <numeric>
#include <vector>

namespace velkor::tools {

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

// Sign of odd x 2^shift - 10^(-k/100), decided exactly: with k/100 = q/p in
// lowest terms, raising both sides to the power p gives odd^p x 2^(p shift)
// against 10^(-q) = 5^(-q) x 2^(-q). (Lowest terms only make the numbers
// smaller: 100 and k would do.)
int CompareWithPower(std::uint64_t odd, int shift, int k) {
  const int g = std::gcd(k, 100);
  const int p = 100 / g;
  const int q = k / g;
  Big left = Power(FromU64(odd), static_cast<unsigned>(p));
  Big right = FromU64(1);
  if (q >= 0) {
    left = Multiply(left, Power(FromU64(5), static_cast<unsigned>(q)));
  } else {
    right = Power(FromU64(5), static_cast<unsigned>(-q));
  }
  const int twos = p * shift + q;
  if (twos >= 0) {
    left = ShiftLeft(left, static_cast<unsigned>(twos));
  } else {
    right = ShiftLeft(right, static_cast<unsigned>(-twos));
  }
  return Compare(left, right);
}

}  // namespace

double NearestPowerOfTen(int k) {
  // std::pow is close but not promised to round correctly, so its answer is
  // moved, one step at a time, until the exact value lies between the
  // midpoints to its two neighbours.
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

std::string DefenseTableText() {
  std::string text =
      "// Made by tools/make_defense_table.cpp; do not edit.\n"
      "// clang-format off\n";
  text += "constexpr int DefenseReach = " + std::to_string(DefenseReach) + ";\n";
  text +=
      "// 100 to the power -d/100 as the double nearest to the exact value, for\n"
      "// d = -DefenseReach, -DefenseReach + 0.5, ..., DefenseReach.\n"
      "constexpr double DefenseFactors[4 * DefenseReach + 1] = {\n";
  for (int k = -2 * DefenseReach; k <= 2 * DefenseReach; ++k) {
    char number[40];
    // A hexadecimal literal holds the double exactly.
    std::snprintf(number, sizeof number, "%a,", NearestPowerOfTen(k));
    text += number;
    text += (k + 2 * DefenseReach) % 6 == 5 ? "\n" : "";
  }
  text += "\n};\n// clang-format on\n";
  return text;
}

}  // namespace velkor::tools
