#pragma once
// Pieces of EnemyData that only it uses, visible here so that their own
// checks can be tested.

#include <cstdint>
#include <span>

#include "enemy/enemy.h"

namespace velkor::enemy_internal {

// Stores nine action weights into enemy.ActionRate. A list of another length
// shows the "<a>" banner and stores what it has (missing weights 0, extra
// ones dropped); nine weights that add up to 0 show the "<b>" banner.
void setActionRate(TEnemy& enemy, std::span<const std::int32_t> weights);

}  // namespace velkor::enemy_internal
