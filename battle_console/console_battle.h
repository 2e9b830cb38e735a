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
// left it, for player drawing from randomState.
BattleOutcome Battle(ConsoleBattle& console, std::int32_t enemyIndex, TFighter& player,
                     std::uint32_t& randomState);

}  // namespace velkor
