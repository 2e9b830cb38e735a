#pragma once
// One turn of a battle: both plans, the initiative, then up to five phases.

#include "battle/battle_state.h"
#include "battle/resolution.h"

namespace velkor {

// Plays one turn of battle, with agent on the player's side and screen
// watching; result is decided when a fighter dies and Undecided otherwise.
void BattleTurn(BattleState& battle, PlayerAgent& agent, BattleScreen& screen, BattleOutcome& result);

// Sets turn.FirstSide and turn.SecondSide: a lone Quick fighter goes first,
// otherwise a draw weighted by the two current speeds decides.
void DecideInitiative(BattleState& battle, TurnContext& turn);

// Plays the phases of a turn whose plans, initiative and action points are
// set, from turn.Phase to the end of the turn or a death; with firstActed,
// turn.FirstSide has already had its part of turn.Phase. This is how a copy
// of a battle caught inside a turn plays the rest of it.
void PlayPhases(BattleState& battle, TurnContext& turn, bool firstActed = false);

}  // namespace velkor
