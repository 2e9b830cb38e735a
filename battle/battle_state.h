#pragma once
// The state of the running battle: who fights, what each side has planned
// for this turn, how far the turn has come, and the tokens of each side.
// Rebuilt at the start of every battle (fighters, tokens) and of every turn
// (plans, phase markers, action points).

#include <array>
#include <cstdint>

#include "data/fighter.h"
#include "enemy/enemy.h"

namespace velkor {

// Sides of a battle; the other side of s is 1 - s.
inline constexpr int PlayerSide = 0;
inline constexpr int EnemySide = 1;
inline constexpr int SideCount = 2;
// Slots of a plan, which are also the phases of a turn.
inline constexpr int SlotCount = 5;
// Tokens of one kind that a side can hold at most.
inline constexpr std::int32_t TokenLimit = 3;

// Side 0 is the player's record, side 1 CurrentEnemy.
extern std::array<TFighter*, SideCount> Fighters;
// This battle's copy of the roster entry; it takes all damage dealt to the enemy.
extern TEnemy CurrentEnemy;
// [side][slot]: an action code; actEnd marks an empty slot and the end of a plan.
extern std::array<std::array<std::uint8_t, SlotCount>, SideCount> ActionPlan;
// [side][slot]: the phase of that slot has been reached this turn.
extern std::array<std::array<bool, SlotCount>, SideCount> PhaseDone;
// Points left this turn; the opponent's "崩し" may drive them below 0.
extern std::array<std::int32_t, SideCount> ActionPoints;
// Tokens made by "回避" and "防御"; kept from turn to turn within a battle.
extern std::array<std::int32_t, SideCount> DecoyTokens;
extern std::array<std::int32_t, SideCount> GuardTokens;

// a - b, held within 32 bits: hit points and action points only ever go down
// by the amounts of the damage formula, but a record loaded from disk may
// hold any value.
std::int32_t SaturatingSub(std::int32_t a, std::int32_t b);

}  // namespace velkor
