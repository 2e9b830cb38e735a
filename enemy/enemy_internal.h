#pragma once
// Pieces of EnemyData that only it uses, visible here so that their own
// checks can be tested.

#include <cstdint>
#include <span>

#include "data/error_sink.h"
#include "enemy/enemy.h"

namespace velkor::enemy_internal {

// Stores nine action weights into enemy.ActionRate. A list of another length
// tells error of "<a>" and stores what it has (missing weights 0, extra ones
// dropped); nine weights that add up to 0 tell error of "<b>".
void setActionRate(TEnemy& enemy, std::span<const std::int32_t> weights, const ErrorSink& error);

}  // namespace velkor::enemy_internal
