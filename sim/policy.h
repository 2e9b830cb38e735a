#pragma once
// A way of playing the player's side without a person: the plans of every
// turn and, in a hunt, the choice among the round's candidates. One object
// serves one thread; it may keep tables between battles.

#include <cstdint>

#include "battle/player_agent.h"
#include "data/fighter.h"
#include "hunt/hunt.h"

namespace velkor::sim {

class Policy : public PlayerAgent {
 public:
  // Which of the round's candidates to fight: 0..hunt.CandidateCount-1.
  virtual std::int32_t ChooseCandidate(const HuntState& hunt, const TFighter& player) = 0;
  // A fresh stream for a policy that draws, before every battle or hunt.
  virtual void Reseed(std::uint32_t seed) { static_cast<void>(seed); }
};

}  // namespace velkor::sim
