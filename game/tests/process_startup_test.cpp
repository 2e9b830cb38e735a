// The built game run as a player would run it: a fresh folder holding dat/,
// typed lines on standard input, and save.dat between runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game/tests/game_folder.h"
#include "platform/clock.h"
#include "platform/cp932_literal.h"

namespace velkor {
namespace {

using test::DefinitionStart;
using test::EndsWithInputEnded;
using test::GameFolder;
using test::LoadQuestion;
using test::ReadBytes;
using test::RecordOf;
using test::SavedRecord;
using test::Sealed;
using test::TypedDefinition;
using test::WriteBytes;

TEST_F(GameFolder, FirstRunDefinesSavesAndEndsAtTheEndOfInput) {
  const test::ProcessResult run = Run(TypedDefinition("ユウ"_cp));
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitStatus, 1);
  // One empty line, then straight into the definition: no load question.
  EXPECT_TRUE(run.output.starts_with("\r\n" + DefinitionStart)) << test::Cp932ToUtf8(run.output);
  EXPECT_EQ(run.output.find("ロードしますか"_cp), std::string::npos);
  EXPECT_TRUE(EndsWithInputEnded(run.output));

  // The definition was saved before the hunt began.
  const TPlayer saved = RecordOf(ReadBytes(Path("save.dat")));
  EXPECT_TRUE(Sealed(saved));
  EXPECT_EQ(saved.Name.Text(), "ユウ"_cp);
  EXPECT_EQ(saved.BaseStats, (std::array<std::int32_t, 4>{200, 20, 20, 20}));
  EXPECT_EQ(saved.CurStats, saved.BaseStats);
  EXPECT_EQ(saved.Talents, (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
  EXPECT_EQ(test::FolderEntries(Path("")), (std::vector<std::string>{"dat", "save.dat"}));

  // The next run offers it.
  const test::ProcessResult second = Run("y\n\n");
  EXPECT_TRUE(second.output.starts_with("\r\n" + LoadQuestion + "\r\nあなたの定義がロードされました。"_cp))
      << test::Cp932ToUtf8(second.output);
}

TEST_F(GameFolder, AcceptedLoadGoesToTheHuntAndLeavesTheFileAlone) {
  const std::string file = SavedRecord();
  WriteBytes(Path("save.dat"), file);
  // An old time, so that any rewrite would show even within the same second;
  // taken as the file system keeps it, since the WebAssembly build's C
  // library sets another time than it is asked (one far ahead, as telling).
  namespace fs = std::filesystem;
  fs::last_write_time(Path("save.dat"),
                      fs::last_write_time(Path("save.dat")) - std::chrono::hours(24 * 365 * 20));
  const fs::file_time_type old = fs::last_write_time(Path("save.dat"));

  const test::ProcessResult run = Run("y\n\n");
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_TRUE(run.output.starts_with("\r\n" + LoadQuestion + "\r\nあなたの定義がロードされました。\r\n"_cp))
      << test::Cp932ToUtf8(run.output);
  EXPECT_EQ(run.output.find("まずは定義から始めよう。"_cp), std::string::npos);
  // The hunt shows the loaded character.
  EXPECT_NE(run.output.find("-- ユウ ---"_cp), std::string::npos);
  EXPECT_NE(run.output.find("ＨＰ    100/  100\r\n"_cp), std::string::npos);
  EXPECT_TRUE(EndsWithInputEnded(run.output));

  EXPECT_EQ(ReadBytes(Path("save.dat")), file);
  EXPECT_EQ(fs::last_write_time(Path("save.dat")), old);
}

TEST_F(GameFolder, DeclinedLoadDefinesFromAnEmptyRecordAndReplacesTheFile) {
  const std::string old = SavedRecord();
  WriteBytes(Path("save.dat"), old);
  const test::ProcessResult run = Run("n\n" + TypedDefinition("ケン"_cp));
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitStatus, 1);
  // Nothing is written on "n": the definition follows the question's empty line.
  EXPECT_TRUE(run.output.starts_with("\r\n" + LoadQuestion + "\r\n" + DefinitionStart))
      << test::Cp932ToUtf8(run.output);
  // The first sheet shows the new name with no stats and no talents.
  EXPECT_NE(run.output.find("-- ケン ----------------\r\n"_cp
                            "ＨＰ      0/    0\r\n"_cp
                            "攻撃力    0/    0\r\n"_cp
                            "防御力    0/    0\r\n"_cp
                            "素早さ    0/    0\r\n"_cp
                            "------------------------\r\n"),
            std::string::npos);

  const std::string file = ReadBytes(Path("save.dat"));
  const TPlayer saved = RecordOf(file);
  EXPECT_TRUE(Sealed(saved));
  EXPECT_EQ(saved.Name.Text(), "ケン"_cp);
  EXPECT_EQ(saved.Talents, (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
  // The spare bytes of the declined record are carried into the new file.
  EXPECT_EQ(file.substr(5, 15), old.substr(5, 15));
  EXPECT_EQ(file[67], old[67]);
  // Declining was the player's choice: the old file is not kept.
  EXPECT_FALSE(Exists("save.dat.bad"));
}

TEST_F(GameFolder, RefusedFileIsReportedNeverOfferedAndReplaced) {
  std::string tampered = SavedRecord();
  tampered[40] = static_cast<char>(tampered[40] + 1);  // base HP 150 -> 151
  struct Case {
    const char* what;
    std::string file;
    std::string message;
  };
  const Case cases[] = {
      {"one byte raised", tampered, "（save.datの内容が不適切です。）"_cp},
      {"67 bytes", SavedRecord().substr(0, 67), "（save.datの読み込みに失敗しました。）"_cp},
  };
  for (const Case& c : cases) {
    WriteBytes(Path("save.dat"), c.file);
    const test::ProcessResult run = Run(TypedDefinition("ケン"_cp));
    ASSERT_FALSE(run.timedOut) << c.what;
    EXPECT_EQ(run.exitStatus, 1) << c.what;
    EXPECT_TRUE(run.output.starts_with("\r\n" + c.message + "\r\n" + DefinitionStart))
        << c.what << "\n"
        << test::Cp932ToUtf8(run.output);
    EXPECT_EQ(run.output.find("ロードしますか"_cp), std::string::npos) << c.what;
    const TPlayer saved = RecordOf(ReadBytes(Path("save.dat")));
    EXPECT_TRUE(Sealed(saved)) << c.what;
    EXPECT_EQ(saved.Name.Text(), "ケン"_cp) << c.what;
    // The refused file is kept, replacing the one an earlier case kept.
    EXPECT_EQ(ReadBytes(Path("save.dat.bad")), c.file) << c.what;
  }
}

// A character that cannot act loses its first battle whatever the enemy
// draws; the run then ends normally with status 0.
TEST_F(GameFolder, RunThatEndsInDefeatExitsWithStatusZero) {
  const test::ProcessResult run = Run(test::TypedLostRun("ユウ"_cp));
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitStatus, 0);
  const std::string last = "ゲームーオーバー……"_cp;
  const std::size_t at = run.output.rfind(last);
  ASSERT_NE(at, std::string::npos) << test::Cp932ToUtf8(run.output);
  const std::string after = run.output.substr(at + last.size());
  EXPECT_TRUE(after.empty() || after == "\r\n") << test::Cp932ToUtf8(after);
  EXPECT_EQ(run.output.find("EInOutError"), std::string::npos);
  EXPECT_EQ(run.output.find("ロードしますか"_cp), std::string::npos);
  EXPECT_EQ(RecordOf(ReadBytes(Path("save.dat"))).Name.Text(), "ユウ"_cp);
}

// Input that runs out at any prompt ends the run at once with status 1 and
// the failure report, without spinning on the prompt, and saves nothing
// before the definition is complete.
TEST_F(GameFolder, EndOfInputAtAPromptEndsTheRunWithTheReport) {
  struct Case {
    const char* where;
    std::string input;
  };
  const Case cases[] = {
      {"the first wait", ""},
      {"the name", "\n"},
      {"the name, after an empty line", "\n\n"},
      {"a stat", "\nユウ\n\n\n10\n"_cp},
      {"a stat, after a refused answer", "\nユウ\n\n\n10\n-5\n"_cp},
      {"the talent menu", "\nユウ\n\n\n0\n0\n0\n0\n"_cp},
      {"the talent menu, after a refused letter", "\nユウ\n\n\n0\n0\n0\n0\nq\n"_cp},
      {"the opening wait", "\nユウ\n\n\n25\n25\n25\n25\n"_cp},
  };
  for (const Case& c : cases) {
    const long long start = platform::ClockNow().seconds;
    const test::ProcessResult run = Run(c.input);
    const long long end = platform::ClockNow().seconds;
    ASSERT_FALSE(run.timedOut) << c.where;
    EXPECT_LT(end - start, 5) << c.where;
    EXPECT_EQ(run.exitStatus, 1) << c.where;
    EXPECT_TRUE(EndsWithInputEnded(run.output)) << c.where << "\n" << test::Cp932ToUtf8(run.output);
    EXPECT_FALSE(Exists("save.dat")) << c.where;
  }
}

// None of these is waited on or read into memory.
TEST_F(GameFolder, ScenarioFileThatCannotBeUsedStopsTheGameBeforeAnything) {
  test::ExpectScenarioFailuresStopTheGame(
      Path(""),
      {
          {"missing", [](const std::string&) {}},
          {"a folder", [](const std::string& file) { ASSERT_TRUE(test::MakeFolder(file)); }},
          {"one byte over 1 MiB",
           [](const std::string& file) { WriteBytes(file, std::string(ScenarioFileLimit + 1, '\r')); }},
      });
}

TEST_F(GameFolder, EndOfInputRightAfterTheFirstWaitShowsJustTheOpeningLines) {
  const test::ProcessResult run = Run("");
  ASSERT_FALSE(run.timedOut);
  const std::string head = "\r\nまずは定義から始めよう。\r\n"_cp;
  ASSERT_TRUE(run.output.starts_with(head)) << test::Cp932ToUtf8(run.output);
  EXPECT_TRUE(test::IsFailureReport(run.output.substr(head.size()), test::InputEnded));
}

}  // namespace
}  // namespace velkor
