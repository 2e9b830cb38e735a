#pragma once
// One battle told turn by turn as the player saw it: what a policy chose,
// what the enemy showed and what the blows did. The battle is played by the
// engine as always; a screen that keeps what it is told writes the lines.

#include <cstdint>
#include <string>

#include "sim/build.h"
#include "sim/policy.h"
#include "sim/seeds.h"

namespace velkor::sim {

// Battle of build against roster entry enemy played by the policy of that
// name from seeds: a line for where each turn starts (both HP and tokens),
// the player's plan, the enemy's plan as the screen showed it ("?" without
// 心眼), the actions in the order they came, the damage dealt each way, and
// the outcome. Text in the game's code page 932.
std::string TraceBattle(const Build& build, std::int32_t enemy, std::string_view policy, RunSeeds seeds,
                        Knowledge knowledge = Knowledge::Veteran);

}  // namespace velkor::sim
