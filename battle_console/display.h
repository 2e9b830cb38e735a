#pragma once
// The battle screen: the enemy's sheet, then the player's, each with its
// tokens and its row of plan slots. What the player sees of the enemy depends
// on the player's talents.

#include <string>

#include "battle/battle_state.h"
#include "console/console_io.h"

namespace velkor {

// The five slots of side: "[name]" for a slot still to come, " name " for one
// whose phase has been reached; an empty slot shows two full-width spaces.
std::string PlanRow(const BattleState& battle, int side);

// "<デ>" per decoy token, then "<ガ>" per guard token, and CR LF; empty when
// the side holds no token.
std::string TokenLine(const BattleState& battle, int side);

// Writes the whole battle screen.
void ShowBattle(Console& console, const BattleState& battle);

}  // namespace velkor
