#pragma once
// A way of playing the player's side without a person: the plans of every
// turn and, in a hunt, the choice among the round's candidates. One object
// serves one thread; it may keep tables between battles.

#include <cstdint>

#include "battle/player_agent.h"
#include "data/fighter.h"
#include "enemy/enemy.h"
#include "hunt/hunt.h"

namespace velkor::sim {

// What the player knows of how an enemy chooses: the roster's weights, as
// many battles teach them, or nothing (every affordable action and the end
// equally likely), as at a first meeting.
enum class Knowledge : std::uint8_t { Veteran, Newcomer };

class Policy : public PlayerAgent {
 public:
  // Set once, before the first battle; a policy that reads no weights
  // ignores it.
  virtual void Know(Knowledge knowledge) { static_cast<void>(knowledge); }
  // Which of the round's candidates to fight: 0..hunt.CandidateCount-1.
  virtual std::int32_t ChooseCandidate(const HuntState& hunt, const TFighter& player) = 0;
  // A battle begins against enemy, its numbers as the roster begins it: what
  // an experienced player knows of it before the first blow. The simulator
  // says so before every battle.
  virtual void Meet(const EnemyNumbers& enemy) { static_cast<void>(enemy); }
  // Before every battle or hunt, a stream of its own for a policy that
  // draws: from the run's policy seed and number, never from the game's
  // seed (PolicyStream).
  virtual void Reseed(std::uint32_t stream) { static_cast<void>(stream); }
};

}  // namespace velkor::sim
