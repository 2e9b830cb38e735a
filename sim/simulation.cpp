#include "sim/simulation.h"

#include "battle/battle.h"
#include "sim/roster_numbers.h"
#include "sim/seeds.h"

namespace velkor::sim {

BattleRecord Simulator::Fight(std::int32_t enemy) {
  SetUpBattle(battle_, fighter_, RosterNumbers()[static_cast<std::size_t>(enemy)], random_);
  BattleRecord record;
  record.Enemy = enemy;
  record.Outcome = FightBattle(battle_, policy_, screen_, StalemateTurns);
  fighter_ = battle_.PlayerFighter;
  random_ = battle_.RandomState;
  if (record.Outcome == BattleOutcome::Undecided) record.Outcome = BattleOutcome::Defeat;
  record.Turns = battle_.Turn;
  record.PlayerHP = fighter_.CurStats[StatHP];
  record.EnemyHP = battle_.CurrentEnemy.CurStats[StatHP];
  return record;
}

BattleRecord Simulator::Battle(const TFighter& player, std::int32_t enemy, std::uint32_t seed) {
  random_ = seed;
  policy_.Reseed(seed);
  fighter_ = player;
  RestoreStats(fighter_);
  return Fight(enemy);
}

HuntRecord Simulator::Hunt(const TFighter& player, std::uint32_t seed, std::vector<BattleRecord>* battles) {
  random_ = seed;
  const RandomSource random(random_);
  policy_.Reseed(seed);
  fighter_ = player;
  RestoreStats(fighter_);
  HuntState hunt;
  HuntRecord record;
  for (;;) {
    FindEnemys(hunt, random);
    DrawAmbientLine(hunt, random);
    const std::int32_t chosen =
        hunt.Candidates[static_cast<std::size_t>(policy_.ChooseCandidate(hunt, fighter_))];
    const BattleRecord fought = Fight(chosen);
    if (battles != nullptr) battles->push_back(fought);
    if (fought.Outcome != BattleOutcome::Victory) break;
    RecordKill(hunt, chosen);
    RestoreStats(fighter_);
    if (AllFalse(hunt.AliveFlags)) {
      record.Ending = true;
      break;
    }
  }
  record.Kills = hunt.KillCount;
  return record;
}

BattleRecord SimulateBattle(const TFighter& player, std::int32_t enemy, Policy& policy, std::uint32_t seed) {
  return Simulator(policy).Battle(player, enemy, seed);
}

HuntRecord SimulateHunt(const TFighter& player, Policy& policy, std::uint32_t seed,
                        std::vector<BattleRecord>* battles) {
  return Simulator(policy).Hunt(player, seed, battles);
}

}  // namespace velkor::sim
