#pragma once
// The battle as the game shows it on the console, with a wait for Enter
// after each message.

#include "battle/battle_screen.h"
#include "console/console_io.h"

namespace velkor {

class ConsoleScreen : public BattleScreen {
 public:
  explicit ConsoleScreen(Console& console) : console_(console) {}
  void TurnBegins(std::uint64_t turn) override;
  void Show(const BattleState& battle) override;
  void Announce(const TFighter& actor, std::uint8_t action) override;
  void NoPoints() override;
  void TokenMade(std::string_view tokenName, bool made) override;
  void Evaded(const TFighter& target) override;
  void NotEvaded(const TFighter& target) override;
  void Guarded(const TFighter& target) override;
  void Damaged(const TFighter& target, std::int32_t amount, bool toPoints) override;
  void Error(std::string_view place) override;
  void Pause() override;

 private:
  Console& console_;
};

}  // namespace velkor
