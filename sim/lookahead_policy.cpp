#include "sim/lookahead_policy.h"

#include <algorithm>

#include "battle/battle.h"
#include "battle/turn.h"
#include "sim/seeds.h"

namespace velkor::sim {

namespace {

using Plan = LookaheadPolicy::Plan;
using Mix = LookaheadPolicy::Mix;

// Turns a candidate's mix plays on after its first turn; a battle still going
// then counts as lost, as a stalemate does.
constexpr std::uint64_t Horizon = 30;

// Draws of a copy that may contradict what was seen before the player is
// taken to have acted first: far more than a copy that can happen needs.
constexpr int Tries = 256;

// The next number of a SplitMix64 stream.
std::uint64_t NextOf(std::uint64_t& state) { return Mix64(state += 0x9E3779B97F4A7C15u); }

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

// Plays a candidate's mix turn after turn: what it goes on to do.
class Steady : public PlayerAgent {
 public:
  Steady(const LookaheadPolicy::Candidate& candidate, GreedyPolicy& greedy)
      : candidate_(candidate), greedy_(greedy) {}
  void PlanActions(BattleState& battle) override {
    const std::int32_t decoys = battle.DecoyTokens[EnemySide];
    battle.ActionPlan[PlayerSide] =
        decoys >= 0 && decoys <= TokenLimit
            ? candidate_.Ahead[static_cast<std::size_t>(decoys)]
            : PlanOf(candidate_.Then, TableOf(battle), 0, battle.PlayerFighter.CurStats[StatSpeed], decoys);
  }
  void SelectAction(BattleState& battle, int slot, std::int32_t points) override {
    const auto s = static_cast<std::size_t>(slot);
    battle.ActionPlan[PlayerSide][s] =
        PlanOf(candidate_.Then, TableOf(battle), slot, points, battle.DecoyTokens[EnemySide])[s];
  }

 private:
  const GreedyPolicy::Table& TableOf(const BattleState& battle) {
    return greedy_.TableFor(battle.PlayerFighter.CurStats[StatAttack],
                            battle.PlayerFighter.CurStats[StatSpeed],
                            battle.CurrentEnemy.CurStats[StatDefense]);
  }
  const LookaheadPolicy::Candidate& candidate_;
  GreedyPolicy& greedy_;
};

// A number for every mix, below 128.
std::size_t MixIndex(const Mix& mix) {
  return static_cast<std::size_t>(((mix.Breaks * 4 + mix.Decoys) * 4 + mix.Guards) * 2 +
                                  (mix.CoverFirst ? 1 : 0));
}

}  // namespace

std::int32_t LookaheadPolicy::ChooseCandidate(const HuntState& hunt, const TFighter& player) {
  return greedy_.ChooseCandidate(hunt, player);
}

void LookaheadPolicy::Candidates(const GreedyPolicy::Table& table, int from, std::int32_t points,
                                 std::int32_t speed, std::int32_t enemyDecoys,
                                 std::vector<Candidate>& candidates) {
  candidates.clear();
  Mix mix;
  for (mix.Breaks = 0; mix.Breaks <= TokenLimit; ++mix.Breaks) {
    for (mix.Decoys = 0; mix.Decoys <= TokenLimit; ++mix.Decoys) {
      for (mix.Guards = 0; mix.Guards <= TokenLimit; ++mix.Guards) {
        if (mix.Breaks + mix.Decoys + mix.Guards > SlotCount - from || mix.Cost() > points) continue;
        for (const bool coverFirst : {true, false}) {
          mix.CoverFirst = coverFirst;
          const Plan plan = PlanOf(mix, table, from, points, enemyDecoys);
          const bool known = std::any_of(candidates.begin(), candidates.end(),
                                         [&](const Candidate& c) { return c.First == plan; });
          if (known) continue;
          Candidate& added = candidates.emplace_back(Candidate{mix, plan, {}});
          // A copy's fighters keep their speed, and so these plans, to the end.
          for (std::size_t decoys = 0; decoys < added.Ahead.size(); ++decoys)
            added.Ahead[decoys] = PlanOf(mix, table, 0, speed, static_cast<std::int32_t>(decoys));
        }
      }
    }
  }
}

void LookaheadPolicy::AddCandidates(const Sight& sight, const Matchup& matchup) {
  const std::int32_t speed = matchup.PlayerStats[2];
  const std::int32_t points = sight.InTurn ? sight.Points[PlayerSide] : speed;
  Candidates(greedy_.TableFor(matchup.PlayerStats[0], speed, matchup.EnemyStats[1]), sight.From, points,
             speed, sight.Decoys[EnemySide], candidates_);
}

const Sample& LookaheadPolicy::Copy(std::size_t n, const Sight& sight, const Matchup& matchup) {
  while (copies_.size() <= n) {
    Sample& sample = copies_.emplace_back();
    bool agrees = false;
    for (int tries = 0; tries < Tries && !agrees; ++tries)
      agrees = Imagine(sight, matchup, static_cast<std::uint32_t>(NextOf(stream_)), sample);
    if (!agrees) {
      Sight first = sight;
      first.First = Initiative::Player;
      Imagine(first, matchup, static_cast<std::uint32_t>(NextOf(stream_)), sample);
    }
  }
  return copies_[n];
}

double LookaheadPolicy::PlayOn(BattleState& copy, const Candidate& candidate) {
  Steady steady(candidate, greedy_);
  return FightBattle(copy, steady, screen_, copy.Turn + Horizon) == BattleOutcome::Victory ? 1.0 : 0.0;
}

double LookaheadPolicy::Play(const Sample& sample, const Candidate& candidate, const Sight& sight) {
  ++plays_;
  Steady steady(candidate, greedy_);
  BattleState copy = sample.World;
  BattleOutcome result = BattleOutcome::Undecided;
  TurnContext turn(result, steady, screen_);
  turn.FirstSide = sample.EnemyFirst ? EnemySide : PlayerSide;
  turn.SecondSide = 1 - turn.FirstSide;
  if (!sight.InTurn) copy.ActionPlan[PlayerSide] = candidate.First;
  turn.Phase = sight.From;
  turn.SideFinished = {false, sample.EnemyFinished};
  PlayPhases(copy, turn, sight.InTurn && sample.EnemyFirst);
  if (result != BattleOutcome::Undecided) return result == BattleOutcome::Victory ? 1.0 : 0.0;
  return PlayOn(copy, candidate);
}

LookaheadPolicy::Plan LookaheadPolicy::Decide(const Sight& sight, const Matchup& matchup,
                                              std::uint64_t seed) {
  AddCandidates(sight, matchup);
  if (candidates_.size() == 1) return candidates_.front().First;
  stream_ = seed;
  copies_.clear();
  // [candidate]: its wins on the copies after the first round.
  std::vector<double>& later = laterWins_;
  later.assign(candidates_.size(), 0.0);
  // The candidates of the round in the order of their places: by number
  // in the first round, then as the round before ranked them (the greedy
  // plan first). A tie goes to the earlier place.
  std::vector<std::size_t>& in = in_;
  in.clear();
  for (std::size_t c = 0; c < candidates_.size(); ++c) in.push_back(c);
  std::size_t first = 0;  // the round's first copy
  for (std::size_t r = 0; r < Rounds.size(); ++r) {
    const std::size_t copies = static_cast<std::size_t>(Rounds[r].Copies);
    const std::size_t end = first + copies;
    const bool last = r + 1 == Rounds.size();
    // The greedy plan comes first; where it wins every copy of the first
    // round there is nothing to gain. It goes on to the last round whatever
    // it scores, and competes only there.
    if (r == 0 || !last) {
      double greedy = later[0];
      for (std::size_t n = first; n < end; ++n)
        greedy += Play(Copy(n, sight, matchup), candidates_[0], sight);
      if (r == 0 && greedy == static_cast<double>(copies)) return candidates_.front().First;
      if (r > 0) later[0] = greedy;
    }
    // The places to win, held best first: the last round's one among all,
    // the others' Kept beside the greedy plan. A candidate that cannot take
    // a place even by winning every copy left stops playing at once. So
    // the places do not depend on the order the candidates are played in:
    // the first round plays first the mixes that have won most often, which
    // sets the bar early.
    struct Held {
      double Score;
      std::size_t Place;  // in the round's order
      std::size_t Candidate;
    };
    const auto before = [](const Held& a, const Held& b) {
      return a.Score > b.Score || (a.Score == b.Score && a.Place < b.Place);
    };
    const std::size_t places = last ? 1 : Rounds[r].Kept;
    std::vector<std::size_t>& order = order_;
    order.clear();
    for (std::size_t place = 0; place < in.size(); ++place)
      if (last || in[place] != 0) order.push_back(place);
    if (r == 0) {
      std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return chosen_[MixIndex(candidates_[in[a]].Then)] > chosen_[MixIndex(candidates_[in[b]].Then)];
      });
    }
    std::vector<Held> held;
    for (const std::size_t place : order) {
      const std::size_t c = in[place];
      Held mine{r == 0 ? 0.0 : later[c], place, c};
      bool out = false;
      for (std::size_t n = first; n < end && !out; ++n) {
        mine.Score += Play(Copy(n, sight, matchup), candidates_[c], sight);
        Held best = mine;
        best.Score += static_cast<double>(end - n - 1);
        out = held.size() == places && !before(best, held.back());
      }
      if (out) continue;
      if (r > 0) later[c] = mine.Score;
      held.insert(std::find_if(held.begin(), held.end(), [&](const Held& h) { return before(mine, h); }),
                  mine);
      if (held.size() > places) held.pop_back();
    }
    first = end;
    if (last) {
      ++chosen_[MixIndex(candidates_[held.front().Candidate].Then)];
      return candidates_[held.front().Candidate].First;
    }
    in.assign(1, 0);
    for (const Held& h : held) in.push_back(h.Candidate);
  }
  return candidates_.front().First;  // not reached: the last round decides
}

LookaheadPolicy::Plan LookaheadPolicy::Choose(const BattleState& battle, int from, bool inTurn) {
  ++decisions_;
  const Sight sight = Look(battle, known_, from, inTurn);
  const Matchup matchup = MatchupOf(battle, known_);
  const std::uint32_t id = kept_.Enter(matchup);
  const std::uint64_t hash = HashOf(sight);
  if (const Plan* plan = kept_.Find(id, sight, hash)) return *plan;
  ++workedOut_;
  // The copies' draws come from what is seen, and from nothing else.
  const Plan plan = Decide(sight, matchup, hash ^ HashOf(matchup) * 0x9E3779B97F4A7C15u);
  kept_.Keep(id, sight, hash, plan);
  return plan;
}

void LookaheadPolicy::PlanActions(BattleState& battle) {
  battle.ActionPlan[PlayerSide] = Choose(battle, 0, false);
}

void LookaheadPolicy::SelectAction(BattleState& battle, int slot, std::int32_t points) {
  auto& cell = battle.ActionPlan[PlayerSide][static_cast<std::size_t>(slot)];
  // Nothing but the end is affordable: nothing to weigh.
  if (points < ActionCosts[actWeakStrike]) {
    cell = actEnd;
    return;
  }
  cell = Choose(battle, slot, true)[static_cast<std::size_t>(slot)];
}

}  // namespace velkor::sim
