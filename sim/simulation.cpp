#include "sim/simulation.h"

#include "battle/battle.h"
#include "sim/roster_numbers.h"
#include "sim/seeds.h"

namespace velkor::sim {

namespace {

BattleRecord Fight(BattleState& battle, TFighter& fighter, std::int32_t enemy) {
  SetUpBattle(battle, fighter, RosterNumbers()[static_cast<std::size_t>(enemy)]);
  BattleRecord record;
  record.Enemy = enemy;
  record.Outcome = FightBattle(battle, StalemateTurns);
  if (record.Outcome == BattleOutcome::Undecided) record.Outcome = BattleOutcome::Defeat;
  record.Turns = battle.Turn;
  record.PlayerHP = fighter.CurStats[StatHP];
  record.EnemyHP = battle.CurrentEnemy.CurStats[StatHP];
  return record;
}

}  // namespace

BattleRecord SimulateBattle(const TFighter& player, std::int32_t enemy, Policy& policy, std::uint32_t seed) {
  std::uint32_t state = seed;
  policy.Reseed(seed);
  TFighter fighter = player;
  RestoreStats(fighter);
  BattleState battle(RandomSource(state), policy);
  return Fight(battle, fighter, enemy);
}

HuntRecord SimulateHunt(const TFighter& player, Policy& policy, std::uint32_t seed,
                        std::vector<BattleRecord>* battles) {
  std::uint32_t state = seed;
  const RandomSource random(state);
  policy.Reseed(seed);
  TFighter fighter = player;
  RestoreStats(fighter);
  BattleState battle(random, policy);
  HuntState hunt;
  HuntRecord record;
  for (;;) {
    FindEnemys(hunt, random);
    DrawAmbientLine(hunt, random);
    const std::int32_t chosen =
        hunt.Candidates[static_cast<std::size_t>(policy.ChooseCandidate(hunt, fighter))];
    const BattleRecord fought = Fight(battle, fighter, chosen);
    if (battles != nullptr) battles->push_back(fought);
    if (fought.Outcome != BattleOutcome::Victory) break;
    RecordKill(hunt, chosen);
    RestoreStats(fighter);
    if (AllFalse(hunt.AliveFlags)) {
      record.Ending = true;
      break;
    }
  }
  record.Kills = hunt.KillCount;
  return record;
}

}  // namespace velkor::sim
