#pragma once
// One battle between the player and a roster enemy, turn by turn: the engine
// that plays it on any battle state, and the game's battle at the console.

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "battle/battle_screen.h"
#include "battle/battle_state.h"
#include "battle/console_agent.h"
#include "battle/console_screen.h"
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

// A battle played at the console as the game plays it.
struct ConsoleBattle {
  ConsoleScreen Screen;
  ConsoleAgent Agent;
  BattleState State;
};

// Fights roster entry enemyIndex with Player, drawing from RandomState; on
// return Player and RandomState are as the battle left them and result is
// "勝利" or "敗北". A victory over an enemy with a title appends it to
// TitleList.
void Battle(std::int32_t enemyIndex, std::string& result);
// The same on the console battle given, which keeps the state as the battle
// left it.
void Battle(ConsoleBattle& console, std::int32_t enemyIndex, std::string& result);

}  // namespace velkor
