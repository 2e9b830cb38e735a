#pragma once
// How the enemy chooses its actions: weighted chance from the weights of
// CurrentEnemy, within the points it has.

#include <cstdint>

#include "battle/battle_screen.h"
#include "battle/battle_state.h"

namespace velkor {

// Draws the enemy's action for slot (0..4) among those that cost no more
// than points, and stores it in the enemy's plan; actEnd when none can be had.
// screen hears of a draw that falls outside every weight.
void RateAction(BattleState& battle, BattleScreen& screen, int slot, std::int32_t points);

// The enemy's advance plan for the turn, paid from its current speed.
void PlanEnemyActions(BattleState& battle, BattleScreen& screen);

}  // namespace velkor
