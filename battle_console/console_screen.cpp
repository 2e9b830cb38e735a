#include "battle_console/console_screen.h"

#include <string>

#include "battle_console/display.h"
#include "console/console_io.h"
#include "console/prompts.h"
#include "data/tables.h"
#include "platform/cp932_literal.h"

namespace velkor {

void ConsoleScreen::TurnBegins(std::uint64_t turn) {
  console_.WriteLine();
  console_.WriteLine("******  Turn " + std::to_string(turn) + "  ******");
}

void ConsoleScreen::Show(const BattleState& battle) { ShowBattle(console_, battle); }

void ConsoleScreen::Announce(const TFighter& actor, std::uint8_t action) {
  console_.Write(actor.Name.Text() + "の"_cp + std::string(ActionNames[action]) + "、"_cp);
}

void ConsoleScreen::NoPoints() { console_.WriteLine("APが足りない！"_cp); }

void ConsoleScreen::TokenMade(std::string_view tokenName, bool made) {
  console_.WriteLine(std::string(tokenName) + (made ? "が一つ生成された！"_cp : "は既に飽和している！"_cp));
}

void ConsoleScreen::Evaded(const TFighter& target) {
  console_.WriteLine("だが"_cp + target.Name.Text() + "は回避した！"_cp);
}

void ConsoleScreen::NotEvaded(const TFighter& target) {
  console_.Write(target.Name.Text() + "は回避できなかった、"_cp);
}

void ConsoleScreen::Guarded(const TFighter& target) {
  console_.Write("だが"_cp + target.Name.Text() + "はガードした！"_cp);
}

void ConsoleScreen::Damaged(const TFighter& target, std::int32_t amount, bool toPoints) {
  console_.WriteLine(target.Name.Text() + (toPoints ? "のAPに"_cp : "に"_cp) + std::to_string(amount) +
                     "ダメージ！"_cp);
}

void ConsoleScreen::Error(std::string_view place) { ErrorBanner(console_, place); }

void ConsoleScreen::Pause() { WaitEnter(console_); }

}  // namespace velkor
