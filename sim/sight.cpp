#include "sim/sight.h"

#include <algorithm>
#include <limits>

#include "battle/battle_screen.h"
#include "battle/resolution.h"
#include "battle/think.h"
#include "battle/turn.h"
#include "data/tables.h"
#include "sim/seeds.h"

namespace velkor::sim {

namespace {

// Nobody watches the draws that make a world, and nobody plays in it yet.
NullBattleScreen nobody;
struct NoPlayer : PlayerAgent {
  void PlanActions(BattleState&) override {}
  void SelectAction(BattleState&, int, std::int32_t) override {}
};

std::uint8_t Count(std::int32_t tokens) { return static_cast<std::uint8_t>(std::clamp(tokens, 0, 255)); }

std::int32_t Clamp(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

// FNV-1a over the bytes, then stirred.
std::uint64_t HashBytes(const void* data, std::size_t size) {
  std::uint64_t h = 0xCBF29CE484222325u;
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) h = (h ^ bytes[i]) * 0x100000001B3u;
  return Mix64(h);
}

}  // namespace

std::uint64_t HashOf(const Sight& sight) { return HashBytes(&sight, sizeof sight); }
std::uint64_t HashOf(const Matchup& matchup) { return HashBytes(&matchup, sizeof matchup); }

Matchup MatchupOf(const BattleState& battle, const EnemyNumbers& known) {
  Matchup m;
  const TFighter& me = battle.PlayerFighter;
  m.PlayerStats = {me.CurStats[StatAttack], me.CurStats[StatDefense], me.CurStats[StatSpeed]};
  m.PlayerTalents = me.Talents;
  m.EnemyStats = {known.CurStats[StatAttack], known.CurStats[StatDefense], known.CurStats[StatSpeed]};
  m.EnemyTalents = known.Talents;
  m.EnemyRate = known.ActionRate;
  return m;
}

Sight Look(const BattleState& battle, const EnemyNumbers& known, int from, bool inTurn) {
  Sight s;
  const TFighter& me = battle.PlayerFighter;
  s.PlayerHP = me.CurStats[StatHP];
  // The roster's starting HP less every damage the screen printed against
  // it: the number the sheet would show.
  s.EnemyHP = me.HasTalent(EvilEye) ? battle.CurrentEnemy.CurStats[StatHP]
                                    : Clamp(std::int64_t{known.CurStats[StatHP]} - battle.HPLost[EnemySide]);
  s.Decoys = {Count(battle.DecoyTokens[PlayerSide]), Count(battle.DecoyTokens[EnemySide])};
  s.Guards = {Count(battle.GuardTokens[PlayerSide]), Count(battle.GuardTokens[EnemySide])};
  s.From = static_cast<std::uint8_t>(from);
  s.InTurn = inTurn;
  s.EnemyPlan.fill(Hidden);
  const bool mindEye = me.HasTalent(MindEye);
  // 心眼 shows a plan made ahead; an enemy with 超反応 has chosen nothing yet.
  const bool shownAhead = mindEye && !known.HasTalent(HyperReaction);
  const auto& plan = battle.ActionPlan[EnemySide];
  if (!inTurn) {
    if (shownAhead) s.EnemyPlan = plan;
    return s;
  }
  s.Points = {battle.ActionPoints[PlayerSide], battle.ActionPoints[EnemySide]};
  const auto p = static_cast<std::size_t>(from);
  // Every slot before this phase has been reached: it showed its action, or
  // nothing once the plan had ended.
  for (std::size_t q = 0; q < p; ++q) s.EnemyPlan[q] = plan[q];
  // This phase's slot is reached when the enemy acts first. An action is
  // announced; a plan that has ended shows nothing, which only 心眼's row
  // tells apart from a slot still to come.
  const bool reached = battle.PhaseDone[EnemySide][p];
  if (reached && (plan[p] != actEnd || mindEye)) s.EnemyPlan[p] = plan[p];
  if (shownAhead) s.EnemyPlan = plan;
  // Who acts first shows once the enemy has acted in this turn (before or
  // after the player's own actions), and on 心眼's row.
  bool acted = false;
  for (std::size_t q = 0; q <= p; ++q)
    acted = acted || (s.EnemyPlan[q] != Hidden && s.EnemyPlan[q] != actEnd);
  if (mindEye || acted) s.First = reached ? Initiative::Enemy : Initiative::Player;
  return s;
}

bool Imagine(const Sight& sight, const Matchup& m, std::uint32_t stream, Sample& sample) {
  BattleState& w = sample.World;
  w = BattleState{};
  TFighter& me = w.PlayerFighter;
  me.CurStats = {sight.PlayerHP, m.PlayerStats[0], m.PlayerStats[1], m.PlayerStats[2]};
  me.BaseStats = me.CurStats;
  me.Talents = m.PlayerTalents;
  EnemyNumbers& enemy = w.CurrentEnemy;
  enemy.CurStats = {sight.EnemyHP, m.EnemyStats[0], m.EnemyStats[1], m.EnemyStats[2]};
  enemy.BaseStats = enemy.CurStats;
  enemy.Talents = m.EnemyTalents;
  enemy.ActionRate = m.EnemyRate;
  w.DecoyTokens = {sight.Decoys[0], sight.Decoys[1]};
  w.GuardTokens = {sight.Guards[0], sight.Guards[1]};
  w.RandomState = stream;
  for (auto& plan : w.ActionPlan) plan.fill(actEnd);
  auto& plan = w.ActionPlan[EnemySide];
  const bool plansAhead = !enemy.HasTalent(HyperReaction);

  BattleOutcome ignored = BattleOutcome::Undecided;
  NoPlayer none;
  TurnContext turn(ignored, none, nobody);

  if (!sight.InTurn) {
    // Before the turn: the enemy's plan as 心眼 shows it or as the game draws
    // it, then the initiative.
    w.ActionPoints = {me.CurStats[StatSpeed], enemy.CurStats[StatSpeed]};
    if (sight.EnemyPlan[0] != Hidden) {
      plan = sight.EnemyPlan;
    } else if (plansAhead) {
      PlanEnemyActions(w, nobody);
    }
    DecideInitiative(w, turn);
    sample.EnemyFirst = turn.FirstSide == EnemySide;
    sample.EnemyFinished = false;
    return true;
  }

  const auto p = static_cast<std::size_t>(sight.From);
  w.ActionPoints = sight.Points;
  for (std::size_t q = 0; q < p; ++q) w.PhaseDone[PlayerSide][q] = w.PhaseDone[EnemySide][q] = true;
  bool enemyFirst = sight.First == Initiative::Enemy;
  if (sight.First == Initiative::Unknown) {
    DecideInitiative(w, turn);
    enemyFirst = turn.FirstSide == EnemySide;
  }
  // A slot of this phase that the enemy had and did not show ended its plan.
  const bool endsHere = enemyFirst && sight.EnemyPlan[p] == Hidden;
  if (plansAhead) {
    // The plan was drawn ahead, slot by slot from what the slots before it
    // left of the speed: the hidden slots are drawn on from the seen ones.
    std::int32_t budget = enemy.CurStats[StatSpeed];
    bool ended = false;
    for (std::size_t q = 0; q < SlotCount; ++q) {
      std::uint8_t cell = sight.EnemyPlan[q];
      if (cell == Hidden) {
        if (ended || (q == p && endsHere && sight.First == Initiative::Enemy)) {
          cell = actEnd;
        } else {
          RateAction(w, nobody, static_cast<int>(q), budget);
          cell = plan[q];
        }
      }
      plan[q] = cell;
      if (cell == actEnd) {
        ended = true;
      } else {
        budget -= ActionCosts[cell];
      }
    }
  } else {
    // It chooses each slot in its phase: the seen ones stand, this phase's
    // was chosen from the points it had, the later ones come in play.
    for (std::size_t q = 0; q <= p; ++q)
      plan[q] = sight.EnemyPlan[q] == Hidden ? std::uint8_t{actEnd} : sight.EnemyPlan[q];
    if (endsHere && sight.First == Initiative::Unknown) {
      RateAction(w, nobody, static_cast<int>(p), sight.Points[EnemySide]);
    }
  }
  // Where who went first is unknown, a world in which the enemy went first
  // and would have shown an action is not the one seen.
  if (endsHere && plan[p] != actEnd) return false;
  if (enemyFirst) w.PhaseDone[EnemySide][p] = true;
  sample.EnemyFirst = enemyFirst;
  sample.EnemyFinished = false;
  for (std::size_t q = 0; q < SlotCount; ++q)
    if (w.PhaseDone[EnemySide][q] && plan[q] == actEnd) sample.EnemyFinished = true;
  return true;
}

}  // namespace velkor::sim
