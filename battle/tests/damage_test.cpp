#include "battle/damage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace velkor {
namespace {

TEST(ApplyDefense, WorkedValues) {
  struct Case {
    std::int32_t n;
    double d;
    std::int32_t expected;
  };
  const Case cases[] = {
      {10, 0, 10},
      {10, 10, 7},
      {20, 20, 8},
      {8, 20, 4},
      {20, 12.5, 12},
      {20, 25, 7},
      {20, 30, 6},
      {12, 40, 2},
      {9, 50, 1},
      {10, 50, 2},
      {30, 50, 4},
      {99, 100, 1},
      {100, 100, 2},
      {0, 30, 0},
      // Where the factor underflows to 0 a blow still deals 1.
      {1, 16200, 1},
      {2147483647, 100000, 1},
      {1, 2147483647, 1},
      {0, 100000, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ApplyDefense(c.n, c.d), c.expected) << c.n << " against " << c.d;
}

TEST(ApplyDefense, ExactMultiplesComeOutOneHigherBecauseTheFactorIsJustAbove) {
  // 0.1 and 0.01 as doubles lie just above the exact values, so every exact
  // multiple gains one; a product rounded to a double first would lose it.
  for (std::int32_t k = 1; k <= 200; ++k) {
    EXPECT_EQ(ApplyDefense(10 * k, 50), k + 1) << 10 * k;
    EXPECT_EQ(ApplyDefense(100 * k, 100), k + 1) << 100 * k;
    EXPECT_EQ(ApplyDefense(10 * k - 1, 50), k) << 10 * k - 1;
  }
  EXPECT_EQ(ApplyDefense(2047, 0), 2047);
  EXPECT_EQ(ApplyDefense(1, 199.5), 1);  // a positive amount always deals something
}

TEST(ApplyDefense, LargeAmountsStayWithin32Bits) {
  const std::int32_t max = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(ApplyDefense(max, 0), max);
  EXPECT_EQ(ApplyDefense(max, 50), 214748365);  // 214748364.7... and a bit
  EXPECT_EQ(ApplyDefense(max, -100), max);      // a factor of 100 would overflow
}

// The factor must be the double nearest to the exact power for every defense
// and half defense that a fighter can have; std::pow alone misses many.
TEST(DefenseFactor, NearestDoubleForEveryHalfStepUpTo200) {
  std::ifstream in("tests/fixtures/defense_factors.txt");
  ASSERT_TRUE(in.good());
  std::string line;
  int checked = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string defense, factor;
    fields >> defense >> factor;
    const double d = std::strtod(defense.c_str(), nullptr);
    const double f = std::strtod(factor.c_str(), nullptr);
    EXPECT_EQ(DefenseFactor(d), f) << "defense " << defense;
    ++checked;
  }
  EXPECT_EQ(checked, 401);  // the whole file was read
}

// Checks the ceiling of the exact product against integer arithmetic on the
// factor's own bits, for every amount a fighter can deal.
TEST(ApplyDefense, CeilingOfTheExactProduct) {
  __extension__ typedef unsigned __int128 Wide;
  for (const double d : {10.0, 12.5, 25.0, 37.5, 50.0, 75.0, 100.0, 150.0}) {
    const double f = DefenseFactor(d);
    int exponent = 0;
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(std::frexp(f, &exponent), 53));
    const int shift = 53 - exponent;  // f = mantissa / 2^shift, with shift < 128
    ASSERT_GT(shift, 0);
    ASSERT_LT(shift, 100);
    for (std::int32_t n = 0; n <= 2100; ++n) {
      const Wide product = static_cast<Wide>(n) * mantissa;
      const Wide whole = product >> shift;
      const bool rest = (product & ((static_cast<Wide>(1) << shift) - 1)) != 0;
      const auto expected = static_cast<std::int32_t>(whole + (rest ? 1 : 0));
      ASSERT_EQ(ApplyDefense(n, d), expected) << n << " against " << d;
    }
  }
}

// Every defense a sealed record can hold, from INT32_MIN to INT32_MAX, with
// the half defenses that "衝撃" uses: a positive amount never deals more as
// the defense rises. Every half step is taken around the places where the
// formula changes hands (the exact factor ends at +-1000, the factor
// overflows near -15,400 and reaches zero near +16,200); the exact factor
// itself, slow to work out, is sampled every 12.5; the rest of the range is
// spread evenly.
TEST(ApplyDefense, NeverRisesAsTheDefenseRisesOverTheWhole32BitRange) {
  const double low = std::numeric_limits<std::int32_t>::min();
  const double high = std::numeric_limits<std::int32_t>::max();
  std::vector<double> defenses = {low, low + 0.5, low + 1, high - 1, high - 0.5, high};
  for (double d = -20000; d <= 20000; d += 0.5) {
    if (std::fabs(d) < 995 && std::fmod(d, 12.5) != 0) continue;
    defenses.push_back(d);
  }
  constexpr int Spread = 1 << 16;
  for (int i = 0; i <= Spread; ++i) defenses.push_back(std::floor(low + (high - low) * i / Spread));
  for (const double d : {low, high}) defenses.push_back(d / 2.0);
  std::sort(defenses.begin(), defenses.end());
  defenses.erase(std::unique(defenses.begin(), defenses.end()), defenses.end());

  const std::int32_t max = std::numeric_limits<std::int32_t>::max();
  for (const std::int32_t n : {1, 7, 12345, max}) {
    std::int32_t previous = max;
    for (const double d : defenses) {
      const std::int32_t dealt = ApplyDefense(n, d);
      ASSERT_LE(dealt, previous) << n << " against " << d;
      ASSERT_GE(dealt, 0) << n << " against " << d;
      previous = dealt;
    }
    // Beyond the overflow of the factor: the saturated maximum.
    EXPECT_EQ(ApplyDefense(n, low), max) << n;
    EXPECT_EQ(ApplyDefense(n, -15500), max) << n;
    EXPECT_EQ(ApplyDefense(n, low / 2.0), max) << n;
  }
}

TEST(ApplyDefense, NothingStaysNothingAndANegativeAmountSaturatesDownwards) {
  const std::int32_t min = std::numeric_limits<std::int32_t>::min();
  for (const double d : {-2147483648.0, -15500.0, -100.0, 0.0, 100.0, 2147483647.0})
    EXPECT_EQ(ApplyDefense(0, d), 0) << d;
  EXPECT_EQ(ApplyDefense(-10, -15500), min);
  EXPECT_EQ(ApplyDefense(min, -2147483648.0), min);
  EXPECT_EQ(ApplyDefense(-10, 0), -10);
}

}  // namespace
}  // namespace velkor
