#include "sim/turn_model.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "battle/resolution.h"
#include "data/tables.h"
#include "sim/lookahead_policy.h"
#include "sim/roster_entry.h"

namespace velkor::sim {

namespace {

// Hit points that no turn can take away: the engine then plays the whole
// turn, and Finish decides where it would have stopped.
constexpr std::int32_t Untouchable = 1 << 30;

constexpr int Slots = SlotCount;

}  // namespace

std::int32_t TurnOutcome::PlayerLoss() const {
  std::int32_t loss = 0;
  for (std::size_t i = 0; i < Hits; ++i) loss += Trace[i] < 0 ? -Trace[i] : 0;
  return loss;
}

std::int32_t TurnOutcome::EnemyLoss() const {
  std::int32_t loss = 0;
  for (std::size_t i = 0; i < Hits; ++i) loss += Trace[i] > 0 ? Trace[i] : 0;
  return loss;
}

TurnEnd Finish(const TurnOutcome& outcome, std::int32_t playerHP, std::int32_t enemyHP) {
  TurnEnd end{BattleOutcome::Undecided, playerHP, enemyHP};
  for (std::size_t i = 0; i < outcome.Hits; ++i) {
    const std::int32_t hit = outcome.Trace[i];
    if (hit > 0) {
      end.EnemyHP -= hit;
      if (end.EnemyHP <= 0) {
        end.Result = BattleOutcome::Victory;
        return end;
      }
    } else {
      end.PlayerHP += hit;
      if (end.PlayerHP <= 0) {
        end.Result = BattleOutcome::Defeat;
        return end;
      }
    }
  }
  return end;
}

TurnStart StateOf(const BattleState& battle) {
  TurnStart start;
  start.PlayerHP = battle.PlayerFighter.CurStats[StatHP];
  start.EnemyHP = battle.CurrentEnemy.CurStats[StatHP];
  const auto clamp = [](std::int32_t n) { return std::clamp<std::int32_t>(n, 0, TokenLimit); };
  start.TokenIndex = Tokens{clamp(battle.DecoyTokens[PlayerSide]), clamp(battle.GuardTokens[PlayerSide]),
                            clamp(battle.DecoyTokens[EnemySide]), clamp(battle.GuardTokens[EnemySide])}
                         .Index();
  return start;
}

Plan EnemyPlanOf(const BattleState& battle) { return battle.ActionPlan[EnemySide]; }

void SetPlayerPlan(BattleState& battle, const Plan& plan) { battle.ActionPlan[PlayerSide] = plan; }

const TFighter& PlayerOf(const BattleState& battle) { return battle.PlayerFighter; }

std::int32_t RosterIndexOf(const BattleState& battle) {
  const EnemyNumbers& enemy = battle.CurrentEnemy;
  for (std::int32_t i = 0; i < RosterSize; ++i) {
    const TEnemy& entry = RosterEntry(i);
    if (entry.BaseStats == enemy.BaseStats && entry.Talents == enemy.Talents &&
        entry.ActionRate == enemy.ActionRate && entry.Name.Text() == enemy.Name.Text())
      return i;
  }
  return -1;
}

void TurnModel::PlanAgent::PlanActions(BattleState& battle) { battle.ActionPlan[PlayerSide] = Chosen; }

void TurnModel::PlanAgent::SelectAction(BattleState& battle, int slot, std::int32_t points) {
  const auto s = static_cast<std::size_t>(slot);
  const std::uint8_t action = Chosen[s];
  battle.ActionPlan[PlayerSide][s] =
      action != actEnd && ActionCosts[action] <= points ? action : std::uint8_t{actEnd};
}

TurnModel::TurnModel(const TFighter& player, const TEnemy& enemy) : player_(player), enemy_(enemy) {
  SetUpBattle(scratch_, player_, enemy_, 0);
  scratch_.PlayerFighter.CurStats[StatHP] = Untouchable;
  scratch_.CurrentEnemy.CurStats[StatHP] = Untouchable;
  // The enemy's slots are set from the branches' draws before its phases,
  // never drawn by the engine here.
  scratch_.CurrentEnemy.Talents[HyperReaction] = 0;
}

double TurnModel::PlayerFirst() const {
  const bool playerQuick = player_.HasTalent(Quick);
  const bool enemyQuick = enemy_.HasTalent(Quick);
  if (playerQuick != enemyQuick) return playerQuick ? 1.0 : 0.0;
  // The initiative draw: r below a + b, the player first when r < a.
  std::int64_t a = player_.CurStats[StatSpeed];
  std::int64_t b = enemy_.CurStats[StatSpeed];
  if (a == 0 && b == 0) a = b = 1;
  while (a + b > std::numeric_limits<std::int32_t>::max()) {
    a /= 2;
    b /= 2;
  }
  return static_cast<double>(a) / static_cast<double>(a + b);
}

std::vector<TurnModel::Branch> TurnModel::Start(int tokens, int firstSide) const {
  const Tokens t = Tokens::At(tokens);
  Branch start;
  start.Tokens = {static_cast<std::int8_t>(t.PlayerDecoys), static_cast<std::int8_t>(t.PlayerGuards),
                  static_cast<std::int8_t>(t.EnemyDecoys), static_cast<std::int8_t>(t.EnemyGuards)};
  start.Points = {player_.CurStats[StatSpeed], enemy_.CurStats[StatSpeed]};
  start.EnemyBudget = enemy_.CurStats[StatSpeed];
  std::vector<Branch> roots;
  const double first = PlayerFirst();
  for (const int side : {PlayerSide, EnemySide}) {
    const double chance = side == PlayerSide ? first : 1.0 - first;
    if (firstSide >= 0 ? side != firstSide : chance <= 0) continue;
    start.Chance = firstSide >= 0 ? 1.0 : chance;
    start.FirstSide = static_cast<std::uint8_t>(side);
    roots.push_back(start);
  }
  return roots;
}

TurnModel::Branch TurnModel::Step(const Branch& from, int side, int phase, std::uint8_t action) {
  BattleState& s = scratch_;
  const auto p = static_cast<std::size_t>(phase);
  s.DecoyTokens = {from.Tokens[0], from.Tokens[2]};
  s.GuardTokens = {from.Tokens[1], from.Tokens[3]};
  s.ActionPoints = from.Points;
  s.ActionPlan[PlayerSide] = agent_.Chosen;
  if (side == EnemySide) s.ActionPlan[EnemySide][p] = action;
  BattleOutcome result = BattleOutcome::Undecided;
  TurnContext turn(result, agent_, screen_);
  turn.FirstSide = from.FirstSide;
  turn.SecondSide = 1 - from.FirstSide;
  turn.Phase = phase;
  turn.SideFinished = from.Finished;
  drivePhase(s, turn, side, 1 - side);

  Branch to = from;
  to.Tokens = {static_cast<std::int8_t>(s.DecoyTokens[PlayerSide]),
               static_cast<std::int8_t>(s.GuardTokens[PlayerSide]),
               static_cast<std::int8_t>(s.DecoyTokens[EnemySide]),
               static_cast<std::int8_t>(s.GuardTokens[EnemySide])};
  to.Points = s.ActionPoints;
  to.Finished = turn.SideFinished;
  const int target = 1 - side;
  std::int32_t& hp =
      target == PlayerSide ? s.PlayerFighter.CurStats[StatHP] : s.CurrentEnemy.CurStats[StatHP];
  const std::int32_t hit = Untouchable - hp;
  hp = Untouchable;
  if (hit != 0) {
    // Hits on one side in a row are one: whether that side dies at the first
    // or the last of them, the other side was hit before or after them all.
    // No fighter of the game survives a hit this large: keep it within 16 bits.
    const bool same = to.Hits > 0 && (to.Trace[to.Hits - 1] > 0) == (target == EnemySide);
    std::int32_t total = hit + (same ? std::abs(std::int32_t{to.Trace[to.Hits - 1]}) : 0);
    total = std::min<std::int32_t>(total, std::numeric_limits<std::int16_t>::max());
    if (!same) ++to.Hits;
    to.Trace[to.Hits - 1] = static_cast<std::int16_t>(target == EnemySide ? total : -total);
  }
  return to;
}

bool TurnModel::SameState(const Branch& a, const Branch& b) {
  static_assert(sizeof(Branch) == 8 + StateBytes && offsetof(Branch, Tokens) == 8,
                "a branch's state is its bytes after the chance, with no gaps");
  return std::memcmp(&a.Tokens, &b.Tokens, StateBytes) == 0;
}

template <class F>
void TurnModel::ForEachDraw(std::int32_t points, int slot, F drawn) {
  // The running totals of the weights of what points afford, as the
  // enemy's draw forms them (RateAction).
  std::array<std::int64_t, ActionCount> running{};
  std::int64_t total = 0;
  for (std::size_t a = 0; a < ActionCount; ++a) {
    std::int64_t weight = ActionCosts[a] <= points ? enemy_.ActionRate[a] : 0;
    if (a == actBreak && slot == 1) weight *= 2;  // its second slot favours 崩し
    total += weight;
    running[a] = total;
  }
  const std::int64_t sum = running[ActionCount - 1];
  if (sum <= 0) {
    drawn(std::uint8_t{actEnd}, 1.0);
    return;
  }
  std::int64_t below = 0;
  for (std::size_t a = 0; a < ActionCount; ++a) {
    const std::int64_t weight = running[a] - below;
    below = running[a];
    if (weight > 0)
      drawn(static_cast<std::uint8_t>(a), static_cast<double>(weight) / static_cast<double>(sum));
  }
}

void TurnModel::Merge(std::vector<Branch>& branches) {
  // Open addressing on a hash of the state's bytes; what merges keeps the
  // place of its first branch, so the order never depends on the hash.
  std::size_t size = 16;
  while (size < 2 * branches.size()) size *= 2;
  slots_.assign(size, -1);
  std::size_t kept = 0;
  for (std::size_t i = 0; i < branches.size(); ++i) {
    std::array<std::uint64_t, StateBytes / 8> words{};
    std::memcpy(words.data(), &branches[i].Tokens, StateBytes);
    std::uint64_t h = 0;
    for (const std::uint64_t w : words) h = (h ^ w) * 0x9E3779B97F4A7C15u;
    std::size_t at = static_cast<std::size_t>(h >> 20) & (size - 1);
    while (true) {
      std::int32_t& slot = slots_[at];
      if (slot < 0) {
        slot = static_cast<std::int32_t>(kept);
        branches[kept++] = branches[i];
        break;
      }
      Branch& known = branches[static_cast<std::size_t>(slot)];
      if (SameState(known, branches[i])) {
        known.Chance += branches[i].Chance;
        break;
      }
      at = (at + 1) & (size - 1);
    }
  }
  branches.resize(kept);
}

void TurnModel::Outcomes(int tokens, const Plan& plan, std::vector<TurnOutcome>& outcomes) {
  agent_.Chosen = plan;
  const bool ahead = EnemyPlansAhead();
  now_ = Start(tokens);
  for (int phase = 0; phase < Slots; ++phase) {
    for (const bool first : {true, false}) {
      next_.clear();
      for (const Branch& b : now_) {
        const int side = first ? b.FirstSide : 1 - b.FirstSide;
        if (b.Finished[static_cast<std::size_t>(side)]) {
          next_.push_back(b);
        } else if (side == PlayerSide) {
          next_.push_back(Step(b, side, phase, actEnd));
        } else {
          // The enemy's slot, drawn as the game draws it: ahead of the turn
          // from what its plan has left, or now from its points left.
          const std::int32_t points = ahead ? b.EnemyBudget : b.Points[EnemySide];
          ForEachDraw(points, phase, [&](std::uint8_t action, double chance) {
            Branch child = Step(b, side, phase, action);
            child.Chance *= chance;
            if (action != actEnd) child.EnemyBudget -= ActionCosts[action];
            next_.push_back(child);
          });
        }
      }
      Merge(next_);
      std::swap(now_, next_);
    }
  }
  outcomes.clear();
  for (Branch& b : now_) {
    // What the next turn cannot tell apart is one outcome.
    b.Points = {};
    b.EnemyBudget = 0;
    b.FirstSide = 0;
    b.Finished = {};
  }
  Merge(now_);
  for (const Branch& b : now_) {
    TurnOutcome o;
    o.Chance = b.Chance;
    o.TokensAfter =
        static_cast<std::uint8_t>(Tokens{b.Tokens[0], b.Tokens[1], b.Tokens[2], b.Tokens[3]}.Index());
    o.Hits = b.Hits;
    o.Trace = b.Trace;
    outcomes.push_back(o);
  }
}

TurnOutcome TurnModel::Play(int tokens, const Plan& plan, const Plan& enemyPlan, int firstSide) {
  agent_.Chosen = plan;
  Branch b = Start(tokens, firstSide).front();
  for (int phase = 0; phase < Slots; ++phase) {
    for (const bool first : {true, false}) {
      const int side = first ? b.FirstSide : 1 - b.FirstSide;
      if (!b.Finished[static_cast<std::size_t>(side)])
        b = Step(b, side, phase,
                 side == EnemySide ? enemyPlan[static_cast<std::size_t>(phase)] : std::uint8_t{actEnd});
    }
  }
  TurnOutcome o;
  o.Chance = 1;
  o.TokensAfter =
      static_cast<std::uint8_t>(Tokens{b.Tokens[0], b.Tokens[1], b.Tokens[2], b.Tokens[3]}.Index());
  o.Hits = b.Hits;
  o.Trace = b.Trace;
  return o;
}

void TurnModel::EnemyPlans(std::vector<std::pair<Plan, double>>& plans) {
  plans.clear();
  Plan plan;
  plan.fill(actEnd);
  const auto draw = [&](const auto& self, int slot, std::int32_t points, double chance) -> void {
    if (slot == Slots) {
      plans.emplace_back(plan, chance);
      return;
    }
    const auto s = static_cast<std::size_t>(slot);
    ForEachDraw(points, slot, [&](std::uint8_t action, double c) {
      plan[s] = action;
      if (action == actEnd) {
        self(self, Slots, points, chance * c);
      } else {
        self(self, slot + 1, points - ActionCosts[action], chance * c);
      }
    });
    plan[s] = actEnd;
  };
  draw(draw, 0, enemy_.CurStats[StatSpeed], 1.0);
}

void TurnModel::CandidatePlans(int tokens, std::vector<Plan>& plans) {
  const Tokens t = Tokens::At(tokens);
  const std::int32_t speed = player_.CurStats[StatSpeed];
  std::vector<LookaheadPolicy::Candidate> candidates;
  LookaheadPolicy::Candidates(
      greedy_.TableFor(player_.CurStats[StatAttack], speed, enemy_.CurStats[StatDefense]), 0, speed, speed,
      t.EnemyDecoys, candidates);
  plans.clear();
  for (const auto& c : candidates) plans.push_back(c.First);
}

void TurnModel::AllPlans(std::vector<Plan>& plans) const {
  plans.clear();
  Plan plan;
  plan.fill(actEnd);
  const auto fill = [&](const auto& self, int slot, std::int32_t points) -> void {
    plans.push_back(plan);  // ends here
    if (slot == Slots) return;
    const auto s = static_cast<std::size_t>(slot);
    for (std::uint8_t a = 0; a < actEnd; ++a) {
      if (ActionCosts[a] > points) continue;
      plan[s] = a;
      self(self, slot + 1, points - ActionCosts[a]);
    }
    plan[s] = actEnd;
  };
  fill(fill, 0, player_.CurStats[StatSpeed]);
}

}  // namespace velkor::sim
