// The solved table is the best play: at every state its value is what the
// best plan's turn leads to (the turns as the model plays them, the battle's
// end as Finish decides it), its choice is such a plan, and more plans or
// more knowledge never make a state worse.
#include <gtest/gtest.h>

#include <vector>

#include "sim/best_solver.h"
#include "sim/build.h"
#include "sim/roster_entry.h"

namespace velkor::sim {
namespace {

// A matchup small enough to check every state: few hit points, few plans.
// The enemy hits, strips with weak strikes, breaks, guards and evades.
TurnModel SmallMatchup(const std::array<std::uint8_t, TalentCount>& talents = {}) {
  TEnemy enemy = RosterEntry(6);
  enemy.BaseStats = {12, 24, 10, 12};
  enemy.CurStats = enemy.BaseStats;
  enemy.Talents = {};
  enemy.ActionRate = {1, 0, 0, 1, 1, 1, 1, 0, 0};
  return TurnModel(MakeFighter(Build{{2, 20, 10, 12}, talents}), enemy);
}

// Every state: the value is the best plan's, and the choice is a best plan.
void ExpectBellman(TurnModel& model, const SolvedTable& table, PlanSet set) {
  std::vector<std::vector<std::vector<TurnOutcome>>> outcomes(TokenStates);
  std::vector<Plan> plans;
  for (int t = 0; t < TokenStates; ++t) {
    PlansOf(model, set, t, plans);
    for (const Plan& plan : plans) {
      outcomes[static_cast<std::size_t>(t)].emplace_back();
      model.Outcomes(t, plan, outcomes[static_cast<std::size_t>(t)].back());
    }
  }
  int worst = 0;
  for (int t = 0; t < TokenStates; ++t) {
    for (std::int32_t hp = 1; hp <= table.PlayerHP; ++hp) {
      for (std::int32_t he = 1; he <= table.EnemyHP; ++he) {
        const auto& mine = outcomes[static_cast<std::size_t>(t)];
        double best = 0;
        std::vector<double> q(mine.size());
        for (std::size_t p = 0; p < mine.size(); ++p) {
          for (const TurnOutcome& o : mine[p]) q[p] += o.Chance * EndValue(table, o, hp, he);
          best = std::max(best, q[p]);
        }
        const std::size_t at = table.Index(hp, he, t);
        const bool ok = std::abs(best - table.Value[at]) < 2e-5 && q[table.Choice[at]] > best - 2e-5;
        if (!ok && worst++ < 5) {
          ADD_FAILURE() << "tokens " << t << " HP " << hp << "/" << he << ": value " << table.Value[at]
                        << ", best plan " << best << ", chosen " << q[table.Choice[at]];
        }
      }
    }
  }
  EXPECT_EQ(worst, 0);
}

TEST(BestSolver, EveryValueIsThatOfTheBestPlanAndChosen) {
  for (const PlanSet set : {PlanSet::Candidates, PlanSet::Every}) {
    TurnModel model = SmallMatchup();
    SolveReport report;
    const auto table = Solve(model, set, report);
    ASSERT_TRUE(table) << report.OutOfReach;
    ExpectBellman(model, *table, set);
    EXPECT_DOUBLE_EQ(table->StartValue, table->Value[table->Index(table->PlayerHP, table->EnemyHP, 0)]);
    // A battle the player can lose, and a battle it can win.
    EXPECT_GT(table->StartValue, 0.05);
    EXPECT_LT(table->StartValue, 0.95);
    EXPECT_GT(report.Sweeps, 0u) << "no turn in which nobody is hurt";
  }
}

TEST(BestSolver, MorePlansAndMoreKnowledgeNeverDoWorse) {
  TurnModel model = SmallMatchup();
  SolveReport report;
  const auto candidates = Solve(model, PlanSet::Candidates, report);
  const auto every = Solve(model, PlanSet::Every, report);
  TurnModel seeing = SmallMatchup({0, 1, 0, 0});
  const auto shown = Solve(seeing, PlanSet::Candidates, report);
  ASSERT_TRUE(candidates && every && shown);
  ASSERT_TRUE(shown->MindEye) << report.MindEyeUnused;
  EXPECT_GT(report.EnemyClasses, 0u);
  bool gained = false;
  for (std::size_t s = 0; s < candidates->Value.size(); ++s) {
    ASSERT_GE(every->Value[s], candidates->Value[s] - 2e-5f) << s;
    ASSERT_GE(shown->Value[s], candidates->Value[s] - 2e-5f) << s;
    gained = gained || shown->Value[s] > candidates->Value[s] + 0.01f;
  }
  EXPECT_TRUE(gained) << "seeing the enemy's plan never helped";
}

// With 心眼 the value of a state is the enemy's plans' chances times the
// best plan against each, seen: checked on a sample of states.
TEST(BestSolver, MindEyeChoosesAgainstTheShownPlan) {
  TurnModel model = SmallMatchup({0, 1, 0, 0});
  SolveReport report;
  const auto table = Solve(model, PlanSet::Candidates, report);
  ASSERT_TRUE(table && table->MindEye);
  std::vector<std::pair<Plan, double>> enemyPlans;
  model.EnemyPlans(enemyPlans);
  std::vector<Plan> plans;
  const double first = model.PlayerFirst();
  for (int i = 0; i < 300; ++i) {
    const int t = (i * 37) % TokenStates;
    const std::int32_t hp = 1 + (i * 7) % table->PlayerHP;
    const std::int32_t he = 1 + (i * 11) % table->EnemyHP;
    PlansOf(model, PlanSet::Candidates, t, plans);
    double value = 0;
    for (const auto& [enemyPlan, chance] : enemyPlans) {
      double best = 0;
      for (const Plan& plan : plans) {
        double q = 0;
        for (const int side : {PlayerSide, EnemySide}) {
          const double odds = side == PlayerSide ? first : 1 - first;
          if (odds > 0) q += odds * EndValue(*table, model.Play(t, plan, enemyPlan, side), hp, he);
        }
        best = std::max(best, q);
      }
      value += chance * best;
    }
    EXPECT_NEAR(table->Value[table->Index(hp, he, t)], value, 2e-5) << t << " " << hp << " " << he;
  }
}

// An enemy that cannot hurt: every plan wins in the end, doing nothing
// included (it ties at a chance of 1). The table's choices must still end
// the battle, played out turn by turn with the model's chances.
TEST(BestSolver, ChoicesNeverStallAWonBattle) {
  TEnemy harmless = RosterEntry(6);
  harmless.BaseStats = {12, 0, 10, 12};
  harmless.CurStats = harmless.BaseStats;
  harmless.Talents = {};
  harmless.ActionRate = {1, 0, 0, 0, 1, 1, 1, 0, 0};
  TurnModel model(MakeFighter(Build{{2, 20, 10, 12}, {}}), harmless);
  SolveReport report;
  const auto table = Solve(model, PlanSet::Every, report);
  ASSERT_TRUE(table);
  EXPECT_GT(table->StartValue, 1 - 1e-5);
  std::vector<Plan> plans;
  PlansOf(model, PlanSet::Every, 0, plans);
  ASSERT_EQ(plans.front()[0], actEnd) << "doing nothing comes first, so a plain first best would take it";
  std::uint64_t dice = 99;
  std::vector<TurnOutcome> outcomes;
  for (int battle = 0; battle < 200; ++battle) {
    std::int32_t hp = table->PlayerHP;
    std::int32_t he = table->EnemyHP;
    int tokens = 0;
    int turns = 0;
    for (; turns < 100; ++turns) {
      PlansOf(model, PlanSet::Every, tokens, plans);
      model.Outcomes(tokens, plans[table->Choice[table->Index(hp, he, tokens)]], outcomes);
      dice = dice * 6364136223846793005u + 1442695040888963407u;
      double r = static_cast<double>(dice >> 11) / 9007199254740992.0;
      const TurnOutcome* o = &outcomes.back();
      for (const TurnOutcome& way : outcomes) {
        if (r < way.Chance) {
          o = &way;
          break;
        }
        r -= way.Chance;
      }
      const TurnEnd end = Finish(*o, hp, he);
      if (end.Result != BattleOutcome::Undecided) {
        EXPECT_EQ(end.Result, BattleOutcome::Victory);
        break;
      }
      hp = end.PlayerHP;
      he = end.EnemyHP;
      tokens = o->TokensAfter;
    }
    ASSERT_LT(turns, 100) << "battle " << battle << " stalled";
  }
}

TEST(BestSolver, SaysWhatIsOutOfReach) {
  TurnModel model = SmallMatchup({0, 1, 0, 0});
  SolveReport report;
  SolveLimits limits;
  limits.MindEyeWork = 10;
  const auto ahead = Solve(model, PlanSet::Candidates, report, limits);
  ASSERT_TRUE(ahead);
  EXPECT_FALSE(ahead->MindEye);
  EXPECT_FALSE(report.MindEyeUnused.empty());
  limits.Memory = 1000;
  EXPECT_FALSE(Solve(model, PlanSet::Every, report, limits));
  EXPECT_FALSE(report.OutOfReach.empty());
}

}  // namespace
}  // namespace velkor::sim
