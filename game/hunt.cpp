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
#include "data/sheet.h"
#include "enemy/enemy.h"
#include "persist/report.h"

namespace velkor {

namespace {

constexpr std::array<std::string_view, 5> AmbientLines{
    "雨が降っている。",
    "強い風が吹いている。",
    "煉瓦の家屋が幾重にも重なっている。",
    "ここは見晴らしがいい。",
    "エルフがじっとこちらを見ている。",
};
// The last two rounds are always the fights against the two held-back enemies.
constexpr std::string_view SeaLine = "潮騒の音が聞こえる。";
constexpr std::string_view BurningLine = "地平線の向こうが燃えている。";

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
// chosen one and confirmed it; gives its roster index.
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
    const std::int32_t chosen = state.Candidates[static_cast<std::size_t>(AlfToInt(letter))];
    const std::string question =
        CutToBytes(EnemyName(chosen) + "を殺しに行きます。よろしいですか？", QuestionBytes);
    if (AskYesNo(question)) return chosen;
  }
}

void PlayEnding(HuntState& state) {
  WriteLine("すべての者を殺した！　おめでとう！！");
  WaitEnter();
  PlayScenario(ScenarioPath(1), GetPlayerName());
  TitleList += "【黒野】";
  WriteReport(state.KillCount);
}

}  // namespace

void DrawAmbientLine(HuntState& state, RandomSource random) {
  if (random.Int(5) == 0) {
    const std::int32_t line = random.Int(static_cast<std::int32_t>(AmbientLines.size()));
    if (line >= 0 && line < static_cast<std::int32_t>(AmbientLines.size()))
      state.AmbientLine = AmbientLines[static_cast<std::size_t>(line)];
    else
      ErrorBanner("Main");
  }
  if (state.KillCount == 10)
    state.AmbientLine = SeaLine;
  else if (state.KillCount == 11)
    state.AmbientLine = BurningLine;
}

void RecordKill(HuntState& state, std::int32_t enemy) {
  state.AliveFlags[static_cast<std::size_t>(enemy)] = false;
  ++state.KillCount;
}

void Main() {
  HuntState state;
  for (;;) {
    FindEnemys(state, GameRandom());
    DrawAmbientLine(state, GameRandom());
    const std::int32_t chosen = ChooseEnemy(state);

    Battle(chosen, state.BattleResult);
    if (state.BattleResult == ResultText(BattleOutcome::Defeat)) {
      WriteReport(state.KillCount);  // the lost battle does not count
      WriteLine("ゲームーオーバー……");
      WaitEnter();
      return;
    }
    RecordKill(state, chosen);
    RestoreStats(Player);
    if (AllFalse(state.AliveFlags)) break;
  }
  PlayEnding(state);
}

}  // namespace velkor
