#include "sim/simulation.h"

#include "battle/battle.h"
#include "hunt/hunt.h"

namespace velkor::sim {

BattleRecord Simulator::Fight(std::int32_t enemy, TFighter& player, std::uint32_t& randomState) {
  TEnemy entry;
  std::uint32_t rosterBreaks = 0;
  EnemyData(enemy, entry, [&rosterBreaks](std::string_view) { ++rosterBreaks; });
  SetUpBattle(battle_, player, entry, randomState);
  policy_.Meet(entry);
  BattleRecord record;
  record.Enemy = enemy;
  record.Outcome = FightBattle(battle_, policy_, screen_, StalemateTurns);
  record.InvariantBreaks = rosterBreaks + battle_.InvariantBreaks;
  if (record.Outcome == BattleOutcome::Undecided) record.Outcome = BattleOutcome::Defeat;
  player = battle_.PlayerFighter;
  randomState = battle_.RandomState;
  record.Turns = battle_.Turn;
  record.PlayerHP = player.CurStats[StatHP];
  record.EnemyHP = battle_.CurrentEnemy.CurStats[StatHP];
  return record;
}

BattleRecord Simulator::Battle(const TFighter& player, std::int32_t enemy, RunSeeds seeds) {
  std::uint32_t random = seeds.Game;
  policy_.Reseed(seeds.Policy);
  TFighter fighter = player;
  RestoreStats(fighter);
  return Fight(enemy, fighter, random);
}

namespace {

// The policy in the person's place, and nothing shown.
class PolicyHunt : public HuntSeat {
 public:
  PolicyHunt(Simulator& simulator, Policy& policy, std::vector<BattleRecord>* battles)
      : simulator_(simulator), policy_(policy), battles_(battles) {}
  std::int32_t ChooseCandidate(const HuntState& hunt, const TFighter& player) override {
    return policy_.ChooseCandidate(hunt, player);
  }
  BattleOutcome Fight(std::int32_t enemy, TFighter& player, std::uint32_t& randomState) override {
    const BattleRecord fought = simulator_.Fight(enemy, player, randomState);
    if (battles_ != nullptr) battles_->push_back(fought);
    InvariantBreaks += fought.InvariantBreaks;
    return fought.Outcome;
  }
  void Lost(const HuntState&) override {}
  void Ended(const HuntState&) override {}

  std::uint32_t InvariantBreaks = 0;  // of the battles fought

 private:
  Simulator& simulator_;
  Policy& policy_;
  std::vector<BattleRecord>* battles_;
};

}  // namespace

HuntRecord Simulator::Hunt(const TFighter& player, RunSeeds seeds, std::vector<BattleRecord>* battles) {
  std::uint32_t random = seeds.Game;
  policy_.Reseed(seeds.Policy);
  TFighter fighter = player;
  RestoreStats(fighter);
  PolicyHunt seat(*this, policy_, battles);
  // Nobody reads an error banner in a simulation: the record counts them.
  std::uint32_t huntBreaks = 0;
  const HuntState hunt = PlayHunt(seat, fighter, random, [&huntBreaks](std::string_view) { ++huntBreaks; });
  HuntRecord record;
  record.Kills = hunt.KillCount;
  record.Ending = AllFalse(hunt.AliveFlags);
  record.InvariantBreaks = huntBreaks + seat.InvariantBreaks;
  return record;
}

BattleRecord SimulateBattle(const TFighter& player, std::int32_t enemy, Policy& policy, RunSeeds seeds) {
  return Simulator(policy).Battle(player, enemy, seeds);
}

HuntRecord SimulateHunt(const TFighter& player, Policy& policy, RunSeeds seeds,
                        std::vector<BattleRecord>* battles) {
  return Simulator(policy).Hunt(player, seeds, battles);
}

}  // namespace velkor::sim
