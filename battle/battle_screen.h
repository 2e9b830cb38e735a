#pragma once
// What a battle tells whoever watches it, and the pause after each message.
// A battle that nobody watches plays to a NullBattleScreen, which builds no
// text and waits for nothing.

#include <cstdint>
#include <string_view>

#include "battle/battle_state.h"
#include "data/fighter.h"

namespace velkor {

class BattleScreen {
 public:
  virtual ~BattleScreen() = default;
  // False for a screen that nobody watches: Tell then makes no message at
  // all, which keeps a headless battle as fast as one without a screen.
  bool Watched() const { return watched_; }
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
  // After each message but Error.
  virtual void Pause() = 0;

 protected:
  BattleScreen() = default;
  explicit BattleScreen(bool watched) : watched_(watched) {}

 private:
  bool watched_ = true;
};

// Nobody watches: every message and pause is nothing.
class NullBattleScreen final : public BattleScreen {
 public:
  NullBattleScreen() : BattleScreen(false) {}
  void TurnBegins(std::uint64_t) override {}
  void Show(const BattleState&) override {}
  void Announce(const TFighter&, std::uint8_t) override {}
  void NoPoints() override {}
  void TokenMade(std::string_view, bool) override {}
  void Evaded(const TFighter&) override {}
  void NotEvaded(const TFighter&) override {}
  void Guarded(const TFighter&) override {}
  void Damaged(const TFighter&, std::int32_t, bool) override {}
  void Error(std::string_view) override {}
  void Pause() override {}
};

// A broken invariant at place: counted in battle, and told to the screen.
inline void InvariantBroken(BattleState& battle, BattleScreen& screen, std::string_view place) {
  ++battle.InvariantBreaks;
  screen.Error(place);
}

// One message of the battle, followed by the screen's pause; tell(screen)
// writes it.
template <class Message>
void Tell(BattleScreen& screen, Message tell) {
  if (!screen.Watched()) return;
  tell(screen);
  screen.Pause();
}

}  // namespace velkor
