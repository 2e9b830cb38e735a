#pragma once
// Battles and whole hunts played without a screen, as the game plays them,
// with a policy in the player's place.

#include <cstdint>
#include <vector>

#include "battle/battle_screen.h"
#include "battle/battle_state.h"
#include "sim/policy.h"
#include "sim/seeds.h"

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
  std::uint32_t InvariantBreaks = 0;  // the battle's and its roster entry's
};

struct HuntRecord {
  std::int32_t Kills = 0;
  bool Ending = false;                // all twelve killed
  std::uint32_t InvariantBreaks = 0;  // the hunt's own and its battles'
};

// Plays battles and hunts one after the other for one thread, on one battle
// state that outlives them (what it has worked out about an enemy's weights
// stays valid from battle to battle).
class Simulator {
 public:
  // screen, when given, watches every battle (a trace); otherwise nobody does.
  explicit Simulator(Policy& policy, BattleScreen* screen = nullptr)
      : policy_(policy), screen_(screen != nullptr ? *screen : unwatched_) {}
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  // One battle of player (at full stats) against roster entry enemy, with
  // the game's generator seeded with seeds.Game and the policy reseeded
  // with seeds.Policy.
  BattleRecord Battle(const TFighter& player, std::int32_t enemy, RunSeeds seeds);

  // One whole hunt from seeds: the rounds' candidates and scenery draws as
  // the game makes them, the policy's choice, full stats before every
  // battle. When battles is given, each battle's record is appended to it.
  HuntRecord Hunt(const TFighter& player, RunSeeds seeds, std::vector<BattleRecord>* battles = nullptr);

  // One battle of player against roster entry enemy, drawing from
  // randomState; both are left as the battle left them.
  BattleRecord Fight(std::int32_t enemy, TFighter& player, std::uint32_t& randomState);

 private:
  Policy& policy_;
  BattleState battle_;
  NullBattleScreen unwatched_;
  BattleScreen& screen_;
};

// A battle or a hunt on a simulator of its own.
BattleRecord SimulateBattle(const TFighter& player, std::int32_t enemy, Policy& policy, RunSeeds seeds);
HuntRecord SimulateHunt(const TFighter& player, Policy& policy, RunSeeds seeds,
                        std::vector<BattleRecord>* battles = nullptr);

}  // namespace velkor::sim
