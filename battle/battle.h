#pragma once
// One battle between the player and a roster enemy, turn by turn: the engine
// that plays it on any battle state, and the game's battle at the console.

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "battle/battle_state.h"
#include "battle/console_agent.h"
#include "battle/console_screen.h"

namespace velkor {

// Plays turns on a set-up battle until a fighter has died, and says who won.
// There is no turn limit of the game; a caller may set one, and a battle
// still going after turnLimit turns gives Undecided.
BattleOutcome FightBattle(BattleState& battle,
                          std::uint64_t turnLimit = std::numeric_limits<std::uint64_t>::max());

// The result text that the hunt keeps: "勝利", "敗北", or empty while undecided.
std::string_view ResultText(BattleOutcome outcome);

// A battle state wired to the console as the game plays it, drawing from
// RandomState.
struct ConsoleBattle {
  ConsoleBattle() { State.Screen = &Screen; }
  ConsoleScreen Screen;
  ConsoleAgent Agent;
  BattleState State{GameRandom(), Agent};
};

// Fights roster entry enemyIndex with Player; on return result is "勝利" or
// "敗北". A victory over an enemy with a title appends it to TitleList.
void Battle(std::int32_t enemyIndex, std::string& result);
// The same on the console battle given, which keeps the state as the battle
// left it.
void Battle(ConsoleBattle& console, std::int32_t enemyIndex, std::string& result);

}  // namespace velkor
