#include "sim/lookahead_policy.h"

#include <algorithm>

#include "battle/battle.h"
#include "battle/damage.h"
#include "battle/think.h"
#include "battle/turn.h"
#include "sim/roster_numbers.h"
#include "sim/seeds.h"

namespace velkor::sim {

namespace {

using Plan = LookaheadPolicy::Plan;
using Mix = LookaheadPolicy::Mix;

// Turns a candidate's mix plays on after its first turn; a battle still going
// then counts as lost, as a stalemate does.
constexpr std::uint64_t Horizon = 30;
// Candidates that go on from the first round of samples to the second.
constexpr std::size_t Finalists = 4;

// The plan of mix for slots from..4 on points: its cover (breaks, decoys,
// guards) before or after the hits that table buys with the rest.
Plan PlanOf(const Mix& mix, const GreedyPolicy::Table& table, int from, std::int32_t points,
            std::int32_t enemyDecoys) {
  Plan plan;
  plan.fill(actEnd);
  const int slots = SlotCount - from;
  std::array<std::uint8_t, SlotCount> cover{};
  int n = 0;
  for (int i = 0; i < mix.Breaks; ++i) cover[static_cast<std::size_t>(n++)] = actBreak;
  for (int i = 0; i < mix.Decoys; ++i) cover[static_cast<std::size_t>(n++)] = actEvade;
  for (int i = 0; i < mix.Guards; ++i) cover[static_cast<std::size_t>(n++)] = actGuard;
  std::int32_t left = points - mix.Cost();
  if (n > slots || left < 0) {  // the cover does not fit: hits only
    n = 0;
    left = points;
  }
  std::array<std::uint8_t, SlotCount> hits{};
  int h = 0;
  while (h < slots - n) {
    const std::uint8_t a = GreedyPolicy::Next(table, slots - n - h, left, enemyDecoys);
    if (a == actEnd) break;
    hits[static_cast<std::size_t>(h++)] = a;
    left -= ActionCosts[a];
  }
  auto at = static_cast<std::size_t>(from);
  const auto put = [&](const std::array<std::uint8_t, SlotCount>& part, int count) {
    for (int i = 0; i < count; ++i) plan[at++] = part[static_cast<std::size_t>(i)];
  };
  if (mix.CoverFirst) {
    put(cover, n);
    put(hits, h);
  } else {
    put(hits, h);
    put(cover, n);
  }
  return plan;
}

// Plays one mix turn after turn: what a candidate goes on to do.
class Steady : public PlayerAgent {
 public:
  Steady(const Mix& mix, GreedyPolicy& greedy) : mix_(mix), greedy_(greedy) {}
  void PlanActions(BattleState& battle) override {
    battle.ActionPlan[PlayerSide] = PlanOf(mix_, TableOf(battle), 0, battle.PlayerFighter.CurStats[StatSpeed],
                                           battle.DecoyTokens[EnemySide]);
  }
  void SelectAction(BattleState& battle, int slot, std::int32_t points) override {
    const auto s = static_cast<std::size_t>(slot);
    battle.ActionPlan[PlayerSide][s] =
        PlanOf(mix_, TableOf(battle), slot, points, battle.DecoyTokens[EnemySide])[s];
  }

 private:
  const GreedyPolicy::Table& TableOf(const BattleState& battle) {
    return greedy_.TableFor(battle.PlayerFighter.CurStats[StatAttack],
                            battle.PlayerFighter.CurStats[StatSpeed],
                            battle.CurrentEnemy.CurStats[StatDefense]);
  }
  const Mix& mix_;
  GreedyPolicy& greedy_;
};

// The middle of the hit points that enemy's condition word allows, as a
// player without 魔眼 reckons them: the word's band of its base HP, and the
// roster's starting HP for "十全".
std::int32_t ReckonedHP(const TEnemy& enemy) {
  const std::int64_t base = enemy.BaseStats[StatHP];
  const std::int64_t hp = enemy.CurStats[StatHP];
  std::int64_t low = 1;
  std::int64_t high = base;
  if (4 * hp < base) {
    high = (base + 3) / 4 - 1;
  } else if (2 * hp < base) {
    low = (base + 3) / 4;
    high = (base + 1) / 2 - 1;
  } else if (hp < base) {
    low = (base + 1) / 2;
    high = base - 1;
  } else {
    low = base;
    for (const TEnemy& entry : RosterNumbers()) {
      if (entry.Name.Text() == enemy.Name.Text() && entry.BaseStats == enemy.BaseStats)
        high = std::max<std::int64_t>(base, entry.CurStats[StatHP]);
    }
  }
  return static_cast<std::int32_t>(std::max<std::int64_t>(1, (low + std::max(low, high)) / 2));
}

}  // namespace

std::uint32_t LookaheadPolicy::Fresh() {
  state_ = state_ * 747796405u + 2891336453u;
  return PolicySeed(state_);
}

void LookaheadPolicy::Reseed(std::uint32_t seed) { state_ = PolicySeed(seed); }

std::int32_t LookaheadPolicy::ChooseCandidate(const HuntState& hunt, const TFighter& player) {
  return greedy_.ChooseCandidate(hunt, player);
}

void LookaheadPolicy::Blind(BattleState& copy, bool inTurn, std::uint32_t stream) {
  const TFighter& me = copy.PlayerFighter;
  TEnemy& enemy = copy.CurrentEnemy;
  copy.RandomState = stream;
  if (!me.HasTalent(EvilEye)) enemy.CurStats[StatHP] = ReckonedHP(enemy);
  if (!inTurn) {
    // Planning comes before the turn hands out its points.
    copy.ActionPoints = {me.CurStats[StatSpeed], enemy.CurStats[StatSpeed]};
  }
  // An enemy with 超反応 has drawn nothing ahead; 心眼 shows the rest.
  if (me.HasTalent(MindEye) || enemy.HasTalent(HyperReaction)) return;
  auto& plan = copy.ActionPlan[EnemySide];
  std::int32_t points = enemy.CurStats[StatSpeed];
  bool ended = false;
  for (int slot = 0; slot < SlotCount; ++slot) {
    const auto s = static_cast<std::size_t>(slot);
    if (!copy.PhaseDone[EnemySide][s]) {
      // The phases shown so far are a beginning of the plan; the rest is
      // drawn as the game draws each slot from the points left.
      if (ended) {
        plan[s] = actEnd;
      } else {
        RateAction(copy, screen_, slot, points);
      }
    }
    if (plan[s] == actEnd) {
      ended = true;
    } else {
      points -= ActionCosts[plan[s]];
    }
  }
}

void LookaheadPolicy::Candidates(const BattleState& battle, int from, std::int32_t points,
                                 GreedyPolicy& greedy, std::vector<Candidate>& candidates) {
  candidates.clear();
  const TFighter& me = battle.PlayerFighter;
  const GreedyPolicy::Table& table = greedy.TableFor(me.CurStats[StatAttack], me.CurStats[StatSpeed],
                                                     battle.CurrentEnemy.CurStats[StatDefense]);
  Mix mix;
  for (mix.Breaks = 0; mix.Breaks <= TokenLimit; ++mix.Breaks) {
    for (mix.Decoys = 0; mix.Decoys <= TokenLimit; ++mix.Decoys) {
      for (mix.Guards = 0; mix.Guards <= TokenLimit; ++mix.Guards) {
        if (mix.Breaks + mix.Decoys + mix.Guards > SlotCount - from || mix.Cost() > points) continue;
        for (const bool coverFirst : {true, false}) {
          mix.CoverFirst = coverFirst;
          const Plan plan = PlanOf(mix, table, from, points, battle.DecoyTokens[EnemySide]);
          const bool known = std::any_of(candidates.begin(), candidates.end(),
                                         [&](const Candidate& c) { return c.First == plan; });
          if (!known) candidates.push_back({mix, plan});
        }
      }
    }
  }
}

void LookaheadPolicy::AddCandidates(const BattleState& battle, int from, std::int32_t points) {
  Candidates(battle, from, points, greedy_, candidates_);
}

double LookaheadPolicy::Play(const BattleState& sample, const Candidate& candidate, const Seen& seen) {
  Steady steady(candidate.Then, greedy_);
  BattleState copy = sample;
  BattleOutcome result = BattleOutcome::Undecided;
  TurnContext turn(result, steady, screen_);
  if (seen.InTurn) {
    turn.FirstSide = seen.FirstActed ? EnemySide : PlayerSide;
    turn.SecondSide = 1 - turn.FirstSide;
  } else {
    copy.ActionPlan[PlayerSide] = candidate.First;
    DecideInitiative(copy, turn);
  }
  turn.Phase = seen.From;
  turn.SideFinished = {false, seen.EnemyFinished};
  PlayPhases(copy, turn, seen.FirstActed);
  if (result == BattleOutcome::Undecided) result = FightBattle(copy, steady, screen_, copy.Turn + Horizon);
  return result == BattleOutcome::Victory ? 1.0 : 0.0;
}

void LookaheadPolicy::Draw(const BattleState& battle, bool inTurn, int samples) {
  samples_.resize(static_cast<std::size_t>(samples));
  for (BattleState& sample : samples_) {
    sample = battle;
    Blind(sample, inTurn, Fresh());
  }
}

double LookaheadPolicy::Value(const Candidate& candidate, const Seen& seen) {
  // Every candidate meets the same samples: the same enemy plans and the
  // same initiative, so that they differ by what they do.
  double value = 0;
  for (const BattleState& sample : samples_) value += Play(sample, candidate, seen);
  return value;
}

LookaheadPolicy::Plan LookaheadPolicy::Choose(const BattleState& battle, int from, std::int32_t points,
                                              bool inTurn) {
  // Inside a turn the player has seen who went first in this phase and
  // whether the enemy's plan has ended.
  Seen seen;
  seen.From = from;
  seen.InTurn = inTurn;
  if (inTurn) {
    const auto now = static_cast<std::size_t>(from);
    seen.FirstActed = battle.PhaseDone[EnemySide][now];
    for (std::size_t slot = 0; slot <= now; ++slot)
      if (battle.PhaseDone[EnemySide][slot] && battle.ActionPlan[EnemySide][slot] == actEnd)
        seen.EnemyFinished = true;
  }
  AddCandidates(battle, from, points);
  if (candidates_.size() == 1) return candidates_.front().First;

  // A first look at every candidate, then a second on fresh samples at the
  // few best and the greedy plan: the best of many on few samples is
  // mostly the luckiest, and the second look does not share its luck.
  Draw(battle, inTurn, FirstLook);
  scores_.clear();
  // The greedy plan comes first; where it wins every copy there is nothing
  // to gain.
  for (std::size_t c = 0; c < candidates_.size(); ++c) {
    scores_.push_back({Value(candidates_[c], seen), c});
    if (c == 0 && scores_.front().first == FirstLook) return candidates_.front().First;
  }
  std::stable_sort(scores_.begin() + 1, scores_.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  Draw(battle, inTurn, SecondLook);
  std::size_t best = 0;
  double bestValue = -1;
  for (std::size_t f = 0; f < std::min(scores_.size(), Finalists + 1); ++f) {
    const std::size_t c = scores_[f].second;
    const double value = Value(candidates_[c], seen);
    if (value > bestValue) {
      bestValue = value;
      best = c;
    }
  }
  return candidates_[best].First;
}

void LookaheadPolicy::PlanActions(BattleState& battle) {
  const Plan plan = Choose(battle, 0, battle.PlayerFighter.CurStats[StatSpeed], false);
  battle.ActionPlan[PlayerSide] = plan;
}

void LookaheadPolicy::SelectAction(BattleState& battle, int slot, std::int32_t points) {
  auto& cell = battle.ActionPlan[PlayerSide][static_cast<std::size_t>(slot)];
  // Nothing but the end is affordable: nothing to weigh.
  if (points < ActionCosts[actWeakStrike]) {
    cell = actEnd;
    return;
  }
  cell = Choose(battle, slot, points, true)[static_cast<std::size_t>(slot)];
}

}  // namespace velkor::sim
