#include "sim/greedy_policy.h"

#include <algorithm>
#include <limits>

#include "battle/battle_state.h"
#include "battle/damage.h"
#include "sim/roster_entry.h"

namespace velkor::sim {

namespace {

constexpr std::array<std::uint8_t, 5> Hits{actAttack, actImpact, actSnipe, actWeakStrike, actSwordPlay};

void Fill(GreedyPolicy::Table& table) {
  std::array<std::int32_t, ActionCount> damage{};
  for (const std::uint8_t a : Hits) damage[a] = AfterDefense(a, BaseAmount(a, table.Attack), table.Defense);
  table.Points = std::clamp(table.Speed, 0, GreedyPolicy::MaxPoints);
  const auto last = static_cast<std::size_t>(table.Points);
  table.Best[0].fill(0);
  table.Choice[0].fill(actEnd);
  for (std::size_t s = 1; s < table.Best.size(); ++s) {
    for (std::size_t p = 0; p <= last; ++p) {
      std::int64_t best = 0;  // ending the plan here
      std::uint8_t choice = actEnd;
      for (const std::uint8_t a : Hits) {
        const auto cost = static_cast<std::size_t>(ActionCosts[a]);
        if (cost > p || damage[a] <= 0) continue;
        const std::int64_t total = std::int64_t{damage[a]} + table.Best[s - 1][p - cost];
        if (total > best) {
          best = total;
          choice = a;
        }
      }
      table.Best[s][p] = static_cast<std::int32_t>(std::min<std::int64_t>(best, INT32_MAX));
      table.Choice[s][p] = choice;
    }
  }
}

}  // namespace

const GreedyPolicy::Table& GreedyPolicy::TableFor(std::int32_t attack, std::int32_t speed,
                                                  std::int32_t defense) {
  const auto matches = [&](const Table& t) {
    return t.Attack == attack && t.Speed == speed && t.Defense == defense;
  };
  if (last_ != nullptr && matches(*last_)) return *last_;
  for (const Table& t : tables_) {
    if (matches(t)) return *(last_ = &t);
  }
  Table& fresh = tables_[nextTable_];
  nextTable_ = (nextTable_ + 1) % tables_.size();
  fresh.Attack = attack;
  fresh.Speed = speed;
  fresh.Defense = defense;
  Fill(fresh);
  return *(last_ = &fresh);
}

const GreedyPolicy::Table& GreedyPolicy::TableOf(const BattleState& battle) {
  const TFighter& player = battle.Fighters(PlayerSide);
  return TableFor(player.CurStats[StatAttack], player.CurStats[StatSpeed],
                  battle.Fighters(EnemySide).CurStats[StatDefense]);
}

std::uint8_t GreedyPolicy::Next(const Table& table, int slotsLeft, std::int32_t points,
                                std::int32_t& decoys) {
  if (points < 0 || slotsLeft <= 0) return actEnd;
  std::uint8_t a = table.Choice[static_cast<std::size_t>(slotsLeft)]
                               [static_cast<std::size_t>(std::min(points, table.Points))];
  if (a == actEnd || decoys <= 0) return a;
  // A decoy would take this hit away: spend it on the cheapest hit instead.
  if (a != actSnipe && a != actSwordPlay) a = ActionCosts[actWeakStrike] <= points ? actWeakStrike : actEnd;
  if (a != actEnd) --decoys;
  return a;
}

void GreedyPolicy::PlanActions(BattleState& battle) {
  const Table& table = TableOf(battle);
  auto& plan = battle.ActionPlan[PlayerSide];
  std::int32_t points = battle.Fighters(PlayerSide).CurStats[StatSpeed];
  std::int32_t decoys = battle.DecoyTokens[EnemySide];
  for (int slot = 0; slot < SlotCount; ++slot) {
    const std::uint8_t a = Next(table, SlotCount - slot, points, decoys);
    plan[static_cast<std::size_t>(slot)] = a;
    if (a == actEnd) return;
    points -= ActionCosts[a];
  }
}

void GreedyPolicy::SelectAction(BattleState& battle, int slot, std::int32_t points) {
  std::int32_t decoys = battle.DecoyTokens[EnemySide];
  battle.ActionPlan[PlayerSide][static_cast<std::size_t>(slot)] =
      Next(TableOf(battle), SlotCount - slot, points, decoys);
}

std::array<EnemyNumbers, RosterSize> GreedyPolicy::Roster() {
  std::array<EnemyNumbers, RosterSize> roster;
  for (std::size_t i = 0; i < roster.size(); ++i) roster[i] = RosterEntry(static_cast<std::int32_t>(i));
  return roster;
}

std::int64_t GreedyPolicy::TurnsToKill(const TFighter& attacker, const TFighter& target) {
  const Table& table =
      TableFor(attacker.CurStats[StatAttack], attacker.CurStats[StatSpeed], target.CurStats[StatDefense]);
  const std::int64_t perTurn = table.Best[SlotCount][static_cast<std::size_t>(table.Points)];
  const std::int64_t hp = std::max(target.CurStats[StatHP], 1);
  return perTurn > 0 ? (hp + perTurn - 1) / perTurn : std::numeric_limits<std::int32_t>::max();
}

std::int32_t GreedyPolicy::ChooseCandidate(const HuntState& hunt, const TFighter& player) {
  std::int32_t chosen = 0;
  std::int64_t bestMine = 1;
  std::int64_t bestTheirs = 0;
  for (std::int32_t i = 0; i < hunt.CandidateCount; ++i) {
    const EnemyNumbers& enemy =
        roster_[static_cast<std::size_t>(hunt.Candidates[static_cast<std::size_t>(i)])];
    const std::int64_t mine = TurnsToKill(player, enemy);
    const std::int64_t theirs = TurnsToKill(enemy, player);
    // The smallest mine / theirs, compared without dividing.
    if (i == 0 || mine * bestTheirs < bestMine * theirs) {
      chosen = i;
      bestMine = mine;
      bestTheirs = theirs;
    }
  }
  return chosen;
}

}  // namespace velkor::sim
