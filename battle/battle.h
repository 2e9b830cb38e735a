#pragma once
// One battle between the player and a roster enemy, turn by turn: the engine
// that plays it on any battle state.

#include <cstdint>
#include <limits>
#include <string_view>

#include "battle/battle_screen.h"
#include "battle/battle_state.h"
#include "battle/player_agent.h"

namespace velkor {

// Plays turns on a set-up battle, agent on the player's side and screen
// watching, until a fighter has died, and says who won. It touches nothing
// but battle, agent and screen. There is no turn limit of the game; a caller
// may set one, and a battle still going after turnLimit turns gives Undecided.
BattleOutcome FightBattle(BattleState& battle, PlayerAgent& agent, BattleScreen& screen,
                          std::uint64_t turnLimit = std::numeric_limits<std::uint64_t>::max());

// The result text that the hunt keeps: "勝利", "敗北", or empty while undecided.
std::string_view ResultText(BattleOutcome outcome);

}  // namespace velkor
