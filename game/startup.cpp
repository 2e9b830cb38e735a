#include "game/startup.h"

#include <string>
#include <string_view>

#include "console/console_io.h"
#include "console/failure.h"
#include "console/prompts.h"
#include "console/scenario.h"
#include "data/fighter.h"
#include "game/console_hunt.h"
#include "opening/definition.h"
#include "persist/report_file.h"
#include "persist/save_file.h"
#include "platform/console.h"
#include "platform/cp932_literal.h"
#include "platform/signals.h"

namespace velkor {

namespace {

constexpr const char* UnsavedQuitLine = "ゲームを終わります。キャラクターは保存されていません。"_cp;
constexpr const char* SavedQuitLine = "ゲームを終わります。キャラクターは保存されています。"_cp;

// The line said when the player quits at a terminal: by the end of input
// (RunGuarded says it) and by Ctrl-C or another end signal (the signal
// handler says it, already in the terminal's character set). Through pipes a
// signal ends the game without a word, as it always has.
void SetQuitLine(Console& console, std::string_view line) {
  console.SetQuitLine(line);
  platform::SetEndSignalLine(
      console.EndOfInputQuits()
          ? console.Shown(std::string(LineEnd) + std::string(line) + std::string(LineEnd))
          : std::string());
}

// At a terminal the run's own report line is shown after the last output, so
// the player sees the result without opening the report file.
void ShowResultAtTerminal(Console& console, const RunReport& report) {
  if (!console.EndOfInputQuits()) return;
  console.WriteLine();
  console.WriteLine("今回の記録："_cp + report.LastLine());
  if (!platform::WindowClosesWithGame()) return;
  console.Write("Enterキーを押すと終わります。"_cp);
  try {
    console.ReadLine();
  } catch (const PlayerQuit&) {
  }
}

}  // namespace

int StartUp(GameRun& run) {
  Console& console = run.Io;
  TPlayer& Player = run.Player;
  return RunGuarded(console, [&] {
    // A scenario file that cannot be played is found before the player has
    // typed a definition that its failure would throw away.
    CheckScenarioFiles();
    RemoveSaveLeftovers();
    run.Report.ReadLocale();
    ClearPlayer(Player);
    // The saved line is said only while the character at stake is the one
    // in save.dat.
    SetQuitLine(console, UnsavedQuitLine);
    console.WriteLine();
    bool LoadedFromSave = false;
    const bool saved = LoadPlayer(console, Player);
    if (saved) SetQuitLine(console, SavedQuitLine);
    if (saved && AskYesNo(console, "前回のあなたの定義が保存されています。ロードしますか？"_cp)) {
      LoadedFromSave = true;
      console.WriteLine("あなたの定義がロードされました。"_cp);
      WaitEnter(console);
    }
    if (!LoadedFromSave) {
      // The character being defined is not the one on disk, declined or not.
      SetQuitLine(console, UnsavedQuitLine);
      // A refused or declined file has left its contents in the record.
      ClearPlayer(Player);
      DefineCharacter(console, Player);
      // A failed write is told, and the run goes on from memory. Ctrl-C
      // waits for both, so its line says what the disk holds.
      const platform::SignalHold hold;
      if (SavePlayer(console, Player, run.FileWrite, run.Hooks)) SetQuitLine(console, SavedQuitLine);
    }
    // A quit before the run has ended goes on to RunGuarded, which says the
    // quit line; an ended run shows its report line.
    if (Main(run) == RunEnd::Quit) throw PlayerQuit();
    ShowResultAtTerminal(console, run.Report);
  });
}

}  // namespace velkor
