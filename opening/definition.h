#pragma once
// Character definition: name, stats and talents, then the opening scenario.

#include <cstdint>

#include "data/tables.h"  // NameLimit and InitialPointPool

namespace velkor {

// Fills the cleared Player from the player's answers and plays the opening.
void DefineCharacter();

// The steps of the definition, in this order.
// Asks until a name of 1..NameLimit bytes is typed; stores it as typed.
void AskName();
// The two introduction texts, the stats and the talents from a full pool, and
// the finished sheet.
void DefineAbilities();
// Points for each stat in turn, at most what is left of pointPool.
void BuyStats(std::int32_t& pointPool);
// Talents that are not owned and still fit in pointPool, until "Z" or until
// nothing fits (then nothing is written at all).
void BuyTalents(std::int32_t& pointPool);

}  // namespace velkor
