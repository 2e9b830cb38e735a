// Whole runs of the hunt, in-process, from a fixed seed and a player that
// answers every prompt by a fixed rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "console/console_io.h"
#include "console/failure.h"
#include "console/scenario.h"
#include "data/fighter.h"
#include "game/console_hunt.h"
#include "game/run.h"
#include "persist/report_file.h"
#include "persist/report_line.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"
#include "testsupport/test_files.h"

namespace velkor {
namespace {

using test::CrLfLines;

// Answers each prompt by a rule: the first candidate; "n" to the first
// confirmation of an enemy, then "y"; every plan slot the first of attack,
// weak strike, end that is offered; "y" to every plan; Enter to all else.
// Keeps a transcript in the same form as the scripted console.
class RulePlayer : public ConsoleDevice {
 public:
  void Put(std::string_view bytes) override {
    output_.append(bytes);
    endedOnRead_ = false;
    sinceRead_.append(bytes);
    transcript_ += test::Cp932ToUtf8(bytes);
  }

  bool Get(std::string& line) override {
    if (++reads_ > 100000) return false;  // a runaway loop ends the run
    line = Answer();
    endedOnRead_ = true;
    sinceRead_.clear();
    transcript_ += test::EchoedLine(line);
    return true;
  }

  const std::string& Output() const { return output_; }
  const std::string& Transcript() const { return transcript_; }
  // True when nothing was written after the last line was read.
  bool EndedOnRead() const { return endedOnRead_; }

 private:
  std::string Answer() {
    const std::vector<std::string> lines = CrLfLines(sinceRead_);
    const std::string& prompt = lines.back();
    if (lines.size() < 2 || prompt.size() < 2 || prompt.front() != '(' || prompt.back() != ')') return "";
    const std::string letters = prompt.substr(1, prompt.size() - 2);
    const std::string& question = lines[lines.size() - 2];
    if (question == "誰を殺しに行きますか？"_cp) return "a";
    if (question.ends_with("を殺しに行きます。よろしいですか？(y/n)"_cp))
      return confirmed_++ == 0 ? "n" : "y";
    if (letters == "yn") return "y";
    if (question.starts_with("第"_cp)) {
      for (const char c : std::string_view("adZ"))
        if (letters.find(c) != std::string::npos) return std::string(1, c);
    }
    ADD_FAILURE() << "unexpected prompt: " << test::Cp932ToUtf8(question);
    return "";
  }

  std::string output_;
  std::string sinceRead_;
  std::string transcript_;
  int reads_ = 0;
  int confirmed_ = 0;
  bool endedOnRead_ = false;
};

// A legal definition: 25 + 30 + 20 + 25 points, no talents.
void DefineHunter(TPlayer& player) {
  player.Name.Assign("ミナト"_cp);
  player.BaseStats = {125, 30, 20, 25};
  player.CurStats = player.BaseStats;
}

// Runs Main in a fresh folder that holds a copy of dat/, and gives what the
// report file holds afterwards.
class HuntRun : public ::testing::Test {
 protected:
  void SetUp() override { test::CopyGameData(dir_.Path()); }

  // Plays the hunt of a fresh run with player at its console; how it ended.
  static RunEnd Play(GameRun& run, RulePlayer& player, std::uint32_t seed) {
    run.RandomState = seed;
    DefineHunter(run.Player);
    run.Report.ReadLocale();
    run.Io.Bind(player);
    const RunEnd end = Main(run);
    run.Io.FlushOutput();
    return end;
  }

  // The report file, whose name the file system holds in UTF-8.
  std::string Report() const {
    return test::ReadBytes(dir_.Path() + "/\xE3\x83\xAC\xE3\x83\x9D\xE3\x83\xBC\xE3\x83\x88.txt");
  }

  // The report line without its date and time, which vary.
  static void ExpectReportLine(const std::string& report, const std::string& head) {
    ASSERT_TRUE(report.starts_with(head + "／VELKOR／["_cp)) << test::Cp932ToUtf8(report);
    ASSERT_TRUE(report.ends_with("]／ミナト\r\n"_cp)) << test::Cp932ToUtf8(report);
    EXPECT_EQ(CrLfLines(report).size(), 2u) << "one line";
  }

  test::ScopedTempDir dir_;
  test::ScopedWorkingDir inside_{dir_.Path()};
};

// The run at a glance, one line per round, from a transcript: the
// candidates, the one fought, and how the battle ended after how many turns,
// with the titles won and the ending. A rule change shows here as a few
// changed lines before anyone reads the whole transcript.
std::string RoundsOf(const std::string& transcript) {
  const auto utf8 = [](const char* cp932) { return test::Cp932ToUtf8(cp932); };
  const std::string ask = utf8("誰を殺しに行きますか？"_cp);
  const std::string confirm = utf8("を殺しに行きます。よろしいですか？(y/n)"_cp);
  const std::string yes = "(yn)" + test::EchoedLine("y");
  const std::string won = utf8("を殺した！！"_cp);
  const std::string lost = utf8("は殺されてしまった！！"_cp);
  const std::string title = utf8("の称号を得た！"_cp);
  const std::string ending = utf8("すべての者を殺した！　おめでとう！！"_cp);
  const std::string turn = "******  Turn ";
  std::string rounds, candidates, offered, asked, fought = "?";
  std::string turns = "0";
  int round = 0;
  std::size_t at = 0;
  while (at < transcript.size()) {
    const std::size_t end = std::min(transcript.find('\n', at), transcript.size());
    std::string line = transcript.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > 3 && line[0] == '(' && line[2] == ')') {
      candidates += (candidates.empty() ? "" : " | ") + line.substr(3);
      continue;
    }
    if (line == ask) {
      offered = candidates;
    } else if (line.ends_with(confirm)) {
      asked = line.substr(0, line.size() - confirm.size());
      continue;  // the answer is on the next line
    } else if (!asked.empty() && line + "\n" == yes) {
      fought = asked;
      rounds += "round " + std::to_string(++round) + ": " + offered + "\n";
    } else if (line.starts_with(turn)) {
      turns = line.substr(turn.size(), line.find(' ', turn.size()) - turn.size());
    } else if (line.ends_with(won) || line.ends_with(lost)) {
      rounds += "  " + fought + (line.ends_with(won) ? ": won" : ": lost") + " in " + turns + " turns\n";
    } else if (line.find(title) != std::string::npos || line == ending) {
      rounds += "  " + line + "\n";
    }
    candidates.clear();
    asked.clear();
  }
  return rounds;
}

// With this seed the rule wins all twelve battles. About one seed in six
// hundred does; when the battle changes, the disabled FindWinningSeeds below
// lists new ones.
constexpr std::uint32_t WinningSeed = 173;

TEST_F(HuntRun, KillsAllTwelveAndPlaysTheEnding) {
  RulePlayer player;
  GameRun run;
  EXPECT_EQ(Play(run, player, WinningSeed), RunEnd::Ending);
  const std::string& TitleList = run.TitleList;
  ASSERT_TRUE(TitleList.ends_with("【黒野】"_cp))
      << "seed " << WinningSeed << " no longer reaches the ending: choose another";
  test::ExpectGolden(player.Transcript(), "game/tests/golden/whole_run.golden");
  test::ExpectGolden(RoundsOf(player.Transcript()), "game/tests/golden/whole_run_rounds.golden");

  // The parts of the loop that the transcript shows, checked as rules.
  const std::vector<std::string> lines = CrLfLines(player.Output());
  int round = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!lines[i].starts_with("【"_cp) || lines[i].find("人斬り】"_cp) == std::string::npos) continue;
    const std::string kills = "【"_cp + std::to_string(round) + "人斬り】"_cp;
    if (!lines[i].starts_with(kills)) {
      ++round;  // the next round, or a repeat of this one after an "n"
      ASSERT_TRUE(lines[i].starts_with("【"_cp + std::to_string(round) + "人斬り】"_cp)) << i;
    }
    if (round == 10 || round == 11) {
      ASSERT_LT(i + 4, lines.size());
      EXPECT_EQ(lines[i + 2], round == 10 ? "潮騒の音が聞こえる。"_cp : "地平線の向こうが燃えている。"_cp);
      EXPECT_EQ(lines[i + 4], round == 10 ? "(a)黒野宇美"_cp : "(a)黒野大地"_cp);
      EXPECT_EQ(lines[i + 5], "誰を殺しに行きますか？"_cp);
    }
  }
  EXPECT_EQ(round, 11);

  EXPECT_TRUE(TitleList.ends_with("【黒野】"_cp));
  for (const char* title :
       {"【鬼殺し】"_cp, "【悪魔殺し】"_cp, "【竜殺し】"_cp, "【魔女の心を溶かした者】"_cp})
    EXPECT_NE(TitleList.find(title), std::string::npos) << test::Cp932ToUtf8(title);
  ExpectReportLine(Report(), "【12人斬り】"_cp + TitleList);
  EXPECT_EQ(run.Player.CurStats, run.Player.BaseStats) << "restored after the last victory";
}

// The ending's scenario file is missing: the run ends through the failure
// report naming it, before the report line is written.
TEST_F(HuntRun, MissingEndingFileEndsTheRunThroughTheFailureReport) {
  ASSERT_TRUE(test::Exists(ScenarioPath(1)));
  test::Remove(ScenarioPath(1));
  RulePlayer player;
  GameRun run;
  run.RandomState = WinningSeed;
  DefineHunter(run.Player);
  run.Io.Bind(player);
  EXPECT_EQ(RunGuarded(run.Io, [&run] { Main(run); }), 1);
  const std::string out = player.Output();
  const std::string ending = "すべての者を殺した！　おめでとう！！\r\n"_cp;
  const std::size_t at = out.rfind(ending);
  ASSERT_NE(at, std::string::npos);
  EXPECT_TRUE(test::IsFailureReport(out.substr(at + ending.size()),
                                    "ファイル "_cp + ScenarioPath(1) + " は開けません"_cp))
      << test::Cp932ToUtf8(out.substr(at));
  EXPECT_EQ(Report(), "") << "no report line";
}

// Runs that the rule loses: the report counts only the battles won, and the
// run ends waiting for Enter after "ゲームーオーバー……".
TEST_F(HuntRun, DefeatReportsTheKillsSoFarAndEnds) {
  struct Case {
    std::uint32_t seed;
    int kills;
    std::string titles;
  };
  const Case cases[] = {
      {2, 0, ""},  // the first battle lost: "／" follows the count at once
      {14, 2, "【悪魔殺し】"_cp},
  };
  for (const Case& c : cases) {
    test::Remove(ReportPath);
    RulePlayer player;
    GameRun run;
    EXPECT_EQ(Play(run, player, c.seed), RunEnd::Defeat);
    const std::string out = player.Output();
    EXPECT_TRUE(out.ends_with("ミナトは殺されてしまった！！\r\nゲームーオーバー……\r\n"_cp))
        << test::Cp932ToUtf8(out.substr(out.size() - 200));
    EXPECT_EQ(run.TitleList, c.titles);
    ExpectReportLine(Report(), "【"_cp + std::to_string(c.kills) + "人斬り】"_cp + c.titles);
    EXPECT_TRUE(player.EndedOnRead()) << "waits for Enter last";
  }
}

// Not a test: lists seeds with which the rule reaches the ending. Run with
// --gtest_also_run_disabled_tests --gtest_filter=HuntRun.DISABLED_FindWinningSeeds
TEST_F(HuntRun, DISABLED_FindWinningSeeds) {
  int found = 0;
  for (std::uint32_t seed = 0; seed < 20000 && found < 5; ++seed) {
    RulePlayer player;
    GameRun run;
    if (Play(run, player, seed) == RunEnd::Ending) {
      std::printf("winning seed %u\n", seed);
      ++found;
    }
  }
}

}  // namespace
}  // namespace velkor
