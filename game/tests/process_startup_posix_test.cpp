// Only on POSIX systems: links, FIFOs, devices, permissions and resource limits.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "game/tests/game_folder.h"
#include "platform/cp932_literal.h"

namespace velkor {
namespace {

using test::DefinitionStart;
using test::EndsWithInputEnded;
using test::GameFolder;
using test::LoadFailed;
using test::ReadBytes;
using test::RecordOf;
using test::SavedRecord;
using test::TypedDefinition;
using test::WriteBytes;

// What only POSIX systems can put in a scenario file's place.
TEST_F(GameFolder, ScenarioFileThatIsNoRegularFileStopsTheGameBeforeAnything) {
  std::vector<test::ScenarioCase> cases = {
      {"a link to nothing",
       [](const std::string& file) { ASSERT_EQ(::symlink("nowhere", file.c_str()), 0); }},
      {"a link to itself",
       [](const std::string& file) { ASSERT_EQ(::symlink(file.c_str(), file.c_str()), 0); }},
      {"a FIFO", [](const std::string& file) { ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0); }},
      {"a link to an endless device",
       [](const std::string& file) { ASSERT_EQ(::symlink("/dev/zero", file.c_str()), 0); }},
  };
  // The superuser reads a file of mode 000 all the same.
  if (::geteuid() != 0) {
    cases.push_back({"unreadable", [](const std::string& file) {
                       WriteBytes(file, "x");
                       ASSERT_EQ(::chmod(file.c_str(), 0), 0);
                     }});
  }
  test::ExpectScenarioFailuresStopTheGame(Path(""), cases);
}

// A save.dat that is no regular file is a file that cannot be read: it is
// reported, never waited on, and moved aside for the new definition's save.
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
    const test::ProcessResult run = Run(TypedDefinition("ユウ"_cp));
    ASSERT_FALSE(run.timedOut) << c.what;
    EXPECT_EQ(run.exitStatus, 1) << c.what;
    EXPECT_TRUE(run.output.starts_with("\r\n" + LoadFailed + DefinitionStart))
        << c.what << "\n"
        << test::Cp932ToUtf8(run.output);
    EXPECT_TRUE(EndsWithInputEnded(run.output)) << c.what;
    struct stat info {};
    ASSERT_EQ(::lstat(Path("save.dat").c_str(), &info), 0) << c.what;
    EXPECT_TRUE(S_ISREG(info.st_mode)) << c.what;
    EXPECT_EQ(RecordOf(ReadBytes(Path("save.dat"))).Name.Text(), "ユウ"_cp) << c.what;
    // Moved aside as it is, like any refused file.
    EXPECT_EQ(test::FolderEntries(Path("")), (std::vector<std::string>{"dat", "save.dat", "save.dat.bad"}))
        << c.what;
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
    ASSERT_TRUE(test::MakeFolder(folder));
    test::CopyGameData(folder);
    if (!c.oldFile.empty()) WriteBytes(folder + "/save.dat", c.oldFile);
    const std::vector<std::string> before = test::FolderEntries(folder);
    if (c.readOnlyFolder) {
      ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    }

    const test::ProcessResult run =
        test::RunProgram(test::GameProgram(), folder, TypedDefinition("ユウ"_cp), 20, c.limits);
    if (c.readOnlyFolder) {
      ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    }
    ASSERT_FALSE(run.timedOut) << c.what;
    EXPECT_EQ(run.exitStatus, 1) << c.what;
    const std::string told = "（save.datの書き込みに失敗しました。）\r\n-- ユウ ---"_cp;
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
  const std::string input = "\n" + std::string(40 << 20, 'x') + "\n" + TypedDefinition("ユウ"_cp).substr(1);
  const test::ProcessResult run = test::RunProgram(test::GameProgram(), Path(""), input, 30, {-1, 16 << 20});
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_TRUE(run.output.starts_with("\r\n" + DefinitionStart +
                                     "[最長16バイト]＞\r\n長さが16バイトを越えています。\r\n"_cp))
      << test::Cp932ToUtf8(run.output.substr(0, 400));
  EXPECT_TRUE(EndsWithInputEnded(run.output));
  EXPECT_EQ(RecordOf(ReadBytes(Path("save.dat"))).Name.Text(), "ユウ"_cp);
}

// Memory that runs out at the very start, wherever that is, is reported as a
// shortage (or the program cannot even load), never an uncaught bad_alloc.
TEST_F(GameFolder, MemoryRunningOutAtTheStartIsNeverAnAbort) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer maps far more than any memory limit allows";
#endif
  for (long long limit = 4 << 20; limit <= 10 << 20; limit += 32 << 10) {
    const test::ProcessResult run =
        test::RunProcess({test::GameProgram()}, Path(""), "\n", 20, {-1, limit}, true);
    EXPECT_EQ(run.output.find("bad_alloc"), std::string::npos) << limit << "\n" << run.output;
  }
}

}  // namespace
}  // namespace velkor
