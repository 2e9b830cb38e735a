#pragma once
// The defense factors of the damage formula, worked out exactly: what
// tools/make_defense_table writes into battle/defense_table_data.h, and
// what a test holds that file to.

#include <string>

namespace velkor::tools {

// Defenses up to this much (and down to minus it), in half steps, are in
// the table: 2 x DefenseReach + 1 halves from -DefenseReach to DefenseReach.
inline constexpr int DefenseReach = 1000;

// The double nearest to 10^(-k/100), that is 100^(-d/100) for d = k/2,
// decided exactly with integer arithmetic.
double NearestPowerOfTen(int k);

// The whole text of battle/defense_table_data.h.
std::string DefenseTableText();

}  // namespace velkor::tools
