#pragma once
// The state of one battle, as a value: who fights, what each side has
// planned for this turn, how far the turn has come, the tokens of each side
// and the state of the generator it draws from. Rebuilt at the start of
// every battle (fighters, tokens) and of every turn (plans, phase markers,
// action points). Who plays the player's side and who watches are given to
// the engine, not kept here, so a copy can be played on by anyone.

#include <array>
#include <cstdint>

#include "data/fighter.h"
#include "data/random_source.h"
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

// How a battle, or one turn of it, has ended so far.
enum class BattleOutcome : std::uint8_t {
  Undecided,  // both fighters live
  Victory,    // the enemy's hit points fell to 0 or below
  Defeat,     // the player's did
};

// Everything a battle is, numbers only: its defaulted copy is a whole
// independent battle. The enemy's story stays with whoever tells it.
struct BattleState {
  // The player's record as the battle began, and this battle's copy of the
  // roster entry's numbers; they take all damage dealt. The caller copies
  // the player's record back out when the battle is over.
  TFighter PlayerFighter{};
  EnemyNumbers CurrentEnemy{};
  // [side][slot]: an action code; actEnd marks an empty slot and the end of a plan.
  std::array<std::array<std::uint8_t, SlotCount>, SideCount> ActionPlan{};
  // [side][slot]: the phase of that slot has been reached this turn.
  std::array<std::array<bool, SlotCount>, SideCount> PhaseDone{};
  // Points left this turn; the opponent's "崩し" may drive them below 0.
  std::array<std::int32_t, SideCount> ActionPoints{};
  // Tokens made by "回避" and "防御"; kept from turn to turn within a battle.
  std::array<std::int32_t, SideCount> DecoyTokens{};
  std::array<std::int32_t, SideCount> GuardTokens{};
  // Hit points each side has lost in this battle, as its damage messages
  // told them: what a player reckons an enemy's HP from.
  std::array<std::int64_t, SideCount> HPLost{};
  // Turns begun in this battle.
  std::uint64_t Turn = 0;
  // Broken invariants met in this battle, each also told to the screen's
  // error banner: what a battle that nobody watches still reports. No input
  // of today reaches one.
  std::uint32_t InvariantBreaks = 0;

  // The generator's state that every draw of the enemy's plans and of the
  // initiative moves on.
  std::uint32_t RandomState = 0;

  // Side 0 is PlayerFighter, side 1 CurrentEnemy.
  TFighter& Fighters(int side) { return side == PlayerSide ? PlayerFighter : CurrentEnemy; }
  const TFighter& Fighters(int side) const { return side == PlayerSide ? PlayerFighter : CurrentEnemy; }

  // A uniform integer in 0..n-1 from this battle's generator.
  std::int32_t Draw(std::int32_t n) { return DrawInt(RandomState, n); }
};

// Makes battle a fresh fight of a copy of player against a copy of enemy,
// drawing from a generator in state randomState: no tokens, no turn yet.
void SetUpBattle(BattleState& battle, const TFighter& player, const EnemyNumbers& enemy,
                 std::uint32_t randomState);

// a - b, held within 32 bits: hit points and action points only ever go down
// by the amounts of the damage formula, but a record loaded from disk may
// hold any value.
std::int32_t SaturatingSub(std::int32_t a, std::int32_t b);

}  // namespace velkor
