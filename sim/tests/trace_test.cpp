// One battle told turn by turn: the lines say what the engine did, and
// watching the battle changes nothing in it.
#include "sim/trace.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/cp932_literal.h"
#include "sim/policy_registry.h"
#include "sim/simulation.h"

namespace velkor::sim {
namespace {

const Build Seer{{30, 25, 5, 30}, {0, 1, 0, 0}};  // 心眼: the enemy's plan is shown
const Build Even{{25, 25, 25, 25}, {}};

TEST(TraceBattle, TellsTheTurnsAsTheyCame) {
  const std::string trace = TraceBattle(Seer, 6, "lookahead", SeedsOfRun(3, 1, 0));
  // The first turn whole, and the end.
  EXPECT_EQ(
      trace.rfind("turn 1  you HP 150, guards 0 decoys 0 | enemy HP 125, guards 0 decoys 0\n"
                  "  your plan   " +
                      std::string("崩し 回避 防御 攻撃 攻撃"_cp) + "\n  enemy plan  " +
                      std::string("攻撃 衝撃 弱撃"_cp) + "\n  acted       you " + std::string("崩し"_cp) +
                      ", enemy " + std::string("攻撃"_cp) + ", you " + std::string("回避"_cp) + ", enemy " +
                      std::string("衝撃"_cp) + " (no points), you " + std::string("防御"_cp) + ", enemy " +
                      std::string("弱撃"_cp) + " (evaded), you " + std::string("攻撃"_cp) + ", you " +
                      std::string("攻撃"_cp) + "\n  dealt       16 HP and 12 points; taken 32 HP\n",
                  0),
      0u)
      << trace;
  EXPECT_NE(trace.find("\nturn 2  you HP 118, guards 1 decoys 0 | enemy HP 109,"), std::string::npos)
      << trace;
  EXPECT_TRUE(trace.ends_with("\nwon in 5 turns with 25 HP left\n")) << trace;
  // Without 心眼 the enemy's plan is not shown.
  const std::string blind = TraceBattle(Even, 8, "greedy", SeedsOfRun(3, 1, 0));
  EXPECT_NE(blind.find("\n  enemy plan  ?\n"), std::string::npos) << blind;
  EXPECT_EQ(blind.find(std::string("\n  enemy plan  ") + std::string("攻撃"_cp)), std::string::npos) << blind;
}

// The traced battle is the battle the tables count: the same turns and the
// same end, for every kind of policy.
TEST(TraceBattle, IsTheBattleThatTheTablesCount) {
  struct Case {
    const char* policy;
    Build build;
    std::int32_t enemy;
    std::uint32_t seed;
  };
  const Case cases[] = {
      {"greedy", Even, 8, 3}, {"lookahead", Seer, 6, 3}, {"random", Even, 0, 11}, {"lookahead", Even, 10, 5}};
  for (const Case& c : cases) {
    const std::string trace = TraceBattle(c.build, c.enemy, c.policy, SeedsOfRun(c.seed, 1, 0));
    const auto policy = MakePolicy(c.policy);
    const BattleRecord record =
        SimulateBattle(MakeFighter(c.build), c.enemy, *policy, SeedsOfRun(c.seed, 1, 0));
    const std::string end = record.Outcome == BattleOutcome::Victory
                                ? "won in " + std::to_string(record.Turns) + " turns with " +
                                      std::to_string(record.PlayerHP) + " HP left\n"
                                : "lost in " + std::to_string(record.Turns) + " turns; the enemy had " +
                                      std::to_string(record.EnemyHP) + " HP left\n";
    EXPECT_TRUE(trace.ends_with("\n" + end)) << c.policy << " " << c.enemy << "\n" << trace;
    EXPECT_NE(trace.find("\nturn " + std::to_string(record.Turns) + " "), std::string::npos) << c.policy;
    EXPECT_EQ(trace.find("\nturn " + std::to_string(record.Turns + 1) + " "), std::string::npos) << c.policy;
    EXPECT_EQ(trace.find("broken invariant"), std::string::npos) << c.policy;
  }
}

}  // namespace
}  // namespace velkor::sim
