// The hunt loop: one run of the game, from the first round to a defeat or to
// the ending after the twelfth kill.
#include "game/hunt.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "battle/battle.h"
#include "battle_console/console_battle.h"
#include "console/charset.h"
#include "console/console_io.h"
#include "console/prompts.h"
#include "console/scenario.h"
#include "data/fighter.h"
#include "data/random_source.h"
#include "enemy/enemy.h"
#include "persist/report.h"
#include "sheet/sheet.h"

namespace velkor {

namespace {

// The menu line and the confirmation are held in fixed sizes; every roster
// name fits, and a cut never splits a code page 932 character.
constexpr std::size_t MenuLineBytes = 19;
constexpr std::size_t QuestionBytes = 50;

std::string CutToBytes(std::string text, std::size_t limit) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t width = Cp932CharacterLength(text, end);
    if (end + width > limit) break;
    end += width;
  }
  text.resize(std::min(end, text.size()));
  return text;
}

std::string EnemyName(std::int32_t index) {
  TEnemy enemy;
  EnemyData(index, enemy);
  return enemy.Name.Text();
}

// Shows the sheet, the ambient line and the candidates until the player has
// chosen one and confirmed it; gives its place among the candidates.
std::int32_t ChooseEnemy(const HuntState& state) {
  for (;;) {
    const std::string heading = KillsAndTitles(state.KillCount) + std::string(LineEnd);
    ShowSheet(Player, false, heading);
    if (!state.AmbientLine.empty()) {
      WriteLine(state.AmbientLine);
      RuleLine("");
    }
    std::string letters;
    for (std::int32_t i = 0; i < state.CandidateCount; ++i) {
      const char letter = IntToAlf(i);
      const std::string name = EnemyName(state.Candidates[static_cast<std::size_t>(i)]);
      WriteLine(CutToBytes(std::string("(") + letter + ")" + name, MenuLineBytes));
      letters += letter;
    }
    const char letter = AskChoice("誰を殺しに行きますか？", letters, letters);
    const std::int32_t choice = AlfToInt(letter);
    const std::int32_t chosen = state.Candidates[static_cast<std::size_t>(choice)];
    const std::string question =
        CutToBytes(EnemyName(chosen) + "を殺しに行きます。よろしいですか？", QuestionBytes);
    if (AskYesNo(question)) return choice;
  }
}

void PlayEnding(const HuntState& state) {
  WriteLine("すべての者を殺した！　おめでとう！！");
  WaitEnter();
  PlayScenario(ScenarioPath(1), GetPlayerName());
  TitleList += "【黒野】";
  WriteReport(state.KillCount);
}

// The person at the console: menus, the console battle, the report.
class ConsoleHunt : public HuntSeat {
 public:
  std::int32_t ChooseCandidate(const HuntState& hunt, const TFighter&) override { return ChooseEnemy(hunt); }
  BattleOutcome Fight(std::int32_t enemy, TFighter& player, std::uint32_t& randomState) override {
    ConsoleBattle console;
    return Battle(console, enemy, player, randomState);
  }
  void Lost(const HuntState& hunt) override {
    WriteReport(hunt.KillCount);  // the lost battle does not count
    WriteLine("ゲームーオーバー……");
    WaitEnter();
  }
  void Ended(const HuntState& hunt) override { PlayEnding(hunt); }
};

}  // namespace

void Main() {
  ConsoleHunt seat;
  PlayHunt(seat, Player, RandomState, ErrorBanner);
}

}  // namespace velkor
