#pragma once
// The state of one battle: who fights, what each side has planned for this
// turn, how far the turn has come, and the tokens of each side; with the
// random source it draws from, the player's side of its decisions and the
// screen that shows it. Rebuilt at the start of every battle (fighters,
// tokens) and of every turn (plans, phase markers, action points).

#include <array>
#include <cstdint>

#include "battle/weight_table.h"
#include "data/fighter.h"
#include "data/random_source.h"
#include "enemy/enemy.h"

namespace velkor {

class BattleScreen;
class PlayerAgent;

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

struct BattleState {
  BattleState(RandomSource random, PlayerAgent& agent) : Random(random), Agent(&agent) {}

  // Side 0 is the player's record, side 1 CurrentEnemy.
  std::array<TFighter*, SideCount> Fighters{nullptr, &CurrentEnemy};
  // This battle's copy of the roster entry; it takes all damage dealt to the enemy.
  TEnemy CurrentEnemy;
  // [side][slot]: an action code; actEnd marks an empty slot and the end of a plan.
  std::array<std::array<std::uint8_t, SlotCount>, SideCount> ActionPlan{};
  // [side][slot]: the phase of that slot has been reached this turn.
  std::array<std::array<bool, SlotCount>, SideCount> PhaseDone{};
  // Points left this turn; the opponent's "崩し" may drive them below 0.
  std::array<std::int32_t, SideCount> ActionPoints{};
  // Tokens made by "回避" and "防御"; kept from turn to turn within a battle.
  std::array<std::int32_t, SideCount> DecoyTokens{};
  std::array<std::int32_t, SideCount> GuardTokens{};
  // Turns begun in this battle.
  std::uint64_t Turn = 0;

  // CurrentEnemy's weights as its draws use them.
  WeightTable EnemyWeights;

  // Every draw of the enemy's plans and of the initiative.
  RandomSource Random;
  // Plans the player's side and takes the pauses after each message.
  PlayerAgent* Agent;
  // Shows the battle; null when nobody watches, and then no text is built.
  BattleScreen* Screen = nullptr;

  BattleState(const BattleState&) = delete;
  BattleState& operator=(const BattleState&) = delete;
};

// Makes battle a fresh fight of player against a copy of enemy: fighters
// set, no tokens, no turn yet.
void SetUpBattle(BattleState& battle, TFighter& player, const TEnemy& enemy);

// a - b, held within 32 bits: hit points and action points only ever go down
// by the amounts of the damage formula, but a record loaded from disk may
// hold any value.
std::int32_t SaturatingSub(std::int32_t a, std::int32_t b);

}  // namespace velkor
