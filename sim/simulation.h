#pragma once
// Battles and whole hunts played without a screen, as the game plays them,
// with a policy in the player's place.

#include <cstdint>
#include <vector>

#include "battle/battle_state.h"
#include "sim/policy.h"

namespace velkor::sim {

// A battle that goes on this long counts as lost: neither side is hurting
// the other (a policy that only breaks, say), and the game would never end.
inline constexpr std::uint64_t StalemateTurns = 100000;

struct BattleRecord {
  std::int32_t Enemy = 0;  // roster index
  BattleOutcome Outcome = BattleOutcome::Undecided;
  std::uint64_t Turns = 0;
  std::int32_t PlayerHP = 0;  // as the battle left them
  std::int32_t EnemyHP = 0;
};

// One battle of player (at full stats) against roster entry enemy, with the
// game's generator seeded with seed.
BattleRecord SimulateBattle(const TFighter& player, std::int32_t enemy, Policy& policy, std::uint32_t seed);

struct HuntRecord {
  std::int32_t Kills = 0;
  bool Ending = false;  // all twelve killed
};

// One whole hunt from seed: the rounds' candidates and scenery draws as the
// game makes them, the policy's choice, full stats before every battle. When
// battles is given, each battle's record is appended to it.
HuntRecord SimulateHunt(const TFighter& player, Policy& policy, std::uint32_t seed,
                        std::vector<BattleRecord>* battles = nullptr);

}  // namespace velkor::sim
