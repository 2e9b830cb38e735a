#pragma once
// The twelve roster entries as battles begin them, numbers only (no story
// texts), built once for the whole program.

#include <array>

#include "enemy/enemy.h"

namespace velkor::sim {

const std::array<TEnemy, RosterSize>& RosterNumbers();

}  // namespace velkor::sim
