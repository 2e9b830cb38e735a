// The entry of every test program: the process set up as velkor-sim's is
// (process.h), so that files are written as the game writes them, then the
// tests.
#include <gtest/gtest.h>

#include "platform/process.h"

int main(int argc, char** argv) {
  velkor::platform::SetUpProcess(velkor::platform::ProcessRole::Tool);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
