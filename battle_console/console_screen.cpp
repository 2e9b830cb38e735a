#include "battle_console/console_screen.h"

#include <string>

#include "battle_console/display.h"
#include "console/console_io.h"
#include "console/prompts.h"
#include "data/tables.h"

namespace velkor {

void ConsoleScreen::TurnBegins(std::uint64_t turn) {
  WriteLine();
  WriteLine("******  Turn " + std::to_string(turn) + "  ******");
}

void ConsoleScreen::Show(const BattleState& battle) { ShowBattle(battle); }

void ConsoleScreen::Announce(const TFighter& actor, std::uint8_t action) {
  Write(actor.Name.Text() + "の" + std::string(ActionNames[action]) + "、");
}

void ConsoleScreen::NoPoints() { WriteLine("APが足りない！"); }

void ConsoleScreen::TokenMade(std::string_view tokenName, bool made) {
  WriteLine(std::string(tokenName) + (made ? "が一つ生成された！" : "は既に飽和している！"));
}

void ConsoleScreen::Evaded(const TFighter& target) {
  WriteLine("だが" + target.Name.Text() + "は回避した！");
}

void ConsoleScreen::NotEvaded(const TFighter& target) { Write(target.Name.Text() + "は回避できなかった、"); }

void ConsoleScreen::Guarded(const TFighter& target) { Write("だが" + target.Name.Text() + "はガードした！"); }

void ConsoleScreen::Damaged(const TFighter& target, std::int32_t amount, bool toPoints) {
  WriteLine(target.Name.Text() + (toPoints ? "のAPに" : "に") + std::to_string(amount) + "ダメージ！");
}

void ConsoleScreen::Error(std::string_view place) { ErrorBanner(place); }

void ConsoleScreen::Pause() { WaitEnter(); }

}  // namespace velkor
