#pragma once
// The player who looks ahead. Each turn it tries candidates on copies of the
// battle and keeps the one that wins most of them. A candidate is a mix of up
// to three each of "崩し", "回避" and "防御", before or after the greedy hits
// that the rest of the points buy ("狙撃" through decoys, "剣劇" when its
// points are there); a copy plays the candidate's plan this turn and then
// goes on as PlayOn says: by default the same mix every turn, to the end of
// the battle. In a hunt it chooses as the greedy player does: each battle
// begins at full HP, so the order changes how far a hunt gets, not whether
// it reaches the ending.
//
// What it knows is what an experienced player knows, and nothing else:
// - its own sheet, in full;
// - the enemy as the roster begins it (Meet): attack, defense, speed,
//   talents, starting HP and the weights of its draws, which many battles
//   teach and no battle changes;
// - the enemy's HP: with 魔眼 as its sheet shows it; without, the roster's
//   starting HP less every damage the screen printed against it ("にN
//   ダメージ！"), which is the same number;
// - both sides' tokens, which the screen always shows;
// - with 心眼, the enemy's plan row: its plan made ahead, and which of its
//   slots the turn has reached;
// - within a turn (超反応, choosing phase by phase): every action the enemy
//   has announced, in order with its own, so who acts first once the enemy
//   has acted in the turn; that the enemy's plan has ended once a slot of it
//   passed without a word; the points both sides have left (every action
//   announced has its cost, and "崩し" prints what it takes).
// Not shown, and so drawn anew for every copy: the state of the game's
// generator (the initiative before it shows, every later draw), the enemy's
// plan without 心眼 (as its weights draw it, on from the slots seen), and,
// without 心眼, whether an enemy that has shown nothing in this turn went
// first with an empty plan.
//
// A decision is a function of what it sees (Sight) and the matchup alone:
// the copies' draws come from a stream seeded by them, and the decision is
// kept (DecisionCache) for the next time the same is seen. So the same
// sight gives the same choice in every battle, on every thread and under
// every policy seed; the policy's own stream is not used.
//
// Every candidate meets the same copies, in rounds: all of them a first
// few, then the better ones more, and the last few the most, chosen by the
// rounds after the first, since the best of many on few copies is mostly
// the luckiest. Where the greedy plan wins every copy of the first round,
// there is nothing to gain.

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "battle/battle_screen.h"
#include "battle/battle_state.h"
#include "sim/decision_cache.h"
#include "sim/greedy_policy.h"
#include "sim/policy.h"
#include "sim/sight.h"

namespace velkor::sim {

class LookaheadPolicy : public Policy {
 public:
  void PlanActions(BattleState& battle) override;
  void SelectAction(BattleState& battle, int slot, std::int32_t points) override;
  std::int32_t ChooseCandidate(const HuntState& hunt, const TFighter& player) override;
  void Know(Knowledge knowledge) override { newcomer_ = knowledge == Knowledge::Newcomer; }
  void Meet(const EnemyNumbers& enemy) override {
    known_ = enemy;
    if (newcomer_) known_.ActionRate.fill(1);
  }

  using Plan = std::array<std::uint8_t, SlotCount>;

  // A way to play every turn: so many breaks, decoys and guards, before or
  // after the greedy hits that the rest of the points buy.
  struct Mix {
    int Breaks = 0;
    int Decoys = 0;
    int Guards = 0;
    bool CoverFirst = true;
    std::int32_t Cost() const {
      return Breaks * ActionCosts[actBreak] + Decoys * ActionCosts[actEvade] + Guards * ActionCosts[actGuard];
    }
  };
  // A candidate: its plan for this turn, and the mix it goes on with, whose
  // plans ahead on full points are worked out once for every count of the
  // enemy's decoys.
  struct Candidate {
    Mix Then;
    Plan First{};
    std::array<Plan, TokenLimit + 1> Ahead{};
  };

  // The rounds: copies that every candidate still in meets, and how many
  // candidates (the greedy plan aside, which stays in) go on to the next.
  struct Round {
    int Copies;
    std::size_t Kept;
  };
  static constexpr std::array<Round, 3> Rounds{{{8, 8}, {16, 4}, {32, 0}}};

  // The candidates for slots from..4 on points, each plan once, the greedy
  // plan first, from the greedy table of the matchup (speed: the player's).
  static void Candidates(const GreedyPolicy::Table& table, int from, std::int32_t points, std::int32_t speed,
                         std::int32_t enemyDecoys, std::vector<Candidate>& candidates);

  // Decisions asked for, those worked out rather than found kept, and the
  // copies played for them.
  std::uint64_t Decisions() const { return decisions_; }
  std::uint64_t WorkedOut() const { return workedOut_; }
  std::uint64_t Plays() const { return plays_; }

 protected:
  // The chance of a win from copy, which stands at the end of a turn, when
  // the player goes on with candidate.Then. By default one play of that mix
  // every turn to the end, a battle still going after some turns counting as
  // lost; where a battle has been solved, its values can answer instead.
  virtual double PlayOn(BattleState& copy, const Candidate& candidate);

  // The candidates for slots from..4 on points as the player sees battle,
  // each plan once, the greedy plan first.
  static void Candidates(const BattleState& battle, int from, std::int32_t points, GreedyPolicy& greedy,
                         std::vector<Candidate>& candidates);

 private:
  // The plan for slots from..4 on points, as the player sees battle.
  Plan Choose(const BattleState& battle, int from, bool inTurn);
  Plan Decide(const Sight& sight, const Matchup& matchup, std::uint64_t seed);
  void AddCandidates(const Sight& sight, const Matchup& matchup);
  // The copy n of the decision, drawn when first asked for.
  const Sample& Copy(std::size_t n, const Sight& sight, const Matchup& matchup);
  // 1 for a won copy, 0 for a lost one (or PlayOn's chance).
  double Play(const Sample& sample, const Candidate& candidate, const Sight& sight);

  GreedyPolicy greedy_;  // the hits of a plan, and the choice in a hunt
  EnemyNumbers known_;   // the enemy met, its weights as the player believes them
  bool newcomer_ = false;
  DecisionCache kept_;
  std::uint64_t stream_ = 0;  // of the decision being worked out
  std::vector<Sample> copies_;
  std::vector<Candidate> candidates_;
  std::vector<std::pair<double, std::size_t>> scores_;
  std::vector<double> laterWins_;
  std::vector<std::size_t> in_;
  std::vector<std::size_t> order_;
  // [mix]: decisions it has won, which orders the first round's plays (and
  // nothing else).
  std::array<std::uint32_t, 128> chosen_{};
  NullBattleScreen screen_;
  std::uint64_t decisions_ = 0;
  std::uint64_t workedOut_ = 0;
  std::uint64_t plays_ = 0;
};

}  // namespace velkor::sim
