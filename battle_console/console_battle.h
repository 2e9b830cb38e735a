#pragma once
// The game's battle at the console: the encounter, the battle played by the
// person at the keyboard, and its end.

#include <cstdint>
#include <string>

#include "battle/battle_state.h"
#include "battle_console/console_agent.h"
#include "battle_console/console_screen.h"

namespace velkor {

// A battle played at the console as the game plays it.
struct ConsoleBattle {
  explicit ConsoleBattle(Console& console) : Screen(console), Agent(console) {}
  ConsoleScreen Screen;
  ConsoleAgent Agent;
  BattleState State;
};

// Fights roster entry enemyIndex at console with player, drawing from
// randomState; on return player and randomState are as the battle left them
// and result is "勝利" or "敗北". A victory over an enemy with a title appends
// it to titleList.
void Battle(Console& console, std::int32_t enemyIndex, TFighter& player, std::uint32_t& randomState,
            std::string& titleList, std::string& result);
// The same on the console battle given, which keeps the state as the battle
// left it.
BattleOutcome Battle(Console& console, ConsoleBattle& battle, std::int32_t enemyIndex, TFighter& player,
                     std::uint32_t& randomState, std::string& titleList);

}  // namespace velkor
