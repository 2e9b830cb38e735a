// The built game run as a player would run it: a fresh folder holding dat/,
// typed lines on standard input, and save.dat between runs.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "console/scenario.h"
#include "data/fighter.h"
#include "persist/report_line.h"
#include "persist/save_file.h"
#include "testsupport/console_script.h"
#include "testsupport/files.h"
#include "testsupport/process_runner.h"
#include "testsupport/saved_record.h"
#include "testsupport/typed_runs.h"

namespace velkor {
namespace {

const std::string InputEnded = "標準入力が終わりました";
const std::string LoadQuestion = "前回のあなたの定義が保存されています。ロードしますか？(y/n)\r\n(yn)";
const std::string DefinitionStart = "まずは定義から始めよう。きみの名前を教えてね。\r\n";
const std::string LoadFailed = "（save.datの読み込みに失敗しました。）\r\n";

using test::ReadBytes;
using test::WriteBytes;

using test::RecordOf;
using test::TypedDefinition;

// A sealed record with talents and spare bytes, as an older run left it.
std::string SavedRecord() {
  TPlayer p{};
  p.Name.Assign("ジークフリート様");
  p.Name.Assign("ユウ");
  p.NameGap = {7, 8, 9};
  p.BaseStats = {150, 30, 25, 15};
  p.CurStats = p.BaseStats;
  p.Talents = {1, 0, 1, 0};
  p.TailGap = 0x42;
  StoreChecksum(p);
  const PlayerImage image = ToImage(p);
  return std::string(image.begin(), image.end());
}

bool Sealed(const TPlayer& p) { return p.Checksum.Length == 10 && p.Checksum.Text() == CalcChecksum(p); }

// The output ends with the report of the input that ran out.
bool EndsWithInputEnded(const std::string& output) {
  const std::size_t at = output.rfind("EInOutError");
  return at != std::string::npos && test::IsFailureReport(output.substr(at), InputEnded);
}

bool StartsWith(const std::string& text, const std::string& head) {
  return text.compare(0, head.size(), head) == 0;
}

class GameFolder : public ::testing::Test {
 protected:
  void SetUp() override { test::CopyGameData(folder_.Path()); }

  test::ProcessResult Run(const std::string& input) {
    return test::RunProgram(test::GameProgram(), folder_.Path(), input, 20);
  }
  std::string Path(const std::string& name) const { return folder_.Path() + "/" + name; }
  bool Exists(const std::string& name) const { return test::Exists(Path(name)); }

 private:
  test::ScopedTempDir folder_;
};

TEST_F(GameFolder, FirstRunDefinesSavesAndEndsAtTheEndOfInput) {
  const test::ProcessResult run = Run(TypedDefinition("ユウ"));
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitStatus, 1);
  // One empty line, then straight into the definition: no load question.
  EXPECT_TRUE(StartsWith(run.output, "\r\n" + DefinitionStart)) << test::Cp932ToUtf8(run.output);
  EXPECT_EQ(run.output.find("ロードしますか"), std::string::npos);
  EXPECT_TRUE(EndsWithInputEnded(run.output));

  // The definition was saved before the hunt began.
  const TPlayer saved = RecordOf(ReadBytes(Path("save.dat")));
  EXPECT_TRUE(Sealed(saved));
  EXPECT_EQ(saved.Name.Text(), "ユウ");
  EXPECT_EQ(saved.BaseStats, (std::array<std::int32_t, 4>{200, 20, 20, 20}));
  EXPECT_EQ(saved.CurStats, saved.BaseStats);
  EXPECT_EQ(saved.Talents, (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
  EXPECT_EQ(test::FolderEntries(Path("")), (std::vector<std::string>{"dat", "save.dat"}));

  // The next run offers it.
  const test::ProcessResult second = Run("y\n\n");
  EXPECT_TRUE(StartsWith(second.output, "\r\n" + LoadQuestion + "\r\nあなたの定義がロードされました。"))
      << test::Cp932ToUtf8(second.output);
}

TEST_F(GameFolder, AcceptedLoadGoesToTheHuntAndLeavesTheFileAlone) {
  const std::string file = SavedRecord();
  WriteBytes(Path("save.dat"), file);
  // An old time, so that any rewrite would show even within the same second.
  const timespec old[2] = {{978307200, 0}, {978307200, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, Path("save.dat").c_str(), old, 0), 0);

  const test::ProcessResult run = Run("y\n\n");
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_TRUE(StartsWith(run.output, "\r\n" + LoadQuestion + "\r\nあなたの定義がロードされました。\r\n"))
      << test::Cp932ToUtf8(run.output);
  EXPECT_EQ(run.output.find("まずは定義から始めよう。"), std::string::npos);
  // The hunt shows the loaded character.
  EXPECT_NE(run.output.find("-- ユウ ---"), std::string::npos);
  EXPECT_NE(run.output.find("ＨＰ    150/  150\r\n"), std::string::npos);
  EXPECT_TRUE(EndsWithInputEnded(run.output));

  EXPECT_EQ(ReadBytes(Path("save.dat")), file);
  struct stat info {};
  ASSERT_EQ(::stat(Path("save.dat").c_str(), &info), 0);
  EXPECT_EQ(info.st_mtim.tv_sec, old[1].tv_sec);
  EXPECT_EQ(info.st_mtim.tv_nsec, 0);
}

TEST_F(GameFolder, DeclinedLoadDefinesFromAnEmptyRecordAndReplacesTheFile) {
  const std::string old = SavedRecord();
  WriteBytes(Path("save.dat"), old);
  const test::ProcessResult run = Run("n\n" + TypedDefinition("ケン"));
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitStatus, 1);
  // Nothing is written on "n": the definition follows the question's empty line.
  EXPECT_TRUE(StartsWith(run.output, "\r\n" + LoadQuestion + "\r\n" + DefinitionStart))
      << test::Cp932ToUtf8(run.output);
  // The first sheet shows the new name with no stats and no talents.
  EXPECT_NE(run.output.find("-- ケン ----------------\r\n"
                            "ＨＰ      0/    0\r\n"
                            "攻撃力    0/    0\r\n"
                            "防御力    0/    0\r\n"
                            "素早さ    0/    0\r\n"
                            "------------------------\r\n"),
            std::string::npos);

  const std::string file = ReadBytes(Path("save.dat"));
  const TPlayer saved = RecordOf(file);
  EXPECT_TRUE(Sealed(saved));
  EXPECT_EQ(saved.Name.Text(), "ケン");
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
      {"one byte raised", tampered, "（save.datの内容が不適切です。）"},
      {"67 bytes", SavedRecord().substr(0, 67), "（save.datの読み込みに失敗しました。）"},
  };
  for (const Case& c : cases) {
    WriteBytes(Path("save.dat"), c.file);
    const test::ProcessResult run = Run(TypedDefinition("ケン"));
    ASSERT_FALSE(run.timedOut) << c.what;
    EXPECT_EQ(run.exitStatus, 1) << c.what;
    EXPECT_TRUE(StartsWith(run.output, "\r\n" + c.message + "\r\n" + DefinitionStart))
        << c.what << "\n"
        << test::Cp932ToUtf8(run.output);
    EXPECT_EQ(run.output.find("ロードしますか"), std::string::npos) << c.what;
    const TPlayer saved = RecordOf(ReadBytes(Path("save.dat")));
    EXPECT_TRUE(Sealed(saved)) << c.what;
    EXPECT_EQ(saved.Name.Text(), "ケン") << c.what;
    // The refused file is kept, replacing the one an earlier case kept.
    EXPECT_EQ(ReadBytes(Path("save.dat.bad")), c.file) << c.what;
  }
}

// A character that cannot act loses its first battle whatever the enemy
// draws; the run then ends normally with status 0.
TEST_F(GameFolder, RunThatEndsInDefeatExitsWithStatusZero) {
  const test::ProcessResult run = Run(test::TypedLostRun("ユウ"));
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitStatus, 0);
  const std::string last = "ゲームーオーバー……";
  const std::size_t at = run.output.rfind(last);
  ASSERT_NE(at, std::string::npos) << test::Cp932ToUtf8(run.output);
  const std::string after = run.output.substr(at + last.size());
  EXPECT_TRUE(after.empty() || after == "\r\n") << test::Cp932ToUtf8(after);
  EXPECT_EQ(run.output.find("EInOutError"), std::string::npos);
  EXPECT_EQ(run.output.find("ロードしますか"), std::string::npos);
  EXPECT_EQ(RecordOf(ReadBytes(Path("save.dat"))).Name.Text(), "ユウ");
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
      {"a stat", "\nユウ\n\n\n10\n"},
      {"a stat, after a refused answer", "\nユウ\n\n\n10\n-5\n"},
      {"the talent menu", "\nユウ\n\n\n0\n0\n0\n0\n"},
      {"the talent menu, after a refused letter", "\nユウ\n\n\n0\n0\n0\n0\nq\n"},
      {"the opening wait", "\nユウ\n\n\n25\n25\n25\n25\n"},
  };
  for (const Case& c : cases) {
    std::timespec start{}, end{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    const test::ProcessResult run = Run(c.input);
    clock_gettime(CLOCK_MONOTONIC, &end);
    ASSERT_FALSE(run.timedOut) << c.where;
    EXPECT_LT(end.tv_sec - start.tv_sec, 5) << c.where;
    EXPECT_EQ(run.exitStatus, 1) << c.where;
    EXPECT_TRUE(EndsWithInputEnded(run.output)) << c.where << "\n" << test::Cp932ToUtf8(run.output);
    EXPECT_FALSE(Exists("save.dat")) << c.where;
  }
}

// A scenario file that cannot be played stops the game at start-up, before
// anything is written or asked: the output is the failure report alone, the
// exit status 1, and no file is touched (a refused save.dat stays as it is).
// None of these is waited on or read into memory.
TEST_F(GameFolder, ScenarioFileThatCannotBeUsedStopsTheGameBeforeAnything) {
  struct Case {
    const char* what;
    std::function<void(const std::string& file)> make;
  };
  std::vector<Case> cases = {
      {"missing", [](const std::string&) {}},
      {"a folder", [](const std::string& file) { ASSERT_EQ(::mkdir(file.c_str(), 0755), 0); }},
      {"a link to nothing",
       [](const std::string& file) { ASSERT_EQ(::symlink("nowhere", file.c_str()), 0); }},
      {"a link to itself",
       [](const std::string& file) { ASSERT_EQ(::symlink(file.c_str(), file.c_str()), 0); }},
      {"a FIFO", [](const std::string& file) { ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0); }},
      {"a link to an endless device",
       [](const std::string& file) { ASSERT_EQ(::symlink("/dev/zero", file.c_str()), 0); }},
      {"one byte over 1 MiB",
       [](const std::string& file) { WriteBytes(file, std::string(ScenarioFileLimit + 1, '\r')); }},
  };
  // The superuser reads a file of mode 000 all the same.
  if (::geteuid() != 0) {
    cases.push_back({"unreadable", [](const std::string& file) {
                       WriteBytes(file, "x");
                       ASSERT_EQ(::chmod(file.c_str(), 0), 0);
                     }});
  }
  std::string refused = SavedRecord();
  refused[40] = static_cast<char>(refused[40] + 1);
  int number = 0;
  for (const int scenario : {0, 1}) {
    for (const Case& c : cases) {
      const std::string folder = Path("case" + std::to_string(number++));
      ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
      test::CopyGameData(folder);
      const std::string name = ScenarioPath(scenario);
      ASSERT_EQ(std::remove((folder + "/" + name).c_str()), 0);
      c.make(folder + "/" + name);
      WriteBytes(folder + "/save.dat", refused);

      const test::ProcessResult run =
          test::RunProgram(test::GameProgram(), folder, TypedDefinition("ユウ"), 10);
      const std::string what = name + " " + c.what;
      ASSERT_FALSE(run.timedOut) << what;
      EXPECT_EQ(run.exitStatus, 1) << what;
      EXPECT_TRUE(test::IsFailureReport(run.output, "ファイル " + name + " は開けません"))
          << what << "\n"
          << test::Cp932ToUtf8(run.output);
      EXPECT_EQ(test::FolderEntries(folder), (std::vector<std::string>{"dat", "save.dat"})) << what;
      EXPECT_EQ(ReadBytes(folder + "/save.dat"), refused) << what;
    }
  }
}

// A save.dat that is no regular file is a file that cannot be read: it is
// reported, never waited on, and the new definition's save replaces it.
TEST_F(GameFolder, SaveThatIsNoRegularFileIsAReadFailure) {
  struct Case {
    const char* what;
    std::function<void(const std::string& file)> make;
  };
  const Case cases[] = {
      {"a FIFO", [](const std::string& file) { ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0); }},
      {"a link to an endless device",
       [](const std::string& file) { ASSERT_EQ(::symlink("/dev/zero", file.c_str()), 0); }},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(std::remove(Path("save.dat").c_str()) == 0 || errno == ENOENT, true);
    c.make(Path("save.dat"));
    const test::ProcessResult run = Run(TypedDefinition("ユウ"));
    ASSERT_FALSE(run.timedOut) << c.what;
    EXPECT_EQ(run.exitStatus, 1) << c.what;
    EXPECT_TRUE(StartsWith(run.output, "\r\n" + LoadFailed + DefinitionStart))
        << c.what << "\n"
        << test::Cp932ToUtf8(run.output);
    EXPECT_TRUE(EndsWithInputEnded(run.output)) << c.what;
    struct stat info {};
    ASSERT_EQ(::lstat(Path("save.dat").c_str(), &info), 0) << c.what;
    EXPECT_TRUE(S_ISREG(info.st_mode)) << c.what;
    EXPECT_EQ(RecordOf(ReadBytes(Path("save.dat"))).Name.Text(), "ユウ") << c.what;
    // Neither holds bytes to keep.
    EXPECT_EQ(test::FolderEntries(Path("")), (std::vector<std::string>{"dat", "save.dat"})) << c.what;
  }
}

// A save that cannot be written is told in one line after the opening story,
// and the run goes on to the hunt with the character in memory. A refused
// file whose bytes cannot be kept is not replaced either.
TEST_F(GameFolder, FailedSaveIsToldAndTheRunGoesOn) {
  std::string refused = SavedRecord();
  refused[40] = static_cast<char>(refused[40] + 1);
  struct Case {
    const char* what;
    std::string oldFile;  // empty: none
    test::ProcessLimits limits;
    bool readOnlyFolder;
  };
  std::vector<Case> cases = {
      {"no file may grow", "", {0, -1}, false},
      {"no file may grow, over a refused save", refused, {0, -1}, false},
  };
  // The superuser writes into a read-only folder all the same.
  if (::geteuid() != 0) cases.push_back({"a read-only folder", "", {}, true});
  int number = 0;
  for (const Case& c : cases) {
    const std::string folder = Path("case" + std::to_string(number++));
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    test::CopyGameData(folder);
    if (!c.oldFile.empty()) WriteBytes(folder + "/save.dat", c.oldFile);
    const std::vector<std::string> before = test::FolderEntries(folder);
    if (c.readOnlyFolder) {
      ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    }

    const test::ProcessResult run =
        test::RunProgram(test::GameProgram(), folder, TypedDefinition("ユウ"), 20, c.limits);
    if (c.readOnlyFolder) {
      ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    }
    ASSERT_FALSE(run.timedOut) << c.what;
    EXPECT_EQ(run.exitStatus, 1) << c.what;
    const std::string told = "（save.datの書き込みに失敗しました。）\r\n-- ユウ ---";
    EXPECT_NE(run.output.find(told), std::string::npos) << c.what << "\n" << test::Cp932ToUtf8(run.output);
    EXPECT_TRUE(EndsWithInputEnded(run.output)) << c.what;
    EXPECT_EQ(test::FolderEntries(folder), before) << c.what;
    if (!c.oldFile.empty()) {
      EXPECT_EQ(ReadBytes(folder + "/save.dat"), c.oldFile) << c.what;
    }
  }
}

// A line that never ends is read in constant memory: under a 16 MiB limit on
// all its memory, the game refuses a 40 MiB name as too long and goes on.
TEST_F(GameFolder, EndlessLineTakesNoMemory) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer maps far more than any memory limit allows";
#endif
  const std::string input = "\n" + std::string(40 << 20, 'x') + "\n" + TypedDefinition("ユウ").substr(1);
  const test::ProcessResult run = test::RunProgram(test::GameProgram(), Path(""), input, 30, {-1, 16 << 20});
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_TRUE(StartsWith(run.output,
                         "\r\n" + DefinitionStart + "[最長16バイト]＞\r\n長さが16バイトを越えています。\r\n"))
      << test::Cp932ToUtf8(run.output.substr(0, 400));
  EXPECT_TRUE(EndsWithInputEnded(run.output));
  EXPECT_EQ(RecordOf(ReadBytes(Path("save.dat"))).Name.Text(), "ユウ");
}

TEST_F(GameFolder, EndOfInputRightAfterTheFirstWaitShowsJustTheOpeningLines) {
  const test::ProcessResult run = Run("");
  ASSERT_FALSE(run.timedOut);
  const std::string head = "\r\nまずは定義から始めよう。\r\n";
  ASSERT_TRUE(StartsWith(run.output, head)) << test::Cp932ToUtf8(run.output);
  EXPECT_TRUE(test::IsFailureReport(run.output.substr(head.size()), InputEnded));
}

}  // namespace
}  // namespace velkor
