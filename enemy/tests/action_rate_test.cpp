#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "enemy/enemy_internal.h"
#include "testsupport/console_script.h"

namespace velkor {
namespace {

using enemy_internal::setActionRate;
using Weights = std::array<std::int32_t, ActionCount>;

std::string Banner(const std::string& place) {
  const std::string rule(37, '-');
  return "\r\n" + rule + "\r\nerror in " + place + "\r\n" + rule + "\r\n\r\n";
}

TEST(SetActionRate, StoresWeightsAndReportsBadLists) {
  struct Case {
    std::vector<std::int32_t> weights;
    Weights stored;
    std::string output;  // each banner waits for one Enter
  };
  const std::string wrongLength = "setActionRate in EnemyData, <a>, ";
  const std::string zeroSum = "setActionRate in EnemyData, <b>";
  const Case cases[] = {
      {{3, 1, 4, 1, 5, 9, 2, 6, 5}, {3, 1, 4, 1, 5, 9, 2, 6, 5}, ""},
      {{0, 0, 0, 0, 0, 0, 0, 1, 0}, {0, 0, 0, 0, 0, 0, 0, 1, 0}, ""},
      {{1, 1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1, 1, 1, 0}, Banner(wrongLength + "7")},
      {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {1, 2, 3, 4, 5, 6, 7, 8, 9}, Banner(wrongLength + "9")},
      {{0, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0, 0}, Banner(zeroSum)},
      {{2, -2, 0, 0, 0, 0, 0, 0, 0}, {2, -2, 0, 0, 0, 0, 0, 0, 0}, Banner(zeroSum)},
      {{}, {0, 0, 0, 0, 0, 0, 0, 0, 0}, Banner(wrongLength + "-1") + Banner(zeroSum)},
      // The weights that add up to 0 are the ones kept, not the list's.
      {{0, 0, 0, 0, 0, 0, 0, 0, 0, 7},
       {0, 0, 0, 0, 0, 0, 0, 0, 0},
       Banner(wrongLength + "9") + Banner(zeroSum)},
  };
  for (const Case& c : cases) {
    test::ConsoleScript script({"", ""});
    TEnemy enemy;
    enemy.ActionRate.fill(77);
    setActionRate(enemy, c.weights, script.Banner());
    EXPECT_EQ(enemy.ActionRate, c.stored) << c.weights.size();
    EXPECT_EQ(script.Output(), c.output) << c.weights.size();
  }
}

}  // namespace
}  // namespace velkor
