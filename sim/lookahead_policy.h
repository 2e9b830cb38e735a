#pragma once
// The player who looks ahead. Each turn it tries candidates on copies of the
// battle and keeps the one that wins most of them. A candidate is a mix of up
// to three each of "崩し", "回避" and "防御", before or after the greedy hits
// that the rest of the points buy ("狙撃" through decoys, "剣劇" when its
// points are there); a copy plays the candidate's plan this turn and the same
// mix every turn after, to the end of the battle.
//
// The copies hold what the player cannot see drawn anew from a stream of the
// policy's own: the generator's state (the initiative and every later draw),
// the enemy's plan as the game's own weight table draws it (what an
// experienced player knows of the enemy, never this battle's draws) and,
// without 魔眼, the enemy's HP as the middle of what its condition word
// (十全, 負傷, 重傷, 瀕死) allows. With 心眼 the copies keep the enemy's shown
// plan; with 超反応 it chooses in each phase from what the turn has shown so
// far (who went first, what the enemy did, the points left).
//
// Every candidate meets the same copies: a first look at all of them, then a
// second on fresh copies at the best few and the greedy plan, since the best
// of many on few copies is mostly the luckiest. In a hunt it chooses as the
// greedy player does: each battle begins at full HP, so the order changes how
// far a hunt gets, not whether it reaches the ending.

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "battle/battle_screen.h"
#include "battle/battle_state.h"
#include "sim/greedy_policy.h"
#include "sim/policy.h"

namespace velkor::sim {

class LookaheadPolicy : public Policy {
 public:
  void PlanActions(BattleState& battle) override;
  void SelectAction(BattleState& battle, int slot, std::int32_t points) override;
  std::int32_t ChooseCandidate(const HuntState& hunt, const TFighter& player) override;
  void Reseed(std::uint32_t seed) override;

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
  // A candidate: its plan for this turn, and the mix it goes on with.
  struct Candidate {
    Mix Then;
    Plan First{};
  };

  // Samples of what the player cannot see: a first look at every
  // candidate, a second at the best few.
  static constexpr int FirstLook = 8;
  static constexpr int SecondLook = 32;

  // The candidates for slots from..4 on points as the player sees battle,
  // each plan once, the greedy plan first.
  static void Candidates(const BattleState& battle, int from, std::int32_t points, GreedyPolicy& greedy,
                         std::vector<Candidate>& candidates);

 private:
  // What the player has seen of the turn so far.
  struct Seen {
    int From = 0;                // the first slot to choose
    bool InTurn = false;         // the phases have begun (超反応)
    bool FirstActed = false;     // the enemy went first and has had this phase
    bool EnemyFinished = false;  // the enemy's plan has ended
  };
  // The best plan for slots from..4 on points, as the player sees battle.
  Plan Choose(const BattleState& battle, int from, std::int32_t points, bool inTurn);
  // copy with what the player cannot see drawn anew from stream.
  void Blind(BattleState& copy, bool inTurn, std::uint32_t stream);
  void AddCandidates(const BattleState& battle, int from, std::int32_t points);
  // samples_ := that many copies of battle, each blinded from a fresh stream.
  void Draw(const BattleState& battle, bool inTurn, int samples);
  // Battles won of samples_, each playing plan for the rest of the turn and
  // the greedy player after it.
  double Value(const Candidate& candidate, const Seen& seen);
  double Play(const BattleState& sample, const Candidate& candidate, const Seen& seen);
  std::uint32_t Fresh();

  GreedyPolicy greedy_;  // the hits of a plan, and the choice in a hunt
  std::uint32_t state_ = 0;
  std::vector<BattleState> samples_;
  std::vector<Candidate> candidates_;
  std::vector<std::pair<double, std::size_t>> scores_;
  NullBattleScreen screen_;
};

}  // namespace velkor::sim
