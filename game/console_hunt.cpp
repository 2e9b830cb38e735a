// The game's seat at the hunt (hunt/hunt.h plays the loop): the candidate
// menu, the battle at the console, the ending and the report line.
#include "game/console_hunt.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "battle/battle.h"
#include "battle_console/console_battle.h"
#include "console/console_io.h"
#include "console/prompts.h"
#include "console/scenario.h"
#include "console/to_cp932.h"
#include "data/fighter.h"
#include "data/random_source.h"
#include "enemy/enemy.h"
#include "persist/report_file.h"
#include "platform/cp932_literal.h"
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

std::string EnemyName(std::int32_t index, const ErrorSink& error) {
  TEnemy enemy;
  EnemyData(index, enemy, error);
  return enemy.Name.Text();
}

// Shows the sheet, the ambient line and the candidates until the player has
// chosen one and confirmed it; gives its place among the candidates.
std::int32_t ChooseEnemy(GameRun& run, const HuntState& state, const ErrorSink& error) {
  Console& console = run.Io;
  for (;;) {
    const std::string heading = KillsAndTitles(state.KillCount, run.TitleList) + std::string(LineEnd);
    ShowSheet(console, run.Player, false, heading);
    if (!state.AmbientLine.empty()) {
      console.WriteLine(state.AmbientLine);
      RuleLine(console, "");
    }
    std::string letters;
    for (std::int32_t i = 0; i < state.CandidateCount; ++i) {
      const char letter = IntToAlf(console, i);
      const std::string name = EnemyName(state.Candidates[static_cast<std::size_t>(i)], error);
      console.WriteLine(CutToBytes(std::string("(") + letter + ")" + name, MenuLineBytes));
      letters += letter;
    }
    const char letter = AskChoice(console, "誰を殺しに行きますか？"_cp, letters, letters);
    const std::int32_t choice = AlfToInt(console, letter);
    const std::int32_t chosen = state.Candidates[static_cast<std::size_t>(choice)];
    const std::string question =
        CutToBytes(EnemyName(chosen, error) + "を殺しに行きます。よろしいですか？"_cp, QuestionBytes);
    if (AskYesNo(console, question)) return choice;
  }
}

void PlayEnding(GameRun& run, const HuntState& state) {
  Console& console = run.Io;
  console.WriteLine("すべての者を殺した！　おめでとう！！"_cp);
  WaitEnter(console);
  PlayScenario(console, ScenarioPath(1), run.Player.Name.Text());
  run.TitleList += "【黒野】"_cp;
  run.Report.Write(state.KillCount, run.TitleList, run.Player.Name.Text(), run.FileWrite, run.Hooks);
}

// The person at the console: menus, the console battle, the report.
class ConsoleHunt : public HuntSeat {
 public:
  explicit ConsoleHunt(GameRun& run)
      : run_(run), error_([&console = run.Io](std::string_view place) { ErrorBanner(console, place); }) {}
  const ErrorSink& Error() const { return error_; }

  std::int32_t ChooseCandidate(const HuntState& hunt, const TFighter&) override {
    return ChooseEnemy(run_, hunt, error_);
  }
  BattleOutcome Fight(std::int32_t enemy, TFighter& player, std::uint32_t& randomState) override {
    ConsoleBattle battle(run_.Io);
    return Battle(run_.Io, battle, enemy, player, randomState, run_.TitleList);
  }
  void Lost(const HuntState& hunt) override {
    // The lost battle does not count.
    run_.Report.Write(hunt.KillCount, run_.TitleList, run_.Player.Name.Text(), run_.FileWrite, run_.Hooks);
    run_.Io.WriteLine("ゲームーオーバー……"_cp);
    try {
      WaitEnter(run_.Io);
    } catch (const PlayerQuit&) {
      // The run is over: quitting here is that Enter.
    }
  }
  void Ended(const HuntState& hunt) override { PlayEnding(run_, hunt); }

 private:
  GameRun& run_;
  ErrorSink error_;
};

}  // namespace

RunEnd Main(GameRun& run) {
  ConsoleHunt seat(run);
  try {
    const HuntState hunt = PlayHunt(seat, run.Player, run.RandomState, seat.Error());
    return hunt.BattleResult == BattleOutcome::Victory ? RunEnd::Ending : RunEnd::Defeat;
  } catch (const PlayerQuit&) {
    return RunEnd::Quit;
  }
}

}  // namespace velkor
