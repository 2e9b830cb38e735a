#pragma once
// What a battle tells whoever watches it. The engine calls these only when
// the battle has a screen, and calls the agent's Pause after each message,
// so a battle that nobody watches builds no text at all.

#include <cstdint>
#include <string_view>

#include "battle/battle_state.h"
#include "battle/player_agent.h"
#include "data/fighter.h"

namespace velkor {

class BattleScreen {
 public:
  virtual ~BattleScreen() = default;
  // The line that opens a turn, numbered from 1.
  virtual void TurnBegins(std::uint64_t turn) = 0;
  // The whole battle screen.
  virtual void Show(const BattleState& battle) = 0;
  // actor is about to carry out action.
  virtual void Announce(const TFighter& actor, std::uint8_t action) = 0;
  // The announced action costs more than the points left.
  virtual void NoPoints() = 0;
  // tokenName is "ガード" or "デコイ"; made is false when three were held already.
  virtual void TokenMade(std::string_view tokenName, bool made) = 0;
  // A decoy of target took the hit away, or was used up without stopping it.
  virtual void Evaded(const TFighter& target) = 0;
  virtual void NotEvaded(const TFighter& target) = 0;
  // A guard token of target reduced the hit.
  virtual void Guarded(const TFighter& target) = 0;
  // target lost amount hit points, or action points when toPoints.
  virtual void Damaged(const TFighter& target, std::int32_t amount, bool toPoints) = 0;
  // A broken invariant at place; the report takes its own pause.
  virtual void Error(std::string_view place) = 0;
};

// One message of the battle, shown when somebody watches and followed by the
// agent's pause; tell(screen) writes it, and is not called otherwise.
template <class Message>
void Tell(BattleState& battle, Message tell) {
  if (battle.Screen == nullptr) return;
  tell(*battle.Screen);
  battle.Agent->Pause();
}

}  // namespace velkor
