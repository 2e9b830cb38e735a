// The damage formula's table of defense factors is what the exact
// computation makes, byte for byte: an edit by hand, or a change of the
// computation without a new table, fails here.
#include <gtest/gtest.h>

#include <string>

#include "testsupport/test_files.h"
#include "tools/defense_table.h"

namespace velkor {
namespace {

TEST(DefenseTable, IsWhatTheExactComputationWrites) {
  const std::string kept = velkor::test::ReadBytes("defense_table_data.h");
  ASSERT_FALSE(kept.empty());
  EXPECT_TRUE(kept == tools::DefenseTableText())
      << "battle/defense_table_data.h is not what tools/make_defense_table writes: "
         "cmake --build build --target defense_table";
}

}  // namespace
}  // namespace velkor
