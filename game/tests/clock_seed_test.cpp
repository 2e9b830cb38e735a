#include "game/clock_seed.h"

#include <gtest/gtest.h>

namespace velkor {
namespace {

TEST(ClockSeed, IsATimeOfDayInMilliseconds) { EXPECT_LT(ClockSeed(), 86400000u); }

}  // namespace
}  // namespace velkor
