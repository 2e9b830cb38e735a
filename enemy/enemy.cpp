#include "enemy/enemy.h"

#include "data/points.h"
#include "enemy/enemy_internal.h"
#include "enemy/roster.h"

namespace velkor {

namespace {

using enemy_internal::setActionRate;

// Every action but the end of a plan equally likely.
constexpr std::array<std::int32_t, ActionCount> ResetWeights{1, 1, 1, 1, 1, 1, 1, 1, 0};

void ResetEnemy(TEnemy& enemy, const ErrorSink& error) {
  enemy = TEnemy{};  // the whole record, name storage and texts included
  ClearFighter(enemy);
  setActionRate(enemy, ResetWeights, error);
}

}  // namespace

void EnemyData(std::int32_t index, TEnemy& enemy, const ErrorSink& error) {
  ResetEnemy(enemy, error);
  std::array<std::int32_t, StatCount> startBonus{};

  if (index >= 0 && index < RosterSize) {
    const enemy_internal::RosterEntry& entry = enemy_internal::Roster[static_cast<std::size_t>(index)];
    enemy.Name.Assign(entry.Name);
    enemy.BaseStats = entry.StatPoints;
    enemy.Talents = entry.Talents;
    startBonus = entry.StartBonus;
    setActionRate(enemy, entry.Weights, error);
    enemy.EncounterText = entry.EncounterText;
    enemy.DefeatText = entry.DefeatText;
    enemy.Title = entry.Title;
  }

  // The bonus is scaled like the stats and lands on the current stats only.
  ScaleStats(enemy.BaseStats);
  RestoreStats(enemy);
  ScaleStats(startBonus);
  for (std::size_t i = 0; i < startBonus.size(); ++i) enemy.CurStats[i] += startBonus[i];
}

}  // namespace velkor
