// The turn model is the engine: a turn played by the model from the state it
// starts in, with the enemy's plan and the initiative that the engine drew,
// ends as the engine's own turn ends; and the chances it gives each way a
// turn can go are those of the engine's draws.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "battle/battle.h"
#include "battle/think.h"
#include "battle/turn.h"
#include "sim/build.h"
#include "sim/roster_entry.h"
#include "sim/turn_model.h"

namespace velkor::sim {
namespace {

// Plays a given plan.
class Fixed : public PlayerAgent {
 public:
  explicit Fixed(const Plan& plan) : plan_(plan) {}
  void PlanActions(BattleState& battle) override { battle.ActionPlan[PlayerSide] = plan_; }
  void SelectAction(BattleState&, int, std::int32_t) override { ADD_FAILURE() << "asked phase by phase"; }

 private:
  Plan plan_;
};

// Builds between them with every talent but 超反応, and speeds from few
// plans to many.
const Build Builds[] = {
    {{25, 25, 25, 25}, {0, 0, 0, 0}}, {{35, 25, 5, 35}, {0, 0, 0, 0}}, {{20, 30, 10, 34}, {0, 0, 1, 0}},
    {{20, 25, 15, 16}, {1, 1, 0, 0}}, {{10, 60, 0, 30}, {0, 0, 0, 0}},
};

// A small generator of the test's own, apart from the game's.
struct Dice {
  std::uint64_t state;
  std::uint32_t Next(std::uint32_t n) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return static_cast<std::uint32_t>((state >> 33) % n);
  }
};

// What a turn left: who won, the hit points, the tokens (when nobody won).
using Ending = std::tuple<BattleOutcome, std::int32_t, std::int32_t, int>;

TEST(TurnModel, PlaysEveryTurnAsTheEngineDoes) {
  Dice dice{12345};
  NullBattleScreen screen;
  std::vector<Plan> plans;
  int turns = 0;
  int decided = 0;
  for (int i = 0; i < 6000; ++i) {
    const Build& build = Builds[dice.Next(std::size(Builds))];
    const auto enemy = static_cast<std::int32_t>(dice.Next(RosterSize));
    const TFighter player = MakeFighter(build);
    const TEnemy& entry = RosterEntry(enemy);
    TurnModel model(player, entry);

    BattleState battle;
    SetUpBattle(battle, player, entry, dice.Next(0xFFFFFFFFu));
    const TurnStart start{
        static_cast<std::int32_t>(1 + dice.Next(static_cast<std::uint32_t>(player.CurStats[StatHP]))),
        static_cast<std::int32_t>(1 + dice.Next(static_cast<std::uint32_t>(entry.CurStats[StatHP]))),
        static_cast<int>(dice.Next(TokenStates))};
    const Tokens tokens = Tokens::At(start.TokenIndex);
    battle.PlayerFighter.CurStats[StatHP] = start.PlayerHP;
    battle.CurrentEnemy.CurStats[StatHP] = start.EnemyHP;
    battle.DecoyTokens = {tokens.PlayerDecoys, tokens.EnemyDecoys};
    battle.GuardTokens = {tokens.PlayerGuards, tokens.EnemyGuards};
    // Half the plans from the look-ahead's candidates, half from all.
    if (i % 2 == 0) {
      model.CandidatePlans(start.TokenIndex, plans);
    } else {
      model.AllPlans(plans);
    }
    const Plan plan = plans[dice.Next(static_cast<std::uint32_t>(plans.size()))];

    // What the engine draws: the enemy's plan ahead (when it plans ahead),
    // then the initiative, from the same generator.
    BattleState drawn = battle;
    for (auto& row : drawn.ActionPlan) row.fill(actEnd);
    if (model.EnemyPlansAhead()) PlanEnemyActions(drawn, screen);
    BattleOutcome unused = BattleOutcome::Undecided;
    Fixed agent(plan);
    TurnContext initiative(unused, agent, screen);
    DecideInitiative(drawn, initiative);

    BattleOutcome result = BattleOutcome::Undecided;
    ++battle.Turn;
    BattleTurn(battle, agent, screen, result);
    // An enemy that chooses phase by phase leaves its choices in its plan.
    const Plan enemyPlan = battle.ActionPlan[EnemySide];
    if (model.EnemyPlansAhead()) {
      ASSERT_EQ(enemyPlan, drawn.ActionPlan[EnemySide]) << "the draws are not those of the engine";
    }
    const TurnStart after = StateOf(battle);
    const Ending engine{result, result == BattleOutcome::Undecided ? after.PlayerHP : 0,
                        result == BattleOutcome::Undecided ? after.EnemyHP : 0,
                        result == BattleOutcome::Undecided ? after.TokenIndex : 0};

    const TurnOutcome outcome = model.Play(start.TokenIndex, plan, enemyPlan, initiative.FirstSide);
    const TurnEnd end = Finish(outcome, start.PlayerHP, start.EnemyHP);
    const bool on = end.Result == BattleOutcome::Undecided;
    const Ending modelled{end.Result, on ? end.PlayerHP : 0, on ? end.EnemyHP : 0,
                          on ? outcome.TokensAfter : 0};
    ASSERT_EQ(modelled, engine) << "turn " << i << ": build " << StatsText(build) << " enemy " << enemy + 1;
    ++turns;
    decided += on ? 0 : 1;
  }
  EXPECT_EQ(turns, 6000);
  // Turns that end the battle, where the order of the hits decides, are
  // among them.
  EXPECT_GT(decided, 600);
}

// Each way a turn can go, with its chance: the model's merged branches, and
// every plan the enemy can draw times the initiative, played one by one.
TEST(TurnModel, ChancesAreThoseOfEveryDrawPlayedOut) {
  using Key = std::pair<int, std::vector<std::int16_t>>;
  const auto keyOf = [](const TurnOutcome& o) {
    return Key{o.TokensAfter, std::vector<std::int16_t>(o.Trace.begin(), o.Trace.begin() + o.Hits)};
  };
  const struct {
    Build Character;
    std::int32_t Enemy;
    int Tokens;
  } cases[] = {
      {{{25, 25, 25, 25}, {}}, 6, 0},               // 鬼: impacts through half the defense
      {{{25, 25, 25, 25}, {}}, 0, 0xA5},            // 真山麻耶: may end its plan early, guards and decoys
      {{{20, 30, 10, 34}, {0, 0, 1, 0}}, 9, 0x3C},  // アネモネ against Quick: both Quick
      {{{35, 25, 5, 35}, {}}, 10, 0x41},            // 黒野宇美: sword play through a decoy
  };
  std::vector<Plan> plans;
  std::vector<TurnOutcome> outcomes;
  std::vector<std::pair<Plan, double>> enemyPlans;
  for (const auto& c : cases) {
    TurnModel model(MakeFighter(c.Character), RosterEntry(c.Enemy));
    model.CandidatePlans(c.Tokens, plans);
    model.EnemyPlans(enemyPlans);
    double total = 0;
    for (const auto& [plan, chance] : enemyPlans) total += chance;
    EXPECT_NEAR(total, 1.0, 1e-12);
    for (std::size_t p = 0; p < plans.size(); p += 5) {
      std::map<Key, double> merged;
      model.Outcomes(c.Tokens, plans[p], outcomes);
      for (const TurnOutcome& o : outcomes) merged[keyOf(o)] += o.Chance;
      std::map<Key, double> played;
      const double first = model.PlayerFirst();
      for (const auto& [enemyPlan, chance] : enemyPlans) {
        for (const int side : {PlayerSide, EnemySide}) {
          const double odds = side == PlayerSide ? first : 1 - first;
          if (odds > 0) played[keyOf(model.Play(c.Tokens, plans[p], enemyPlan, side))] += chance * odds;
        }
      }
      ASSERT_EQ(merged.size(), played.size()) << "enemy " << c.Enemy + 1 << " plan " << p;
      for (const auto& [key, chance] : played) EXPECT_NEAR(merged[key], chance, 1e-12);
    }
  }
}

// The plans the model gives an enemy come as often as the engine draws them:
// slot by slot, each action as often as its chance says (悪魔 favours "崩し"
// in its second slot; 真山麻耶 may end its plan early).
TEST(TurnModel, EnemyPlansComeAsOftenAsTheEngineDrawsThem) {
  const TFighter player = MakeFighter(Build{{25, 25, 25, 25}, {}});
  for (const std::int32_t enemy : {7, 0}) {
    const TEnemy& entry = RosterEntry(enemy);
    TurnModel model(player, entry);
    std::vector<std::pair<Plan, double>> plans;
    model.EnemyPlans(plans);
    std::array<std::array<double, ActionCount>, SlotCount> chance{};
    for (const auto& [plan, c] : plans)
      for (std::size_t slot = 0; slot < SlotCount; ++slot) chance[slot][plan[slot]] += c;

    std::array<std::array<int, ActionCount>, SlotCount> seen{};
    NullBattleScreen screen;
    constexpr int Draws = 40000;
    for (int i = 0; i < Draws; ++i) {
      BattleState battle;
      SetUpBattle(battle, player, entry, static_cast<std::uint32_t>(i) * 2246822519u + 7);
      for (auto& row : battle.ActionPlan) row.fill(actEnd);
      PlanEnemyActions(battle, screen);
      for (std::size_t slot = 0; slot < SlotCount; ++slot) ++seen[slot][battle.ActionPlan[EnemySide][slot]];
    }
    for (std::size_t slot = 0; slot < SlotCount; ++slot) {
      for (std::size_t a = 0; a < ActionCount; ++a) {
        const double expected = chance[slot][a] * Draws;
        EXPECT_NEAR(seen[slot][a], expected, 5 * std::sqrt(expected) + 3)
            << "enemy " << enemy + 1 << " slot " << slot + 1 << " action " << a;
      }
    }
  }
}

// An enemy that draws each slot in its phase (平崎有三) draws from the points
// it has left then: the engine's own turns, many times over, end as often as
// the model's chances say.
TEST(TurnModel, PhaseByPhaseEnemyMatchesTheEngineOnAverage) {
  const TFighter player = MakeFighter(Build{{25, 25, 25, 25}, {}});
  const TEnemy& entry = RosterEntry(4);
  ASSERT_TRUE(entry.HasTalent(HyperReaction));
  TurnModel model(player, entry);
  // Breaks first: the enemy's later slots are drawn from fewer points.
  const Plan plan{actBreak, actBreak, actAttack, actEnd, actEnd};
  const int tokens = 0x11;
  // What the end of a turn shows: the tokens and what each side lost.
  using Key = std::tuple<int, std::int32_t, std::int32_t>;
  std::vector<TurnOutcome> outcomes;
  model.Outcomes(tokens, plan, outcomes);
  std::map<Key, double> chances;
  for (const TurnOutcome& o : outcomes) chances[{o.TokensAfter, o.PlayerLoss(), o.EnemyLoss()}] += o.Chance;

  std::map<Key, int> seen;
  NullBattleScreen screen;
  constexpr int Turns = 40000;
  constexpr std::int32_t Plenty = 1 << 20;
  for (int i = 0; i < Turns; ++i) {
    BattleState battle;
    SetUpBattle(battle, player, entry, static_cast<std::uint32_t>(i) * 2654435761u);
    battle.PlayerFighter.CurStats[StatHP] = Plenty;
    battle.CurrentEnemy.CurStats[StatHP] = Plenty;
    const Tokens t = Tokens::At(tokens);
    battle.DecoyTokens = {t.PlayerDecoys, t.EnemyDecoys};
    battle.GuardTokens = {t.PlayerGuards, t.EnemyGuards};
    Fixed agent(plan);
    BattleOutcome result = BattleOutcome::Undecided;
    BattleTurn(battle, agent, screen, result);
    const TurnStart after = StateOf(battle);
    ++seen[{after.TokenIndex, Plenty - after.PlayerHP, Plenty - after.EnemyHP}];
  }
  for (const auto& [key, count] : seen)
    EXPECT_TRUE(chances.count(key) == 1) << "the engine went a way the model does not know";
  for (const auto& [key, chance] : chances) {
    const double expected = chance * Turns;
    // Five standard deviations and a little: the seeds are fixed, so this
    // never flickers, and a chance wrong by a few percent shows.
    EXPECT_NEAR(seen[key], expected, 5 * std::sqrt(expected) + 3) << "an outcome of chance " << chance;
  }
}

}  // namespace
}  // namespace velkor::sim
