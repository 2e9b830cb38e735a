#pragma once
// How the player at the console plans: a letter menu for each slot, then a
// confirmation.

#include <cstdint>
#include <string>

#include "battle/battle_state.h"
#include "console/console_io.h"

namespace velkor {

// Shows the battle screen and the menu of the actions that cost no more than
// points (and the end action), and stores the chosen one in the player's slot
// (0..4). True when the slot now holds actEnd. When only the end action can
// be had, the slot gets it at once, with nothing shown.
bool SelectAction(Console& console, BattleState& battle, int slot, std::int32_t points);

// The player's advance plan for the turn, paid from the current speed and
// planned again from the start until the player accepts it.
void PlanPlayerActions(Console& console, BattleState& battle);

// "（残り" n "ポイント）".
std::string PointsLeftText(std::int32_t n);

}  // namespace velkor
