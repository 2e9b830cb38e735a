#include "platform/clock.h"

#include <gtest/gtest.h>

#include <thread>

#include "testsupport/system.h"

namespace velkor::platform {
namespace {

// What a piece of work cost: the thread's own processor time grows while it
// works and stands still while it sleeps.
TEST(ThreadCpuSeconds, CountsWorkAndNotWaiting) {
  VELKOR_NOT_ON_WEB("Node gives no processor clock; the steady clock stands in");
  const double start = ThreadCpuSeconds();
  const double began = SteadySeconds();
  volatile unsigned spin = 0;
  while (SteadySeconds() - began < 0.2) spin = spin + 1;
  const double worked = ThreadCpuSeconds() - start;
  EXPECT_GT(worked, 0.02);  // a loaded machine may lend the thread little of it
  EXPECT_LT(worked, SteadySeconds() - began + 0.05);

  const double before = ThreadCpuSeconds();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_LT(ThreadCpuSeconds() - before, 0.05);
}

}  // namespace
}  // namespace velkor::platform
