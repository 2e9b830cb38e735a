#pragma once
// One turn of a battle: both plans, the initiative, then up to five phases.

#include <string>

#include "battle/resolution.h"

namespace velkor {

// Plays one turn on the battle state; result becomes "勝利" or "敗北" when a
// fighter dies and is empty otherwise.
void BattleTurn(std::string& result);

// Sets turn.FirstSide and turn.SecondSide: a lone Quick fighter goes first,
// otherwise a draw weighted by the two current speeds decides.
void DecideInitiative(TurnContext& turn);

}  // namespace velkor
