#pragma once
// What the player sees of a battle when it decides, as the look-ahead's key,
// and the battles that agree with it. What an experienced player knows is
// set out in lookahead_policy.h; this is where it is taken from the battle.

#include <array>
#include <cstdint>
#include <type_traits>

#include "battle/battle_state.h"
#include "enemy/enemy.h"

namespace velkor::sim {

// A cell of the enemy's plan that the player has not seen.
inline constexpr std::uint8_t Hidden = 0xFF;

// Who acts first in the turn, as far as the player has seen.
enum class Initiative : std::uint8_t { Unknown, Player, Enemy };

// Everything of a battle that a decision may depend on, and nothing else.
// Whole numbers without gaps: compared and hashed as bytes.
struct Sight {
  std::int32_t PlayerHP = 0;
  std::int32_t EnemyHP = 0;  // shown with 魔眼; without, reckoned from the damage printed
  std::array<std::int32_t, SideCount> Points{};  // within a turn: the points each side has left
  std::array<std::uint8_t, SideCount> Decoys{};
  std::array<std::uint8_t, SideCount> Guards{};
  // Hidden, or the action seen; actEnd where a reached slot showed nothing,
  // the plan having ended.
  std::array<std::uint8_t, SlotCount> EnemyPlan{};
  std::uint8_t From = 0;  // the first slot to choose
  bool InTurn = false;    // the phases have begun: a player with 超反応 chooses one
  Initiative First = Initiative::Unknown;

  bool operator==(const Sight&) const = default;
};
static_assert(std::has_unique_object_representations_v<Sight>);

// The numbers of a battle's two fighters that no battle changes (all but
// the hit points): the player's from its own sheet, the enemy's as the
// roster begins it.
struct Matchup {
  std::array<std::int32_t, 3> PlayerStats{};  // attack, defense, speed
  std::array<std::uint8_t, TalentCount> PlayerTalents{};
  std::array<std::int32_t, 3> EnemyStats{};
  std::array<std::uint8_t, TalentCount> EnemyTalents{};
  std::array<std::int32_t, ActionCount> EnemyRate{};

  bool operator==(const Matchup&) const = default;
};
static_assert(std::has_unique_object_representations_v<Matchup>);

// The matchup of battle's player against known, the enemy as the roster
// began it.
Matchup MatchupOf(const BattleState& battle, const EnemyNumbers& known);

// What the player sees of battle when choosing slots from..4: before the
// turn's phases (planning ahead) or within them (超反応, at phase from).
Sight Look(const BattleState& battle, const EnemyNumbers& known, int from, bool inTurn);

// A battle that agrees with what was seen, at the moment of the decision,
// what it hides drawn anew; and what the player would have seen in it.
struct Sample {
  BattleState World;
  bool EnemyFirst = false;     // the enemy acts first in this turn
  bool EnemyFinished = false;  // its plan has ended in a slot already reached
};

// Makes sample a battle that agrees with sight, drawing what sight hides
// from a generator in state stream: the game's generator, the initiative
// where it has not shown, and the enemy's plan where it has not been seen
// (as the game draws it). False when the draws contradict sight (the enemy
// would have acted where nothing was seen): draw again from another stream.
bool Imagine(const Sight& sight, const Matchup& matchup, std::uint32_t stream, Sample& sample);

// 64 bits that stand for the bytes of a sight or a matchup.
std::uint64_t HashOf(const Sight& sight);
std::uint64_t HashOf(const Matchup& matchup);

}  // namespace velkor::sim
