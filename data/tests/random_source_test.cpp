#include "data/random_source.h"

#include <gtest/gtest.h>

namespace velkor {
namespace {

TEST(DrawInt, FollowsTheGenerator) {
  std::uint32_t RandomState = 0;
  // state 1, 134775814, ...: the high half of state * n.
  EXPECT_EQ(DrawInt(RandomState, 100), 0);
  EXPECT_EQ(RandomState, 1u);
  EXPECT_EQ(DrawInt(RandomState, 100), 3);  // 134775814 * 100 >> 32
  EXPECT_EQ(RandomState, 134775814u);
}

TEST(DrawInt, KnownSequenceFromASeed) {
  // Worked out apart from the program from state := state * 134775813 + 1
  // (mod 2^32) and the high half of state * n.
  std::uint32_t RandomState = 86399999;
  const std::int32_t twelves[] = {DrawInt(RandomState, 12), DrawInt(RandomState, 12),
                                  DrawInt(RandomState, 12), DrawInt(RandomState, 12)};
  EXPECT_EQ(twelves[0], 8);
  EXPECT_EQ(twelves[1], 11);
  EXPECT_EQ(twelves[2], 4);
  EXPECT_EQ(twelves[3], 2);
  RandomState = 86399999;
  const std::int32_t expected[] = {723, 995, 338, 231, 153, 84};
  for (const std::int32_t e : expected) EXPECT_EQ(DrawInt(RandomState, 1000), e);
  EXPECT_EQ(RandomState, 364024377u);
}

TEST(DrawInt, StaysInRange) {
  std::uint32_t RandomState = 42;
  for (int i = 0; i < 10000; ++i) {
    const std::int32_t r = DrawInt(RandomState, 7);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 7);
  }
  EXPECT_EQ(DrawInt(RandomState, 0), 0);
}

}  // namespace
}  // namespace velkor
