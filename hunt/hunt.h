#pragma once
// The hunt: rounds of candidates, choice, battle, until a defeat or the
// twelfth kill. One loop plays it for the game at the console and for the
// simulator; who chooses, how a battle is played and what is shown at the
// end are the HuntSeat's.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "battle/battle_state.h"
#include "data/error_sink.h"
#include "data/fighter.h"
#include "data/random_source.h"

namespace velkor {

struct HuntState {
  std::array<bool, 12> AliveFlags{true, true, true, true, true, true, true, true, true, true, true, true};
  std::int32_t KillCount = 0;
  std::array<std::int32_t, 5> Candidates{};
  std::int32_t CandidateCount = 0;
  std::string_view AmbientLine;  // one of the fixed scenery lines, or empty
  BattleOutcome BattleResult = BattleOutcome::Undecided;
};

// Reports a broken invariant at place; the game shows its error banner.
using HuntError = ErrorSink;

// True when no flag is true (also for no flags).
bool AllFalse(std::span<const bool> flags);

// Draws this round's candidates into state.
void FindEnemys(HuntState& state, RandomSource random, const HuntError& error);

// Step two of a round: perhaps a new scenery line, then the fixed line of a
// held-back enemy's round over whatever was drawn.
void DrawAmbientLine(HuntState& state, RandomSource random, const HuntError& error);

// A victory over roster entry enemy: it is dead and counts as a kill.
void RecordKill(HuntState& state, std::int32_t enemy);

// Whoever plays a hunt from outside the loop.
class HuntSeat {
 public:
  virtual ~HuntSeat() = default;
  // The candidate to fight this round, confirmed: 0..hunt.CandidateCount-1.
  virtual std::int32_t ChooseCandidate(const HuntState& hunt, const TFighter& player) = 0;
  // One battle of player against roster entry enemy, drawing from
  // randomState; both are left as the battle left them.
  virtual BattleOutcome Fight(std::int32_t enemy, TFighter& player, std::uint32_t& randomState) = 0;
  // The hunt has ended in a defeat (the lost battle not counted), or with
  // every enemy dead.
  virtual void Lost(const HuntState& hunt) = 0;
  virtual void Ended(const HuntState& hunt) = 0;
};

// Plays one whole hunt of player, drawing from randomState, with seat
// outside and error told of broken invariants; player's stats are restored
// after every victory. Gives the hunt as it ended.
HuntState PlayHunt(HuntSeat& seat, TFighter& player, std::uint32_t& randomState, const HuntError& error);

}  // namespace velkor
