#pragma once
// The best play of one matchup, proven: the chance of winning from every
// state a turn can start in, under the best choice of plan each turn, and
// that choice.
//
// The states are the two fighters' hit points and the four token counts;
// each turn is one chance move (the enemy's plan as its weights draw it, and
// the initiative) after the player's choice among a set of plans: the
// look-ahead's candidate mixes, or every plan the player's speed pays for.
// The player knows the enemy's numbers and weights (a veteran) and its exact
// hit points, which the printed damage tells. With 心眼 the plan is chosen
// after the enemy's plan is seen: the chance move splits in two.
//
// Hit points only go down, so the states are solved in order of the sum of
// the two fighters' hit points, each sum at once (its cells side by side);
// only turns in which nobody is hurt stay within a sum, and those (tokens
// alone move) are solved by Gauss-Seidel sweeps until no value moves by more
// than ConvergedWithin. Values are floats; the solve has no threads, so it
// gives the same table everywhere the same program runs.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sim/turn_model.h"

namespace velkor::sim {

// The plans the player chooses among each turn.
enum class PlanSet : std::uint8_t {
  Candidates,  // the look-ahead's candidate mixes for the turn's tokens
  Every,       // every plan the player's speed pays for
};

// The plans of a set for a turn that begins with tokens, in a fixed order.
void PlansOf(TurnModel& model, PlanSet set, int tokens, std::vector<Plan>& plans);

inline constexpr float ConvergedWithin = 1e-7f;

struct SolvedTable {
  std::int32_t PlayerHP = 0;  // the hit points of both at the battle's start: the table's bounds
  std::int32_t EnemyHP = 0;
  PlanSet Plans = PlanSet::Candidates;
  bool MindEye = false;  // the plan is chosen after the enemy's is seen
  // Indexed by Index(): without 心眼, the plan to play (its place in
  // PlansOf); the chance of winning of each state, which with 心眼 is what
  // the choice is made from (it needs the shown plan). A table read back
  // without 心眼 holds only the choices.
  std::vector<std::uint16_t> Choice;
  std::vector<float> Value;
  double StartValue = 0;  // the chance of winning the battle, from its start

  std::size_t Index(std::int32_t playerHP, std::int32_t enemyHP, int tokens) const {
    return (static_cast<std::size_t>(tokens) * static_cast<std::size_t>(PlayerHP) +
            static_cast<std::size_t>(playerHP - 1)) *
               static_cast<std::size_t>(EnemyHP) +
           static_cast<std::size_t>(enemyHP - 1);
  }
  bool Holds(std::int32_t playerHP, std::int32_t enemyHP) const {
    return playerHP >= 1 && playerHP <= PlayerHP && enemyHP >= 1 && enemyHP <= EnemyHP;
  }
};

// What a solve met and cost.
struct SolveReport {
  std::uint64_t States = 0;
  std::uint64_t PlansTried = 0;     // (tokens, plan) pairs
  std::uint64_t DistinctPlans = 0;  // of those, with moves unlike any other plan's of the same tokens
  std::uint64_t Outcomes = 0;       // ways a turn went, before merging
  std::uint64_t Transitions = 0;    // merged moves kept for the solve
  std::uint64_t EnemyClasses = 0;   // with 心眼: the enemy's plans the player tells apart, over all tokens
  std::uint64_t Sweeps = 0;         // Gauss-Seidel sweeps, over all sums of hit points
  std::uint64_t MostSweeps = 0;     // at one sum
  std::uint64_t BytesHeld = 0;      // the solve's tables together at their largest
  std::string OutOfReach;           // why no table was made
  std::string MindEyeUnused;        // why the table chooses ahead although 心眼 shows the plan
};

// The chance of winning after a turn that went as outcome from hit points
// playerHP and enemyHP: 1 or 0 when it ended the battle, else the table's
// value where it left the fighters (the table must hold values).
double EndValue(const SolvedTable& table, const TurnOutcome& outcome, std::int32_t playerHP,
                std::int32_t enemyHP);

// Bounds that keep a solve within the machine.
struct SolveLimits {
  std::uint64_t Memory = std::uint64_t{3} << 29;  // bytes of the turns' moves (1.5 GiB)
  std::uint64_t MindEyeWork = 2000000;            // (enemy plan, tokens, plan) triples of a 心眼 solve
};

// Solves the matchup of model; nothing (and report.OutOfReach says why)
// when the turns' moves would not fit within limits. With 心眼 beyond
// limits, the plan is chosen ahead instead and report.MindEyeUnused says
// why. progress, when given, hears the fraction done.
std::optional<SolvedTable> Solve(TurnModel& model, PlanSet plans, SolveReport& report,
                                 const SolveLimits& limits = {},
                                 const std::function<void(double done)>& progress = {});

}  // namespace velkor::sim
