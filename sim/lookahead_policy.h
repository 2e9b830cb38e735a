#pragma once
// The player who looks ahead. Each turn it tries candidate plans on copies of
// the battle and keeps the one that leaves it best placed when the turn is
// over. The candidates are the greedy plan of hits with every mix of up to
// three each of "崩し", "回避" and "防御" put before it or after it, so
// guards, decoys, breaks, "剣劇" (when its points are there) and "狙撃"
// through decoys are all in play. Each candidate meets the same samples of
// what the player cannot see: the enemy's plan, drawn from the game's own
// weight table (an experienced player's knowledge of the enemy, not this
// battle's draws), and the initiative, both ways weighted by its odds. Where
// the turn leaves both alive, a race of turns decides how good it is: the
// turns the enemy needs to kill the player against those the player needs,
// with tokens counted as the hit points they are worth.
//
// What the player sees changes what it uses: with 心眼 the enemy's plan as
// shown instead of samples, with 魔眼 the enemy's hit points instead of the
// middle of what its condition word (十全, 負傷, 重傷, 瀕死) allows, and with
// 超反応 it chooses in each phase from what the turn has shown so far (who
// went first, what the enemy did, the points left). It never reads the
// battle's generator: its copies draw from a stream of the policy's own.
// In a hunt it chooses as the greedy player does.

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
