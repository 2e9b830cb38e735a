#pragma once
// A roster entry as a battle begins it, for the simulator's own choices and
// tables.

#include <cstdint>

#include "enemy/enemy.h"

namespace velkor::sim {

// EnemyData of index (0..11). The roster's weights keep their rules: there
// is nothing to tell.
TEnemy RosterEntry(std::int32_t index);

}  // namespace velkor::sim
