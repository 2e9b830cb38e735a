#pragma once
// Character definition: name, stats and talents, then the opening scenario.

#include <cstdint>

#include "console/console_io.h"
#include "data/fighter.h"
#include "data/tables.h"  // NameLimit and InitialPointPool

namespace velkor {

// Fills the cleared player from the player's answers and plays the opening.
void DefineCharacter(Console& console, TPlayer& player);

// The steps of the definition, in this order.
// Asks until a name of 1..NameLimit bytes is typed; stores it as typed.
void AskName(Console& console, TPlayer& player);
// The two introduction texts, the stats and the talents from a full pool, and
// the finished sheet.
void DefineAbilities(Console& console, TPlayer& player);
// Points for each stat in turn, at most what is left of pointPool.
void BuyStats(Console& console, TPlayer& player, std::int32_t& pointPool);
// Talents that are not owned and still fit in pointPool, until "Z" or until
// nothing fits (then nothing is written at all).
void BuyTalents(Console& console, TPlayer& player, std::int32_t& pointPool);

}  // namespace velkor
